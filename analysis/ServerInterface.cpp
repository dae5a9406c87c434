#include "analysis/ServerInterface.h"

#include <stdexcept>
#include <string>

namespace analysis {

namespace {

constexpr ArgRule F{"CDFILIAL", ArgKind::Text};
constexpr ArgRule S{"CDSERVFILI", ArgKind::Text};
constexpr ArgRule P{"DTPRIMDIAMES", ArgKind::Date};
constexpr ArgRule U{"DTULTIDIAMES", ArgKind::Date};
constexpr ArgRule WP{"DTPRIMEIRA", ArgKind::Date};
constexpr ArgRule WU{"DTULTIMA", ArgKind::Date};
constexpr ArgRule MES{"DTMESCARD", ArgKind::Date};
constexpr ArgRule SEMANA{"NRSEMANA", ArgKind::Text};
constexpr ArgRule PRATO{"CDPRATO", ArgKind::Text};
constexpr ArgRule PRODUTO{"CDPRODUTO", ArgKind::Text};
constexpr ArgRule NUTRIENTE{"CDNUTRIENTE", ArgKind::Text};

std::vector<ServerMethod> buildTable() {
    const std::vector<ArgRule> weekly{F, S, WP, WU};
    const std::vector<ArgRule> monthly{F, S, P, U};
    const std::vector<ArgRule> monthlyDish{F, S, MES, PRATO};
    std::vector<ServerMethod> table{
        {"GetServico", {F, {"IDMARCADO", ArgKind::Text}}},
        {"GetDataSemana", {P, U}},
    };
    for (const char* name : {"GetFreqPratSem", "GetFreqOpcaSem", "GetUtilPratSem"})
        table.push_back({name, weekly});
    for (const char* name : {"GetFreqPratMes", "GetFreqOpcaMes", "GetRestPratMes", "GetRestOpcaMes",
                             "GetRestProd", "GetLimPeSer", "GetLimPePra", "GetLimNutri"})
        table.push_back({name, monthly});
    for (const char* name :
         {"GetFreqPratMesDet", "GetFreqOpcaMesDet", "GetRestPratMesDet", "GetRestOpcaMesDet"})
        table.push_back({name, monthlyDish});
    table.push_back({"GetRestProdDet", {F, S, MES, PRODUTO}});
    table.push_back({"GetFreqPratSemDet", {F, S, SEMANA, PRATO, {"dtMesCard", ArgKind::DateByRef}}});
    table.push_back({"GetFreqOpcaSemDet", {F, S, SEMANA, PRATO}});
    table.push_back({"GetUtilPratSemDet", {F, S, PRATO, SEMANA}});
    table.push_back(
        {"GetLimPeSerDet",
         {F, S, MES, PRODUTO, {"QTMINLIMSERV", ArgKind::Double}, {"QTMAXLIMSERV", ArgKind::Double}}});
    table.push_back(
        {"GetLimPePraDet",
         {F, S, MES, PRATO, PRODUTO, {"QTMINLIMPRAT", ArgKind::Double}, {"QTMAXLIMPRAT", ArgKind::Double}}});
    table.push_back(
        {"GetLimNutriDet",
         {F, S, MES, NUTRIENTE, {"QTMINLIMNUTR", ArgKind::Double}, {"QTMAXLIMNUTR", ArgKind::Double}}});
    return table;
}

bool fits(const host::CallArg& arg, ArgKind kind) {
    switch (kind) {
    case ArgKind::Text:
        return std::holds_alternative<QString>(arg);
    case ArgKind::Date:
        return std::holds_alternative<proto::DateTime>(arg);
    case ArgKind::Double:
        return std::holds_alternative<double>(arg) || std::holds_alternative<std::monostate>(arg);
    case ArgKind::DateByRef:
        return std::holds_alternative<host::ByRefDate>(arg) && std::get<host::ByRefDate>(arg).days != nullptr;
    }
    return false;
}

} // namespace

const std::vector<ServerMethod>& serverMethods() {
    static const std::vector<ServerMethod> table = buildTable();
    return table;
}

const ServerMethod* findServerMethod(const QString& name) {
    for (const ServerMethod& entry : serverMethods())
        if (name == QLatin1String(entry.name))
            return &entry;
    return nullptr;
}

void CallServerMethod(host::TNetConnection& connection, const QString& method,
                      const std::vector<host::CallArg>& args, host::TClientDataSet& target) {
    const ServerMethod* entry = findServerMethod(method);
    if (!entry)
        throw std::logic_error("unknown server method " + method.toStdString());
    if (args.size() != entry->args.size())
        throw std::logic_error(method.toStdString() + " takes " + std::to_string(entry->args.size()) +
                               " arguments, got " + std::to_string(args.size()));
    for (std::size_t i = 0; i < args.size(); ++i)
        if (!fits(args[i], entry->args[i].kind))
            throw std::logic_error(method.toStdString() + ": argument " + std::to_string(i) + " (" +
                                   entry->args[i].name + ") is of the wrong kind");
    const host::ServerResult result = connection.Call(method, args);
    target.LoadPacket(host::CheckResultServ(result, true, 0));
}

host::CallArg limitArg(const host::TField& field) {
    if (field.IsNull())
        return std::monostate{};
    return field.AsFloat();
}

host::CallArg dateArg(double days) {
    return proto::DateTime{days};
}

void GetFreqPratSemDet(host::TNetConnection& connection, const QString& cdFilial, const QString& cdServFili,
                       const QString& nrSemana, const QString& cdPrato, double& dtMesCard,
                       host::TClientDataSet& target) {
    CallServerMethod(connection, QStringLiteral("GetFreqPratSemDet"),
                     {cdFilial, cdServFili, nrSemana, cdPrato, host::ByRefDate{&dtMesCard}}, target);
}

} // namespace analysis
