#include "WireSamples.h"

#include "protocol/JsonWriter.h"
#include "protocol/PacketWriter.h"
#include "protocol/Rpc.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace proto;
using nlohmann::json;

// Answers and requests are written by hand now; peers only know the document writer's text, so the
// bytes must be the ones it gives.

namespace {

std::string dumped(const json& doc) {
    return doc.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string resultByDocument(const json& id, const Packet& packet, const std::map<int, Value>& out) {
    json result = {{"packet", packetToJson(packet)}};
    if (!out.empty()) {
        json values = json::object();
        for (const auto& [index, value] : out)
            values[std::to_string(index)] = valueToJson(value);
        result["out"] = std::move(values);
    }
    return dumped(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

} // namespace

TEST(WireText, AnswersAreTheDocumentWritersBytes) {
    WireSamples samples(20260301);
    for (int i = 0; i < 400; ++i) {
        const Packet packet = samples.packet(/*validUtf8=*/i % 4 != 0);
        const auto out = samples.outValues();
        const json id = i % 5 == 0 ? json("call-" + std::to_string(i)) : json(i);
        ASSERT_EQ(encodeResult(id, packet, out), resultByDocument(id, packet, out)) << "sample " << i;
    }
}

TEST(WireText, OutKeysKeepTheDocumentsTextOrder) {
    const DateTime day = *parseDateTime("2026-03-01");
    const std::map<int, Value> out{{4, day}, {10, day}, {2, std::monostate{}}};
    const std::string text = encodeResult(1, Packet{}, out);
    EXPECT_EQ(text, resultByDocument(1, Packet{}, out));
    EXPECT_LT(text.find("\"10\""), text.find("\"4\""));
}

TEST(WireText, RequestsAreTheDocumentWritersBytes) {
    WireSamples samples(7);
    for (int i = 0; i < 200; ++i) {
        std::vector<Value> params;
        json list = json::array();
        for (int k = 0; k < i % 7; ++k) {
            params.push_back(samples.anyValue());
            list.push_back(valueToJson(params.back()));
        }
        const std::string method = i % 3 ? "GetLimNutriDet" : "Método \"estranho\"\n";
        EXPECT_EQ(encodeRequest(i, method, params),
                  dumped(json{{"jsonrpc", "2.0"}, {"id", i}, {"method", method}, {"params", list}}));
    }
}

struct TokenCase {
    const char* label;
    Value value;
};

class WireToken : public testing::TestWithParam<TokenCase> {};

TEST_P(WireToken, IsWrittenAsTheDocumentWriterDoes) {
    std::string text;
    appendValueJson(text, GetParam().value);
    EXPECT_EQ(text, dumped(valueToJson(GetParam().value)));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, WireToken,
    testing::Values(TokenCase{"whole_double", 2.0}, TokenCase{"negative_zero", -0.0}, TokenCase{"tiny", 1e-7},
                    TokenCase{"huge", 1e300}, TokenCase{"e15", 1e15}, TokenCase{"e16", 1e16},
                    TokenCase{"denormal", 5e-324},
                    TokenCase{"not_a_number", std::numeric_limits<double>::quiet_NaN()},
                    TokenCase{"infinity", std::numeric_limits<double>::infinity()},
                    TokenCase{"lowest_integer", std::numeric_limits<std::int64_t>::min()},
                    TokenCase{"control_characters", std::string("\x01\x1f\x7f\b\f\n\r\t")},
                    TokenCase{"quotes_and_slashes", std::string("\"\\/")},
                    TokenCase{"lone_continuation_byte", std::string("a\x80z")},
                    TokenCase{"truncated_character", std::string("fim\xc3")},
                    TokenCase{"surrogate_bytes", std::string("\xed\xa0\x80")},
                    TokenCase{"date_zero", DateTime{0}}, TokenCase{"date_before_1900", DateTime{-693593.25}},
                    TokenCase{"date_past_year_9999", DateTime{3000000}},
                    TokenCase{"date_before_year_0", DateTime{-800000.5}},
                    TokenCase{"null", std::monostate{}}),
    [](const testing::TestParamInfo<TokenCase>& p) { return std::string(p.param.label); });
