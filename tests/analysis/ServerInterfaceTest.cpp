#include "ScriptedServer.h"

#include "analysis/ServerInterface.h"
#include "host/context/OperatorContext.h"
#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <stdexcept>

using analysis::CallServerMethod;
using host::CallArg;
using host::Refusal;
using nlohmann::json;
using namespace Qt::StringLiterals;

namespace {

proto::DateTime date(int y, int m, int d) {
    return proto::fromCivil({y, m, d});
}

class ServerInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::OperatorContext::instance().clear();
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = u"127.0.0.1"_s;
        net.Port = server.port();
        net.Connect();
    }
    json sentParams() const {
        const auto calls = server.rpcRequests();
        return calls.empty() ? json() : json::parse(calls.back().body)["params"];
    }

    ScriptedServer server;
    host::TNetConnection net;
    host::TClientDataSet target{u"cdsAlvo"_s};
};

// Every method of the remote data module, with arguments of the kinds the screen passes and the
// JSON the server must receive for them.
struct MethodCall {
    const char* method;
    std::vector<CallArg> args;
    const char* params;
};

double byRefMonth = 0;

const proto::DateTime P = date(2026, 3, 1), U = date(2026, 3, 31);
const proto::DateTime WP = date(2026, 2, 23), WU = date(2026, 4, 5);
const QString F = u"0001"_s, S = u"00010"_s;

std::vector<MethodCall> everyMethod() {
    const char* monthly = R"(["0001","00010","2026-03-01T00:00:00","2026-03-31T00:00:00"])";
    const char* weekly = R"(["0001","00010","2026-02-23T00:00:00","2026-04-05T00:00:00"])";
    const char* monthDish = R"(["0001","00010","2026-03-01T00:00:00","0101001001"])";
    std::vector<MethodCall> calls{
        {"GetServico", {F, u"N"_s}, R"(["0001","N"])"},
        {"GetDataSemana", {P, U}, R"(["2026-03-01T00:00:00","2026-03-31T00:00:00"])"},
    };
    for (const char* m : {"GetFreqPratSem", "GetFreqOpcaSem", "GetUtilPratSem"})
        calls.push_back({m, {F, S, WP, WU}, weekly});
    for (const char* m : {"GetFreqPratMes", "GetFreqOpcaMes", "GetRestPratMes", "GetRestOpcaMes",
                          "GetRestProd", "GetLimPeSer", "GetLimPePra", "GetLimNutri"})
        calls.push_back({m, {F, S, P, U}, monthly});
    for (const char* m : {"GetFreqPratMesDet", "GetFreqOpcaMesDet", "GetRestPratMesDet", "GetRestOpcaMesDet",
                          "GetRestProdDet"})
        calls.push_back({m, {F, S, P, u"0101001001"_s}, monthDish});
    calls.push_back({"GetFreqPratSemDet",
                     {F, S, u"02"_s, u"0101001001"_s, host::ByRefDate{&byRefMonth}},
                     R"(["0001","00010","02","0101001001","1899-12-30T00:00:00"])"});
    calls.push_back(
        {"GetFreqOpcaSemDet", {F, S, u"02"_s, u"0101001001"_s}, R"(["0001","00010","02","0101001001"])"});
    // The weekly-usage detail takes the dish before the week.
    calls.push_back(
        {"GetUtilPratSemDet", {F, S, u"0101001001"_s, u"02"_s}, R"(["0001","00010","0101001001","02"])"});
    calls.push_back({"GetLimPeSerDet",
                     {F, S, P, u"P1"_s, 0.5, std::monostate{}},
                     R"(["0001","00010","2026-03-01T00:00:00","P1",0.5,null])"});
    calls.push_back({"GetLimPePraDet",
                     {F, S, P, u"0101001001"_s, u"P1"_s, std::monostate{}, 12.25},
                     R"(["0001","00010","2026-03-01T00:00:00","0101001001","P1",null,12.25])"});
    calls.push_back({"GetLimNutriDet",
                     {F, S, P, u"N1"_s, 1.0, 2.0},
                     R"(["0001","00010","2026-03-01T00:00:00","N1",1.0,2.0])"});
    return calls;
}

TEST_F(ServerInterfaceTest, EveryMethodIsSentWithItsExactArgumentsAndJsonTypes) {
    const auto calls = everyMethod();
    EXPECT_EQ(calls.size(), analysis::serverMethods().size());
    for (const MethodCall& call : calls) {
        SCOPED_TRACE(call.method);
        ASSERT_NE(analysis::findServerMethod(QString::fromUtf8(call.method)), nullptr);
        CallServerMethod(net, QString::fromUtf8(call.method), call.args, target);
        const auto sent = server.rpcRequests();
        ASSERT_FALSE(sent.empty());
        const json body = json::parse(sent.back().body);
        EXPECT_EQ(body["method"], call.method);
        EXPECT_EQ(body["params"], json::parse(call.params));
    }
}

struct Misuse {
    const char* name;
    const char* method;
    std::vector<CallArg> args;
};

class MisuseTest : public ServerInterfaceTest, public ::testing::WithParamInterface<Misuse> {};

TEST_P(MisuseTest, IsAProgrammingErrorAndSendsNothing) {
    EXPECT_THROW(CallServerMethod(net, QString::fromUtf8(GetParam().method), GetParam().args, target),
                 std::logic_error);
    EXPECT_TRUE(server.rpcRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MisuseTest,
    ::testing::Values(Misuse{"UnknownMethod", "GetNada", {F}}, Misuse{"WrongCase", "getservico", {F, u"N"_s}},
                      Misuse{"TooFew", "GetServico", {F}}, Misuse{"TooMany", "GetDataSemana", {P, U, P}},
                      Misuse{"TextAsDate", "GetDataSemana", {u"2026-03-01"_s, U}},
                      Misuse{"DateAsText", "GetServico", {P, u"N"_s}},
                      Misuse{"NullText", "GetServico", {std::monostate{}, u"N"_s}},
                      Misuse{"NullDate", "GetFreqPratMes", {F, S, std::monostate{}, U}},
                      Misuse{"NumberAsText", "GetFreqOpcaSemDet", {F, S, 2.0, u"P"_s}},
                      Misuse{"DateByValueForByRef", "GetFreqPratSemDet", {F, S, u"01"_s, u"P"_s, P}},
                      Misuse{"ByRefWithoutVariable",
                             "GetFreqPratSemDet",
                             {F, S, u"01"_s, u"P"_s, host::ByRefDate{nullptr}}},
                      Misuse{"TextAsLimit", "GetLimNutriDet", {F, S, P, u"N1"_s, u"1"_s, 2.0}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ServerInterfaceTest, LoadsTheAnswerWholeIntoTheSet) {
    target.AddStringField(u"CDSERVFILI"_s, 5);
    target.AddStringField(u"NMSERVICO"_s, 40);
    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{
            200, ScriptedServer::result(
                     request, json::parse(R"({"fields":[{"name":"CDSERVFILI","type":"string","size":5},
                                                        {"name":"NMSERVICO","type":"string","size":40}],
                                              "rows":[["00010","Almoço"],["00020","Jantar"]]})"))};
    };
    CallServerMethod(net, u"GetServico"_s, {F, u"N"_s}, target);
    EXPECT_EQ(target.RecordCount(), 2);
    EXPECT_EQ(target.FieldByName(u"NMSERVICO"_s).AsString(), u"Almoço"_s);
}

TEST_F(ServerInterfaceTest, ARefusalOrABadPacketLeavesTheSetAsItWas) {
    target.AddStringField(u"CDSERVFILI"_s, 5);
    target.AddStringField(u"NMSERVICO"_s, 40);
    proto::Packet previous;
    previous.fields = {{"CDSERVFILI", proto::FieldType::String, 5},
                       {"NMSERVICO", proto::FieldType::String, 40}};
    previous.rows = {{std::string("00099"), std::string("Ceia")}};
    target.LoadPacket(previous);

    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{200, ScriptedServer::error(request, "GetServico: filial inválida.")};
    };
    try {
        CallServerMethod(net, u"GetServico"_s, {F, u"N"_s}, target);
        ADD_FAILURE() << "no refusal";
    } catch (const Refusal& refusal) {
        EXPECT_EQ(refusal.message(), u"GetServico: filial inválida."_s);
    }
    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{
            200, ScriptedServer::result(
                     request, json::parse(R"({"fields":[{"name":"CDSERVFILI","type":"string","size":5}],
                                              "rows":[["00010"]]})"))};
    };
    EXPECT_THROW(CallServerMethod(net, u"GetServico"_s, {F, u"N"_s}, target), Refusal);
    ASSERT_EQ(target.RecordCount(), 1);
    EXPECT_EQ(target.FieldByName(u"NMSERVICO"_s).AsString(), u"Ceia"_s);
}

TEST_F(ServerInterfaceTest, TheWeeklyDishDetailWritesTheMonthBack) {
    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{
            200, ScriptedServer::result(request, ScriptedServer::emptyPacket(), {{"4", "2026-03-01"}})};
    };
    double month = 0;
    analysis::GetFreqPratSemDet(net, F, S, u"01"_s, u"P1"_s, month, target);
    EXPECT_EQ(month, date(2026, 3, 1).days);
}

TEST(ServerInterfaceArgs, ANullLimitTravelsAsNull) {
    host::TClientDataSet set(u"cdsLimites"_s);
    set.AddFloatField(u"QTMINLIMSERV"_s);
    proto::Packet packet;
    packet.fields = {{"QTMINLIMSERV", proto::FieldType::Float, 0}};
    packet.rows = {{std::monostate{}}, {0.0}};
    set.LoadPacket(packet);
    EXPECT_TRUE(
        std::holds_alternative<std::monostate>(analysis::limitArg(set.FieldByName(u"QTMINLIMSERV"_s))));
    set.Next();
    const CallArg zero = analysis::limitArg(set.FieldByName(u"QTMINLIMSERV"_s));
    ASSERT_TRUE(std::holds_alternative<double>(zero));
    EXPECT_EQ(std::get<double>(zero), 0.0);
    EXPECT_EQ(std::get<proto::DateTime>(analysis::dateArg(0)).days, 0.0);
}

} // namespace
