#include "check/Judge.h"

#include "analysis/Outcome.h"
#include "server/rules/Calendar.h"

#include <algorithm>
#include <exception>

namespace check {

using nlohmann::json;

Json rowObjects(const json& packet) {
    const json& fields = packet.at("fields");
    Json rows = Json::array();
    for (const json& row : packet.at("rows")) {
        Json object = Json::object();
        for (std::size_t index = 0; index < fields.size() && index < row.size(); ++index)
            object[fields.at(index).at("name").get<std::string>()] = row.at(index);
        rows.push_back(std::move(object));
    }
    return rows;
}

namespace {

std::vector<CategoryResult> fetchCategories(const bench::Caller& call, const ServiceResult& target,
                                            const Month& month, const Composer& compose) {
    const std::string first = server::isoDate(month.span.first);
    const std::string last = server::isoDate(month.span.last);
    const json weeks = call("GetDataSemana", {first, last}).at("rows").at(0);
    std::vector<CategoryResult> categories;
    for (const bench::Step& step : bench::analysisSteps()) {
        const json params = step.weekly ? json{target.branch, target.service, weeks[0], weeks[1]}
                                        : json{target.branch, target.service, first, last};
        const json summary = call(step.summary, params);
        CategoryResult category{step.summary, {}};
        const Json rows = rowObjects(summary);
        if (rows.empty()) {
            categories.push_back(std::move(category));
            continue;
        }
        const proto::Packet summaryPacket = proto::packetFromJson(summary);
        for (std::size_t index = 0; index < rows.size(); ++index) {
            const json detail = call(step.detail, bench::detailParams(step, summary, index, first));
            category.rows.push_back(
                Infringement{rows.at(index),
                             rowObjects(detail),
                             compose(step.summary, summaryPacket, index, proto::packetFromJson(detail)),
                             {}});
        }
        categories.push_back(std::move(category));
    }
    return categories;
}

} // namespace

void judge(const bench::Caller& call, const Month& month, const Composer& compose, ServiceResult& result) {
    std::vector<CategoryResult> categories;
    try {
        categories = fetchCategories(call, result, month, compose);
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
