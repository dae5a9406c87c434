#include "AnalysisWalk.h"

namespace bench {

using nlohmann::json;

const std::vector<Step>& analysisSteps() {
    static const std::vector<Step> steps{
        {"GetFreqPratSem",
         true,
         "NRPRATSEMANA",
         "GetFreqPratSemDet",
         {"CDFILIAL", "CDSERVFILI", "NRSEMANA", "CDPRATO", "#month"}},
        {"GetFreqPratMes",
         false,
         "NRPRATMES",
         "GetFreqPratMesDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRATO"}},
        {"GetFreqOpcaSem",
         true,
         "NRPRATSEMANA",
         "GetFreqOpcaSemDet",
         {"CDFILIAL", "CDSERVFILI", "NRSEMANA", "CDPRATO"}},
        {"GetFreqOpcaMes",
         false,
         "NRPRATMES",
         "GetFreqOpcaMesDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRATO"}},
        {"GetRestPratMes",
         false,
         "NRPRATMES",
         "GetRestPratMesDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRATO"}},
        {"GetRestOpcaMes",
         false,
         "NRPRATMES",
         "GetRestOpcaMesDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRATO"}},
        {"GetUtilPratSem",
         true,
         "NRPRATSEMANA",
         "GetUtilPratSemDet",
         {"CDFILIAL", "CDSERVFILI", "CDPRATO", "NRSEMANA"}},
        {"GetLimNutri",
         false,
         "NRNUTRMES",
         "GetLimNutriDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDNUTRIENTE", "QTMINLIMNUTR", "QTMAXLIMNUTR"}},
        {"GetLimPePra",
         false,
         "NRPRODMES",
         "GetLimPePraDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRATO", "CDPRODUTO", "QTMINLIMPRAT", "QTMAXLIMPRAT"}},
        {"GetLimPeSer",
         false,
         "NRPRODMES",
         "GetLimPeSerDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRODUTO", "QTMINLIMSERV", "QTMAXLIMSERV"}},
        {"GetRestProd",
         false,
         "NRPRODMES",
         "GetRestProdDet",
         {"CDFILIAL", "CDSERVFILI", "DTMESCARD", "CDPRODUTO"}},
    };
    return steps;
}

namespace {

[[noreturn]] void missingField(const Step& step, const char* name) {
    throw std::runtime_error(std::string(step.summary) + ": resposta sem o campo " + name);
}

// The index of a field of an answer by its name.
std::size_t fieldIndex(const Step& step, const json& summary, const char* name) {
    const json& fields = summary.at("fields");
    for (std::size_t index = 0; index < fields.size(); ++index)
        if (fields.at(index).at("name") == name)
            return index;
    missingField(step, name);
}

// Each detail argument in order: the launch month, or the value `fromRow` reads for a field name.
template <typename FromRow>
json detailArguments(const Step& step, const std::string& monthFirst, FromRow fromRow) {
    json params = json::array();
    for (const char* arg : step.detailArgs) {
        if (std::string(arg) == "#month")
            params.push_back(monthFirst);
        else
            params.push_back(fromRow(arg));
    }
    return params;
}

// A row for a count of zero (too few servings in the month) has no menu days to show.
bool detailHasRows(const Step& step, const json& summary) {
    const json& count = summary.at("rows").at(0).at(fieldIndex(step, summary, step.count));
    return count.is_number() && count.get<double>() > 0;
}

} // namespace

json detailParams(const Step& step, const json& summary, std::size_t row, const std::string& monthFirst) {
    return detailArguments(step, monthFirst, [&](const char* field) {
        return summary.at("rows").at(row).at(fieldIndex(step, summary, field));
    });
}

json detailParams(const Step& step, const proto::Packet& summary, std::size_t row,
                  const std::string& monthFirst) {
    const auto& cells = summary.rows.at(row);
    return detailArguments(step, monthFirst, [&](const char* field) {
        const int index = summary.fieldIndex(field);
        if (index < 0)
            missingField(step, field);
        return proto::valueToJson(cells.at(static_cast<std::size_t>(index)));
    });
}

int analyse(const Caller& call, const AnalysisTarget& target, int maxCalls) {
    int calls = 0;
    const auto made = [&](const std::string& method, const json& params, bool rowsExpected) {
        json packet = call(method, params);
        ++calls;
        if (rowsExpected && packet.at("rows").empty())
            throw EmptyAnswer(method + ": resposta sem linhas");
        return packet;
    };
    if (maxCalls <= 0)
        return 0;
    const json weeks = made("GetDataSemana", {target.monthFirst, target.monthLast}, true).at("rows").at(0);
    for (const Step& step : analysisSteps()) {
        if (calls >= maxCalls)
            break;
        const json params = step.weekly
                                ? json{target.branch, target.service, weeks[0], weeks[1]}
                                : json{target.branch, target.service, target.monthFirst, target.monthLast};
        const json summary = made(step.summary, params, target.rowsExpected);
        if (summary.at("rows").empty() || calls >= maxCalls)
            continue;
        made(step.detail, detailParams(step, summary, 0, target.monthFirst),
             target.rowsExpected && detailHasRows(step, summary));
    }
    return calls;
}

} // namespace bench
