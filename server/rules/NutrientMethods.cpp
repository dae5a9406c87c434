#include "server/rules/Matching.h"
#include "server/rules/MethodTable.h"
#include "server/rules/Records.h"

namespace server {
namespace {

using enum Col;

// Days are checked only where a NUTRCARD row exists for the nutrient, whether or not the day has
// menu items.
CallResult runNutrientLimits(MethodContext& c) {
    const DaySpan span = c.args.span(2, 3);
    const auto limits = c.repo.nutrientLimits(c.args.text(0), c.args.text(1));
    CodeIndex index;
    for (std::size_t r = 0; r < limits.size(); ++r)
        index.add(limits[r].nutrient.code, r);
    std::vector<double> counts(limits.size(), 0.0);
    for (const NutrientDay& day : c.repo.nutrientDays(c.args.text(0), c.args.text(1), span))
        index.visit(day.nutrient, [&](std::size_t r) {
            if (limits[r].range.outside(day.quantity))
                ++counts[r];
        });
    std::vector<Finding> findings;
    for (std::size_t r = 0; r < limits.size(); ++r) {
        if (counts[r] == 0)
            continue;
        Finding f;
        f.branch = c.args.text(0);
        f.service = c.args.text(1);
        f.month = span.first;
        f.nutrient = limits[r].nutrient;
        f.unit = limits[r].unit;
        f.count = counts[r];
        f.lower = limits[r].range.min;
        f.upper = limits[r].range.max;
        findings.push_back(std::move(f));
    }
    return {summaryPacket({CDFILIAL, CDSERVFILI, CDNUTRIENTE, QTMAXLIMNUTR, NMNUTRIENTE, SGUNIDADE, DTMESCARD,
                           NRNUTRMES, QTMINLIMNUTR},
                          std::move(findings)),
            {}};
}

CallResult runNutrientLimitDetail(MethodContext& c) {
    const std::string& nutrient = c.args.text(3);
    const Range range{c.args.limit(4), c.args.limit(5)};
    std::vector<DetailRow> rows;
    for (const NutrientDay& day : c.repo.nutrientDays(c.args.text(0), c.args.text(1), monthOf(c.args.day(2))))
        if (day.nutrient == nutrient && range.outside(day.quantity))
            rows.push_back({nullptr, nullptr, day.day, day.quantity});
    return {detailPacket({DTCARDAPIO, QTNUTRIENTE}, rows), {}};
}

} // namespace

void addNutrientMethods(std::vector<MethodDef>& table) {
    using namespace param;
    table.push_back({"GetLimNutri", periodParams(), kPeriodSpan, runNutrientLimits});
    table.push_back({"GetLimNutriDet",
                     {kBranch,
                      kService,
                      kMonth,
                      kNutrient,
                      {"QTMINLIMNUTR", ParamKind::Limit},
                      {"QTMAXLIMNUTR", ParamKind::Limit}},
                     std::nullopt,
                     runNutrientLimitDetail});
}

} // namespace server
