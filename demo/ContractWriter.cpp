#include "ContractWriter.h"

#include "DemoCatalog.h"
#include "DemoDate.h"
#include "SqlDatabase.h"
#include "SqlStatement.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace demo {

namespace {

// Every item under each code it matches: its dish and, when the dish belongs to one, its group;
// likewise for product lines. Temporary tables, so they never reach the demo file; taken once
// the menus are complete.
constexpr const char* kMatchViews = R"sql(
CREATE TEMP TABLE DEMO_ITEMCODE (f TEXT, s TEXT, d TEXT, q INTEGER, o TEXT, code TEXT);
INSERT INTO DEMO_ITEMCODE
    SELECT c.CDFILIAL, c.CDSERVFILI, c.DTCARDAPIO, c.NRSEQPRATCAR, c.IDOPCCNFMES, c.CDPRATO FROM CARDAPIO c
    UNION ALL
    SELECT c.CDFILIAL, c.CDSERVFILI, c.DTCARDAPIO, c.NRSEQPRATCAR, c.IDOPCCNFMES, p.CDGRUPO
      FROM CARDAPIO c JOIN PRATO p ON p.CDPRATO = c.CDPRATO WHERE p.CDGRUPO IS NOT NULL;
CREATE TEMP TABLE DEMO_LINECODE (f TEXT, s TEXT, d TEXT, q INTEGER, code TEXT, qt REAL);
INSERT INTO DEMO_LINECODE
    SELECT l.CDFILIAL, l.CDSERVFILI, l.DTCARDAPIO, l.NRSEQPRATCAR, l.CDPRODUTO, l.QTPRODUTO FROM PRODCARD l
    UNION ALL
    SELECT l.CDFILIAL, l.CDSERVFILI, l.DTCARDAPIO, l.NRSEQPRATCAR, p.CDGRUPO, l.QTPRODUTO
      FROM PRODCARD l JOIN PRODUTO p ON p.CDPRODUTO = l.CDPRODUTO WHERE p.CDGRUPO IS NOT NULL;
CREATE INDEX temp.DEMO_IX_ITEMCODE ON DEMO_ITEMCODE (f, s, d, q);
CREATE INDEX temp.DEMO_IX_ITEMCODE_CODE ON DEMO_ITEMCODE (f, s, code, o);
CREATE INDEX temp.DEMO_IX_LINECODE ON DEMO_LINECODE (f, s, d, q);
)sql";

// Parameters: ?1 branch, ?2 service, ?3 first day, ?4 last day, ?5 option flag, ?6 months in the span.
constexpr const char* kWeeklyCounts = R"sql(
SELECT code, '', MIN(n), MAX(n) FROM (
    SELECT code, CAST((julianday(d) - julianday('2000-01-03')) / 7 AS INTEGER) wk, COUNT(*) n
      FROM DEMO_ITEMCODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4 AND o = ?5 GROUP BY code, wk)
 GROUP BY code ORDER BY MAX(n) DESC, code)sql";

constexpr const char* kMonthlyCounts = R"sql(
SELECT code, '', CASE WHEN COUNT(*) < ?6 THEN 0 ELSE MIN(n) END, MAX(n) FROM (
    SELECT code, substr(d, 1, 7) m, COUNT(*) n
      FROM DEMO_ITEMCODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4 AND o = ?5 GROUP BY code, m)
 GROUP BY code ORDER BY MAX(n) DESC, code)sql";

// Dishes never served under the flag, those served under the other flag first.
constexpr const char* kDishesNotServed = R"sql(
SELECT p.CDPRATO, '',
       (SELECT COUNT(*) FROM DEMO_ITEMCODE i
         WHERE i.f = ?1 AND i.s = ?2 AND i.d BETWEEN ?3 AND ?4 AND i.o <> ?5 AND i.code = p.CDPRATO), 0
  FROM PRATO p
 WHERE p.CDPRATO NOT IN (SELECT code FROM DEMO_ITEMCODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4 AND o = ?5)
 ORDER BY 3 DESC, 1)sql";

constexpr const char* kWeekdays = R"sql(
SELECT code, group_concat(DISTINCT strftime('%w', d)), COUNT(DISTINCT strftime('%w', d)), 0
  FROM DEMO_ITEMCODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4
 GROUP BY code ORDER BY 3, code)sql";

constexpr const char* kLineCounts = R"sql(
SELECT code, '', COUNT(*), COUNT(*) FROM DEMO_LINECODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4
 GROUP BY code ORDER BY code)sql";

constexpr const char* kProductsNotUsed = R"sql(
SELECT p.CDPRODUTO, '', 0, 0 FROM PRODUTO p
 WHERE p.CDPRODUTO NOT IN (SELECT code FROM DEMO_LINECODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4)
 ORDER BY p.CDPRODUTO)sql";

constexpr const char* kDaySums = R"sql(
SELECT code, '', MIN(t), MAX(t) FROM (
    SELECT code, d, SUM(qt) t FROM DEMO_LINECODE WHERE f = ?1 AND s = ?2 AND d BETWEEN ?3 AND ?4 GROUP BY code, d)
 GROUP BY code ORDER BY code)sql";

// The unary plus keeps SQLite from carrying the date range over to the product lines, which would
// make it search them by date instead of by item.
constexpr const char* kItemSums = R"sql(
SELECT x, y, MIN(t), MAX(t) FROM (
    SELECT i.code x, l.code y, SUM(l.qt) t
      FROM DEMO_ITEMCODE i JOIN DEMO_LINECODE l ON l.f = i.f AND l.s = i.s AND l.d = i.d AND l.q = i.q
     WHERE i.f = ?1 AND i.s = ?2 AND +i.d BETWEEN ?3 AND ?4
     GROUP BY x, y, i.d, i.q)
 GROUP BY x, y ORDER BY x, y)sql";

constexpr const char* kNutrientRange = R"sql(
SELECT CDNUTRIENTE, '', MIN(QTNUTRIENTE), MAX(QTNUTRIENTE) FROM NUTRCARD
 WHERE CDFILIAL = ?1 AND CDSERVFILI = ?2 AND DTCARDAPIO BETWEEN ?3 AND ?4
 GROUP BY CDNUTRIENTE ORDER BY CDNUTRIENTE)sql";

const char* flag(bool yes) {
    return yes ? "S" : "N";
}

// The weekday columns of CTRUTILPRAT, Monday first, with SQLite's %w number of each day.
constexpr std::array<char, 7> kWeekdayDigits = {'1', '2', '3', '4', '5', '6', '0'};

} // namespace

ContractWriter::ContractWriter(SqlDatabase& db, Span year, Span month)
    : db_(db), year_(std::move(year)), month_(std::move(month)) {
    // The screen asks the weekly categories for whole weeks around the month.
    const int first = daysFromIso(month_.first);
    const int last = daysFromIso(month_.last);
    weeks_ = {isoFromDays(first - weekdayOf(first)), isoFromDays(last + 6 - weekdayOf(last)), 2};
    db_.exec(kMatchViews);
    for (const auto& g : dishGroups())
        groups_.insert(g.code);
    for (const auto& g : productGroups())
        groups_.insert(g.code);
}

void ContractWriter::writeAll(const std::vector<ServiceRole>& roles) {
    for (const auto& role : roles)
        writeService({role.branch, role.service}, role.infringes);
}

void ContractWriter::writeService(const Key& key, CategoryMask infringes) {
    static constexpr std::array<std::pair<Category, Writer>, kCategoryCount> writers = {{
        {Category::FreqPratSem, &ContractWriter::freqPratSem},
        {Category::FreqPratMes, &ContractWriter::freqPratMes},
        {Category::FreqOpcaSem, &ContractWriter::freqOpcaSem},
        {Category::FreqOpcaMes, &ContractWriter::freqOpcaMes},
        {Category::RestPratMes, &ContractWriter::restPrat},
        {Category::RestOpcaMes, &ContractWriter::restOpca},
        {Category::UtilPratSem, &ContractWriter::utilPrat},
        {Category::LimNutri, &ContractWriter::limNutri},
        {Category::LimPePra, &ContractWriter::limPePra},
        {Category::LimPeSer, &ContractWriter::limPeSer},
        {Category::RestProd, &ContractWriter::restProd},
    }};
    for (const auto& [category, writer] : writers)
        (this->*writer)(key, (infringes & bit(category)) != 0);
}

std::vector<ContractWriter::Measure> ContractWriter::measure(const std::string& sql, const Key& key,
                                                             const Span& span,
                                                             std::optional<bool> option) const {
    SqlStatement query(db_, sql);
    query.bind(1, key.branch).bind(2, key.service).bind(3, span.first).bind(4, span.last);
    if (option)
        query.bind(5, flag(*option));
    if (sql.find("?6") != std::string::npos)
        query.bind(6, span.months);
    std::vector<Measure> rows;
    while (query.step())
        rows.push_back({query.text(0), query.text(1), query.real(2), query.real(3)});
    return rows;
}

ContractWriter::Measure ContractWriter::pick(const std::vector<Measure>& measures, const std::string& table,
                                             const Key& key, bool groupsFirst, double minimumHigh) {
    auto& used = used_[table + "|" + key.branch + "|" + key.service];
    for (int pass = groupsFirst ? 0 : 1; pass < 2; ++pass)
        for (const auto& m : measures) {
            const std::string id = m.code + "|" + m.code2;
            if ((pass == 0 && !isGroup(m.code)) || used.count(id) || m.high < minimumHigh)
                continue;
            used.insert(id);
            return m;
        }
    throw std::runtime_error("Cardápios sem candidato para " + table + " em " + key.branch + "/" +
                             key.service);
}

void ContractWriter::insertFreq(const Key& key, const std::string& code, bool option,
                                std::optional<double> maxWeek, std::optional<double> minMonth,
                                std::optional<double> maxMonth) {
    SqlStatement insert(db_, "INSERT INTO CTRFREQPRAT VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.bind(1, key.branch).bind(2, key.service).bind(3, code).bind(4, flag(option));
    insert.bind(5, maxWeek).bind(6, minMonth).bind(7, maxMonth).run();
}

void ContractWriter::freqWeek(const Key& key, bool infringe, bool option) {
    const std::string table = std::string("CTRFREQPRAT") + flag(option);
    if (infringe) {
        const auto m = pick(measure(kWeeklyCounts, key, weeks_, option), table, key, true, 1);
        insertFreq(key, m.code, option, m.high - 1, std::nullopt, std::nullopt);
    }
    // The busiest week of the year meets the weekly maximum exactly; the quietest month, the minimum.
    const auto m = pick(measure(kWeeklyCounts, key, year_, option), table, key, true, 1);
    double minMonth = 0;
    for (const auto& monthly : measure(kMonthlyCounts, key, year_, option))
        if (monthly.code == m.code)
            minMonth = monthly.low;
    insertFreq(key, m.code, option, m.high, minMonth, std::nullopt);
}

void ContractWriter::freqMonth(const Key& key, bool infringe, bool option) {
    const std::string table = std::string("CTRFREQPRAT") + flag(option);
    if (infringe) {
        const auto over = pick(measure(kMonthlyCounts, key, month_, option), table, key, false, 1);
        insertFreq(key, over.code, option, std::nullopt, std::nullopt, over.high - 1);
        // A dish the month never serves falls short of its minimum with a count of 0.
        const auto absent = pick(measure(kDishesNotServed, key, month_, option), table, key, false);
        insertFreq(key, absent.code, option, std::nullopt, 1, 4);
    }
    const auto m = pick(measure(kMonthlyCounts, key, year_, option), table, key, false, 1);
    insertFreq(key, m.code, option, std::nullopt, m.low, m.high);
}

void ContractWriter::restDish(const Key& key, bool infringe, bool option) {
    const std::string table = std::string("CTRRESTPRAT") + flag(option);
    SqlStatement insert(db_, "INSERT INTO CTRRESTPRAT VALUES (?1, ?2, ?3, ?4)");
    const auto write = [&](const std::string& code) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, code).bind(4, flag(option)).run();
    };
    if (infringe)
        write(pick(measure(kMonthlyCounts, key, month_, option), table, key, true, 1).code);
    // Forbidden under this flag, but served under the other one: the flag alone keeps it clear.
    write(pick(measure(kDishesNotServed, key, year_, option), table, key, false).code);
}

void ContractWriter::utilPrat(const Key& key, bool infringe) {
    SqlStatement insert(db_, "INSERT INTO CTRUTILPRAT VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    const auto write = [&](const std::string& code, const std::string& allowedDigits) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, code);
        for (std::size_t i = 0; i < kWeekdayDigits.size(); ++i)
            insert.bind(static_cast<int>(i) + 4,
                        flag(allowedDigits.find(kWeekdayDigits[i]) != std::string::npos));
        insert.run();
    };
    if (infringe) {
        auto busiest = measure(kWeekdays, key, weeks_);
        std::stable_sort(busiest.begin(), busiest.end(),
                         [](const Measure& a, const Measure& b) { return a.low > b.low; });
        const auto m = pick(busiest, "CTRUTILPRAT", key, true, 0);
        // Allowed on every weekday but one on which the weeks around the month serve it.
        std::string allowed = "0123456";
        allowed.erase(allowed.find(m.code2.front()), 1);
        write(m.code, allowed);
    }
    // The dish of fewest weekdays, allowed on exactly those.
    const auto m = pick(measure(kWeekdays, key, year_), "CTRUTILPRAT", key, false, 0);
    write(m.code, m.code2);
}

void ContractWriter::limNutri(const Key& key, bool infringe) {
    SqlStatement insert(db_, "INSERT INTO CTRLIMNUTR VALUES (?1, ?2, ?3, ?4, ?5)");
    const auto write = [&](const std::string& code, std::optional<double> low, std::optional<double> high) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, code).bind(4, low).bind(5, high).run();
    };
    const auto inMonth = measure(kNutrientRange, key, month_);
    const auto inYear = measure(kNutrientRange, key, year_);
    if (infringe && inMonth.size() < 2)
        throw std::runtime_error("Cardápios sem nutrientes bastantes em " + key.branch + "/" + key.service);
    for (std::size_t i = 0; i < inYear.size(); ++i) {
        const auto& m = inYear[i];
        const auto month =
            std::find_if(inMonth.begin(), inMonth.end(), [&](const Measure& n) { return n.code == m.code; });
        // One nutrient above its maximum on the month's richest day, one below its minimum on the
        // poorest; the others within the year's range, with a null bound now and then.
        if (infringe && i == 0 && month != inMonth.end())
            write(m.code, m.low, month->high - 1);
        else if (infringe && i == 1 && month != inMonth.end())
            write(m.code, month->low + 1, std::nullopt);
        else if (i % 3 == 0)
            write(m.code, m.low, m.high);
        else if (i % 3 == 1)
            write(m.code, std::nullopt, m.high);
        else
            write(m.code, m.low, std::nullopt);
    }
}

void ContractWriter::limPePra(const Key& key, bool infringe) {
    SqlStatement insert(db_, "INSERT INTO CTRLIMPRAT VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    const auto write = [&](const Measure& m, std::optional<double> low, std::optional<double> high) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, m.code).bind(4, m.code2);
        insert.bind(5, low).bind(6, high).run();
    };
    if (infringe) {
        const auto m = pick(measure(kItemSums, key, month_), "CTRLIMPRAT", key, true, 50);
        write(m, std::nullopt, m.high - 10);
    }
    const auto inYear = measure(kItemSums, key, year_);
    const auto both = pick(inYear, "CTRLIMPRAT", key, true, 50);
    write(both, both.low, both.high);
    const auto lowOnly = pick(inYear, "CTRLIMPRAT", key, false, 50);
    write(lowOnly, lowOnly.low, std::nullopt);
}

void ContractWriter::limPeSer(const Key& key, bool infringe) {
    SqlStatement insert(db_, "INSERT INTO CTRLIMSERV VALUES (?1, ?2, ?3, ?4, ?5)");
    const auto write = [&](const std::string& code, std::optional<double> low, std::optional<double> high) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, code).bind(4, low).bind(5, high).run();
    };
    if (infringe) {
        const auto m = pick(measure(kDaySums, key, month_), "CTRLIMSERV", key, true, 50);
        write(m.code, std::nullopt, m.high - 10);
    }
    const auto inYear = measure(kDaySums, key, year_);
    const auto both = pick(inYear, "CTRLIMSERV", key, true, 50);
    write(both.code, both.low, both.high);
    const auto highOnly = pick(inYear, "CTRLIMSERV", key, false, 50);
    write(highOnly.code, std::nullopt, highOnly.high);
}

void ContractWriter::restProd(const Key& key, bool infringe) {
    SqlStatement insert(db_, "INSERT INTO CTRRESTPROD VALUES (?1, ?2, ?3)");
    const auto write = [&](const std::string& code) {
        insert.bind(1, key.branch).bind(2, key.service).bind(3, code).run();
    };
    if (infringe)
        write(pick(measure(kLineCounts, key, month_), "CTRRESTPROD", key, true, 1).code);
    write(pick(measure(kProductsNotUsed, key, year_), "CTRRESTPROD", key, true).code);
}

} // namespace demo
