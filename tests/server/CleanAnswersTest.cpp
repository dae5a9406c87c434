// What goes back to a client and into the log stays bounded and clean whatever the client sent:
// deep JSON, endless names, a database that fails under the server.
#include "HostileClient.h"
#include "TestDatabase.h"
#include "protocol/JsonDepth.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

using nlohmann::json;

const std::string kOpen = R"({"server":"KDR60251.rdmAnalRestCont"})";

std::string nested(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
}

class CleanAnswers : public ::testing::Test {
protected:
    TestDatabase db_;
    std::unique_ptr<ServerProcess> server_ = hostileServer(db_.pathString(), {}, true);

    std::string send(const std::string& bytes) {
        RawConnection connection(server_->port());
        connection.send(bytes);
        return connection.readAnswer();
    }
    std::string session() {
        const std::string answer = send(request("POST", "/session", kOpen));
        return json::parse(answer.substr(answer.find("\r\n\r\n") + 4)).at("session");
    }
    json call(const std::string& token, const std::string& body) {
        const std::string answer = send(request("POST", "/rpc", body, {"X-Session: " + token}));
        const auto start = answer.find("\r\n\r\n");
        return start == std::string::npos ? json() : json::parse(answer.substr(start + 4), nullptr, false);
    }
};

TEST_F(CleanAnswers, DeepJsonIsRefusedWithoutHarmToTheServer) {
    const std::string deep = nested(100000);
    const std::string opened = send(request("POST", "/session", R"({"server":)" + deep + "}"));
    EXPECT_EQ(statusOf(opened), 400);
    EXPECT_EQ(errorTextOf(opened), proto::kJsonTooDeepMessage);
    const std::string token = session();
    for (const std::string& body :
         {R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":)" + deep + "}",
          R"({"jsonrpc":"2.0","id":)" + deep + R"(,"method":"GetServico","params":[]})",
          R"({"jsonrpc":)" + deep + R"(,"id":1,"method":"GetServico","params":[]})"}) {
        const json answer = call(token, body);
        ASSERT_TRUE(answer.is_object()) << "no answer: the server died";
        EXPECT_EQ(answer.at("error").at("code"), -32600);
        EXPECT_EQ(answer.at("error").at("message"), proto::kJsonTooDeepMessage);
    }
    EXPECT_EQ(call(token, R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})")
                  .at("result")
                  .at("packet")
                  .at("rows")
                  .size(),
              0u);
}

TEST_F(CleanAnswers, EchoedClientTextIsCutInTheAnswerAndTheLog) {
    const std::string token = session();
    const std::string longName(512 * 1024, 'M');
    const json unknown = call(
        token, json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", longName}, {"params", json::array()}}.dump());
    const std::string message = unknown.at("error").at("message");
    EXPECT_LT(message.size(), 500u);
    EXPECT_NE(message.find("[cortado]"), std::string::npos) << message;

    const std::string path = send(request("GET", "/" + std::string(6000, 'p')));
    EXPECT_EQ(statusOf(path), 404);
    EXPECT_LT(errorTextOf(path).size(), 500u);
    EXPECT_NE(errorTextOf(path).find("[cortado]"), std::string::npos);

    const std::string method = send(request(std::string(6000, 'X'), "/rpc"));
    EXPECT_EQ(statusOf(method), 405);
    EXPECT_LT(errorTextOf(method).size(), 500u);

    server_->stop();
    std::istringstream log(server_->stderrText());
    std::size_t cut = 0;
    for (std::string line; std::getline(log, line);) {
        EXPECT_LE(line.size(), 1100u) << line.substr(0, 200);
        cut += line.find("[cortado]") != std::string::npos;
    }
    EXPECT_GE(cut, 3u);
}

TEST_F(CleanAnswers, ADatabaseErrorKeepsPathsAndStatementsInTheLog) {
    const std::string token = session();
    db_.exec("DROP TABLE SERVFILI;");
    const json answer =
        call(token, R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})");
    const std::string message = answer.at("error").at("message");
    EXPECT_NE(message.find("GetServico"), std::string::npos);
    EXPECT_NE(message.find("banco de dados"), std::string::npos);
    for (const std::string& leak : {db_.path().string(), db_.path().filename().string(),
                                    std::string("SERVFILI"), std::string("SELECT"), std::string("sqlite")})
        EXPECT_EQ(message.find(leak), std::string::npos) << message;
    server_->stop();
    EXPECT_NE(server_->stderrText().find("SERVFILI"), std::string::npos) << server_->stderrText();
}

} // namespace
