#include "reasons/Reasons.h"

#include "host/format/Formatting.h"
#include "protocol/DateTime.h"
#include "reasons/Categories.h"
#include "reasons/DayTexts.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>
#include <utility>

using namespace Qt::StringLiterals;

namespace reasons {
namespace {

// What a value the row does not hold shows as: the sentence still reads, and says it does not know.
const QString kUnknown = u"?"_s;
// Counts, bounds and quantities alike: grouped thousands, no trailing zeros, as far as the grids'
// five decimals.
const QString kNumberFormat = u"#,##0.#####"_s;
// 0001-01-01 and 9999-12-31 in days since 1899-12-30.
constexpr double kFirstCalendarDay = -693593;
constexpr double kLastCalendarDay = 2958465;
const QString kDayAndMonth = u"dd/mm"_s;
const std::array<const char*, 7> kWeekdayMarks = {"IDUTPRATSEG", "IDUTPRATTER", "IDUTPRATQUA", "IDUTPRATQUI",
                                                  "IDUTPRATSEX", "IDUTPRATSAB", "IDUTPRATDOM"};

struct Context {
    const Category& category;
    const RowFields& row;
    const QLocale& locale;
    const ReasonOptions& options;
};

const Category& categoryNamed(std::string_view method) {
    const Category* category = findCategory(method);
    if (!category)
        throw std::invalid_argument("no result category is answered by " + std::string(method));
    return *category;
}

std::optional<QString> trimmedText(const RowFields& row, const char* field) {
    if (!field)
        return std::nullopt;
    auto value = row.text(field);
    if (!value)
        return std::nullopt;
    QString trimmed = value->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

std::optional<double> finiteNumber(const RowFields& row, const char* field) {
    if (!field)
        return std::nullopt;
    const auto value = row.number(field);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

QString numberText(double value, const QLocale& locale) {
    return host::FormatFloat(kNumberFormat, value, locale);
}

QString numberOrUnknown(const std::optional<double>& value, const QLocale& locale) {
    return value ? numberText(*value, locale) : kUnknown;
}

// "Feijoada (GFEIJ)", the name alone without a code, the code alone without a name.
QString label(const RowFields& row, const char* nameField, const char* codeField) {
    const auto name = trimmedText(row, nameField);
    const auto code = trimmedText(row, codeField);
    if (name && code)
        return *name + u" ("_s + *code + u')';
    return name ? *name : code ? *code : kUnknown;
}

QString countText(const Context& c) {
    static const std::array<std::array<QString, 3>, 3> words = {{
        {u"nenhuma vez"_s, u"vez"_s, u"vezes"_s},
        {u"nenhum dia"_s, u"dia"_s, u"dias"_s},
        {u"nenhum prato"_s, u"prato"_s, u"pratos"_s},
    }};
    const auto& noun = words[static_cast<std::size_t>(c.category.noun)];
    const auto count = finiteNumber(c.row, c.category.count);
    if (!count)
        return kUnknown + u' ' + noun[2];
    if (*count == 0)
        return noun[0];
    return numberText(*count, c.locale) + u' ' + (*count == 1 ? noun[1] : noun[2]);
}

// How often the contract allows a dish: "de 2 a 6", "no mínimo 2", "no máximo 6".
QString rangeText(const Context& c) {
    const auto low = finiteNumber(c.row, c.category.minBound);
    const auto high = finiteNumber(c.row, c.category.maxBound);
    if (low && high)
        return u"de %1 a %2"_s.arg(numberText(*low, c.locale), numberText(*high, c.locale));
    if (low)
        return u"no mínimo "_s + numberText(*low, c.locale);
    if (high)
        return u"no máximo "_s + numberText(*high, c.locale);
    return u"qualquer número"_s;
}

// Which side of the contract's quantity a value lay on: "acima de 2.400 mg", "abaixo de 50 g",
// "fora de 50 a 120 g" when the row has both bounds and does not say which was crossed.
QString limitText(const Context& c) {
    const auto low = finiteNumber(c.row, c.category.minBound);
    const auto high = finiteNumber(c.row, c.category.maxBound);
    const auto unit = trimmedText(c.row, c.category.unit);
    QString text;
    if (low && high)
        text = u"fora de %1 a %2"_s.arg(numberText(*low, c.locale), numberText(*high, c.locale));
    else if (high)
        text = u"acima de "_s + numberText(*high, c.locale);
    else if (low)
        text = u"abaixo de "_s + numberText(*low, c.locale);
    else
        return u"fora do limite do contrato"_s;
    return unit ? text + u' ' + *unit : text;
}

QString weekdayName(int mondayFirst, const QLocale& locale) {
    // 1 January 2024 was a Monday.
    static const double monday = proto::fromCivil({2024, 1, 1}).days;
    return formatDay(u"ddd"_s, monday + mondayFirst, locale);
}

QString weekdayList(const std::array<bool, 7>& days, const QLocale& locale) {
    QStringList names;
    for (int i = 0; i < 7; ++i)
        if (days[static_cast<std::size_t>(i)])
            names << weekdayName(i, locale);
    return names.join(u", "_s);
}

std::array<bool, 7> servedWeekdays(const RowFields& row) {
    std::array<bool, 7> served{};
    for (std::size_t i = 0; i < served.size(); ++i)
        served[i] = row.text(kWeekdayMarks[i]).value_or(QString()).trimmed() == u"S"_s;
    return served;
}

// The served weekdays the contract does not allow; nothing when the caller does not know the
// contract's weekdays, or they refuse none of the served ones (then the marks alone must speak).
std::optional<std::array<bool, 7>> refusedWeekdays(const Context& c) {
    if (!c.category.weekdayMarks || !c.options.allowedWeekdays)
        return std::nullopt;
    const auto served = servedWeekdays(c.row);
    std::array<bool, 7> refused{};
    for (std::size_t i = 0; i < refused.size(); ++i)
        refused[i] = served[i] && !(*c.options.allowedWeekdays)[i];
    if (std::none_of(refused.begin(), refused.end(), [](bool day) { return day; }))
        return std::nullopt;
    return refused;
}

QString weekdaysText(const Context& c) {
    const QString served = weekdayList(servedWeekdays(c.row), c.locale);
    return served.isEmpty() ? kUnknown : served;
}

QString refusalText(const Context& c) {
    if (const auto refused = refusedWeekdays(c))
        return u"; o contrato não permite este prato em "_s + weekdayList(*refused, c.locale);
    return u", em dia que o contrato não permite"_s;
}

using TokenRule = QString (*)(const Context&);

const std::vector<std::pair<QString, TokenRule>>& tokens() {
    static const std::vector<std::pair<QString, TokenRule>> table = {
        {u"{item}"_s,
         [](const Context& c) { return label(c.row, c.category.itemName, c.category.itemCode); }},
        {u"{dish}"_s,
         [](const Context& c) { return label(c.row, c.category.dishName, c.category.dishCode); }},
        {u"{count}"_s, countText},
        {u"{week}"_s, [](const Context& c) { return trimmedText(c.row, "NRSEMANA").value_or(kUnknown); }},
        {u"{max}"_s,
         [](const Context& c) {
             return numberOrUnknown(finiteNumber(c.row, c.category.maxBound), c.locale);
         }},
        {u"{range}"_s, rangeText},
        {u"{limit}"_s, limitText},
        {u"{weekdays}"_s, weekdaysText},
        {u"{refusal}"_s, refusalText},
    };
    return table;
}

QString compose(const Context& c) {
    QString text = c.category.sentence;
    for (const auto& [token, rule] : tokens())
        if (text.contains(token))
            text.replace(token, rule(c));
    return text;
}

// A day as a whole number of days, so that two rows of the same day compare equal whatever their time.
long long dayOf(double days) {
    return static_cast<long long>(std::floor(days));
}

// A menu day of a detail row, within the calendar's years 1 to 9999: anything else is no day.
std::optional<double> menuDay(const RowFields& detail) {
    const auto day = finiteNumber(detail, "DTCARDAPIO");
    if (!day || *day < kFirstCalendarDay || *day >= kLastCalendarDay + 1)
        return std::nullopt;
    return day;
}

std::size_t listBound(const ReasonOptions& options) {
    return static_cast<std::size_t>(std::max(1, options.maxDays));
}

// " (dias 02, 05, 09, ...)": each menu day once, in the detail's order; for the weekly dish use,
// only the days the contract refuses when its weekdays are known. Days of a week that reaches into
// the next or the last month carry their month.
QString dayListText(const Context& c, const DetailRows& details) {
    const auto refused = refusedWeekdays(c);
    std::set<long long> seen;
    std::vector<double> listed;
    bool more = false;
    for (const RowFields& detail : details) {
        const auto day = menuDay(detail);
        if (!day)
            continue;
        if (refused &&
            !(*refused)[static_cast<std::size_t>(proto::weekdayMondayFirst(proto::DateTime{*day}))])
            continue;
        if (!seen.insert(dayOf(*day)).second)
            continue;
        if (listed.size() < listBound(c.options))
            listed.push_back(*day);
        else
            more = true;
    }
    if (listed.empty())
        return {};
    const auto monthOf = [](double day) {
        const proto::CivilDateTime civil = proto::toCivil(proto::DateTime{day});
        return civil.year * 12 + civil.month;
    };
    const bool oneMonth = std::all_of(listed.begin(), listed.end(),
                                      [&](double day) { return monthOf(day) == monthOf(listed.front()); });
    QStringList shown;
    for (const double day : listed)
        shown << formatDay(oneMonth ? u"dd"_s : kDayAndMonth, day, c.locale);
    if (more)
        shown << u"..."_s;
    return (seen.size() == 1 ? u" (dia "_s : u" (dias "_s) + shown.join(u", "_s) + u')';
}

struct Quantity {
    double day = 0;
    double sequence = 0;
    std::optional<double> sum;
    QString unit;
};

// ": 03/03 2.950; 05/03 3.100; ...": each day's (or item's) summed quantity, as the contract was
// checked against it.
QString quantityListText(const Context& c, const DetailRows& details) {
    std::vector<Quantity> entries;
    const std::size_t bound = listBound(c.options);
    bool more = false;
    for (const RowFields& detail : details) {
        const auto day = menuDay(detail);
        if (!day)
            continue;
        const double sequence = c.category.perItem ? finiteNumber(detail, "NRSEQPRATCAR").value_or(0) : 0;
        auto same = std::find_if(entries.begin(), entries.end(), [&](const Quantity& q) {
            return dayOf(q.day) == dayOf(*day) && q.sequence == sequence;
        });
        if (same == entries.end()) {
            if (entries.size() == bound) {
                more = true;
                continue;
            }
            entries.push_back(
                {*day, sequence, std::nullopt, trimmedText(detail, "SGUNIDADE").value_or(QString())});
            same = std::prev(entries.end());
        }
        if (const auto value = finiteNumber(detail, c.category.quantity))
            same->sum = same->sum.value_or(0) + *value;
    }
    if (entries.empty())
        return {};
    QStringList shown;
    for (const Quantity& q : entries) {
        QString entry = formatDay(kDayAndMonth, q.day, c.locale) + u' ' + numberOrUnknown(q.sum, c.locale);
        shown << (q.unit.isEmpty() ? entry : entry + u' ' + q.unit);
    }
    if (more)
        shown << u"..."_s;
    return u": "_s + shown.join(u"; "_s);
}

} // namespace

const std::vector<std::string>& categoryMethods() {
    static const std::vector<std::string> methods = [] {
        std::vector<std::string> names;
        for (const Category& category : categories())
            names.push_back(category.method);
        return names;
    }();
    return methods;
}

bool isCategory(std::string_view summaryMethod) {
    return findCategory(summaryMethod) != nullptr;
}

const std::string& detailMethodOf(std::string_view summaryMethod) {
    return categoryNamed(summaryMethod).detailMethod;
}

QString rowReason(std::string_view summaryMethod, const RowFields& row, const QLocale& locale,
                  const ReasonOptions& options) {
    return compose({categoryNamed(summaryMethod), row, locale, options});
}

QString rowReasonWithDays(std::string_view summaryMethod, const RowFields& row, const DetailRows& details,
                          const QLocale& locale, const ReasonOptions& options) {
    const Context c{categoryNamed(summaryMethod), row, locale, options};
    const QString days =
        c.category.days == DayList::Days ? dayListText(c, details) : quantityListText(c, details);
    return compose(c) + days;
}

QString rowReason(std::string_view summaryMethod, const proto::Packet& summary, std::size_t row,
                  const QLocale& locale, const ReasonOptions& options) {
    return rowReason(summaryMethod, PacketRow(summary, row), locale, options);
}

QString rowReasonWithDays(std::string_view summaryMethod, const proto::Packet& summary, std::size_t row,
                          const proto::Packet& detail, const QLocale& locale, const ReasonOptions& options) {
    const auto rows = packetRows(detail);
    const DetailRows details(rows.begin(), rows.end());
    return rowReasonWithDays(summaryMethod, PacketRow(summary, row), details, locale, options);
}

} // namespace reasons
