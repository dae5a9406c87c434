#include "server/rules/Matching.h"
#include "server/rules/MethodTable.h"
#include "server/rules/Records.h"

#include <map>

namespace server {
namespace {

using enum Col;

// The four frequency summaries differ only in the items they count, the period and the fields.
struct FrequencySummary {
    const char* name;
    ItemKind kind;
    bool weekly;
    Layout layout;
};

const std::vector<FrequencySummary>& frequencySummaries() {
    static const std::vector<FrequencySummary> kTable{
        {"GetFreqPratSem",
         ItemKind::NonOption,
         true,
         {CDFILIAL, CDSERVFILI, CDPRATO, NMPRATO, NRPRATSEMANA, NRSEMANA, NRMAXIFREPRA}},
        {"GetFreqPratMes",
         ItemKind::NonOption,
         false,
         {CDFILIAL, CDSERVFILI, CDPRATO, NMPRATO, DTMESCARD, NRPRATMES, NRMINIFREPRA, NRMAXMESFPRA}},
        {"GetFreqOpcaSem",
         ItemKind::Option,
         true,
         {CDFILIAL, CDSERVFILI, CDPRATO, NMPRATO, NRSEMANA, NRPRATSEMANA, NRMAXIFREOPC}},
        {"GetFreqOpcaMes",
         ItemKind::Option,
         false,
         {CDFILIAL, CDSERVFILI, CDPRATO, NMPRATO, DTMESCARD, NRPRATMES, NRMINIFREOPC, NRMAXMESFOPC}},
    };
    return kTable;
}

// The restricted dishes and restricted options twins.
struct RestrictionSummary {
    const char* name;
    ItemKind kind;
};

const Layout kRestrictionLayout{CDFILIAL, CDSERVFILI, CDPRATO, NMPRATO, DTMESCARD, NRPRATMES};

const Layout kUsageLayout{CDPRATO,     CDFILIAL,    CDSERVFILI,  IDUTPRATSEG, IDUTPRATTER,
                          IDUTPRATQUA, IDUTPRATQUI, IDUTPRATSEX, IDUTPRATSAB, IDUTPRATDOM,
                          NRSEMANA,    NMPRATO,     NRPRATSEMANA};

template <typename Restriction> CodeIndex indexByDish(const std::vector<Restriction>& restrictions) {
    CodeIndex index;
    for (std::size_t r = 0; r < restrictions.size(); ++r)
        index.add(restrictions[r].dish.code, r);
    return index;
}

// For each restriction, in each week of the span (week 0 when not weekly), the matching items.
std::vector<std::map<int, std::vector<const MenuItem*>>> matchingItems(const std::vector<MenuItem>& items,
                                                                       ItemKind kind, const CodeIndex& index,
                                                                       std::size_t restrictions,
                                                                       const std::optional<DaySpan>& weeks) {
    std::vector<std::map<int, std::vector<const MenuItem*>>> result(restrictions);
    for (const MenuItem& item : items) {
        if (!accepts(kind, item))
            continue;
        const int week = weeks ? weekNumber(*weeks, item.day) : 0;
        forEachDishCode(item, [&](const std::string& code) {
            index.visit(code, [&](std::size_t r) { result[r][week].push_back(&item); });
        });
    }
    return result;
}

Finding findingFor(const MethodContext& c, DaySpan span, int week, const Named& dish, double count) {
    Finding f;
    f.branch = c.args.text(0);
    f.service = c.args.text(1);
    f.month = span.first;
    f.week = week;
    f.dish = dish;
    f.count = count;
    return f;
}

CallResult runFrequency(const FrequencySummary& summary, MethodContext& c) {
    const DaySpan span = c.args.span(2, 3);
    if (summary.weekly)
        c.session.weekSpan = span;
    auto limits = c.repo.frequencyLimits(c.args.text(0), c.args.text(1), summary.kind == ItemKind::Option);
    if (summary.weekly)
        std::erase_if(limits, [](const FrequencyLimit& limit) { return !limit.maxWeek; });
    const auto held = c.repo.items(c.args.text(0), c.args.text(1), span, false);
    const std::vector<MenuItem>& items = *held;
    const auto matches = matchingItems(items, summary.kind, indexByDish(limits), limits.size(),
                                       summary.weekly ? std::optional(span) : std::nullopt);

    std::vector<Finding> findings;
    for (std::size_t r = 0; r < limits.size(); ++r) {
        const FrequencyLimit& limit = limits[r];
        const auto countIn = [&](int week) {
            const auto found = matches[r].find(week);
            return found == matches[r].end() ? 0.0 : static_cast<double>(found->second.size());
        };
        if (summary.weekly) {
            const int weeks = weekNumber(span, span.last);
            for (int week = 1; week <= weeks; ++week) {
                const double count = countIn(week);
                if (count > *limit.maxWeek) {
                    Finding f = findingFor(c, span, week, limit.dish, count);
                    f.upper = limit.maxWeek;
                    findings.push_back(std::move(f));
                }
            }
        } else {
            const double count = countIn(0);
            if (Range{limit.minMonth, limit.maxMonth}.outside(count)) {
                Finding f = findingFor(c, span, 0, limit.dish, count);
                f.lower = limit.minMonth;
                f.upper = limit.maxMonth;
                findings.push_back(std::move(f));
            }
        }
    }
    return {summaryPacket(summary.layout, std::move(findings)), {}};
}

CallResult runRestriction(const RestrictionSummary& summary, MethodContext& c) {
    const DaySpan span = c.args.span(2, 3);
    struct Restricted {
        Named dish;
    };
    std::vector<Restricted> restricted;
    for (auto& dish :
         c.repo.restrictedDishes(c.args.text(0), c.args.text(1), summary.kind == ItemKind::Option))
        restricted.push_back({std::move(dish)});
    const auto held = c.repo.items(c.args.text(0), c.args.text(1), span, false);
    const std::vector<MenuItem>& items = *held;
    const auto matches =
        matchingItems(items, summary.kind, indexByDish(restricted), restricted.size(), std::nullopt);
    std::vector<Finding> findings;
    for (std::size_t r = 0; r < restricted.size(); ++r)
        if (const auto found = matches[r].find(0); found != matches[r].end())
            findings.push_back(
                findingFor(c, span, 0, restricted[r].dish, static_cast<double>(found->second.size())));
    return {summaryPacket(kRestrictionLayout, std::move(findings)), {}};
}

CallResult runUsage(MethodContext& c) {
    const DaySpan span = c.args.span(2, 3);
    c.session.weekSpan = span;
    const auto rules = c.repo.usageRules(c.args.text(0), c.args.text(1));
    const auto held = c.repo.items(c.args.text(0), c.args.text(1), span, false);
    const std::vector<MenuItem>& items = *held;
    const auto matches = matchingItems(items, ItemKind::Any, indexByDish(rules), rules.size(), span);
    std::vector<Finding> findings;
    for (std::size_t r = 0; r < rules.size(); ++r) {
        for (const auto& [week, weekItems] : matches[r]) {
            Finding f = findingFor(c, span, week, rules[r].dish, static_cast<double>(weekItems.size()));
            bool forbidden = false;
            for (const MenuItem* item : weekItems) {
                const auto weekday = static_cast<std::size_t>(weekdayOf(item->day));
                f.days[weekday] = true;
                forbidden = forbidden || !rules[r].allowed[weekday];
            }
            if (forbidden)
                findings.push_back(std::move(f));
        }
    }
    return {summaryPacket(kUsageLayout, std::move(findings)), {}};
}

} // namespace

void addDishMethods(std::vector<MethodDef>& table) {
    for (const FrequencySummary& summary : frequencySummaries())
        table.push_back({summary.name, periodParams(), kPeriodSpan,
                         [&summary](MethodContext& c) { return runFrequency(summary, c); }});

    static const RestrictionSummary kRestrictions[] = {{"GetRestPratMes", ItemKind::NonOption},
                                                       {"GetRestOpcaMes", ItemKind::Option}};
    for (const RestrictionSummary& summary : kRestrictions)
        table.push_back({summary.name, periodParams(), kPeriodSpan,
                         [&summary](MethodContext& c) { return runRestriction(summary, c); }});

    table.push_back({"GetUtilPratSem", periodParams(), kPeriodSpan, runUsage});
}

} // namespace server
