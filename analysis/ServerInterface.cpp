#include "analysis/ServerInterface.h"

#include <stdexcept>
#include <string>

namespace analysis {

namespace {

constexpr ArgSpec F{"CDFILIAL", ArgKind::Text};
constexpr ArgSpec S{"CDSERVFILI", ArgKind::Text};
constexpr ArgSpec P{"DTPRIMDIAMES", ArgKind::Date};
constexpr ArgSpec U{"DTULTIDIAMES", ArgKind::Date};
constexpr ArgSpec WP{"DTPRIMEIRA", ArgKind::Date};
constexpr ArgSpec WU{"DTULTIMA", ArgKind::Date};
constexpr ArgSpec MES{"DTMESCARD", ArgKind::Date};
constexpr ArgSpec SEMANA{"NRSEMANA", ArgKind::Text};
constexpr ArgSpec PRATO{"CDPRATO", ArgKind::Text};
constexpr ArgSpec PRODUTO{"CDPRODUTO", ArgKind::Text};
constexpr ArgSpec NUTRIENTE{"CDNUTRIENTE", ArgKind::Text};

std::vector<MethodSpec> buildTable() {
    const std::vector<ArgSpec> weekly{F, S, WP, WU};
    const std::vector<ArgSpec> monthly{F, S, P, U};
    const std::vector<ArgSpec> monthlyDish{F, S, MES, PRATO};
    std::vector<MethodSpec> table{
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

const std::vector<MethodSpec>& serverMethods() {
    static const std::vector<MethodSpec> table = buildTable();
    return table;
}

const MethodSpec* findServerMethod(const QString& name) {
    for (const MethodSpec& spec : serverMethods())
        if (name == QLatin1String(spec.name))
            return &spec;
    return nullptr;
}

void CallServerMethod(host::TNetConnection& connection, const QString& method,
                      const std::vector<host::CallArg>& args, host::TClientDataSet& target) {
    const MethodSpec* spec = findServerMethod(method);
    if (!spec)
        throw std::logic_error("unknown server method " + method.toStdString());
    if (args.size() != spec->args.size())
        throw std::logic_error(method.toStdString() + " takes " + std::to_string(spec->args.size()) +
                               " arguments, got " + std::to_string(args.size()));
    for (std::size_t i = 0; i < args.size(); ++i)
        if (!fits(args[i], spec->args[i].kind))
            throw std::logic_error(method.toStdString() + ": argument " + std::to_string(i) + " (" +
                                   spec->args[i].name + ") is of the wrong kind");
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
