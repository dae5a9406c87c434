// What the server does with request heads and bodies that break framing or go past a limit, over
// real sockets to the real binary: the refusal, the connection closed behind it, and a legitimate
// client served meanwhile.
#include "HostileClient.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

const std::string kOpen = R"({"server":"KDR60251.rdmAnalRestCont"})";

class HeadLimits : public ::testing::Test {
protected:
    TestDatabase db_;
    std::unique_ptr<ServerProcess> server_ = hostileServer(db_.pathString(), {});
    int port() const { return server_->port(); }
};

struct Refused {
    const char* what;
    std::string bytes;
    int status;
    const char* says;
};

TEST_F(HeadLimits, BrokenFramingAndOversizedHeadsAreRefusedAndTheConnectionClosed) {
    const std::string body = kOpen;
    const std::string length = "Content-Length: " + std::to_string(body.size()) + "\r\n";
    std::string manyFields;
    for (int i = 0; i < 150; ++i)
        manyFields += "X-Campo-" + std::to_string(i) + ": x\r\n";
    const std::vector<Refused> cases{
        {"length and chunked", sessionHead(length + "Transfer-Encoding: chunked\r\n") + body, 400, "juntos"},
        {"two lengths", sessionHead(length + "Content-Length: 3\r\n") + body, 400, "Content-Length"},
        {"two equal lengths", sessionHead(length + length) + body, 400, "Content-Length"},
        {"length as a list", sessionHead("Content-Length: 40, 40\r\n") + body, 400, "Content-Length"},
        {"signed length", sessionHead("Content-Length: +40\r\n") + body, 400, "Content-Length"},
        {"other coding", sessionHead("Transfer-Encoding: gzip\r\n") + body, 400, "chunked"},
        {"coding list", sessionHead("Transfer-Encoding: gzip, chunked\r\n") + body, 400, "chunked"},
        {"two codings", sessionHead("Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n"), 400,
         "chunked"},
        {"bare LF", "POST /session HTTP/1.1\nHost: x\n" + length + "\n" + body, 400, "CR"},
        {"bare CR", "POST /session HTTP/1.1\r\nHost: x\rX: y\r\n" + length + "\r\n" + body, 400, "CR"},
        {"obs-fold", sessionHead(length + "X-Dobra: a\r\n b\r\n") + body, 400, "obs-fold"},
        {"gzip body", sessionHead(length + "Content-Encoding: gzip\r\n") + body, 415, "compressão"},
        {"too many fields", sessionHead(manyFields + length) + body, 431, "campos"},
        {"one huge field", sessionHead("X-Grande: " + std::string(40000, 'a') + "\r\n" + length) + body, 431,
         "Cabeçalho"},
        {"long request line", "POST /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n", 431, "Linha"},
        {"declared body too big", sessionHead("Content-Length: 2097152\r\n"), 413, "1 MiB"},
    };
    for (const Refused& c : cases) {
        RawConnection attacker(port());
        ASSERT_TRUE(attacker.connected());
        attacker.send(c.bytes);
        const std::string answer = attacker.readAnswer();
        EXPECT_EQ(statusOf(answer), c.status) << c.what << ": " << answer.substr(0, 300);
        EXPECT_NE(errorTextOf(answer).find(c.says), std::string::npos)
            << c.what << ": " << answer.substr(0, 300);
        EXPECT_NE(answer.find("Connection: close"), std::string::npos) << c.what;
        EXPECT_TRUE(attacker.closedByServer()) << c.what;
        EXPECT_EQ(openSessionStatus(port()), 200) << c.what;
    }
}

TEST_F(HeadLimits, EndlessHeadsAreCutAtTheLimitWithoutGrowingTheServer) {
    const long before = peakResidentBytes(server_->pid());
    for (const std::string& line :
         {std::string("X-A: ") + std::string(1 << 20, 'a'), std::string("X-B: b\r\n")}) {
        RawConnection attacker(port());
        attacker.send("GET / HTTP/1.1\r\n");
        // 30 MB of head, or as much of it as the server reads before it refuses.
        std::size_t sent = 0;
        while (sent < 30u << 20) {
            std::string piece;
            while (piece.size() < (1u << 20))
                piece += line;
            if (!attacker.send(piece))
                break;
            sent += piece.size();
        }
        EXPECT_LT(sent, 30u << 20) << "the server read a 30 MB head";
        const std::string answer = attacker.readAnswer();
        // The refusal may be lost when the client never stops sending; what matters is the bound.
        if (!answer.empty()) {
            EXPECT_EQ(statusOf(answer), 431);
        }
    }
    EXPECT_EQ(openSessionStatus(port()), 200);
    EXPECT_LT(peakResidentBytes(server_->pid()) - before, 64L << 20);
}

TEST_F(HeadLimits, AChunkedBodyStopsAtTheBodyLimit) {
    const long before = peakResidentBytes(server_->pid());
    RawConnection attacker(port());
    attacker.send(sessionHead("Transfer-Encoding: chunked\r\n"));
    const std::string chunk = "10000\r\n" + std::string(0x10000, ' ') + "\r\n";
    std::size_t sent = 0;
    while (sent < (50u << 20) && attacker.send(chunk))
        sent += chunk.size();
    EXPECT_LT(sent, 50u << 20) << "the server read a 50 MB chunked body";
    const std::string answer = attacker.readAnswer();
    if (!answer.empty()) {
        EXPECT_EQ(statusOf(answer), 413) << answer.substr(0, 300);
    }
    EXPECT_EQ(openSessionStatus(port()), 200);
    EXPECT_LT(peakResidentBytes(server_->pid()) - before, 64L << 20);
}

TEST_F(HeadLimits, ChunkedBodiesWithinTheLimitAreServed) {
    RawConnection client(port());
    const std::string half = kOpen.substr(0, 10), rest = kOpen.substr(10);
    char sizes[64];
    std::snprintf(sizes, sizeof sizes, "%zx\r\n", half.size());
    std::string chunked = sizes + half + "\r\n";
    std::snprintf(sizes, sizeof sizes, "%zx\r\n", rest.size());
    chunked += sizes + rest + "\r\n0\r\n\r\n";
    client.send(sessionHead("Transfer-Encoding: chunked\r\n") + chunked);
    EXPECT_EQ(statusOf(client.readAnswer()), 200);
}

TEST_F(HeadLimits, ChunkExtensionsAndTrailersGetNoMoreRoomThanAHead) {
    RawConnection attacker(port());
    attacker.send(sessionHead("Transfer-Encoding: chunked\r\n"));
    std::string extension = "1;" + std::string(1 << 20, 'e') + "\r\n";
    const bool sentAll = attacker.send(extension);
    const std::string answer = attacker.readAnswer();
    EXPECT_TRUE(!sentAll || statusOf(answer) == 431) << answer.substr(0, 300);
    EXPECT_EQ(openSessionStatus(port()), 200);
}

} // namespace
