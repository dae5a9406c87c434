#include "RawReplyServer.h"
#include "RefusalOf.h"

#include "host/context/OperatorContext.h"
#include "host/net/NetConnection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using host::TNetConnection;
using namespace Qt::StringLiterals;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

const std::string kAnswer =
    R"({"jsonrpc":"2.0","id":1,"result":{"packet":{"fields":[{"name":"CDSERVFILI","type":"string","size":5}],"rows":[["001"]]}}})";

std::string chunked(const std::string& status, std::size_t bytes) {
    std::string reply =
        "HTTP/1.1 " + status + "\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n";
    const std::string chunk(64 * 1024, ' ');
    for (std::size_t sent = 0; sent < bytes; sent += chunk.size()) {
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        reply += size + chunk + "\r\n";
    }
    return reply + "0\r\n\r\n";
}

struct Oversized {
    const char* name;
    std::string reply;
    std::size_t limit;
    const char* bound;
};

class OversizedAnswerTest : public testing::TestWithParam<Oversized> {
protected:
    void SetUp() override { host::OperatorContext::instance().clear(); }

    static void aim(TNetConnection& net, const RawReplyServer& server, std::size_t limit) {
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = u"127.0.0.1"_s;
        net.Port = server.port();
        net.TimeoutMs = 2000;
        net.MaxAnswerBytes = limit;
    }
};

// The announced length is refused before the body, which these servers never finish sending: a
// client that waited for it would report a cut connection instead.
TEST_P(OversizedAnswerTest, IsRefusedNamingTheServerTheCallAndTheBound) {
    RawReplyServer server({RawReplyServer::sessionAnswer(), GetParam().reply});
    TNetConnection net;
    aim(net, server, GetParam().limit);
    net.Connect();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_EQ(message,
              u"A resposta do servidor de aplicação em 127.0.0.1:%1 (método GetServico) excede o limite "
              u"de %2 e foi recusada."_s.arg(server.port())
                  .arg(QString::fromUtf8(GetParam().bound)));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OversizedAnswerTest,
    testing::Values(
        Oversized{"announcedPastTheDefault",
                  "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(64 * kMiB + 1) + "\r\n\r\n{\"a\":",
                  64 * kMiB, "64 MiB"},
        Oversized{"announcedPast64Bits",
                  "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n{", 64 * kMiB, "64 MiB"},
        Oversized{"chunkedWithoutLength", chunked("200 OK", 2 * kMiB), kMiB, "1 MiB"},
        Oversized{"errorStatusBody", chunked("500 Internal Server Error", 2 * kMiB), kMiB, "1 MiB"},
        Oversized{"untilClose", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(kMiB + 1, ' '),
                  kMiB, "1 MiB"},
        Oversized{"oddBound", chunked("200 OK", 2 * kMiB), kMiB + 1, "1048577 bytes"}),
    [](const testing::TestParamInfo<Oversized>& param) { return std::string(param.param.name); });

TEST_F(OversizedAnswerTest, AnAnswerOfExactlyTheBoundIsReadAndOneByteMoreIsRefused) {
    const std::size_t limit = 4096;
    const std::string padded = kAnswer + std::string(limit - kAnswer.size(), ' ');
    {
        RawReplyServer server({RawReplyServer::sessionAnswer(), RawReplyServer::jsonAnswer(padded)});
        TNetConnection net;
        aim(net, server, limit);
        net.Connect();
        const host::ServerResult result = net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s});
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.packet.rows.size(), 1u);
    }
    RawReplyServer server({RawReplyServer::sessionAnswer(), RawReplyServer::jsonAnswer(padded + " ")});
    TNetConnection net;
    aim(net, server, limit);
    net.Connect();
    EXPECT_TRUE(
        refusalOf([&] { net.Call(u"GetServico"_s, {}); }).contains(u"excede o limite de 4096 bytes"_s));
}

TEST_F(OversizedAnswerTest, AnOversizedSessionAnswerRefusesTheConnection) {
    RawReplyServer server({chunked("200 OK", 2 * kMiB)});
    TNetConnection net;
    aim(net, server, kMiB);
    const QString message = refusalOf([&] { net.Connect(); });
    EXPECT_TRUE(
        message.contains(u"abertura de sessão em KDR60251.rdmAnalRestCont) excede o limite de 1 MiB"_s))
        << message.toStdString();
    EXPECT_FALSE(net.Connected());
}

} // namespace
