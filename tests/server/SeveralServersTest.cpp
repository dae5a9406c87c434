#include "MenuFixture.h"

#include "protocol/Wire.h"

#include <string>

using nlohmann::json;

namespace {

// Several server processes over one database, as behind a load balancer: each keeps the sessions it
// opened, so a session's calls must come back to the server that opened it.
class SeveralServers : public MenuFixture {};

TEST_F(SeveralServers, AnswerAlikeOverOneDatabase) {
    item("2026-03-03", 1, "D1");
    item("2026-03-04", 1, "D1");
    item("2026-03-05", 1, "D2");
    sql(R"(INSERT INTO CTRFREQPRAT VALUES
        ('0001', '001', 'D1', 'N', 1, NULL, 1),
        ('0001', '001', 'D2', 'N', 0, NULL, NULL))");
    LiveServer second(db_.pathString());
    RpcSession onFirst(server()), onSecond(second);
    for (RpcSession* session : {&onFirst, &onSecond})
        session->call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    const json weekly = onFirst.call("GetFreqPratSem", marchWeeks());
    ASSERT_FALSE(weekly.at("packet").at("rows").empty());
    EXPECT_EQ(weekly, onSecond.call("GetFreqPratSem", marchWeeks()));
    const json monthly = onFirst.call("GetFreqPratMes", march());
    ASSERT_FALSE(monthly.at("packet").at("rows").empty());
    EXPECT_EQ(monthly, onSecond.call("GetFreqPratMes", march()));
    EXPECT_EQ(onFirst.call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "1899-12-30"}),
              onSecond.call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "1899-12-30"}));
}

TEST_F(SeveralServers, ASessionSentToAnotherServerIsRefusedNeverAnsweredWithoutItsState) {
    item("2026-03-03", 1, "D1");
    LiveServer second(db_.pathString());
    session().call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    const std::string detail =
        R"({"jsonrpc":"2.0","id":7,"method":"GetFreqPratSemDet","params":["0001","001","2","D1","1899-12-30"]})";
    const auto elsewhere = second.client()->Post(proto::kRpcPath, {{"X-Session", session().token()}}, detail,
                                                 "application/json");
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->status, 404);
    EXPECT_FALSE(json::parse(elsewhere->body).contains("result")) << elsewhere->body;
    // Back on its own server the session still has its week span.
    const json own = session().call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "1899-12-30"});
    EXPECT_EQ(own.at("packet").at("rows").at(0).at(0), "2026-03-03T00:00:00");
}

} // namespace
