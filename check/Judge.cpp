#include "check/Judge.h"

#include "analysis/Outcome.h"
#include "server/rules/Calendar.h"

#include <algorithm>
#include <exception>

namespace check {

using nlohmann::json;

Json rowObject(const proto::Packet& packet, std::size_t row) {
    const std::vector<proto::Value>& cells = packet.rows.at(row);
    Json object = objectWithRoom(packet.fields.size());
    for (std::size_t index = 0; index < packet.fields.size() && index < cells.size(); ++index)
        object[packet.fields[index].name] = Json(proto::valueToJson(cells[index]));
    return object;
}

Json rowObjects(const proto::Packet& packet) {
    Json rows = Json::array();
    for (std::size_t row = 0; row < packet.rows.size(); ++row)
        rows.push_back(rowObject(packet, row));
    return rows;
}

namespace {

std::vector<CategoryResult> fetchCategories(const PacketCaller& call, const ServiceResult& target,
                                            const Month& month, const Composer& compose,
                                            const Meanwhile& meanwhile) {
    const std::string first = server::isoDate(month.span.first);
    const std::string last = server::isoDate(month.span.last);
    const std::vector<proto::Packet> weekSpan = call({{"GetDataSemana", {first, last}}}, {});
    const std::vector<proto::Value>& weeks = weekSpan.at(0).rows.at(0);
    const json weekFirst = proto::valueToJson(weeks.at(0));
    const json weekLast = proto::valueToJson(weeks.at(1));
    const std::vector<bench::Step>& steps = bench::analysisSteps();

    std::vector<Call> summaryCalls;
    for (const bench::Step& step : steps)
        summaryCalls.push_back({step.summary, step.weekly
                                                  ? json{target.branch, target.service, weekFirst, weekLast}
                                                  : json{target.branch, target.service, first, last}});
    const std::vector<proto::Packet> summaries = call(summaryCalls, meanwhile);

    std::vector<Call> detailCalls;
    for (std::size_t s = 0; s < steps.size(); ++s)
        for (std::size_t row = 0; row < summaries.at(s).rows.size(); ++row)
            detailCalls.push_back({steps[s].detail, bench::detailParams(steps[s], summaries[s], row, first)});
    const std::vector<proto::Packet> details = call(detailCalls, {});

    std::vector<CategoryResult> categories;
    std::size_t detail = 0;
    for (std::size_t s = 0; s < steps.size(); ++s) {
        CategoryResult category{steps[s].summary, {}};
        for (std::size_t row = 0; row < summaries[s].rows.size(); ++row, ++detail)
            category.rows.push_back(
                Infringement{rowObject(summaries[s], row),
                             rowObjects(details.at(detail)),
                             compose(steps[s].summary, summaries[s], row, details[detail]),
                             {}});
        categories.push_back(std::move(category));
    }
    return categories;
}

} // namespace

void judge(const PacketCaller& call, const Month& month, const Composer& compose, const Meanwhile& meanwhile,
           ServiceResult& result) {
    std::vector<CategoryResult> categories;
    try {
        categories = fetchCategories(call, result, month, compose, meanwhile);
    } catch (const std::exception& error) {
        result.verdict = Verdict::Error;
        result.reason = error.what();
        result.categories.clear();
        return;
    }
    const auto found = [&](const analysis::OutcomeCategory& outcome) {
        return std::find_if(categories.begin(), categories.end(),
                            [&](const CategoryResult& c) { return c.method == outcome.summaryMethod; });
    };
    const bool blocked = analysis::isBlocked([&](const analysis::OutcomeCategory& outcome) {
        const auto category = found(outcome);
        return category != categories.end() && !category->rows.empty();
    });
    result.verdict = blocked ? Verdict::Blocked : Verdict::Clear;
    result.categories.clear();
    for (const analysis::OutcomeCategory& outcome : analysis::kOutcomeOrder)
        if (const auto category = found(outcome); category != categories.end() && !category->rows.empty())
            result.categories.push_back(std::move(*category));
}

} // namespace check
