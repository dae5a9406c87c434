// The demo's claims, judged by SQL written by hand from the server's rules: for each category, the
// number of summary rows the server would answer for a service and March 2026. Parameters: :f branch,
// :s service, :p and :u the month, :w1 and :w2 the week span around it.

#include "DemoDate.h"
#include "DemoRoles.h"
#include "GeneratedDemo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using demo::Category;

// Item c matches restriction r's dish or group; product line l matches r's product or group.
#define DISH_MATCH "(c.CDPRATO = r.CDPRATO OR p.CDGRUPO = r.CDPRATO)"
#define PRODUCT_MATCH "(l.CDPRODUTO = r.CDPRODUTO OR pr.CDGRUPO = r.CDPRODUTO)"

std::string freqWeek(const char* option) {
    return std::string(R"sql(
SELECT COUNT(*) FROM (
  SELECT r.CDPRATO FROM CTRFREQPRAT r
    JOIN CARDAPIO c ON c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI
    JOIN PRATO p ON p.CDPRATO = c.CDPRATO
   WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND r.IDOPCAO = ')sql") +
           option + "' AND c.IDOPCCNFMES = '" + option + R"sql('
     AND r.NRMAXSEM IS NOT NULL AND c.DTCARDAPIO BETWEEN :w1 AND :w2 AND )sql" DISH_MATCH R"sql(
   GROUP BY r.CDPRATO, CAST((julianday(c.DTCARDAPIO) - julianday(:w1)) / 7 AS INTEGER)
  HAVING COUNT(*) > r.NRMAXSEM))sql";
}

std::string freqMonth(const char* option) {
    return std::string(R"sql(
SELECT COUNT(*) FROM (
  SELECT r.NRMINMES lo, r.NRMAXMES hi,
         (SELECT COUNT(*) FROM CARDAPIO c JOIN PRATO p ON p.CDPRATO = c.CDPRATO
           WHERE c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI AND c.IDOPCCNFMES = r.IDOPCAO
             AND c.DTCARDAPIO BETWEEN :p AND :u AND )sql" DISH_MATCH R"sql() n
    FROM CTRFREQPRAT r WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND r.IDOPCAO = ')sql") +
           option + R"sql(')
 WHERE (lo IS NOT NULL AND n < lo) OR (hi IS NOT NULL AND n > hi))sql";
}

std::string restDish(const char* option) {
    return std::string(R"sql(
SELECT COUNT(*) FROM CTRRESTPRAT r
 WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND r.IDOPCAO = ')sql") +
           option + R"sql('
   AND EXISTS (SELECT 1 FROM CARDAPIO c JOIN PRATO p ON p.CDPRATO = c.CDPRATO
                WHERE c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI AND c.IDOPCCNFMES = r.IDOPCAO
                  AND c.DTCARDAPIO BETWEEN :p AND :u AND )sql" DISH_MATCH ")";
}

const char* const kUtilPrat = R"sql(
SELECT COUNT(*) FROM (
  SELECT r.CDPRATO FROM CTRUTILPRAT r
    JOIN CARDAPIO c ON c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI
    JOIN PRATO p ON p.CDPRATO = c.CDPRATO
   WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND c.DTCARDAPIO BETWEEN :w1 AND :w2 AND )sql" DISH_MATCH
                              R"sql(
     AND CASE strftime('%w', c.DTCARDAPIO)
           WHEN '1' THEN r.IDUTPRATSEG WHEN '2' THEN r.IDUTPRATTER WHEN '3' THEN r.IDUTPRATQUA
           WHEN '4' THEN r.IDUTPRATQUI WHEN '5' THEN r.IDUTPRATSEX WHEN '6' THEN r.IDUTPRATSAB
           ELSE r.IDUTPRATDOM END = 'N'
   GROUP BY r.CDPRATO, CAST((julianday(c.DTCARDAPIO) - julianday(:w1)) / 7 AS INTEGER)))sql";

const char* const kLimNutri = R"sql(
SELECT COUNT(*) FROM CTRLIMNUTR r
 WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s
   AND EXISTS (SELECT 1 FROM NUTRCARD n
                WHERE n.CDFILIAL = r.CDFILIAL AND n.CDSERVFILI = r.CDSERVFILI AND n.CDNUTRIENTE = r.CDNUTRIENTE
                  AND n.DTCARDAPIO BETWEEN :p AND :u
                  AND ((r.QTMINLIMNUTR IS NOT NULL AND n.QTNUTRIENTE < r.QTMINLIMNUTR)
                    OR (r.QTMAXLIMNUTR IS NOT NULL AND n.QTNUTRIENTE > r.QTMAXLIMNUTR))))sql";

const char* const kLimPePra = R"sql(
SELECT COUNT(DISTINCT r.CDPRATO || '|' || r.CDPRODUTO) FROM (
  SELECT r.CDPRATO, r.CDPRODUTO FROM CTRLIMPRAT r
    JOIN CARDAPIO c ON c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI
    JOIN PRATO p ON p.CDPRATO = c.CDPRATO
    JOIN PRODCARD l ON l.CDFILIAL = c.CDFILIAL AND l.CDSERVFILI = c.CDSERVFILI
                   AND l.DTCARDAPIO = c.DTCARDAPIO AND l.NRSEQPRATCAR = c.NRSEQPRATCAR
    JOIN PRODUTO pr ON pr.CDPRODUTO = l.CDPRODUTO
   WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND c.DTCARDAPIO BETWEEN :p AND :u
     AND )sql" DISH_MATCH " AND " PRODUCT_MATCH R"sql(
   GROUP BY r.CDPRATO, r.CDPRODUTO, c.DTCARDAPIO, c.NRSEQPRATCAR
  HAVING (r.QTMINLIMPRAT IS NOT NULL AND SUM(l.QTPRODUTO) < r.QTMINLIMPRAT)
      OR (r.QTMAXLIMPRAT IS NOT NULL AND SUM(l.QTPRODUTO) > r.QTMAXLIMPRAT)) r)sql";

const char* const kLimPeSer = R"sql(
SELECT COUNT(DISTINCT r.CDPRODUTO) FROM (
  SELECT r.CDPRODUTO FROM CTRLIMSERV r
    JOIN PRODCARD l ON l.CDFILIAL = r.CDFILIAL AND l.CDSERVFILI = r.CDSERVFILI
    JOIN PRODUTO pr ON pr.CDPRODUTO = l.CDPRODUTO
   WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND l.DTCARDAPIO BETWEEN :p AND :u AND )sql" PRODUCT_MATCH
                              R"sql(
   GROUP BY r.CDPRODUTO, l.DTCARDAPIO
  HAVING (r.QTMINLIMSERV IS NOT NULL AND SUM(l.QTPRODUTO) < r.QTMINLIMSERV)
      OR (r.QTMAXLIMSERV IS NOT NULL AND SUM(l.QTPRODUTO) > r.QTMAXLIMSERV)) r)sql";

const char* const kRestProd = R"sql(
SELECT COUNT(*) FROM CTRRESTPROD r
 WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s
   AND EXISTS (SELECT 1 FROM PRODCARD l JOIN PRODUTO pr ON pr.CDPRODUTO = l.CDPRODUTO
                WHERE l.CDFILIAL = r.CDFILIAL AND l.CDSERVFILI = r.CDSERVFILI
                  AND l.DTCARDAPIO BETWEEN :p AND :u AND )sql" PRODUCT_MATCH ")";

// The restrictions a category judges, so that "no infringement" cannot come from an empty contract.
const std::map<Category, std::string>& restrictionsSql() {
    static const std::map<Category, std::string> sql = {
        {Category::FreqPratSem,
         "SELECT COUNT(*) FROM CTRFREQPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND "
         "IDOPCAO = 'N' AND NRMAXSEM IS NOT NULL"},
        {Category::FreqPratMes,
         "SELECT COUNT(*) FROM CTRFREQPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND "
         "IDOPCAO = 'N' AND (NRMINMES IS NOT NULL OR NRMAXMES IS NOT NULL)"},
        {Category::FreqOpcaSem,
         "SELECT COUNT(*) FROM CTRFREQPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND "
         "IDOPCAO = 'S' AND NRMAXSEM IS NOT NULL"},
        {Category::FreqOpcaMes,
         "SELECT COUNT(*) FROM CTRFREQPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND "
         "IDOPCAO = 'S' AND (NRMINMES IS NOT NULL OR NRMAXMES IS NOT NULL)"},
        {Category::RestPratMes,
         "SELECT COUNT(*) FROM CTRRESTPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND IDOPCAO = 'N'"},
        {Category::RestOpcaMes,
         "SELECT COUNT(*) FROM CTRRESTPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s AND IDOPCAO = 'S'"},
        {Category::UtilPratSem, "SELECT COUNT(*) FROM CTRUTILPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s"},
        {Category::LimNutri, "SELECT COUNT(*) FROM CTRLIMNUTR WHERE CDFILIAL = :f AND CDSERVFILI = :s"},
        {Category::LimPePra, "SELECT COUNT(*) FROM CTRLIMPRAT WHERE CDFILIAL = :f AND CDSERVFILI = :s"},
        {Category::LimPeSer, "SELECT COUNT(*) FROM CTRLIMSERV WHERE CDFILIAL = :f AND CDSERVFILI = :s"},
        {Category::RestProd, "SELECT COUNT(*) FROM CTRRESTPROD WHERE CDFILIAL = :f AND CDSERVFILI = :s"},
    };
    return sql;
}

const std::map<Category, std::string>& infringementSql() {
    static const std::map<Category, std::string> sql = {
        {Category::FreqPratSem, freqWeek("N")}, {Category::FreqPratMes, freqMonth("N")},
        {Category::FreqOpcaSem, freqWeek("S")}, {Category::FreqOpcaMes, freqMonth("S")},
        {Category::RestPratMes, restDish("N")}, {Category::RestOpcaMes, restDish("S")},
        {Category::UtilPratSem, kUtilPrat},     {Category::LimNutri, kLimNutri},
        {Category::LimPePra, kLimPePra},        {Category::LimPeSer, kLimPeSer},
        {Category::RestProd, kRestProd},
    };
    return sql;
}

std::map<std::string, std::string> march(const std::string& branch, const std::string& service) {
    // 2026-03-01 is a Sunday and 2026-03-31 a Tuesday: the weeks run from Monday 23 February to
    // Sunday 5 April.
    return {{":f", branch},       {":s", service},       {":p", "2026-03-01"},
            {":u", "2026-03-31"}, {":w1", "2026-02-23"}, {":w2", "2026-04-05"}};
}

// Any month of 2026 with the week span the screen would ask for around it.
std::map<std::string, std::string> monthOf2026(const std::string& branch, const std::string& service,
                                               int month) {
    char first[16], next[16];
    std::snprintf(first, sizeof first, "2026-%02d-01", month);
    std::snprintf(next, sizeof next, month == 12 ? "2027-01-01" : "2026-%02d-01", month + 1);
    const int p = demo::daysFromIso(first);
    const int u = demo::daysFromIso(next) - 1;
    return {{":f", branch},
            {":s", service},
            {":p", first},
            {":u", demo::isoFromDays(u)},
            {":w1", demo::isoFromDays(p - demo::weekdayOf(p))},
            {":w2", demo::isoFromDays(u + 6 - demo::weekdayOf(u))}};
}

struct Case {
    demo::ServiceRole role;
    Category category;
};

class DemoContract : public testing::TestWithParam<Case> {
protected:
    static const ReadOnlyDb& db() {
        static const ReadOnlyDb shared(generatedDemo());
        return shared;
    }
};

TEST_P(DemoContract, InfringesInMarchExactlyAsAnnounced) {
    const auto& [role, category] = GetParam();
    const auto params = march(role.branch, role.service);
    EXPECT_GT(db().scalar(restrictionsSql().at(category), params), 0) << "no restriction to judge";
    const long long rows = db().scalar(infringementSql().at(category), params);
    if (role.infringes & demo::bit(category))
        EXPECT_GT(rows, 0);
    else
        EXPECT_EQ(rows, 0);
}

std::vector<Case> everyServiceAndCategory() {
    std::vector<Case> cases;
    for (const auto& role : demo::serviceRoles())
        for (Category c : demo::allCategories())
            cases.push_back({role, c});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllServices, DemoContract, testing::ValuesIn(everyServiceAndCategory()),
                         [](const testing::TestParamInfo<Case>& p) {
                             return "F" + p.param.role.branch + "_S" + p.param.role.service + "_" +
                                    std::to_string(static_cast<int>(p.param.category) + 1);
                         });

// Whatever month a demo user picks, the clear service stays clear, and the nutrient-only service
// breaks nothing else: their respected bounds come from the whole year.
TEST(DemoClearServiceTest, StaysClearInEveryMonthOf2026) {
    ReadOnlyDb db(generatedDemo());
    for (int month = 1; month <= 12; ++month)
        for (Category c : demo::allCategories()) {
            const auto clear = monthOf2026(demo::kClearService.branch, demo::kClearService.service, month);
            EXPECT_EQ(db.scalar(infringementSql().at(c), clear), 0)
                << "month " << month << ", " << demo::categoryName(c);
            if (c == Category::LimNutri)
                continue;
            const auto nutrient =
                monthOf2026(demo::kNutrientOnlyService.branch, demo::kNutrientOnlyService.service, month);
            EXPECT_EQ(db.scalar(infringementSql().at(c), nutrient), 0)
                << "month " << month << ", " << demo::categoryName(c);
        }
}

TEST(DemoRolesTest, TheThreeNamedServicesHaveTheirOutcome) {
    EXPECT_EQ(demo::infringedCategories(demo::kClearService.branch, demo::kClearService.service), 0u);
    EXPECT_EQ(demo::infringedCategories(demo::kFullyInfringingService.branch,
                                        demo::kFullyInfringingService.service),
              demo::kAllCategories);
    EXPECT_EQ(
        demo::infringedCategories(demo::kNutrientOnlyService.branch, demo::kNutrientOnlyService.service),
        demo::bit(Category::LimNutri));
}

// The clear service's contract leans on its edges: groups, null bounds and a value met exactly.
TEST(DemoClearServiceTest, RestrictionsUseGroupsNullBoundsAndEqualValues) {
    ReadOnlyDb db(generatedDemo());
    const auto params = march(demo::kClearService.branch, demo::kClearService.service);
    EXPECT_GT(db.scalar("SELECT COUNT(*) FROM CTRFREQPRAT r JOIN PRATO p ON p.CDPRATO = r.CDPRATO "
                        "WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND p.IDGRUPO = 'S'",
                        params),
              0);
    EXPECT_GT(db.scalar("SELECT COUNT(*) FROM CTRLIMSERV r JOIN PRODUTO p ON p.CDPRODUTO = r.CDPRODUTO "
                        "WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND p.IDGRUPO = 'S'",
                        params),
              0);
    EXPECT_GT(db.scalar("SELECT COUNT(*) FROM CTRLIMNUTR WHERE CDFILIAL = :f AND CDSERVFILI = :s AND "
                        "(QTMINLIMNUTR IS NULL OR QTMAXLIMNUTR IS NULL)",
                        params),
              0);
    EXPECT_GT(db.scalar("SELECT COUNT(*) FROM CTRLIMNUTR r JOIN NUTRCARD n ON n.CDFILIAL = r.CDFILIAL AND "
                        "n.CDSERVFILI = r.CDSERVFILI AND n.CDNUTRIENTE = r.CDNUTRIENTE "
                        "WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND "
                        "(n.QTNUTRIENTE = r.QTMINLIMNUTR OR n.QTNUTRIENTE = r.QTMAXLIMNUTR)",
                        params),
              0);
}

// A monthly minimum broken by a dish the month never serves: the count of 0 is an infringement.
TEST(DemoFullServiceTest, HasAMonthlyMinimumMissedWithACountOfZero) {
    ReadOnlyDb db(generatedDemo());
    const auto params = march(demo::kFullyInfringingService.branch, demo::kFullyInfringingService.service);
    EXPECT_GT(db.scalar(R"sql(
SELECT COUNT(*) FROM CTRFREQPRAT r
 WHERE r.CDFILIAL = :f AND r.CDSERVFILI = :s AND r.NRMINMES > 0
   AND NOT EXISTS (SELECT 1 FROM CARDAPIO c JOIN PRATO p ON p.CDPRATO = c.CDPRATO
                    WHERE c.CDFILIAL = r.CDFILIAL AND c.CDSERVFILI = r.CDSERVFILI AND c.IDOPCCNFMES = r.IDOPCAO
                      AND c.DTCARDAPIO BETWEEN :p AND :u AND (c.CDPRATO = r.CDPRATO OR p.CDGRUPO = r.CDPRATO)))sql",
                        params),
              0);
}

} // namespace
