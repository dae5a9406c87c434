#pragma once

#include "protocol/DateTime.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace proto {

enum class FieldType { String, Float, DateTime, Integer };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0; // characters, for string fields only
    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

// One cell: null, text (UTF-8), float, integer or date-time.
using Value = std::variant<std::monostate, std::string, double, std::int64_t, DateTime>;

inline bool isNull(const Value& v) {
    return std::holds_alternative<std::monostate>(v);
}

// What a server method answers: field definitions and rows, loaded whole into one record set.
struct Packet {
    std::vector<FieldDef> fields;
    std::vector<std::vector<Value>> rows;

    // -1 when there is no such field; names compare exactly.
    int fieldIndex(std::string_view name) const;
};

const char* fieldTypeName(FieldType type);
// The type a wire name stands for; nothing for a name that is no type.
std::optional<FieldType> fieldTypeNamed(std::string_view name);

nlohmann::json valueToJson(const Value& value);
nlohmann::json packetToJson(const Packet& packet);

// Reads a packet checked whole: every field known, every row of the right width and every value of
// its field's type and size. Throws ProtocolError with a Portuguese message; never returns half a
// packet.
Packet packetFromJson(const nlohmann::json& json);

} // namespace proto
