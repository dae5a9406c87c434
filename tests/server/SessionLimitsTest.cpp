// One client cannot lock the others out of sessions: a full table gives way past the grace time,
// one address holds its share only, and X-Forwarded-For counts only from the trusted proxy.
#include "HostileClient.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <thread>

namespace {

using namespace std::chrono_literals;

const std::string kOpen = R"({"server":"KDR60251.rdmAnalRestCont"})";

struct Opened {
    int status;
    std::string token;
    std::string error;
};

Opened openFrom(int port, const char* source, const std::vector<std::string>& fields = {}) {
    RawConnection connection(port, source);
    connection.send(request("POST", "/session", kOpen, fields));
    const std::string answer = connection.readAnswer();
    Opened opened{statusOf(answer), {}, errorTextOf(answer)};
    if (opened.status == 200)
        opened.token = nlohmann::json::parse(answer.substr(answer.find("\r\n\r\n") + 4)).at("session");
    return opened;
}

int callStatus(int port, const std::string& token) {
    RawConnection connection(port);
    connection.send(request("POST", "/rpc",
                            R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})",
                            {"X-Session: " + token}));
    return statusOf(connection.readAnswer());
}

TEST(SessionLimits, AFullTableGivesWayToANewClientPastTheGraceTime) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--max-sessions", "3", "--session-grace", "1"});
    std::vector<std::string> tokens;
    for (int i = 0; i < 3; ++i)
        tokens.push_back(openFrom(server->port(), nullptr).token);
    // Within the grace time the table is full and the refusal says why.
    const Opened early = openFrom(server->port(), nullptr);
    EXPECT_EQ(early.status, 429);
    EXPECT_NE(early.error.find("ociosa"), std::string::npos) << early.error;
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(callStatus(server->port(), tokens[1]), 200); // no longer the idlest
    EXPECT_EQ(openFrom(server->port(), nullptr).status, 200);
    // The idlest one gave way; its client hears "unknown session", the others go on.
    EXPECT_EQ(callStatus(server->port(), tokens[0]), 404);
    EXPECT_EQ(callStatus(server->port(), tokens[1]), 200);
    EXPECT_EQ(callStatus(server->port(), tokens[2]), 200);
}

TEST(SessionLimits, OneAddressHoldsItsShareOnly) {
    TestDatabase db;
    auto server = hostileServer(db.pathString(), {"--max-sessions-per-address", "2"});
    EXPECT_EQ(openFrom(server->port(), "127.0.0.2").status, 200);
    EXPECT_EQ(openFrom(server->port(), "127.0.0.2").status, 200);
    const Opened third = openFrom(server->port(), "127.0.0.2");
    EXPECT_EQ(third.status, 429);
    EXPECT_NE(third.error.find("por endereço"), std::string::npos) << third.error;
    EXPECT_NE(third.error.find("127.0.0.2"), std::string::npos) << third.error;
    EXPECT_EQ(openFrom(server->port(), "127.0.0.3").status, 200);
}

TEST(SessionLimits, ForwardedForCountsOnlyFromTheTrustedProxy) {
    TestDatabase db;
    auto server =
        hostileServer(db.pathString(), {"--max-sessions-per-address", "1", "--trusted-proxy", "127.0.0.2"});
    const auto from = [&](const char* source, const char* forwarded) {
        return openFrom(server->port(), source, {std::string("X-Forwarded-For: ") + forwarded}).status;
    };
    // Behind the proxy each client is counted apart, by the address the proxy appended last.
    EXPECT_EQ(from("127.0.0.2", "10.0.0.1"), 200);
    EXPECT_EQ(from("127.0.0.2", "10.0.0.1, 10.0.0.2"), 200);
    EXPECT_EQ(from("127.0.0.2", "10.0.0.1"), 429);
    // A line of the client's own before the one the proxy appends proves nothing.
    EXPECT_EQ(
        openFrom(server->port(), "127.0.0.2", {"X-Forwarded-For: 10.0.0.9", "X-Forwarded-For: 10.0.0.1"})
            .status,
        429);
    // Anyone else's header is ignored: the connection's address counts.
    EXPECT_EQ(from("127.0.0.3", "10.0.0.7"), 200);
    EXPECT_EQ(from("127.0.0.3", "10.0.0.8"), 429);
}

} // namespace
