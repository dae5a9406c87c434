#include "MenuFixture.h"

using nlohmann::json;

namespace {

class RestrictionRules : public MenuFixture {};

TEST_F(RestrictionRules, RestrictedDishesAndOptionsCountTheirOwnKindOfItem) {
    item("2026-03-02", 1, "D1");
    item("2026-03-10", 1, "D2");
    item("2026-03-11", 1, "D1", true);
    item("2026-03-12", 1, "D2", true);
    item("2026-04-02", 1, "D1");
    sql(R"(INSERT INTO CTRRESTPRAT VALUES ('0001', '001', 'G1', 'N'), ('0001', '001', 'D3', 'N'),
                                          ('0001', '001', 'D1', 'S'))");
    const json dishes = session().call("GetRestPratMes", march()).at("packet");
    EXPECT_EQ(fieldNames(dishes), (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "NMPRATO",
                                                            "DTMESCARD", "NRPRATMES"}));
    EXPECT_EQ(dishes.at("rows"),
              json::parse(R"([["0001", "001", "G1", "Grupo Carnes", "2026-03-01T00:00:00", 2.0]])"));
    EXPECT_EQ(session().rows("GetRestOpcaMes", march()),
              json::parse(R"([["0001", "001", "D1", "Bife", "2026-03-01T00:00:00", 1.0]])"));
}

TEST_F(RestrictionRules, WeeklyUseFlagsEveryWeekdayWithAMatchingItemWhenOneIsForbidden) {
    item("2026-03-02", 1, "D1");       // Monday, allowed
    item("2026-03-07", 1, "D2", true); // Saturday, forbidden; option items count too
    item("2026-03-10", 1, "D1");       // week 3: Tuesday only, allowed
    item("2026-03-08", 1, "D3");       // Sunday, allowed for D3
    item("2026-03-01", 1, "D3", false, 1, "002");
    sql(R"(INSERT INTO CTRUTILPRAT VALUES ('0001', '001', 'G1', 'S', 'S', 'S', 'S', 'S', 'N', 'N'),
                                          ('0001', '001', 'D3', 'S', 'S', 'S', 'S', 'S', 'S', 'S'))");
    const json packet = session().call("GetUtilPratSem", marchWeeks()).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDPRATO", "CDFILIAL", "CDSERVFILI", "IDUTPRATSEG", "IDUTPRATTER",
                                        "IDUTPRATQUA", "IDUTPRATQUI", "IDUTPRATSEX", "IDUTPRATSAB",
                                        "IDUTPRATDOM", "NRSEMANA", "NMPRATO", "NRPRATSEMANA"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["G1", "0001", "001", "S", "N", "N", "N", "N", "S", "N", "02", "Grupo Carnes", 2.0]])"));

    const json detail = session().call("GetUtilPratSemDet", {"0001", "001", "G1", "2"}).at("packet");
    EXPECT_EQ(fieldNames(detail),
              (std::vector<std::string>{"DTCARDAPIO", "NMTIPOPRAT", "IDOPCCNFMES", "CDPRATO", "NMPRATO"}));
    EXPECT_EQ(detail.at("rows"), json::parse(R"([
        ["2026-03-02T00:00:00", "Prato principal", "N", "D1", "Bife"],
        ["2026-03-07T00:00:00", "Prato principal", "S", "D2", "Frango"]])"));
}

TEST_F(RestrictionRules, SundayIsTheLastWeekdayOfItsWeek) {
    item("2026-03-08", 1, "D5"); // Sunday of week 2
    sql("INSERT INTO CTRUTILPRAT VALUES ('0001', '001', 'D5', 'S', 'S', 'S', 'S', 'S', 'S', 'N')");
    EXPECT_EQ(session().rows("GetUtilPratSem", marchWeeks()), json::parse(R"([
        ["D5", "0001", "001", "N", "N", "N", "N", "N", "N", "S", "02", "Zeta", 1.0]])"));
}

TEST_F(RestrictionRules, RestrictedProductsCountMatchingLinesOfAllItems) {
    item("2026-03-02", 1, "D1");
    line("2026-03-02", 1, "P1", 0.1);
    line("2026-03-02", 1, "P3", 0.2);
    item("2026-03-03", 1, "D2", true);
    line("2026-03-03", 1, "P2", 0.3);
    item("2026-04-01", 1, "D2");
    line("2026-04-01", 1, "P1", 0.3);
    line("2026-03-09", 1, "P1", 0.3); // a line without its menu item
    sql("INSERT INTO CTRRESTPROD VALUES ('0001', '001', 'PG'), ('0001', '001', 'P3')");
    const json packet = session().call("GetRestProd", march()).at("packet");
    EXPECT_EQ(fieldNames(packet), (std::vector<std::string>{"CDPRODUTO", "NMPRODUTO", "NRPRODMES", "CDFILIAL",
                                                            "CDSERVFILI", "DTMESCARD", "CDARVPROD"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["PG", "Grupo Óleos", 2.0, "0001", "001", "2026-03-01T00:00:00", "9.9"],
        ["P3", "Sal", 1.0, "0001", "001", "2026-03-01T00:00:00", "7.1"]])"));

    const json detail = session().call("GetRestProdDet", {"0001", "001", "2026-03-01", "PG"}).at("packet");
    EXPECT_EQ(fieldNames(detail),
              (std::vector<std::string>{"DTCARDAPIO", "CDPRATO", "IDOPCCNFMES", "CDPRODUTO", "NMTIPOPRAT",
                                        "NMPRODUTO", "NMPRATO", "CDARVPROD"}));
    EXPECT_EQ(detail.at("rows"), json::parse(R"([
        ["2026-03-02T00:00:00", "D1", "N", "P1", "Prato principal", "Azeite", "Bife", "9.9.1"],
        ["2026-03-03T00:00:00", "D2", "S", "P2", "Prato principal", "Óleo de soja", "Frango", "9.9.2"]])"));
}

TEST_F(RestrictionRules, AnswersFollowTheDatabaseWhenItChangesBetweenCalls) {
    item("2026-03-02", 1, "D1");
    line("2026-03-02", 1, "P3", 0.5);
    sql("INSERT INTO CTRRESTPRAT VALUES ('0001', '001', 'G1', 'N'); INSERT INTO CTRRESTPROD VALUES ('0001', "
        "'001', 'P3')");
    EXPECT_EQ(session().rows("GetRestPratMes", march()).at(0).at(5), 1.0);
    EXPECT_EQ(session().rows("GetRestProd", march()).at(0).at(2), 1.0);
    item("2026-03-20", 1, "D2");
    line("2026-03-20", 1, "P3", 0.5);
    EXPECT_EQ(session().rows("GetRestPratMes", march()).at(0).at(5), 2.0);
    EXPECT_EQ(session().rows("GetRestProd", march()).at(0).at(2), 2.0);
    EXPECT_EQ(session().rows("GetRestPratMesDet", {"0001", "001", "2026-03-01", "G1"}).size(), 2u);
    sql("DELETE FROM CARDAPIO WHERE DTCARDAPIO = '2026-03-02'");
    EXPECT_EQ(session().rows("GetRestPratMes", march()).at(0).at(5), 1.0);
}

TEST_F(RestrictionRules, WeeklyDetailsAfterAMonthlyCallSeeOnlyTheirWeek) {
    item("2026-02-27", 1, "D1");
    item("2026-03-02", 1, "D1");
    item("2026-03-09", 1, "D1");
    EXPECT_EQ(session().rows("GetRestPratMesDet", {"0001", "001", "2026-03-01", "D1"}).size(), 2u);
    session().call("GetDataSemana", {"2026-03-01", "2026-03-31"});
    const json week1 = session().rows("GetUtilPratSemDet", {"0001", "001", "D1", "1"});
    ASSERT_EQ(week1.size(), 1u);
    EXPECT_EQ(week1[0][0], "2026-02-27T00:00:00");
    const json week2 = session().rows("GetUtilPratSemDet", {"0001", "001", "D1", "2"});
    ASSERT_EQ(week2.size(), 1u);
    EXPECT_EQ(week2[0][0], "2026-03-02T00:00:00");
}

TEST_F(RestrictionRules, UnknownBranchServiceOrCodeIsAnEmptyAnswer) {
    item("2026-03-02", 1, "D1");
    sql("INSERT INTO CTRRESTPRAT VALUES ('0001', '001', 'D1', 'N')");
    EXPECT_TRUE(session().rows("GetRestPratMes", {"9999", "001", "2026-03-01", "2026-03-31"}).empty());
    EXPECT_TRUE(session().rows("GetRestPratMes", {"0001", "999", "2026-03-01", "2026-03-31"}).empty());
    EXPECT_TRUE(session().rows("GetRestPratMesDet", {"0001", "001", "2026-03-01", "XX"}).empty());
    EXPECT_TRUE(session().rows("GetServico", {"9999", "N"}).empty());
}

TEST_F(RestrictionRules, ServicesComeByCodeWithTheMarkGiven) {
    const json packet = session().call("GetServico", {"0001", "N"}).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDSERVFILI", "NMSERVICO", "CDFILIAL", "IDMARCADO"}));
    EXPECT_EQ(packet.at("rows"),
              json::parse(R"([["001", "Almoço", "0001", "N"], ["002", "Jantar", "0001", "N"]])"));
    EXPECT_EQ(session().rows("GetServico", {"0001", "S"}).at(0).at(3), "S");
}

} // namespace
