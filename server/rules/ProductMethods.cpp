#include "server/rules/Matching.h"
#include "server/rules/MethodTable.h"
#include "server/rules/Records.h"

#include <map>

namespace server {
namespace {

using enum Col;

// A per-capita rule: a product (or group), within a dish (or group) when `dish` is set.
struct LineRule {
    std::optional<std::string> dish;
    std::string product;
};

// The two per-capita categories sum the matching lines per day of the service, or per item.
enum class GroupBy { Day, Item };

// For each rule, the summed quantity of its matching lines per group (day, or item index). Items and
// lines are visited in detail order, so a summary and its detail add the same numbers in the same
// order and agree to the last bit.
std::vector<std::map<std::size_t, double>> lineTotals(const std::vector<MenuItem>& items,
                                                      const std::vector<LineRule>& rules, GroupBy groupBy) {
    CodeIndex byProduct;
    for (std::size_t r = 0; r < rules.size(); ++r)
        byProduct.add(rules[r].product, r);
    std::vector<std::map<std::size_t, double>> totals(rules.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        const std::size_t group = groupBy == GroupBy::Day ? static_cast<std::size_t>(item.day) : i;
        for (const ProductLine& line : item.lines)
            forEachProductCode(line, [&](const std::string& code) {
                byProduct.visit(code, [&](std::size_t r) {
                    if (!rules[r].dish || dishMatches(item, *rules[r].dish))
                        totals[r][group] += line.quantity;
                });
            });
    }
    return totals;
}

double countOutside(const std::map<std::size_t, double>& totals, const Range& range) {
    double count = 0;
    for (const auto& [group, total] : totals)
        if (range.outside(total))
            ++count;
    return count;
}

// The matching lines of the groups whose total lies outside the range.
std::vector<DetailRow> linesOutside(const std::vector<MenuItem>& items, const LineRule& rule, GroupBy groupBy,
                                    const Range& range) {
    const auto totals = lineTotals(items, {rule}, groupBy).front();
    std::vector<DetailRow> rows;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        const auto total = totals.find(groupBy == GroupBy::Day ? static_cast<std::size_t>(item.day) : i);
        if (total == totals.end() || !range.outside(total->second))
            continue;
        if (rule.dish && !dishMatches(item, *rule.dish))
            continue;
        for (const ProductLine& line : item.lines)
            if (productMatches(line, rule.product))
                rows.push_back({&item, &line, item.day, std::nullopt});
    }
    return rows;
}

Finding findingFor(const MethodContext& c, DaySpan span, double count) {
    Finding f;
    f.branch = c.args.text(0);
    f.service = c.args.text(1);
    f.month = span.first;
    f.count = count;
    return f;
}

MenuCache::Items itemsWithLines(MethodContext& c, DaySpan span) {
    return c.repo.items(c.args.text(0), c.args.text(1), span, true);
}

CallResult runRestrictedProducts(MethodContext& c) {
    const DaySpan span = c.args.span(2, 3);
    const auto restricted = c.repo.restrictedProducts(c.args.text(0), c.args.text(1));
    CodeIndex index;
    for (std::size_t r = 0; r < restricted.size(); ++r)
        index.add(restricted[r].product.code, r);
    std::vector<double> counts(restricted.size(), 0.0);
    const auto held = itemsWithLines(c, span);
    for (const MenuItem& item : *held)
        for (const ProductLine& line : item.lines)
            forEachProductCode(line, [&](const std::string& code) {
                index.visit(code, [&](std::size_t r) { ++counts[r]; });
            });
    std::vector<Finding> findings;
    for (std::size_t r = 0; r < restricted.size(); ++r) {
        if (counts[r] == 0)
            continue;
        Finding f = findingFor(c, span, counts[r]);
        f.product = restricted[r].product;
        f.treeCode = restricted[r].treeCode;
        findings.push_back(std::move(f));
    }
    return {summaryPacket({CDPRODUTO, NMPRODUTO, NRPRODMES, CDFILIAL, CDSERVFILI, DTMESCARD, CDARVPROD},
                          std::move(findings)),
            {}};
}

CallResult runRestrictedProductDetail(MethodContext& c) {
    const auto held = itemsWithLines(c, monthOf(c.args.day(2)));
    const std::vector<MenuItem>& items = *held;
    const std::string& product = c.args.text(3);
    std::vector<DetailRow> rows;
    for (const MenuItem& item : items)
        for (const ProductLine& line : item.lines)
            if (productMatches(line, product))
                rows.push_back({&item, &line, item.day, std::nullopt});
    return {
        detailPacket({DTCARDAPIO, CDPRATO, IDOPCCNFMES, CDPRODUTO, NMTIPOPRAT, NMPRODUTO, NMPRATO, CDARVPROD},
                     rows),
        {}};
}

LineRule ruleOf(const ProductLimit& limit) {
    return {std::nullopt, limit.product.code};
}
LineRule ruleOf(const DishProductLimit& limit) {
    return {limit.dish.code, limit.product.code};
}
void describe(Finding& f, const ProductLimit& limit) {
    f.product = limit.product;
}
void describe(Finding& f, const DishProductLimit& limit) {
    f.dish = limit.dish;
    f.product = limit.product;
}

// Both per-capita summaries: sum the matching lines per day (service) or per item (dish) and count
// the sums that fall outside the contract's range.
template <typename Limit>
CallResult runQuantityLimits(MethodContext& c, const std::vector<Limit>& limits, GroupBy groupBy,
                             const Layout& layout) {
    const DaySpan span = c.args.span(2, 3);
    std::vector<LineRule> rules;
    for (const auto& limit : limits)
        rules.push_back(ruleOf(limit));
    const auto totals = lineTotals(*itemsWithLines(c, span), rules, groupBy);
    std::vector<Finding> findings;
    for (std::size_t r = 0; r < limits.size(); ++r) {
        const double count = countOutside(totals[r], limits[r].range);
        if (count == 0)
            continue;
        Finding f = findingFor(c, span, count);
        describe(f, limits[r]);
        f.lower = limits[r].range.min;
        f.upper = limits[r].range.max;
        findings.push_back(std::move(f));
    }
    return {summaryPacket(layout, std::move(findings)), {}};
}

CallResult runServiceLimits(MethodContext& c) {
    return runQuantityLimits(
        c, c.repo.serviceLimits(c.args.text(0), c.args.text(1)), GroupBy::Day,
        {CDPRODUTO, NMPRODUTO, QTMINLIMSERV, QTMAXLIMSERV, NRPRODMES, CDFILIAL, CDSERVFILI, DTMESCARD});
}

CallResult runServiceLimitDetail(MethodContext& c) {
    const auto held = itemsWithLines(c, monthOf(c.args.day(2)));
    const std::vector<MenuItem>& items = *held;
    const auto rows =
        linesOutside(items, {std::nullopt, c.args.text(3)}, GroupBy::Day, {c.args.limit(4), c.args.limit(5)});
    return {detailPacket({DTCARDAPIO, CDPRODUTO, NMPRODUTO, QTPRODUTO, SGUNIDADE, NMTIPOPRAT, IDOPCCNFMES,
                          CDPRATO, NMPRATO},
                         rows),
            {}};
}

CallResult runDishLimits(MethodContext& c) {
    return runQuantityLimits(c, c.repo.dishLimits(c.args.text(0), c.args.text(1)), GroupBy::Item,
                             {CDFILIAL, CDSERVFILI, CDPRATO, CDPRODUTO, QTMINLIMPRAT, QTMAXLIMPRAT, NMPRATO,
                              NMPRODUTO, DTMESCARD, NRPRODMES});
}

CallResult runDishLimitDetail(MethodContext& c) {
    const auto held = itemsWithLines(c, monthOf(c.args.day(2)));
    const std::vector<MenuItem>& items = *held;
    const auto rows = linesOutside(items, {c.args.text(3), c.args.text(4)}, GroupBy::Item,
                                   {c.args.limit(5), c.args.limit(6)});
    return {detailPacket({DTCARDAPIO, NRSEQPRATCAR, CDPRATO, CDPRODUTO, IDOPCCNFMES, NMTIPOPRAT, NMPRODUTO,
                          SGUNIDADE, NMPRATO, QTPRODUTO, NRORDPRATCAR},
                         rows),
            {}};
}

} // namespace

void addProductMethods(std::vector<MethodDef>& table) {
    using namespace param;
    table.push_back({"GetRestProd", periodParams(), kPeriodSpan, runRestrictedProducts});
    table.push_back(
        {"GetRestProdDet", {kBranch, kService, kMonth, kProduct}, std::nullopt, runRestrictedProductDetail});
    table.push_back({"GetLimPeSer", periodParams(), kPeriodSpan, runServiceLimits});
    table.push_back({"GetLimPeSerDet",
                     {kBranch,
                      kService,
                      kMonth,
                      kProduct,
                      {"QTMINLIMSERV", ParamKind::Limit},
                      {"QTMAXLIMSERV", ParamKind::Limit}},
                     std::nullopt,
                     runServiceLimitDetail});
    table.push_back({"GetLimPePra", periodParams(), kPeriodSpan, runDishLimits});
    table.push_back({"GetLimPePraDet",
                     {kBranch,
                      kService,
                      kMonth,
                      kDish,
                      kProduct,
                      {"QTMINLIMPRAT", ParamKind::Limit},
                      {"QTMAXLIMPRAT", ParamKind::Limit}},
                     std::nullopt,
                     runDishLimitDetail});
}

} // namespace server
