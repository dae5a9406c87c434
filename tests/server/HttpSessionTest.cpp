#include "MenuFixture.h"

#include "protocol/Wire.h"

#include <string>

using nlohmann::json;

namespace {

const std::string kOpen = R"({"server":"KDR60251.rdmAnalRestCont"})";

std::string errorOf(const httplib::Result& res) {
    return json::parse(res->body).at("error").get<std::string>();
}

class HttpSessions : public MenuFixture {};

TEST_F(HttpSessions, SessionRequestsThatAreRefusedAnswer4xxWithAPortugueseError) {
    auto client = server().client();
    struct Case {
        std::string body;
        int status;
        std::string says;
    };
    for (const Case& c :
         std::vector<Case>{{R"({"server":"KDR99999.rdmOutro"})", 404, "Módulo remoto desconhecido"},
                           {"{", 400, "ilegível"},
                           {R"({"servidor":"x"})", 400, "falta o nome do módulo"}}) {
        const auto res = client->Post(proto::kSessionPath, c.body, "application/json");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status) << c.body;
        EXPECT_NE(errorOf(res).find(c.says), std::string::npos) << errorOf(res);
    }
}

TEST_F(HttpSessions, CallsNeedAnOpenSession) {
    auto client = server().client();
    const std::string call = R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})";
    const auto missing = client->Post(proto::kRpcPath, call, "application/json");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 400);
    EXPECT_NE(errorOf(missing).find("X-Session"), std::string::npos);

    const auto unknown =
        client->Post(proto::kRpcPath, {{"X-Session", std::string(64, 'a')}}, call, "application/json");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);

    const auto opened = client->Post(proto::kSessionPath, kOpen, "application/json");
    ASSERT_TRUE(opened);
    const std::string token = json::parse(opened->body).at("session");
    EXPECT_GE(token.size(), 32u); // at least 128 bits in hex
    EXPECT_EQ(client->Post(proto::kRpcPath, {{"X-Session", token}}, call, "application/json")->status, 200);
    EXPECT_EQ(client->Delete(std::string(proto::kSessionPath) + "/" + token)->status, 200);
    EXPECT_EQ(client->Post(proto::kRpcPath, {{"X-Session", token}}, call, "application/json")->status, 404);
    EXPECT_EQ(client->Delete(std::string(proto::kSessionPath) + "/" + token)->status, 404);
}

TEST_F(HttpSessions, TokensDifferBetweenSessions) {
    RpcSession a(server()), b(server());
    EXPECT_NE(a.token(), b.token());
}

TEST_F(HttpSessions, BodiesOverOneMebibyteAreRefusedWith413) {
    auto client = server().client();
    std::string body(proto::kMaxBodyBytes + 1, ' ');
    const auto res =
        client->Post(proto::kRpcPath, {{"X-Session", session().token()}}, body, "application/json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 413);
    EXPECT_FALSE(errorOf(res).empty());
    // The session itself is unharmed.
    EXPECT_EQ(session().rows("GetServico", {"0001", "N"}).size(), 2u);
}

TEST_F(HttpSessions, SessionsKeepTheirOwnWeekSpan) {
    item("2026-03-03", 1, "D1");
    item("2026-04-07", 1, "D1");
    RpcSession a(server()), b(server());
    a.call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    b.call("GetDataSemana", {"2026-04-01", "2026-04-30"});
    const json inMarch = a.call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "1899-12-30"});
    const json inApril = b.call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "1899-12-30"});
    EXPECT_EQ(inMarch.at("packet").at("rows").at(0).at(0), "2026-03-03T00:00:00");
    EXPECT_EQ(inMarch.at("out").at("4"), "2026-03-01T00:00:00");
    EXPECT_EQ(inApril.at("packet").at("rows").at(0).at(0), "2026-04-07T00:00:00");
    EXPECT_EQ(inApril.at("out").at("4"), "2026-04-01T00:00:00");
}

TEST_F(HttpSessions, ARefusedCallLeavesTheSessionsSpanAsItWas) {
    item("2026-03-03", 1, "D1");
    session().call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    session().call("GetDataSemana", {"2026-03-31", "2026-03-01"}); // refused
    EXPECT_EQ(session().rows("GetFreqOpcaSemDet", {"0001", "001", "2", "D1"}).size(), 0u);
    EXPECT_EQ(session().rows("GetUtilPratSemDet", {"0001", "001", "D1", "2"}).size(), 1u);
}

class LimitedServer : public MenuFixture {};

TEST_F(LimitedServer, NewSessionsPastTheLimitAreRefusedUntilOneCloses) {
    auto config = LiveServer::quiet();
    config.maxSessions = 2;
    LiveServer limited(db_.pathString(), config);
    auto client = limited.client();
    std::vector<std::string> tokens;
    for (int i = 0; i < 2; ++i) {
        const auto res = client->Post(proto::kSessionPath, kOpen, "application/json");
        ASSERT_EQ(res->status, 200);
        tokens.push_back(json::parse(res->body).at("session"));
    }
    const auto refused = client->Post(proto::kSessionPath, kOpen, "application/json");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 429);
    EXPECT_NE(errorOf(refused).find("Limite"), std::string::npos);
    client->Delete(std::string(proto::kSessionPath) + "/" + tokens[0]);
    EXPECT_EQ(client->Post(proto::kSessionPath, kOpen, "application/json")->status, 200);
}

TEST_F(LimitedServer, ASecretIsRequiredOnEveryRequestWhenConfigured) {
    auto config = LiveServer::quiet();
    config.secret = "s3gr3d0-de-teste";
    LiveServer guarded(db_.pathString(), config);
    for (const std::optional<std::string>& wrong :
         {std::optional<std::string>(), std::optional<std::string>("errado")}) {
        auto client = guarded.client(wrong);
        const auto session = client->Post(proto::kSessionPath, kOpen, "application/json");
        ASSERT_TRUE(session);
        EXPECT_EQ(session->status, 401);
        EXPECT_FALSE(errorOf(session).empty());
        // On the same kept-alive connection, so a refused body must not spill into the next request.
        EXPECT_EQ(client->Post(proto::kRpcPath, "{}", "application/json")->status, 401);
        EXPECT_EQ(client->Get("/outra-coisa")->status, 401);
    }
    EXPECT_EQ(guarded.client(config.secret)->Get("/outra-coisa")->status, 404);
    RpcSession allowed(guarded, config.secret);
    EXPECT_EQ(allowed.rows("GetServico", {"0001", "N"}).size(), 2u);
}

} // namespace
