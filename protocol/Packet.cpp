#include "protocol/Packet.h"

#include "protocol/ProtocolError.h"
#include "protocol/Utf8.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <set>

namespace proto {
namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& what) {
    throw ProtocolError("Pacote de dados inválido: " + what);
}

FieldType parseType(const std::string& name, const std::string& fieldName) {
    if (const std::optional<FieldType> type = fieldTypeNamed(name))
        return *type;
    fail("o campo '" + fieldName + "' tem o tipo desconhecido '" + name + "'.");
}

FieldDef parseField(const json& item, std::size_t index) {
    if (!item.is_object())
        fail("a definição do campo " + std::to_string(index + 1) + " não é um objeto.");
    const auto name = item.find("name");
    if (name == item.end() || !name->is_string() || name->get_ref<const std::string&>().empty())
        fail("o campo " + std::to_string(index + 1) + " não tem nome.");
    FieldDef field;
    field.name = name->get<std::string>();
    const auto type = item.find("type");
    if (type == item.end() || !type->is_string())
        fail("o campo '" + field.name + "' não tem tipo.");
    field.type = parseType(type->get<std::string>(), field.name);
    if (field.type == FieldType::String) {
        const auto size = item.find("size");
        if (size == item.end() || !size->is_number_integer() || size->get<long long>() < 1 ||
            size->get<long long>() > 65535)
            fail("o campo texto '" + field.name + "' não tem um tamanho válido.");
        field.size = size->get<int>();
    }
    return field;
}

Value parseValue(const json& cell, const FieldDef& field, std::size_t row) {
    const auto where = [&] {
        return "o valor do campo '" + field.name + "' na linha " + std::to_string(row + 1);
    };
    if (cell.is_null())
        return std::monostate{};
    switch (field.type) {
    case FieldType::String: {
        if (!cell.is_string())
            fail(where() + " não é um texto.");
        const auto& text = cell.get_ref<const std::string&>();
        if (!isValidUtf8(text))
            fail(where() + " não é um texto UTF-8 válido.");
        if (utf8Length(text) > static_cast<std::size_t>(field.size))
            fail(where() + " excede " + std::to_string(field.size) + " caracteres.");
        return text;
    }
    case FieldType::Float: {
        if (!cell.is_number())
            fail(where() + " não é um número.");
        const double number = cell.get<double>();
        if (!std::isfinite(number))
            fail(where() + " não é um número finito.");
        return number;
    }
    case FieldType::Integer:
        if (!cell.is_number_integer())
            fail(where() + " não é um número inteiro.");
        // The reader keeps non-negative numbers unsigned; past the signed range they would wrap.
        if (cell.is_number_unsigned() &&
            cell.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            fail(where() + " excede o intervalo dos números inteiros.");
        return cell.get<std::int64_t>();
    case FieldType::DateTime: {
        if (!cell.is_string())
            fail(where() + " não é uma data.");
        const auto parsed = parseDateTime(cell.get_ref<const std::string&>());
        if (!parsed)
            fail(where() + " não é uma data válida.");
        return *parsed;
    }
    }
    fail(where() + " tem tipo desconhecido.");
}

} // namespace

int Packet::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::optional<FieldType> fieldTypeNamed(std::string_view name) {
    for (const FieldType type :
         {FieldType::String, FieldType::Float, FieldType::DateTime, FieldType::Integer})
        if (name == fieldTypeName(type))
            return type;
    return std::nullopt;
}

const char* fieldTypeName(FieldType type) {
    switch (type) {
    case FieldType::String:
        return "string";
    case FieldType::Float:
        return "float";
    case FieldType::DateTime:
        return "datetime";
    case FieldType::Integer:
        return "integer";
    }
    return "string";
}

json valueToJson(const Value& value) {
    return std::visit(
        [](const auto& v) -> json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return nullptr;
            else if constexpr (std::is_same_v<T, DateTime>)
                return formatDateTime(v);
            else
                return v;
        },
        value);
}

json packetToJson(const Packet& packet) {
    json fields = json::array();
    for (const auto& field : packet.fields) {
        json item = {{"name", field.name}, {"type", fieldTypeName(field.type)}};
        if (field.type == FieldType::String)
            item["size"] = field.size;
        fields.push_back(std::move(item));
    }
    json rows = json::array();
    for (const auto& row : packet.rows) {
        json cells = json::array();
        for (const auto& cell : row)
            cells.push_back(valueToJson(cell));
        rows.push_back(std::move(cells));
    }
    return {{"fields", std::move(fields)}, {"rows", std::move(rows)}};
}

Packet packetFromJson(const json& input) {
    if (!input.is_object())
        fail("o pacote não é um objeto.");
    const auto fields = input.find("fields");
    const auto rows = input.find("rows");
    if (fields == input.end() || !fields->is_array())
        fail("faltam as definições de campo.");
    if (rows == input.end() || !rows->is_array())
        fail("faltam as linhas.");

    Packet packet;
    std::set<std::string> names;
    for (std::size_t i = 0; i < fields->size(); ++i) {
        FieldDef field = parseField((*fields)[i], i);
        if (!names.insert(field.name).second)
            fail("o campo '" + field.name + "' aparece mais de uma vez.");
        packet.fields.push_back(std::move(field));
    }
    packet.rows.reserve(rows->size());
    for (std::size_t r = 0; r < rows->size(); ++r) {
        const json& row = (*rows)[r];
        if (!row.is_array())
            fail("a linha " + std::to_string(r + 1) + " não é uma lista de valores.");
        if (row.size() != packet.fields.size())
            fail("a linha " + std::to_string(r + 1) + " tem " + std::to_string(row.size()) +
                 " valores para " + std::to_string(packet.fields.size()) + " campos.");
        std::vector<Value> values;
        values.reserve(row.size());
        for (std::size_t c = 0; c < row.size(); ++c)
            values.push_back(parseValue(row[c], packet.fields[c], r));
        packet.rows.push_back(std::move(values));
    }
    return packet;
}

} // namespace proto
