#include "MenuFixture.h"

using nlohmann::json;

namespace {

class FrequencyRules : public MenuFixture {};

TEST_F(FrequencyRules, MonthlyDishCountsNonOptionItemsOfTheMonthThroughTheGroup) {
    item("2026-03-02", 1, "D1");
    item("2026-03-03", 1, "D2");
    item("2026-03-04", 1, "D1", true);                // option: not a dish item
    item("2026-03-31", 1, "D3");                      // last day of the month: inside
    item("2026-04-01", 1, "D3");                      // next month
    item("2026-02-28", 1, "D3");                      // previous month
    item("2026-03-05", 1, "D1", false, 1, "002");     // another service
    sql(R"(INSERT INTO CTRFREQPRAT VALUES
        ('0001', '001', 'G1', 'N', NULL, NULL, 1),   -- 2 items > 1
        ('0001', '001', 'D3', 'N', NULL, 1, 1),      -- 1 item, equal to both bounds: inside
        ('0001', '001', 'D5', 'N', 9, 1, NULL),      -- none served: 0 < 1, reported with count 0
        ('0001', '001', 'D4', 'N', NULL, 5, NULL),   -- 0 < 5
        ('0001', '001', 'D1', 'S', NULL, NULL, 0),   -- an option rule: not this method's
        ('0001', '002', 'D3', 'N', NULL, 5, NULL))"); // another service
    const json packet = session().call("GetFreqPratMes", march()).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "NMPRATO", "DTMESCARD",
                                        "NRPRATMES", "NRMINIFREPRA", "NRMAXMESFPRA"}));
    // By code point "Ébano" comes after "Zeta".
    const json expected = json::parse(R"([
        ["0001", "001", "G1", "Grupo Carnes", "2026-03-01T00:00:00", 2.0, null, 1.0],
        ["0001", "001", "D5", "Zeta", "2026-03-01T00:00:00", 0.0, 1.0, null],
        ["0001", "001", "D4", "Ébano", "2026-03-01T00:00:00", 0.0, 5.0, null]])");
    EXPECT_EQ(packet.at("rows"), expected);
}

TEST_F(FrequencyRules, MonthlyOptionCountsOnlyOptionItemsAgainstOptionRules) {
    item("2026-03-04", 1, "D1", true);
    item("2026-03-05", 1, "D1");
    sql(R"(INSERT INTO CTRFREQPRAT VALUES
        ('0001', '001', 'D1', 'S', NULL, NULL, 0),
        ('0001', '001', 'G1', 'S', NULL, 2, NULL),
        ('0001', '001', 'D3', 'N', NULL, 2, NULL))");
    const json packet = session().call("GetFreqOpcaMes", march()).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "NMPRATO", "DTMESCARD",
                                        "NRPRATMES", "NRMINIFREOPC", "NRMAXMESFOPC"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["0001", "001", "D1", "Bife", "2026-03-01T00:00:00", 1.0, null, 0.0],
        ["0001", "001", "G1", "Grupo Carnes", "2026-03-01T00:00:00", 1.0, 2.0, null]])"));
}

TEST_F(FrequencyRules, WeeklyDishCountsEachWeekOfTheSpanAcrossTheMonthsEdges) {
    item("2026-02-28", 1, "D2"); // Saturday of week 1, still February
    item("2026-03-01", 1, "D1"); // Sunday closes week 1
    item("2026-03-02", 1, "D1"); // Monday opens week 2
    item("2026-03-08", 1, "D1");
    item("2026-03-03", 1, "D1", true);                // option
    sql(R"(INSERT INTO CTRFREQPRAT VALUES
        ('0001', '001', 'G1', 'N', 1, NULL, NULL),
        ('0001', '001', 'D1', 'N', 2, NULL, NULL),   -- week 2 has exactly 2: inside
        ('0001', '001', 'D2', 'N', 0, NULL, NULL),
        ('0001', '001', 'D3', 'N', NULL, NULL, 0))"); // no weekly limit: never weekly
    const json packet = session().call("GetFreqPratSem", marchWeeks()).at("packet");
    EXPECT_EQ(fieldNames(packet), (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "NMPRATO",
                                                            "NRPRATSEMANA", "NRSEMANA", "NRMAXIFREPRA"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["0001", "001", "D2", "Frango", 1.0, "01", 0.0],
        ["0001", "001", "G1", "Grupo Carnes", 2.0, "01", 1.0],
        ["0001", "001", "G1", "Grupo Carnes", 2.0, "02", 1.0]])"));
}

TEST_F(FrequencyRules, WeeklyOptionAnswersItsOwnFieldOrder) {
    item("2026-03-03", 1, "D1", true);
    item("2026-03-05", 1, "D1", true);
    item("2026-03-06", 1, "D1");
    sql("INSERT INTO CTRFREQPRAT VALUES ('0001', '001', 'D1', 'S', 1, NULL, NULL)");
    const json packet = session().call("GetFreqOpcaSem", marchWeeks()).at("packet");
    EXPECT_EQ(fieldNames(packet), (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "NMPRATO",
                                                            "NRSEMANA", "NRPRATSEMANA", "NRMAXIFREOPC"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([["0001", "001", "D1", "Bife", "02", 2.0, 1.0]])"));
}

TEST_F(FrequencyRules, WeeklyDetailReadsTheWeekOfTheSessionsSpan) {
    item("2026-02-28", 1, "D2");
    item("2026-03-01", 1, "D1");
    item("2026-03-01", 2, "D3");
    item("2026-03-02", 1, "D1");
    sql("INSERT INTO CTRFREQPRAT VALUES ('0001', '001', 'G1', 'N', 1, NULL, NULL)");
    ASSERT_EQ(session().rows("GetFreqPratSem", marchWeeks()).size(), 1u);

    const json answer = session().call("GetFreqPratSemDet", {"0001", "001", "1", "G1", "1899-12-30"});
    EXPECT_EQ(fieldNames(answer.at("packet")),
              (std::vector<std::string>{"DTCARDAPIO", "NMTIPOPRAT", "CDPRATO", "NMPRATO"}));
    EXPECT_EQ(answer.at("packet").at("rows"), json::parse(R"([
        ["2026-02-28T00:00:00", "Prato principal", "D2", "Frango"],
        ["2026-03-01T00:00:00", "Prato principal", "D1", "Bife"]])"));
    // No GetDataSemana yet: the by-reference month is left as the client had it.
    EXPECT_FALSE(answer.contains("out"));

    EXPECT_EQ(session().rows("GetFreqPratSemDet", {"0001", "001", "01", "G1", "1899-12-30"}).size(), 2u);
    EXPECT_EQ(session().rows("GetFreqPratSemDet", {"0001", "001", "02", "G1", "1899-12-30"}).size(), 1u);
    EXPECT_TRUE(session().rows("GetFreqPratSemDet", {"0001", "001", "7", "G1", "1899-12-30"}).empty());
    EXPECT_TRUE(session().rows("GetFreqPratSemDet", {"0001", "001", "0", "G1", "1899-12-30"}).empty());
}

TEST_F(FrequencyRules, WeeklyDetailHandsBackTheMonthOfTheLastWeekSpanRequest) {
    item("2026-04-07", 1, "D1");
    session().call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    session().call("GetDataSemana", {"2026-04-01", "2026-04-30"});
    const json answer = session().call("GetFreqPratSemDet", {"0001", "001", "2", "D1", "2026-01-01"});
    EXPECT_EQ(answer.at("out"), json::parse(R"({"4": "2026-04-01T00:00:00"})"));
    // April's span starts on Monday 2026-03-30: week 2 holds 2026-04-07.
    EXPECT_EQ(answer.at("packet").at("rows").size(), 1u);
}

TEST_F(FrequencyRules, WeeklyDetailsBeforeAnySpanAreRefusedWithAClearMessage) {
    for (const auto& [method, params] : std::vector<std::pair<std::string, json>>{
             {"GetFreqPratSemDet", {"0001", "001", "1", "D1", "2026-03-01"}},
             {"GetFreqOpcaSemDet", {"0001", "001", "1", "D1"}},
             {"GetUtilPratSemDet", {"0001", "001", "D1", "1"}}}) {
        const json error = session().call(method, params);
        ASSERT_TRUE(error.contains("message")) << method;
        EXPECT_NE(error.at("message").get<std::string>().find(method), std::string::npos);
        EXPECT_NE(error.at("message").get<std::string>().find("GetDataSemana"), std::string::npos);
    }
}

TEST_F(FrequencyRules, WeekSpanRunsFromMondayToSunday) {
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases{
        {"2026-03-01", "2026-03-31", "2026-02-23T00:00:00", "2026-04-05T00:00:00"}, // Sunday to Tuesday
        {"2026-06-01", "2026-06-30", "2026-06-01T00:00:00", "2026-07-05T00:00:00"}, // starts on a Monday
        {"2026-05-01", "2026-05-31", "2026-04-27T00:00:00", "2026-05-31T00:00:00"}, // ends on a Sunday
        {"2026-03-04T10:30:00", "2026-03-04", "2026-03-02T00:00:00", "2026-03-08T00:00:00"},
    };
    for (const auto& [p, u, first, last] : cases) {
        const json rows = session().rows("GetDataSemana", {p, u});
        EXPECT_EQ(rows, json::array({json::array({first, last})})) << p << " " << u;
    }
}

TEST_F(FrequencyRules, MonthlyDetailsFilterByKindAndTakeTheCalendarMonthOfTheDate) {
    item("2026-03-02", 1, "D1", false, 2);
    item("2026-03-02", 2, "D2", false, 1); // same day, lower order: first
    item("2026-03-11", 1, "D1", true);
    item("2026-03-12", 1, "D2", true);
    item("2026-04-01", 1, "D1");
    // Details take the dish from their arguments and read no restriction table.
    struct Case {
        std::string method;
        json expected;
    };
    const std::vector<Case> cases{
        {"GetFreqPratMesDet", json::parse(R"([["2026-03-02T00:00:00", "Prato principal", "D2", "Frango"],
                                              ["2026-03-02T00:00:00", "Prato principal", "D1", "Bife"]])")},
        {"GetRestPratMesDet", json::parse(R"([["2026-03-02T00:00:00", "Prato principal", "D2", "Frango"],
                                              ["2026-03-02T00:00:00", "Prato principal", "D1", "Bife"]])")},
        {"GetFreqOpcaMesDet", json::parse(R"([["2026-03-11T00:00:00", "Prato principal", "D1", "Bife"],
                                              ["2026-03-12T00:00:00", "Prato principal", "D2", "Frango"]])")},
        {"GetRestOpcaMesDet", json::parse(R"([["2026-03-11T00:00:00", "Prato principal", "D1", "Bife"],
                                              ["2026-03-12T00:00:00", "Prato principal", "D2", "Frango"]])")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(session().rows(c.method, {"0001", "001", "2026-03-15", "G1"}), c.expected) << c.method;
}

} // namespace
