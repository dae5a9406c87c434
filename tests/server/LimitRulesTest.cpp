#include "MenuFixture.h"

using nlohmann::json;

namespace {

class LimitRules : public MenuFixture {
protected:
    // Per-capita lines of March (quantities exact in binary, so sums are exact too).
    void serviceMenu() {
        item("2026-03-02", 1, "D1");
        line("2026-03-02", 1, "P1", 0.25);
        line("2026-03-02", 1, "P3", 0.125);
        item("2026-03-02", 2, "D2", true);
        line("2026-03-02", 2, "P2", 0.25); // day total for PG 0.5: equal to the minimum
        item("2026-03-03", 1, "D1");
        line("2026-03-03", 1, "P1", 0.25); // 0.25 < 0.5
        item("2026-03-04", 1, "D3");
        line("2026-03-04", 1, "P2", 1.5); // 1.5 > 1
        item("2026-03-05", 1, "D3");
        line("2026-03-05", 1, "P3", 0.375); // no PG line: the day is not checked for PG
        item("2026-03-06", 1, "D5");        // an item without products
    }
};

TEST_F(LimitRules, ServiceLimitSumsTheDaysMatchingLinesOfAllItems) {
    serviceMenu();
    sql(R"(INSERT INTO CTRLIMSERV VALUES ('0001', '001', 'PG', 0.5, 1.0), ('0001', '001', 'P3', NULL, 0.125),
                                         ('0001', '001', 'P1', NULL, NULL))");
    const json packet = session().call("GetLimPeSer", march()).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDPRODUTO", "NMPRODUTO", "QTMINLIMSERV", "QTMAXLIMSERV", "NRPRODMES",
                                        "CDFILIAL", "CDSERVFILI", "DTMESCARD"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["PG", "Grupo Óleos", 0.5, 1.0, 2.0, "0001", "001", "2026-03-01T00:00:00"],
        ["P3", "Sal", null, 0.125, 1.0, "0001", "001", "2026-03-01T00:00:00"]])"));
}

TEST_F(LimitRules, ServiceLimitDetailListsTheLinesOfTheDaysOutsideTheArgumentRange) {
    serviceMenu();
    const json packet =
        session().call("GetLimPeSerDet", {"0001", "001", "2026-03-20", "PG", 0.5, 1.0}).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"DTCARDAPIO", "CDPRODUTO", "NMPRODUTO", "QTPRODUTO", "SGUNIDADE",
                                        "NMTIPOPRAT", "IDOPCCNFMES", "CDPRATO", "NMPRATO"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["2026-03-03T00:00:00", "P1", "Azeite", 0.25, "L", "Prato principal", "N", "D1", "Bife"],
        ["2026-03-04T00:00:00", "P2", "Óleo de soja", 1.5, "L", "Prato principal", "N", "D3", "Arroz"]])"));

    // A null limit is no bound: only the maximum 0.4 applies, so 2026-03-02 (0.5) shows its two lines.
    const json upper = session().rows("GetLimPeSerDet", {"0001", "001", "2026-03-01", "PG", nullptr, 0.4});
    ASSERT_EQ(upper.size(), 3u);
    EXPECT_EQ(upper[0][1], "P1");
    EXPECT_EQ(upper[1][1], "P2");
    EXPECT_EQ(upper[2][0], "2026-03-04T00:00:00");
    EXPECT_TRUE(
        session().rows("GetLimPeSerDet", {"0001", "001", "2026-03-01", "PG", nullptr, nullptr}).empty());
}

TEST_F(LimitRules, DishLimitSumsEachMatchingItemsLinesAndSortsByDishThenProduct) {
    item("2026-03-02", 1, "D1");
    line("2026-03-02", 1, "P1", 0.25); // inside 0.25 .. 0.375
    item("2026-03-03", 1, "D2");
    line("2026-03-03", 1, "P1", 0.125);
    line("2026-03-03", 1, "P2", 0.375); // 0.5 > 0.375
    item("2026-03-04", 1, "D2", true);
    line("2026-03-04", 1, "P1", 0.125); // option items count: 0.125 < 0.25
    item("2026-03-05", 1, "D1");
    line("2026-03-05", 1, "P3", 1.0); // no matching line: not checked
    item("2026-03-06", 1, "D3");
    line("2026-03-06", 1, "P3", 0.5); // 0.5 < 1
    item("2026-03-07", 1, "D3");      // no lines
    item("2026-03-08", 1, "D5");
    line("2026-03-08", 1, "P1", 9.0); // not the dish
    sql(R"(INSERT INTO CTRLIMPRAT VALUES ('0001', '001', 'G1', 'PG', 0.25, 0.375),
                                         ('0001', '001', 'D3', 'P3', 1, NULL))");
    const json packet = session().call("GetLimPePra", march()).at("packet");
    EXPECT_EQ(fieldNames(packet),
              (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDPRATO", "CDPRODUTO", "QTMINLIMPRAT",
                                        "QTMAXLIMPRAT", "NMPRATO", "NMPRODUTO", "DTMESCARD", "NRPRODMES"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["0001", "001", "D3", "P3", 1.0, null, "Arroz", "Sal", "2026-03-01T00:00:00", 1.0],
        ["0001", "001", "G1", "PG", 0.25, 0.375, "Grupo Carnes", "Grupo Óleos", "2026-03-01T00:00:00", 2.0]])"));

    const json detail =
        session().call("GetLimPePraDet", {"0001", "001", "2026-03-10", "G1", "PG", 0.25, 0.375}).at("packet");
    EXPECT_EQ(fieldNames(detail),
              (std::vector<std::string>{"DTCARDAPIO", "NRSEQPRATCAR", "CDPRATO", "CDPRODUTO", "IDOPCCNFMES",
                                        "NMTIPOPRAT", "NMPRODUTO", "SGUNIDADE", "NMPRATO", "QTPRODUTO",
                                        "NRORDPRATCAR"}));
    EXPECT_EQ(detail.at("rows"), json::parse(R"([
        ["2026-03-03T00:00:00", 1.0, "D2", "P1", "N", "Prato principal", "Azeite", "L", "Frango", 0.125, 1.0],
        ["2026-03-03T00:00:00", 1.0, "D2", "P2", "N", "Prato principal", "Óleo de soja", "L", "Frango", 0.375, 1.0],
        ["2026-03-04T00:00:00", 1.0, "D2", "P1", "S", "Prato principal", "Azeite", "L", "Frango", 0.125, 1.0]])"));
}

TEST_F(LimitRules, NutrientLimitCountsDaysWithARowWhetherOrNotTheDayHasItems) {
    sql(R"(INSERT INTO NUTRCARD VALUES
        ('0001', '001', '2026-03-01', 'N1', 100), ('0001', '001', '2026-03-02', 'N1', 250),
        ('0001', '001', '2026-03-03', 'N1', 50), ('0001', '001', '2026-04-01', 'N1', 500),
        ('0001', '001', '2026-03-05', 'N2', 60), ('0001', '001', '2026-03-06', 'N2', 50),
        ('0001', '002', '2026-03-05', 'N2', 90))");
    sql(R"(INSERT INTO CTRLIMNUTR VALUES ('0001', '001', 'N1', 100, 200), ('0001', '001', 'N2', NULL, 50))");
    const json packet = session().call("GetLimNutri", march()).at("packet");
    EXPECT_EQ(fieldNames(packet), (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDNUTRIENTE",
                                                            "QTMAXLIMNUTR", "NMNUTRIENTE", "SGUNIDADE",
                                                            "DTMESCARD", "NRNUTRMES", "QTMINLIMNUTR"}));
    EXPECT_EQ(packet.at("rows"), json::parse(R"([
        ["0001", "001", "N2", 50.0, "Cálcio", "MG", "2026-03-01T00:00:00", 1.0, null],
        ["0001", "001", "N1", 200.0, "Sódio", "MG", "2026-03-01T00:00:00", 2.0, 100.0]])"));

    const json detail =
        session().call("GetLimNutriDet", {"0001", "001", "2026-03-20", "N1", 100, 200}).at("packet");
    EXPECT_EQ(fieldNames(detail), (std::vector<std::string>{"DTCARDAPIO", "QTNUTRIENTE"}));
    EXPECT_EQ(detail.at("rows"),
              json::parse(R"([["2026-03-02T00:00:00", 250.0], ["2026-03-03T00:00:00", 50.0]])"));
}

} // namespace
