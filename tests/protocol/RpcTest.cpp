#include "protocol/Rpc.h"
#include "protocol/ProtocolError.h"

#include <gtest/gtest.h>

using namespace proto;
using nlohmann::json;

TEST(Rpc, RequestCarriesPositionalParamsWithDatesAsText) {
    const std::string body = encodeRequest(
        7, "GetLimNutriDet",
        {std::string("0001"), std::string("001"), *parseDateTime("2026-03-01"), std::monostate{}, 2.5});
    const RpcRequest request = decodeRequest(body);
    EXPECT_EQ(request.id, 7);
    EXPECT_EQ(request.method, "GetLimNutriDet");
    EXPECT_EQ(request.params, json::parse(R"(["0001","001","2026-03-01T00:00:00",null,2.5])"));
}

TEST(Rpc, DateZeroTravelsAsADateNeverAsNull) {
    const RpcRequest request = decodeRequest(encodeRequest(1, "X", {DateTime{0}}));
    EXPECT_EQ(request.params[0], "1899-12-30T00:00:00");
}

TEST(Rpc, ResultWithOutValuesRoundTrips) {
    Packet packet;
    packet.fields = {{"NRSEMANA", FieldType::String, 2}};
    packet.rows = {{std::string("01")}};
    const std::string body = encodeResult(3, packet, {{4, *parseDateTime("2026-03-01")}});
    const RpcResponse response = decodeResponse(body, 3);
    ASSERT_TRUE(response.ok);
    EXPECT_EQ(response.packet.rows, packet.rows);
    ASSERT_EQ(response.out.count(4), 1u);
    EXPECT_EQ(response.out.at(4), "2026-03-01T00:00:00");
}

TEST(Rpc, ErrorAnswerCarriesTheServerMessage) {
    const RpcResponse response =
        decodeResponse(encodeError(5, kInvalidParams, "GetServico: filial inválida."), 5);
    EXPECT_FALSE(response.ok);
    EXPECT_EQ(response.errorCode, kInvalidParams);
    EXPECT_EQ(response.errorMessage, "GetServico: filial inválida.");
}

TEST(Rpc, GarbledAnswersAreProtocolErrors) {
    const std::string good = encodeResult(9, Packet{});
    for (
        const std::string& bad :
        {std::string("<html>"), good.substr(0, good.size() / 2), std::string("[]"),
         std::string(R"({"id":9})"), std::string(R"({"jsonrpc":"2.0","id":9})"),
         std::string(R"({"jsonrpc":"2.0","id":9,"result":[]})"),
         std::string(
             R"({"jsonrpc":"2.0","id":9,"result":{"packet":{"fields":[{"name":"A","type":"x"}],"rows":[]}}})"),
         std::string(
             R"({"jsonrpc":"2.0","id":9,"result":{"packet":{"fields":[],"rows":[]},"out":{"x":1}}})")})
        EXPECT_THROW(decodeResponse(bad, 9), ProtocolError) << bad;
    EXPECT_THROW(decodeResponse(good, 10), ProtocolError) << "answer to another call";
}

TEST(Rpc, MalformedRequestsGiveTheirJsonRpcCode) {
    const auto codeOf = [](const std::string& body) {
        try {
            decodeRequest(body);
        } catch (const RpcRequestError& error) {
            return error.code();
        }
        return 0;
    };
    EXPECT_EQ(codeOf("{not json"), kParseError);
    EXPECT_EQ(codeOf("[1]"), kInvalidRequest);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"1.0","id":1,"method":"GetServico"})"), kInvalidRequest);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":1})"), kInvalidRequest);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":{"a":1},"method":"GetServico"})"), kInvalidRequest);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":{"a":1}})"), kInvalidParams);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})"), 0);
}
