#include "FuzzCheck.h"

#include "protocol/Packet.h"
#include "protocol/ProtocolError.h"
#include "protocol/Rpc.h"
#include "protocol/Utf8.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <string>

// The client's side of the wire. Whatever answers on the server's port, an answer is either refused
// with a ProtocolError (the one failure the connection turns into a message) or gives a packet the
// record sets can hold; an accepted packet reads back unchanged after it is written again.

namespace {

using nlohmann::json;

constexpr std::int64_t kCallId = 7;

std::string describe(const proto::Packet& packet) {
    return proto::packetToJson(packet).dump(-1, ' ', false, json::error_handler_t::replace);
}

void checkCell(const proto::Value& value, const proto::FieldDef& field) {
    if (proto::isNull(value))
        return;
    switch (field.type) {
    case proto::FieldType::String: {
        const auto* text = std::get_if<std::string>(&value);
        FUZZ_CHECK(text != nullptr, field.name);
        FUZZ_CHECK(proto::isValidUtf8(*text), field.name);
        FUZZ_CHECK(proto::utf8Length(*text) <= static_cast<std::size_t>(field.size), field.name);
        break;
    }
    case proto::FieldType::Float: {
        const auto* number = std::get_if<double>(&value);
        FUZZ_CHECK(number != nullptr && std::isfinite(*number), field.name);
        break;
    }
    case proto::FieldType::Integer:
        FUZZ_CHECK(std::holds_alternative<std::int64_t>(value), field.name);
        break;
    case proto::FieldType::DateTime: {
        const auto* moment = std::get_if<proto::DateTime>(&value);
        FUZZ_CHECK(moment != nullptr, field.name);
        const auto again = proto::parseDateTime(proto::formatDateTime(*moment));
        FUZZ_CHECK(again && *again == *moment, proto::formatDateTime(*moment));
        break;
    }
    }
}

// A number the packet took as an integer is the number that was sent: a value past the 64-bit range
// must be refused, not wrapped.
void checkIntegersKeptTheirValue(const json& rows, const proto::Packet& packet) {
    for (std::size_t r = 0; r < packet.rows.size(); ++r)
        for (std::size_t c = 0; c < packet.fields.size(); ++c) {
            const json& sent = rows[r][c];
            const auto* taken = std::get_if<std::int64_t>(&packet.rows[r][c]);
            if (taken == nullptr || !sent.is_number_unsigned())
                continue;
            FUZZ_CHECK(*taken >= 0 && static_cast<std::uint64_t>(*taken) == sent.get<std::uint64_t>(),
                       sent.dump() + " lido como " + std::to_string(*taken));
        }
}

void checkPacket(const proto::Packet& packet) {
    for (const auto& row : packet.rows) {
        FUZZ_CHECK(row.size() == packet.fields.size(), describe(packet));
        for (std::size_t c = 0; c < row.size(); ++c)
            checkCell(row[c], packet.fields[c]);
    }
    proto::Packet again;
    try {
        again = proto::packetFromJson(proto::packetToJson(packet));
    } catch (const proto::ProtocolError& error) {
        FUZZ_CHECK(false, std::string(error.what()) + " em " + describe(packet));
    }
    FUZZ_CHECK(again.fields == packet.fields && again.rows == packet.rows, describe(packet));
}

void decodeAsPacket(const json& document) {
    proto::Packet packet;
    try {
        packet = proto::packetFromJson(document);
    } catch (const proto::ProtocolError&) {
        return;
    }
    checkPacket(packet);
    checkIntegersKeptTheirValue(document.at("rows"), packet);
}

void decodeAsAnswer(const std::string& body) {
    proto::RpcResponse response;
    try {
        response = proto::decodeResponse(body, kCallId);
    } catch (const proto::ProtocolError&) {
        return;
    }
    if (!response.ok)
        return;
    checkPacket(response.packet);
    // What the server would write for this packet, the client reads the same.
    const proto::RpcResponse again =
        proto::decodeResponse(proto::encodeResult(kCallId, response.packet), kCallId);
    FUZZ_CHECK(again.ok && again.packet.rows == response.packet.rows, describe(response.packet));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const json document = json::parse(body, nullptr, false);
    if (!document.is_discarded())
        decodeAsPacket(document);
    decodeAsAnswer(body);
    return 0;
}
