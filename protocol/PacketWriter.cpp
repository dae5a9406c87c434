#include "protocol/PacketWriter.h"

#include "protocol/JsonWriter.h"

namespace proto {

void appendValueJson(std::string& out, const Value& value) {
    std::visit(
        [&out](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                out += "null";
            else if constexpr (std::is_same_v<T, std::string>)
                json_text::appendString(out, v);
            else if constexpr (std::is_same_v<T, double>)
                json_text::appendDouble(out, v);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                json_text::appendInteger(out, v);
            else {
                // Digits, dashes, colons and a T: nothing to escape.
                out += '"';
                out += formatDateTime(v);
                out += '"';
            }
        },
        value);
}

void appendPacketJson(std::string& out, const Packet& packet) {
    // Keys in the order the document writer sorts them: fields before rows, name, size, type.
    out += "{\"fields\":[";
    for (std::size_t i = 0; i < packet.fields.size(); ++i) {
        const FieldDef& field = packet.fields[i];
        if (i > 0)
            out += ',';
        out += "{\"name\":";
        json_text::appendString(out, field.name);
        if (field.type == FieldType::String) {
            out += ",\"size\":";
            json_text::appendInteger(out, field.size);
        }
        out += ",\"type\":\"";
        out += fieldTypeName(field.type);
        out += "\"}";
    }
    out += "],\"rows\":[";
    for (std::size_t r = 0; r < packet.rows.size(); ++r) {
        if (r > 0)
            out += ',';
        out += '[';
        const auto& row = packet.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += ',';
            appendValueJson(out, row[c]);
        }
        out += ']';
    }
    out += "]}";
}

} // namespace proto
