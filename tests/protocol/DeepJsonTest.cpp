#include "protocol/ForeignJson.h"
#include "protocol/ProtocolError.h"
#include "protocol/Rpc.h"

#include <gtest/gtest.h>

#include <string>

using namespace proto;

namespace {

std::string arrays(int levels) {
    return std::string(static_cast<std::size_t>(levels), '[') +
           std::string(static_cast<std::size_t>(levels), ']');
}

struct RequestRefusal {
    int code = 0;
    std::string message;
    nlohmann::json id;
};

RequestRefusal refusalOf(const std::string& body) {
    try {
        decodeRequest(body);
    } catch (const RpcRequestError& error) {
        return {error.code(), error.what(), error.id()};
    }
    return {};
}

struct DeepRequest {
    const char* where;
    std::string body;
};

class DeepRequestTest : public testing::TestWithParam<DeepRequest> {};

// Copying the parsed id or params, or comparing jsonrpc, would recurse once per level and overflow
// the stack long before the end of these bodies.
TEST_P(DeepRequestTest, IsRefusedWholeWithAnUnknownId) {
    const RequestRefusal refusal = refusalOf(GetParam().body);
    EXPECT_EQ(refusal.code, kInvalidRequest);
    EXPECT_EQ(refusal.message, kJsonTooDeepMessage);
    EXPECT_TRUE(refusal.id.is_null());
}

const std::string kDeep = arrays(100000);

INSTANTIATE_TEST_SUITE_P(
    HundredThousandLevels, DeepRequestTest,
    testing::Values(
        DeepRequest{"params", R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":[)" + kDeep + "]}"},
        DeepRequest{"id", R"({"jsonrpc":"2.0","id":)" + kDeep + R"(,"method":"GetServico","params":[]})"},
        DeepRequest{"jsonrpc", R"({"jsonrpc":)" + kDeep + R"(,"id":1,"method":"GetServico"})"},
        DeepRequest{"unclosed", R"({"jsonrpc":"2.0","id":1,"params":)" + std::string(100000, '{')}),
    [](const testing::TestParamInfo<DeepRequest>& param) { return std::string(param.param.where); });

// The request object is the first level, so params may hold 63 more and not 64.
TEST(DeepJson, RequestsUpToTheBoundAreReadAndOneLevelMoreIsRefused) {
    const auto body = [](int paramsLevels) {
        return R"({"jsonrpc":"2.0","id":4,"method":"GetServico","params":)" + arrays(paramsLevels) + "}";
    };
    const RpcRequest request = decodeRequest(body(63));
    EXPECT_EQ(request.id, 4);
    EXPECT_TRUE(request.params.is_array());
    EXPECT_EQ(refusalOf(body(64)).message, kJsonTooDeepMessage);
}

std::string answerWithExtra(int extraLevels) {
    return R"({"jsonrpc":"2.0","id":9,"result":{"packet":{"fields":[],"rows":[]},"extra":)" +
           arrays(extraLevels) + "}}";
}

std::string responseRefusal(const std::string& body, bool document) {
    try {
        if (document)
            decodeResponseDocument(body, 9);
        else
            decodeResponse(body, 9);
    } catch (const ProtocolError& error) {
        return error.what();
    }
    return {};
}

// Both readings of an answer draw the line at the same level, and the deep one is refused in words.
TEST(DeepJson, AnswersUpToTheBoundAreReadAndDeeperOnesRefusedByBothReadings) {
    const std::string refused = "Resposta do servidor recusada: aninhamento acima de 64 níveis.";
    for (const bool document : {false, true}) {
        SCOPED_TRACE(document ? "document" : "direct");
        // answer, result and extra's own array: 62 more levels make 64.
        EXPECT_EQ(responseRefusal(answerWithExtra(62), document), "");
        EXPECT_EQ(decodeResponse(answerWithExtra(62), 9).ok, true);
        EXPECT_EQ(responseRefusal(answerWithExtra(63), document), refused);
        EXPECT_EQ(responseRefusal(answerWithExtra(100000), document), refused);
        EXPECT_EQ(responseRefusal(R"({"jsonrpc":"2.0","id":)" + kDeep + "}", document), refused);
    }
}

TEST(DeepJson, ForeignTextIsMeasuredBeforeItIsParsed) {
    EXPECT_THROW(parseForeignJson(kDeep), JsonTooDeep);
    EXPECT_TRUE(parseForeignJson("{not json").is_discarded());
    EXPECT_EQ(parseForeignJson(arrays(64)).size(), 1u);
}

} // namespace
