#include "MenuFixture.h"

#include <array>
#include <string>

using nlohmann::json;

namespace {

struct BadCase {
    std::string method;
    json params;
    std::string parameter; // named in the message
    std::string says;      // and what is wrong
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.method << c.params.dump();
}

class BadInput : public MenuFixture, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadInput, IsRefusedBeforeAnyQueryNamingMethodAndParameter) {
    // No menu tables at all: a refusal that came from a query would be a database error instead.
    sql("DROP TABLE CARDAPIO; DROP TABLE PRODCARD; DROP TABLE NUTRCARD; DROP TABLE SERVFILI;");
    const BadCase& c = GetParam();
    const json error = session().call(c.method, c.params);
    ASSERT_TRUE(error.contains("message")) << error.dump();
    EXPECT_EQ(error.at("code"), -32602);
    const std::string message = error.at("message");
    EXPECT_NE(message.find(c.method), std::string::npos) << message;
    EXPECT_NE(message.find(c.parameter), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
}

const std::string kTenAccents = "ÁÁÁÁÁÁÁÁÁÁ";

INSTANTIATE_TEST_SUITE_P(
    Parameters, BadInput,
    ::testing::Values(
        BadCase{"GetFreqPratMes", {"0001", "001", "2026-03-01"}, "DTULTIMA", "são esperados 4"},
        BadCase{
            "GetFreqPratMes", {"0001", "001", "2026-03-01", "2026-03-31", "x"}, "CDFILIAL", "recebidos 5"},
        BadCase{"GetFreqPratMes", {"00001", "001", "2026-03-01", "2026-03-31"}, "CDFILIAL", "excede 4"},
        BadCase{"GetFreqPratMes", {"0001", "000001", "2026-03-01", "2026-03-31"}, "CDSERVFILI", "excede 5"},
        BadCase{"GetFreqPratMes", {1, "001", "2026-03-01", "2026-03-31"}, "CDFILIAL", "texto"},
        BadCase{"GetFreqPratMes", {nullptr, "001", "2026-03-01", "2026-03-31"}, "CDFILIAL", "nulo"},
        BadCase{"GetFreqPratMes", {"0001", "001", "2026-02-30", "2026-03-31"}, "DTPRIMEIRA", "data válida"},
        BadCase{"GetFreqPratMes", {"0001", "001", "2026/03/01", "2026-03-31"}, "DTPRIMEIRA", "data válida"},
        BadCase{"GetFreqPratMes", {"0001", "001", "2026-03-01", 46082}, "DTULTIMA", "data válida"},
        BadCase{"GetFreqPratMes",
                {"0001", "001", "2026-03-01", "2026-03-31T25:00:00"},
                "DTULTIMA",
                "data válida"},
        BadCase{"GetFreqPratMes", {"0001", "001", "2026-03-02", "2026-03-01"}, "DTPRIMEIRA", "posterior"},
        BadCase{"GetLimNutri", {"0001", "001", "2026-03-01", "2026-05-02"}, "DTULTIMA", "63 dias"},
        BadCase{"GetFreqPratSem", {"0001", "001", "2026-02-23", "2026-04-26"}, "DTULTIMA", "máximo é 62"},
        BadCase{"GetDataSemana", {"2026-03-01", "2026-05-02"}, "DTPRIMEIRA", "máximo é 62"},
        // Its Sunday would be 10000-01-02, a date no four-digit year can carry.
        BadCase{"GetDataSemana", {"9999-12-31", "9999-12-31"}, "DTULTIMA", "termina depois de 9999-12-31"},
        BadCase{"GetDataSemana", {"9999-12-01", "9999-12-27"}, "DTULTIMA", "termina depois de 9999-12-31"},
        BadCase{"GetFreqPratMes", {"0001", "001", "0000-12-31", "0001-01-31"}, "DTPRIMEIRA", "data válida"},
        BadCase{"GetFreqPratMes", {"0001", "001", "9999-12-01", "10000-01-01"}, "DTULTIMA", "data válida"},
        BadCase{"GetFreqOpcaSemDet", {"0001", "001", "123", "D1"}, "NRSEMANA", "dígitos"},
        BadCase{"GetFreqOpcaSemDet", {"0001", "001", "", "D1"}, "NRSEMANA", "dígitos"},
        BadCase{"GetFreqOpcaSemDet", {"0001", "001", "1a", "D1"}, "NRSEMANA", "dígitos"},
        BadCase{"GetUtilPratSemDet", {"0001", "001", "D1", 1}, "NRSEMANA", "dígitos"},
        BadCase{"GetFreqPratSemDet", {"0001", "001", "1", "D1", nullptr}, "DTMESCARD", "nulo"},
        BadCase{"GetRestProdDet", {"0001", "001", "2026-03-01", "PRODUTO1234"}, "CDPRODUTO", "excede 10"},
        BadCase{
            "GetRestPratMesDet", {"0001", "001", "2026-03-01", kTenAccents + "Á"}, "CDPRATO", "excede 10"},
        BadCase{"GetLimNutriDet", {"0001", "001", "2026-03-01", "N1", "1", 2}, "QTMINLIMNUTR", "número"},
        BadCase{"GetLimNutriDet", {"0001", "001", "2026-03-01", "N001", 1, 2}, "CDNUTRIENTE", "excede 3"},
        BadCase{
            "GetLimPePraDet", {"0001", "001", "2026-03-01", "D1", "P1", 1, true}, "QTMAXLIMPRAT", "número"},
        BadCase{"GetServico", {"0001", "NN"}, "IDMARCADO", "excede 1"},
        BadCase{"GetServico", {"0001"}, "IDMARCADO", "são esperados 2"}));

class GoodInput : public MenuFixture {};

TEST_F(GoodInput, LimitsBoundsOfLengthAndSpanAreAccepted) {
    // 62 days counting both ends, characters (not bytes) counted, null limits, both date forms.
    EXPECT_TRUE(session().rows("GetLimNutri", {"0001", "001", "2026-03-01", "2026-05-01"}).empty());
    EXPECT_TRUE(
        session().rows("GetRestPratMesDet", {"0001", "001", "2026-03-01T00:00:00", kTenAccents}).empty());
    EXPECT_TRUE(
        session().rows("GetLimNutriDet", {"0001", "001", "2026-03-01", "N1", nullptr, nullptr}).empty());
    EXPECT_TRUE(session().rows("GetFreqPratMes", {"0001", "001", "2026-03-01", "2026-03-01"}).empty());
}

TEST_F(GoodInput, WeekSpansAtTheCalendarsEndsAreAnswered) {
    // 0001-01-01 is a Monday; 9999-12-26 the calendar's last Sunday.
    for (const auto& [first, last, monday, sunday] : std::vector<std::array<std::string, 4>>{
             {"0001-01-01", "0001-01-03", "0001-01-01T00:00:00", "0001-01-07T00:00:00"},
             {"9999-12-20", "9999-12-26", "9999-12-20T00:00:00", "9999-12-26T00:00:00"}}) {
        const json rows = session().rows("GetDataSemana", {first, last});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows.at(0).at(0), monday);
        EXPECT_EQ(rows.at(0).at(1), sunday);
    }
}

TEST_F(GoodInput, UnknownMethodAndMalformedRequestsAreJsonRpcErrors) {
    const json unknown = session().call("GetNada", json::array());
    EXPECT_EQ(unknown.at("code"), -32601);
    EXPECT_NE(unknown.at("message").get<std::string>().find("GetNada"), std::string::npos);

    const auto parse = session().post("{\"jsonrpc\": \"2.0\", \"id\": 1, \"method\": ");
    ASSERT_TRUE(parse);
    EXPECT_EQ(parse->status, 200);
    EXPECT_EQ(json::parse(parse->body).at("error").at("code"), -32700);

    const auto notPositional =
        session().post(R"({"jsonrpc": "2.0", "id": 3, "method": "GetServico", "params": {"a": 1}})");
    ASSERT_TRUE(notPositional);
    const json answer = json::parse(notPositional->body);
    EXPECT_EQ(answer.at("error").at("code"), -32602);
    EXPECT_EQ(answer.at("id"), 3);
}

} // namespace
