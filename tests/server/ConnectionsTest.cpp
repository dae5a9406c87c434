// Connections that hold on: idle, slow, many, kept alive, pipelined. None of them may stall a
// legitimate client, and each ends with an answer rather than silence.
#include "HostileClient.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kOpen = R"({"server":"KDR60251.rdmAnalRestCont"})";

std::string openRequest() {
    return request("POST", "/session", kOpen);
}

TEST(Connections, SlowSendersNeitherStallOthersNorOutstayTheRequestTimeout) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--threads", "2"});
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 32; ++i) {
        slow.push_back(std::make_unique<RawConnection>(server->port()));
        slow.back()->send("P");
    }
    const auto start = Clock::now();
    for (int second = 0; second < 2; ++second) {
        for (auto& connection : slow)
            connection->send("O");
        EXPECT_EQ(openSessionStatus(server->port()), 200);
        std::this_thread::sleep_for(600ms);
    }
    // A byte now and then does not stretch the request past its time-out.
    for (auto& connection : slow) {
        const std::string answer = connection->readAnswer(5s);
        EXPECT_EQ(statusOf(answer), 408) << answer.substr(0, 200);
        EXPECT_NE(errorTextOf(answer).find("Tempo esgotado"), std::string::npos);
    }
    EXPECT_LT(Clock::now() - start, 8s);
}

TEST(Connections, IdleConnectionsHoldNoWorkerAndAreClosedAfterTheIdleTimeout) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--threads", "2"});
    std::vector<std::unique_ptr<RawConnection>> idle;
    for (int i = 0; i < 160; ++i)
        idle.push_back(std::make_unique<RawConnection>(server->port()));
    const auto start = Clock::now();
    EXPECT_EQ(openSessionStatus(server->port()), 200);
    EXPECT_LT(Clock::now() - start, 3s);
    for (auto& connection : idle)
        EXPECT_TRUE(connection->closedByServer(5s));
}

TEST(Connections, MoreKeptAliveClientsThanWorkersAreAllServed) {
    TestDatabase db;
    auto server =
        hostileServer(db.pathString(), {"--threads", "2", "--idle-timeout", "30", "--max-sessions", "100"});
    std::vector<std::unique_ptr<httplib::Client>> clients;
    for (int i = 0; i < 40; ++i) {
        clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", server->port()));
        clients.back()->set_keep_alive(true);
        clients.back()->set_read_timeout(5, 0);
        const auto opened = clients.back()->Post("/session", kOpen, "application/json");
        ASSERT_TRUE(opened) << i;
        EXPECT_EQ(opened->status, 200) << i;
    }
    for (auto& client : clients)
        EXPECT_EQ(client->Post("/session", kOpen, "application/json")->status, 200);
}

TEST(Connections, PipelinedRequestsAreAnsweredInOrder) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {});
    RawConnection client(server->port());
    client.send(openRequest() + request("GET", "/um") + request("POST", "/session", R"({"server":"outro"})"));
    EXPECT_EQ(statusOf(client.readAnswer()), 200);
    const std::string second = client.readAnswer();
    EXPECT_EQ(statusOf(second), 404);
    EXPECT_NE(errorTextOf(second).find("/um"), std::string::npos);
    const std::string third = client.readAnswer();
    EXPECT_EQ(statusOf(third), 404);
    EXPECT_NE(errorTextOf(third).find("outro"), std::string::npos);
}

// Answers to pipelined requests leave together, but never wait for a request still arriving: a
// client may send the rest only once it has read them.
TEST(Connections, HeldAnswersLeaveBeforeTheServerWaitsForMore) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {});
    RawConnection client(server->port());
    const std::string last = request("GET", "/ultimo");
    client.send(openRequest() + request("GET", "/um") + last.substr(0, 10));
    EXPECT_EQ(statusOf(client.readAnswer(3s)), 200);
    EXPECT_EQ(statusOf(client.readAnswer(3s)), 404);
    client.send(last.substr(10));
    EXPECT_NE(errorTextOf(client.readAnswer(3s)).find("/ultimo"), std::string::npos);

    // A long pipeline, each part sent once the answers to the one before were read.
    for (int part = 0; part < 5; ++part) {
        std::string requests;
        for (int i = 0; i < 500; ++i)
            requests += request("GET", "/p" + std::to_string(part) + "-" + std::to_string(i));
        ASSERT_TRUE(client.send(requests));
        for (int i = 0; i < 500; ++i) {
            const std::string answer = client.readAnswer(5s);
            ASSERT_NE(errorTextOf(answer).find("/p" + std::to_string(part) + "-" + std::to_string(i)),
                      std::string::npos)
                << part << " " << i << ": " << answer;
        }
    }
}

TEST(Connections, PastTheConnectionLimitNewOnesHearWhyAndGo) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--max-connections", "20", "--idle-timeout", "2"});
    std::vector<std::unique_ptr<RawConnection>> held;
    for (int i = 0; i < 20; ++i)
        held.push_back(std::make_unique<RawConnection>(server->port()));
    std::this_thread::sleep_for(200ms);
    RawConnection beyond(server->port());
    const std::string answer = beyond.readAnswer(3s);
    EXPECT_EQ(statusOf(answer), 503) << answer;
    EXPECT_NE(errorTextOf(answer).find("limite de conexões"), std::string::npos);
    EXPECT_TRUE(beyond.closedByServer());
    held.clear();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(openSessionStatus(server->port()), 200);
}

TEST(Connections, AConnectionEndsAfterItsRequestLimitSayingSo) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--max-requests-per-connection", "2"});
    RawConnection client(server->port());
    client.send(openRequest() + openRequest() + openRequest());
    EXPECT_EQ(client.readAnswer().find("Connection: close"), std::string::npos);
    const std::string second = client.readAnswer();
    EXPECT_EQ(statusOf(second), 200);
    EXPECT_NE(second.find("Connection: close"), std::string::npos);
    EXPECT_TRUE(client.closedByServer());
}

TEST(Connections, AnUnauthenticatedBodyIsNeverWaitedFor) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--request-timeout", "30"}, false, "segredo-de-teste");
    RawConnection attacker(server->port());
    const auto start = Clock::now();
    // The head promises a body it never sends: the refusal cannot wait for it.
    attacker.send(sessionHead("Content-Length: 1000000\r\n"));
    const std::string answer = attacker.readAnswer(5s);
    EXPECT_EQ(statusOf(answer), 401);
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_TRUE(attacker.closedByServer());
}

TEST(Connections, AnEarlyRefusalReachesAClientStillSendingItsBody) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {});
    for (int round = 0; round < 5; ++round) {
        RawConnection client(server->port());
        client.send("POST /rpc HTTP/1.1\r\nContent-Length: 1200000\r\n\r\n" + std::string(1200000, ' '));
        EXPECT_EQ(statusOf(client.readAnswer()), 413) << round;
    }
}

} // namespace
