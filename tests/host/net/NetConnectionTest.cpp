#include "RefusalOf.h"
#include "ScriptedServer.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/net/NetConnection.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

using host::CallArg;
using host::Refusal;
using host::TNetConnection;
using nlohmann::json;
using namespace Qt::StringLiterals;

namespace {

class NetConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { host::OperatorContext::instance().clear(); }
    void TearDown() override { host::OperatorContext::instance().clear(); }

    void aim(TNetConnection& net, int port, int timeoutMs = 5000) {
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = u"127.0.0.1"_s;
        net.Port = port;
        net.TimeoutMs = timeoutMs;
    }
};

TEST_F(NetConnectionTest, OpensASessionOnTheNamedModuleAfterBeforeConnect) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, 0);
    int raised = 0;
    // The host and port are only known once BeforeConnect ran.
    net.BeforeConnect = [&](TNetConnection& self) {
        ++raised;
        self.Port = server.port();
    };
    net.Connect();
    EXPECT_EQ(raised, 1);
    ASSERT_TRUE(net.Connected());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, "/session");
    EXPECT_EQ(json::parse(requests[0].body), (json{{"server", "KDR60251.rdmAnalRestCont"}}));
    EXPECT_TRUE(requests[0].authorization.empty());
}

TEST_F(NetConnectionTest, CallSendsPositionalParametersWithTheirJsonTypesOnTheSession) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    const proto::DateTime march2{proto::fromCivil({2026, 3, 2}).days};
    const auto result = net.Call(u"GetLimPeSerDet"_s, {u"0001"_s, u"Almoç"_s, march2, std::monostate{}, 2.5});
    EXPECT_TRUE(result.ok);
    const auto calls = server.rpcRequests();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].session, "tok-1");
    const json body = json::parse(calls[0].body);
    EXPECT_EQ(body["jsonrpc"], "2.0");
    EXPECT_EQ(body["method"], "GetLimPeSerDet");
    EXPECT_TRUE(body["id"].is_number_integer());
    EXPECT_EQ(body["params"], json::parse(R"(["0001","Almoç","2026-03-02T00:00:00",null,2.5])"));
}

TEST_F(NetConnectionTest, EachCallCarriesANewIdAndAnAnswerToAnotherIdIsRefused) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
    net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
    const auto calls = server.rpcRequests();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(json::parse(calls[0].body)["id"], json::parse(calls[1].body)["id"]);

    server.onRpc = [](const ScriptedServer::Recorded&) {
        return ScriptedServer::Answer{
            200, R"({"jsonrpc":"2.0","id":999,"result":{"packet":{"fields":[],"rows":[]}}})"};
    };
    EXPECT_FALSE(refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); }).isEmpty());
}

TEST_F(NetConnectionTest, DisconnectClosesTheSessionAndCallsAreThenRefused) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    net.Disconnect();
    EXPECT_FALSE(net.Connected());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "DELETE");
    EXPECT_EQ(requests[1].path, "/session/tok-1");
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_TRUE(message.contains(u"Sem conexão"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_EQ(server.rpcRequests().size(), 0u);
}

TEST_F(NetConnectionTest, SendsTheBearerSecretFromTheSettingsTrimmed) {
    QTemporaryDir dir;
    QFile secret(dir.filePath(u"secret"_s));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("  s3cr3t \n");
    secret.close();
    host::OperatorContext::instance().set(host::keys::kServerSecretFile, secret.fileName());
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
    for (const auto& request : server.requests())
        EXPECT_EQ(request.authorization, "Bearer s3cr3t") << request.path;
}

TEST_F(NetConnectionTest, AnUnreadableSecretFileIsRefusedBeforeAnythingIsSent) {
    host::OperatorContext::instance().set(host::keys::kServerSecretFile, u"/nonexistent/secret"_s);
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    const QString message = refusalOf([&] { net.Connect(); });
    EXPECT_TRUE(message.contains(u"/nonexistent/secret"_s)) << message.toStdString();
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(NetConnectionTest, AServerRefusalComesBackForCheckResultServ) {
    ScriptedServer server;
    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{200,
                                      ScriptedServer::error(request, "GetServico: parâmetro 1 inválido.")};
    };
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    const auto result = net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, u"GetServico: parâmetro 1 inválido."_s);
    EXPECT_EQ(refusalOf([&] { host::CheckResultServ(result, true, 0); }),
              u"GetServico: parâmetro 1 inválido."_s);
}

TEST_F(NetConnectionTest, CheckResultServPassesThePacketOfASuccessfulCall) {
    host::ServerResult result;
    result.ok = true;
    result.packet.fields = {{"CDFILIAL", proto::FieldType::String, 4}};
    result.packet.rows = {{std::string("0001")}};
    EXPECT_EQ(host::CheckResultServ(result, true, 0).rows.size(), 1u);
}

// By-reference dates: the answer's "out" is written back, but only once all of it is good.
TEST_F(NetConnectionTest, WritesByReferenceDatesBackFromTheAnswer) {
    ScriptedServer server;
    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{
            200, ScriptedServer::result(request, ScriptedServer::emptyPacket(), {{"4", "2026-03-01"}})};
    };
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    double month = proto::fromCivil({2026, 2, 1}).days;
    const auto result =
        net.Call(u"GetFreqPratSemDet"_s, {u"0001"_s, u"001"_s, u"01"_s, u"P1"_s, host::ByRefDate{&month}});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(month, proto::fromCivil({2026, 3, 1}).days);
    // The value sent is the variable's value before the call.
    EXPECT_EQ(json::parse(server.rpcRequests()[0].body)["params"][4], "2026-02-01T00:00:00");
}

struct BadOut {
    const char* name;
    json out;
};

class BadByReferenceTest : public NetConnectionTest, public ::testing::WithParamInterface<BadOut> {};

TEST_P(BadByReferenceTest, IsRefusedAndLeavesTheVariableAsItWas) {
    ScriptedServer server;
    const json out = GetParam().out;
    server.onRpc = [out](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{200,
                                      ScriptedServer::result(request, ScriptedServer::emptyPacket(), out)};
    };
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    const double before = proto::fromCivil({2026, 2, 1}).days;
    double month = before;
    const QString message = refusalOf([&] {
        net.Call(u"GetFreqPratSemDet"_s, {u"0001"_s, u"001"_s, u"01"_s, u"P1"_s, host::ByRefDate{&month}});
    });
    EXPECT_TRUE(message.contains(u"Resposta inválida"_s)) << message.toStdString();
    EXPECT_EQ(month, before);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadByReferenceTest,
    ::testing::Values(BadOut{"NotADate", {{"4", "2026-02-30"}}}, BadOut{"Null", {{"4", nullptr}}},
                      BadOut{"ANumber", {{"4", 46082}}}, BadOut{"ValueArgument", {{"0", "2026-03-01"}}},
                      BadOut{"GoodThenOutOfRange", {{"4", "2026-03-01"}, {"9", "2026-03-01"}}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// Every way the exchange can fail ends as a Refusal naming host and port.
struct Failure {
    const char* name;
    std::function<void(ScriptedServer&)> script; // what the server does
    bool failOnConnect;                          // or on the first call
    const char* expected;                        // part of the message
    int timeoutMs = 5000;
};

class TransportFailureTest : public NetConnectionTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(TransportFailureTest, IsARefusalNamingTheServer) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port(), GetParam().timeoutMs);
    if (!GetParam().failOnConnect)
        net.Connect();
    GetParam().script(server);
    const QString message = refusalOf([&] {
        if (GetParam().failOnConnect)
            net.Connect();
        else
            net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
    });
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().expected))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    if (GetParam().failOnConnect) {
        EXPECT_FALSE(net.Connected());
    }
}

const auto rpcAnswer = [](int status, std::string body) {
    return [status, body](ScriptedServer& server) {
        server.onRpc = [status, body](const ScriptedServer::Recorded&) {
            return ScriptedServer::Answer{status, body};
        };
    };
};

INSTANTIATE_TEST_SUITE_P(
    Exchanges, TransportFailureTest,
    ::testing::Values(
        Failure{"RefusedSession",
                [](ScriptedServer& server) {
                    server.onSession = [](const ScriptedServer::Recorded&) {
                        return ScriptedServer::Answer{503, R"({"error":"Limite de sessões atingido."})"};
                    };
                },
                true, "recusou a sessão em KDR60251.rdmAnalRestCont: Limite de sessões atingido."},
        Failure{"UnknownModule",
                [](ScriptedServer& server) {
                    server.onSession = [](const ScriptedServer::Recorded&) {
                        return ScriptedServer::Answer{404, R"({"error":"Módulo desconhecido."})"};
                    };
                },
                true, "Módulo desconhecido."},
        Failure{"SessionWithoutToken",
                [](ScriptedServer& server) {
                    server.onSession = [](const ScriptedServer::Recorded&) {
                        return ScriptedServer::Answer{200, R"({"sessao":1})"};
                    };
                },
                true, "Resposta inválida"},
        Failure{"SessionTimesOut", [](ScriptedServer& server) { server.hang(); }, true, "não respondeu em 0",
                200},
        Failure{"Http500", rpcAnswer(500, "oops"), false, "erro HTTP 500"},
        Failure{"UnknownSession", rpcAnswer(401, R"({"error":"Sessão desconhecida."})"), false,
                "recusou o método GetServico: Sessão desconhecida."},
        Failure{"GarbageBody", rpcAnswer(200, "<html>not json</html>"), false, "Resposta inválida"},
        Failure{
            "TruncatedPacket",
            rpcAnswer(
                200,
                R"({"jsonrpc":"2.0","id":1,"result":{"packet":{"fields":[{"name":"CDFILIAL","type":"str)"),
            false, "Resposta inválida"},
        Failure{
            "PacketRowTooWide",
            rpcAnswer(
                200,
                R"({"jsonrpc":"2.0","id":1,"result":{"packet":{"fields":[{"name":"A","type":"float"}],"rows":[[1,2]]}}})"),
            false, "Resposta inválida"},
        Failure{"CallTimesOut", [](ScriptedServer& server) { server.hang(); }, false, "não respondeu em 0",
                200}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(NetConnectionTest, ATimeOutSaysInPlainWordsWhichServerDidNotAnswerAndForHowManySeconds) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port(), 1000);
    net.Connect();
    server.hang();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_EQ(message, u"O servidor de aplicação KDR60251.rdmAnalRestCont em 127.0.0.1:%1 não respondeu em 1 "
                       u"segundo (método GetServico)."_s.arg(server.port()));
}

TEST_F(NetConnectionTest, AnUnreachablePortIsRefusedNamingHostAndPort) {
    ClosedPort closed;
    TNetConnection net;
    aim(net, closed.port());
    const QString message = refusalOf([&] { net.Connect(); });
    EXPECT_EQ(message,
              u"Não foi possível conectar ao servidor de aplicação em 127.0.0.1:%1: conexão recusada ou "
              u"servidor inacessível."_s.arg(closed.port()))
        << message.toStdString();
    EXPECT_FALSE(net.Connected());
}

// The settings may hold an IPv6 literal in brackets, as typed in an address, or bare, as the
// shell's --server leaves it; messages show it in brackets either way.
TEST_F(NetConnectionTest, AnIPv6ServerIsReachedWithItsLiteralBareOrInBrackets) {
    ScriptedServer server("::1");
    for (const QString& written : {u"[::1]"_s, u"::1"_s, u" ::1 "_s}) {
        TNetConnection net;
        aim(net, server.port());
        net.Host = written;
        net.Connect();
        EXPECT_TRUE(net.Connected()) << written.toStdString();
        EXPECT_TRUE(net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}).ok) << written.toStdString();
    }
    server.onRpc = [](const ScriptedServer::Recorded&) { return ScriptedServer::Answer{500, "{}"}; };
    TNetConnection net;
    aim(net, server.port());
    net.Host = u"[::1]"_s;
    net.Connect();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {}); });
    EXPECT_TRUE(message.contains(u"em [::1]:%1 "_s.arg(server.port()))) << message.toStdString();
}

TEST_F(NetConnectionTest, AMalformedHostIsRefusedBeforeAnyConnection) {
    for (const QString& written : {u"[::1"_s, u"::1:60251"_s, u"servidor local"_s, u""_s}) {
        TNetConnection net;
        aim(net, 60251);
        net.Host = written;
        const QString message = refusalOf([&] { net.Connect(); });
        EXPECT_TRUE(message.contains(u"endereço inválido"_s)) << message.toStdString();
        EXPECT_FALSE(net.Connected());
    }
}

TEST_F(NetConnectionTest, AFailedReconnectLeavesNoHalfOpenSession) {
    ScriptedServer server;
    TNetConnection net;
    aim(net, server.port());
    net.Connect();
    server.onSession = [](const ScriptedServer::Recorded&) {
        return ScriptedServer::Answer{503, R"({"error":"Servidor ocupado."})"};
    };
    EXPECT_FALSE(refusalOf([&] { net.Connect(); }).isEmpty());
    EXPECT_FALSE(net.Connected());
}

} // namespace
