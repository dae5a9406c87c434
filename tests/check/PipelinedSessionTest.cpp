// The check's way to the server: batches of calls on one connection, against the real server and
// against a loopback peer that answers what no server should.
#include "check/PipelinedSession.h"

#include "RawReplyServer.h"
#include "ServerProcess.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using nlohmann::json;
using std::chrono::steady_clock;

std::vector<check::Call> weekSpans(int count) {
    std::vector<check::Call> calls;
    for (int i = 0; i < count; ++i) {
        const std::string day = "2026-03-" + std::string(i % 28 < 9 ? "0" : "") + std::to_string(i % 28 + 1);
        calls.push_back({"GetDataSemana", json{day, day}});
    }
    return calls;
}

// What one call of each gives, the one truth a batch must agree with.
std::vector<proto::Packet> oneByOne(check::PipelinedSession& session, const std::vector<check::Call>& calls) {
    std::vector<proto::Packet> packets;
    for (const check::Call& call : calls)
        packets.push_back(session.call({call}).at(0));
    return packets;
}

TEST(PipelinedSession, ABatchAnswersInOrderAlsoWhenTheServerEndsTheConnectionPartWay) {
    TestDatabase db;
    ServerProcess server(db.url(), {std::nullopt, {"--max-requests-per-connection", "4"}, false});
    check::PipelinedSession session("127.0.0.1", server.port());
    // More calls than one window of requests holds: the caller's own work still runs once.
    const std::vector<check::Call> calls = weekSpans(300);
    int meanwhile = 0;
    const std::vector<proto::Packet> batch = session.call(calls, [&] { ++meanwhile; });
    EXPECT_EQ(meanwhile, 1);
    const std::vector<proto::Packet> single = oneByOne(session, calls);
    ASSERT_EQ(batch.size(), calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(proto::packetToJson(batch[i]), proto::packetToJson(single[i])) << i;
    EXPECT_NE(proto::packetToJson(batch[0]), proto::packetToJson(batch[8]))
        << "different days, different weeks";
}

// The answers still under way after a failed call belong to no one: the next batch must not read them.
TEST(PipelinedSession, AFailedCallFailsItsBatchAndTheNextBatchGetsItsOwnAnswers) {
    TestDatabase db;
    ServerProcess server(db.url());
    check::PipelinedSession session("127.0.0.1", server.port());
    std::vector<check::Call> calls = weekSpans(5);
    calls.insert(calls.begin() + 1, {"GetNadaDisso", json::array()});
    try {
        session.call(calls);
        FAIL() << "an unknown method answers an error";
    } catch (const bench::CallFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find("GetNadaDisso"), std::string::npos) << failure.what();
    }
    const std::vector<check::Call> after = weekSpans(9);
    const std::vector<proto::Packet> answered = session.call(after);
    EXPECT_EQ(proto::packetToJson(answered.back()),
              proto::packetToJson(oneByOne(session, {after.back()}).at(0)));
}

TEST(PipelinedSession, AnAnswerNoServerGivesEndsTheCallWithAReasonNotAHang) {
    // A last reply, never sent, keeps the connection open: the peer waits for a request first.
    const std::string hold = "nunca enviada";
    const struct {
        const char* what;
        std::vector<std::string> replies;
        const char* says;
    } cases[] = {
        {"larger than any answer",
         {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n{"},
         "grande demais"},
        {"cut in its body", {"HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n{\"jsonrpc\""}, "no meio"},
        {"not HTTP", {"SSH-2.0-OpenSSH\r\n\r\n"}, "inválida"},
        {"never coming", {"", hold}, "sem resposta do servidor em 1 s"},
        {"a head without end", {"HTTP/1.1 200 OK\r\n" + std::string(20000, 'X'), hold}, "grande demais"},
    };
    for (const auto& one : cases) {
        std::vector<std::string> replies{RawReplyServer::sessionAnswer()};
        replies.insert(replies.end(), one.replies.begin(), one.replies.end());
        RawReplyServer peer(replies);
        check::PipelinedSession session("127.0.0.1", peer.port(), bench::ServerAccess{"", 1});
        const auto started = steady_clock::now();
        try {
            session.call(weekSpans(3));
            ADD_FAILURE() << one.what << ": answered";
        } catch (const bench::ServerUnreachable& failure) {
            EXPECT_NE(std::string(failure.what()).find(one.says), std::string::npos)
                << one.what << ": " << failure.what();
        }
        EXPECT_LT(steady_clock::now() - started, std::chrono::seconds(5)) << one.what;
    }
}

} // namespace
