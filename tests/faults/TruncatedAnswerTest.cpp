#include "RawReplyServer.h"
#include "RefusalOf.h"

#include "host/context/OperatorContext.h"
#include "host/net/NetConnection.h"

#include <gtest/gtest.h>

#include <string>

using host::TNetConnection;
using namespace Qt::StringLiterals;

namespace {

TEST(TruncatedAnswer, ABodyCutShortOfItsLengthIsAClearErrorNamingTheServer) {
    host::OperatorContext::instance().clear();
    const std::string whole =
        R"({"jsonrpc":"2.0","id":1,"result":{"packet":{"fields":[{"name":"CDSERVFILI","type":"string","size":5}],"rows":[["001"]]}}})";
    // Fewer bytes than the Content-Length promises before the connection closes, as a server that
    // dies while writing leaves it.
    const std::string answer = RawReplyServer::jsonAnswer(whole);
    RawReplyServer server(
        {RawReplyServer::sessionAnswer(), answer.substr(0, answer.size() - whole.size() / 2)});
    TNetConnection net;
    net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
    net.Host = u"127.0.0.1"_s;
    net.Port = server.port();
    net.TimeoutMs = 2000;
    net.Connect();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetServico"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"encerrada antes da resposta"_s)) << message.toStdString();
    EXPECT_FALSE(message.contains(u"tempo limite"_s)) << "the server closed, it did not stall";
}

} // namespace
