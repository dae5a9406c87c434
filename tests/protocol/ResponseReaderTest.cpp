#include "WireSamples.h"

#include "protocol/ProtocolError.h"
#include "protocol/ResponseReader.h"
#include "protocol/Rpc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proto;

// The client reads answers straight into packets and leaves whatever that reading declines to the
// document reading. The two must never disagree: same values, same refusals, same messages.

namespace {

constexpr std::int64_t kId = 41;

Outcome direct(const std::string& body) {
    return outcomeOf([&] { return decodeResponse(body, kId); });
}

Outcome byDocument(const std::string& body) {
    return outcomeOf([&] { return decodeResponseDocument(body, kId); });
}

std::vector<std::string> serverAnswers(unsigned seed, int count, int maxRows = 24) {
    WireSamples samples(seed);
    std::vector<std::string> bodies;
    for (int i = 0; i < count; ++i)
        bodies.push_back(encodeResult(kId, samples.packet(true, maxRows), samples.outValues()));
    return bodies;
}

} // namespace

TEST(ResponseReader, ReadsEveryAnswerTheServerWritesWithoutTheDocument) {
    for (const std::string& body : serverAnswers(1, 300)) {
        const auto read = readResultDirect(body, kId);
        ASSERT_TRUE(read.has_value()) << body;
        const Outcome reference = byDocument(body);
        ASSERT_FALSE(reference.refused) << reference.message;
        EXPECT_TRUE(sameResponse(*read, reference.response)) << body;
    }
}

// Every answer cut short, and every answer with one byte changed, dropped or doubled: whatever the
// result, the two readings agree on it.
TEST(ResponseReader, DamagedAnswersGetTheDocumentReadingsVerdict) {
    const std::string bytes = "\",:[]{}0-.eEn\\ x\xc3\x80";
    int compared = 0, readDirectly = 0;
    for (const std::string& body : serverAnswers(2, 12, 2)) {
        std::vector<std::string> damaged;
        for (std::size_t at = 0; at < body.size(); ++at) {
            damaged.push_back(body.substr(0, at));
            damaged.push_back(body.substr(0, at) + body.substr(at + 1));
            damaged.push_back(body.substr(0, at + 1) + body.substr(at));
            std::string changed = body;
            changed[at] = bytes[at % bytes.size()];
            damaged.push_back(changed);
        }
        for (const std::string& bad : damaged) {
            const Outcome reference = byDocument(bad);
            const Outcome got = direct(bad);
            ASSERT_TRUE(sameOutcome(got, reference))
                << bad << "\ndocument: " << (reference.refused ? reference.message : "read")
                << "\ndirect: " << (got.refused ? got.message : "read");
            if (readResultDirect(bad, kId))
                ++readDirectly;
            ++compared;
        }
    }
    // Some damage leaves a valid answer (a digit changed), and those are read directly.
    EXPECT_GT(readDirectly, 0);
    EXPECT_GT(compared, 10000);
}

struct Layout {
    const char* label;
    const char* body;
    bool direct; // read without the document
};

class ResponseLayout : public testing::TestWithParam<Layout> {};

TEST_P(ResponseLayout, ReadsAsTheDocumentReadingDoes) {
    const std::string body = GetParam().body;
    const Outcome reference = byDocument(body);
    ASSERT_FALSE(reference.refused) << reference.message;
    EXPECT_TRUE(sameOutcome(direct(body), reference));
    EXPECT_EQ(readResultDirect(body, kId).has_value(), GetParam().direct);
}

INSTANTIATE_TEST_SUITE_P(
    Valid, ResponseLayout,
    testing::Values(
        Layout{"spaced",
               " \r\n{ \"jsonrpc\" : \"2.0\" ,\t\"id\" : 41 , \"result\" : { \"packet\" : { \"fields\" : "
               "[ { \"name\" : \"A\" , \"type\" : \"float\" } ] , \"rows\" : [ [ 1 ] , [ null ] ] } } }\n",
               true},
        Layout{"result_first", R"({"result":{"packet":{"fields":[],"rows":[]}},"id":41,"jsonrpc":"2.0"})",
               true},
        Layout{
            "escapes",
            R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[{"name":"N\u00e3o","type":"string","size":3},)"
            R"({"name":"\ud83d\ude00","type":"string","size":1}],"rows":[["\u00e7\/\"","\uD834\uDD1E"]]}}})",
            true},
        Layout{"exponents_and_integers_in_float_fields",
               R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[{"name":"A","type":"float"}],)"
               R"("rows":[[1E2],[-0],[-0.0],[25e-1],[7],[0.1e+1]]}}})",
               true},
        Layout{
            "unknown_members_anywhere",
            R"({"id":41,"x":{"a":[1,{"b":null}],"c":true},"jsonrpc":"2.0","result":{"extra":false,"packet":)"
            R"({"fields":[{"name":"A","type":"integer","size":{"ignored":[]},"note":"x"}],"meta":[],"rows":[[3]]}}})",
            true},
        Layout{"out_null",
               R"({"id":41,"jsonrpc":"2.0","result":{"out":null,"packet":{"fields":[],"rows":[]}}})", true},
        Layout{
            "out_after_packet",
            R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[],"rows":[]},"out":{"4":"2026-03-01","0":null}}})",
            true},
        Layout{"short_date",
               R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[{"name":"D","type":"datetime"}],)"
               R"("rows":[["2026-03-01"],["2026-03-01T23:59:59"]]}}})",
               true},
        Layout{
            "rows_before_fields",
            R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"rows":[[1]],"fields":[{"name":"A","type":"float"}]}}})",
            false},
        Layout{"integer_past_64_bits_in_a_float_field",
               R"({"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[{"name":"A","type":"float"}],)"
               R"("rows":[[18446744073709551616]]}}})",
               false},
        Layout{"repeated_unknown_key_is_harmless",
               R"({"id":41,"jsonrpc":"2.0","z":1,"z":2,"result":{"packet":{"fields":[],"rows":[]}}})", true},
        Layout{"repeated_id",
               R"({"id":40,"id":41,"jsonrpc":"2.0","result":{"packet":{"fields":[],"rows":[]}}})", false},
        Layout{
            "padded_out_index",
            R"({"id":41,"jsonrpc":"2.0","result":{"out":{"04":"2026-03-01"},"packet":{"fields":[],"rows":[]}}})",
            false},
        Layout{
            "byte_order_mark",
            "\xef\xbb\xbf{\"id\":41,\"jsonrpc\":\"2.0\",\"result\":{\"packet\":{\"fields\":[],\"rows\":[]}}}",
            false}),
    [](const testing::TestParamInfo<Layout>& p) { return std::string(p.param.label); });

struct Refused {
    const char* label;
    const char* body;
    const char* expected; // part of the message
};

class ResponseRefusal : public testing::TestWithParam<Refused> {};

TEST_P(ResponseRefusal, IsLeftToTheDocumentReadingAndWordedAsBefore) {
    const std::string body = GetParam().body;
    EXPECT_FALSE(readResultDirect(body, kId).has_value());
    const Outcome got = direct(body);
    ASSERT_TRUE(got.refused);
    EXPECT_EQ(got.message, byDocument(body).message);
    EXPECT_NE(got.message.find(GetParam().expected), std::string::npos) << got.message;
    try {
        decodeResponse(body, kId);
    } catch (const ProtocolError&) {
        return;
    }
    FAIL() << "not a ProtocolError";
}

#define ANSWER(PACKET) R"({"id":41,"jsonrpc":"2.0","result":{"packet":)" PACKET "}}"

INSTANTIATE_TEST_SUITE_P(
    Refusals, ResponseRefusal,
    testing::Values(
        Refused{"not_an_object", R"([{"id":41}])", "não é um objeto"},
        Refused{"truncated", ANSWER(R"({"fields":[{"name":"A","type":"float"}],"rows":[[1)"), "ilegível"},
        Refused{"trailing_garbage", ANSWER(R"({"fields":[],"rows":[]})") "x", "ilegível"},
        Refused{"other_call", R"({"id":42,"jsonrpc":"2.0","result":{"packet":{"fields":[],"rows":[]}}})",
                "não corresponde"},
        Refused{"other_version", R"({"id":41,"jsonrpc":"1.0","result":{"packet":{"fields":[],"rows":[]}}})",
                "JSON-RPC 2.0"},
        Refused{"no_packet", R"({"id":41,"jsonrpc":"2.0","result":{"out":null}})", "falta o pacote"},
        Refused{"unknown_type", ANSWER(R"({"fields":[{"name":"A","type":"blob"}],"rows":[]})"),
                "tipo desconhecido 'blob'"},
        Refused{"repeated_field",
                ANSWER(R"({"fields":[{"name":"A","type":"float"},{"name":"A","type":"float"}],"rows":[]})"),
                "mais de uma vez"},
        Refused{
            "short_row",
            ANSWER(R"({"fields":[{"name":"A","type":"float"},{"name":"B","type":"float"}],"rows":[[1]]})"),
            "linha 1 tem 1 valores para 2 campos"},
        Refused{"long_row", ANSWER(R"({"fields":[{"name":"A","type":"float"}],"rows":[[1],[1,2]]})"),
                "linha 2"},
        Refused{"text_for_float", ANSWER(R"({"fields":[{"name":"A","type":"float"}],"rows":[["1"]]})"),
                "não é um número"},
        Refused{"fraction_for_integer",
                ANSWER(R"({"fields":[{"name":"A","type":"integer"}],"rows":[[1.0]]})"), "inteiro"},
        Refused{"integer_past_the_signed_range",
                ANSWER(R"({"fields":[{"name":"A","type":"integer"}],"rows":[[9223372036854775808]]})"),
                "excede o intervalo"},
        Refused{"too_many_characters",
                ANSWER(R"({"fields":[{"name":"A","type":"string","size":3}],"rows":[["ÇÃÕÉ"]]})"),
                "excede 3 caracteres"},
        Refused{"escaped_characters_count_too",
                ANSWER(R"({"fields":[{"name":"A","type":"string","size":3}],"rows":[["\u00c7\u00c3\n\t"]]})"),
                "excede 3 caracteres"},
        Refused{"lone_surrogate",
                ANSWER(R"({"fields":[{"name":"A","type":"string","size":3}],"rows":[["\ud800"]]})"),
                "ilegível"},
        Refused{
            "not_utf8",
            ANSWER("{\"fields\":[{\"name\":\"A\",\"type\":\"string\",\"size\":3}],\"rows\":[[\"\xc3(\"]]}"),
            "ilegível"},
        Refused{"bad_date", ANSWER(R"({"fields":[{"name":"D","type":"datetime"}],"rows":[["2026-02-30"]]})"),
                "data válida"},
        Refused{"float_past_the_double_range",
                ANSWER(R"({"fields":[{"name":"A","type":"float"}],"rows":[[1e400]]})"), "ilegível"},
        Refused{"size_as_fraction",
                ANSWER(R"({"fields":[{"name":"A","type":"string","size":4.0}],"rows":[]})"), "tamanho"},
        Refused{"bad_out_index",
                R"({"id":41,"jsonrpc":"2.0","result":{"out":{"x":1},"packet":{"fields":[],"rows":[]}}})",
                "parâmetro de retorno 'x'"},
        Refused{"error_answer_without_message", R"({"id":41,"jsonrpc":"2.0","error":{"code":-32000}})",
                "erro sem mensagem"}),
    [](const testing::TestParamInfo<Refused>& p) { return std::string(p.param.label); });
