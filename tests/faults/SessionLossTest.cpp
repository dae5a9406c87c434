#include "RefusalOf.h"
#include "ScriptedServer.h"

#include "host/context/OperatorContext.h"
#include "host/net/NetConnection.h"

#include <gtest/gtest.h>

using host::TNetConnection;
using namespace Qt::StringLiterals;

namespace {

class SessionLoss : public ::testing::Test {
protected:
    void SetUp() override {
        host::OperatorContext::instance().clear();
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = u"127.0.0.1"_s;
        net.Port = server.port();
        net.TimeoutMs = 5000;
        net.Connect();
    }

    // The server forgot the session: the answer the real one gives to an unknown token.
    void forgetSession() {
        server.onRpc = [](const ScriptedServer::Recorded&) {
            return ScriptedServer::Answer{
                404, R"({"error":"Sessão desconhecida ou expirada; conecte-se novamente."})"};
        };
    }

    ScriptedServer server;
    TNetConnection net;
};

TEST_F(SessionLoss, AnUnknownSessionClosesTheConnectionWithAMessageOnWhatToDo) {
    ASSERT_TRUE(net.Connected());
    forgetSession();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_FALSE(net.Connected());
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetServico"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"Feche esta tela e abra-a novamente"_s)) << message.toStdString();
}

TEST_F(SessionLoss, NothingIsSentOrReopenedAfterwardsUntilTheCallerConnects) {
    forgetSession();
    refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    const auto seen = server.requests().size();
    const QString message = refusalOf([&] { net.Call(u"GetDataSemana"_s, {u"2026-03-01"_s}); });
    EXPECT_TRUE(message.contains(u"Feche esta tela e abra-a novamente"_s)) << message.toStdString();
    EXPECT_EQ(server.requests().size(), seen) << "neither the call nor a new session was sent";
    // Closing a session the server no longer has sends nothing either.
    net.Disconnect();
    EXPECT_EQ(server.requests().size(), seen);

    server.onRpc = [](const ScriptedServer::Recorded& request) {
        return ScriptedServer::Answer{200, ScriptedServer::result(request, ScriptedServer::emptyPacket())};
    };
    net.Connect();
    EXPECT_TRUE(net.Connected());
    EXPECT_TRUE(net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}).ok);
}

TEST_F(SessionLoss, OtherRefusalsKeepTheSession) {
    // A refused credential or a server error says nothing about the session.
    for (const int status : {401, 500, 503}) {
        server.onRpc = [status](const ScriptedServer::Recorded&) {
            return ScriptedServer::Answer{status, R"({"error":"recusado"})"};
        };
        EXPECT_FALSE(refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); }).isEmpty());
        EXPECT_TRUE(net.Connected()) << status;
    }
}

} // namespace
