#include "protocol/Packet.h"
#include "protocol/ProtocolError.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

using namespace proto;
using nlohmann::json;

namespace {

json goodPacket() {
    return json::parse(R"({"fields":[{"name":"CDFILIAL","type":"string","size":4},
        {"name":"DTCARDAPIO","type":"datetime"},{"name":"QTPRODUTO","type":"float"},
        {"name":"NRSEQ","type":"integer"}],
        "rows":[["0001","2026-03-02T00:00:00",1.5,3],[null,null,null,null]]})");
}

} // namespace

TEST(Packet, ReadsEveryTypeAndNull) {
    const Packet packet = packetFromJson(goodPacket());
    ASSERT_EQ(packet.fields.size(), 4u);
    EXPECT_EQ(packet.fields[0], (FieldDef{"CDFILIAL", FieldType::String, 4}));
    ASSERT_EQ(packet.rows.size(), 2u);
    EXPECT_EQ(std::get<std::string>(packet.rows[0][0]), "0001");
    EXPECT_EQ(formatDate(std::get<DateTime>(packet.rows[0][1])), "2026-03-02");
    EXPECT_DOUBLE_EQ(std::get<double>(packet.rows[0][2]), 1.5);
    EXPECT_EQ(std::get<std::int64_t>(packet.rows[0][3]), 3);
    for (const auto& cell : packet.rows[1])
        EXPECT_TRUE(isNull(cell));
    EXPECT_EQ(packet.fieldIndex("QTPRODUTO"), 2);
    EXPECT_EQ(packet.fieldIndex("qtproduto"), -1);
}

TEST(Packet, WritesWhatItReads) {
    const Packet packet = packetFromJson(goodPacket());
    const Packet again = packetFromJson(packetToJson(packet));
    EXPECT_EQ(again.fields, packet.fields);
    EXPECT_EQ(again.rows, packet.rows);
}

TEST(Packet, SizeCountsCharactersNotBytes) {
    json doc = goodPacket();
    doc["rows"][0][0] = "ÇÃÕÉ"; // four characters, eight bytes
    EXPECT_NO_THROW(packetFromJson(doc));
    doc["rows"][0][0] = "ÇÃÕÉA";
    EXPECT_THROW(packetFromJson(doc), ProtocolError);
}

TEST(Packet, IntegersKeepTheWholeSignedRange) {
    const Packet packet = packetFromJson(json::parse(R"({"fields":[{"name":"N","type":"integer"}],
        "rows":[[9223372036854775807],[-9223372036854775808]]})"));
    EXPECT_EQ(std::get<std::int64_t>(packet.rows[0][0]), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(std::get<std::int64_t>(packet.rows[1][0]), std::numeric_limits<std::int64_t>::min());
}

struct BadPacket {
    const char* label;
    const char* text;
    const char* expected; // part of the message
};

class PacketRefusal : public testing::TestWithParam<BadPacket> {};

TEST_P(PacketRefusal, NamesWhatIsWrong) {
    try {
        packetFromJson(json::parse(GetParam().text));
        FAIL() << "accepted " << GetParam().label;
    } catch (const ProtocolError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().expected), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind("Pacote de dados inválido", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PacketRefusal,
    testing::Values(
        BadPacket{"array", R"([1,2])", "não é um objeto"},
        BadPacket{"no fields", R"({"rows":[]})", "definições de campo"},
        BadPacket{"no rows", R"({"fields":[]})", "linhas"},
        BadPacket{"unknown type", R"({"fields":[{"name":"A","type":"blob"}],"rows":[]})",
                  "tipo desconhecido 'blob'"},
        BadPacket{"string without size", R"({"fields":[{"name":"A","type":"string"}],"rows":[]})", "tamanho"},
        BadPacket{"nameless", R"({"fields":[{"type":"float"}],"rows":[]})", "não tem nome"},
        BadPacket{"twice",
                  R"({"fields":[{"name":"A","type":"float"},{"name":"A","type":"float"}],"rows":[]})",
                  "mais de uma vez"},
        BadPacket{"short row",
                  R"({"fields":[{"name":"A","type":"float"},{"name":"B","type":"float"}],"rows":[[1]]})",
                  "linha 1 tem 1 valores para 2 campos"},
        BadPacket{"long row", R"({"fields":[{"name":"A","type":"float"}],"rows":[[1],[1,2]]})", "linha 2"},
        BadPacket{"row not array", R"({"fields":[{"name":"A","type":"float"}],"rows":[{"A":1}]})",
                  "lista de valores"},
        BadPacket{"text for float", R"({"fields":[{"name":"A","type":"float"}],"rows":[["1"]]})",
                  "não é um número"},
        BadPacket{"float for integer", R"({"fields":[{"name":"A","type":"integer"}],"rows":[[1.5]]})",
                  "inteiro"},
        BadPacket{"integer past the signed range",
                  R"({"fields":[{"name":"N","type":"integer"}],"rows":[[9223372036854775808]]})",
                  "excede o intervalo"},
        BadPacket{"number for text", R"({"fields":[{"name":"A","type":"string","size":2}],"rows":[[12]]})",
                  "não é um texto"},
        BadPacket{"bad date", R"({"fields":[{"name":"D","type":"datetime"}],"rows":[["2026-02-30"]]})",
                  "data válida"},
        BadPacket{"too long", R"({"fields":[{"name":"A","type":"string","size":2}],"rows":[["abc"]]})",
                  "excede 2 caracteres"}),
    [](const testing::TestParamInfo<BadPacket>& p) {
        std::string name = p.param.label;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });
