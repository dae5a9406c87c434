#include "WireSamples.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

using namespace proto;

namespace {

const char* const kPieces[] = {"a",  "Z",    "0",    " ",    "-", "\"", "\\", "/", "\n", "\t",     "\r", "\b",
                               "\f", "\x01", "\x1f", "\x7f", "é", "Ç",  "ã",  "º", "€",  "\u2028", "😀",  "𝄞"};
// Bytes no UTF-8 text holds: a lone continuation, a truncated lead, an overlong form, a surrogate.
const char* const kNotUtf8[] = {"\x80", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xff"};
const char* const kNames[] = {"CDFILIAL", "CDSERVFILI", "DTCARDAPIO", "QTPRODUTO", "NRSEMANA", "NMPRATO",
                              "Ação",     "a\"b",       "tab\tname",  "😀",         "x",        "CDPRATO"};

bool sameValue(const Value& a, const Value& b) {
    if (a.index() != b.index())
        return false;
    if (const auto* x = std::get_if<double>(&a))
        return std::bit_cast<std::uint64_t>(*x) == std::bit_cast<std::uint64_t>(std::get<double>(b));
    if (const auto* x = std::get_if<DateTime>(&a))
        return std::bit_cast<std::uint64_t>(x->days) ==
               std::bit_cast<std::uint64_t>(std::get<DateTime>(b).days);
    return a == b;
}

} // namespace

std::string WireSamples::text(int maxChars, bool validUtf8) {
    std::string out;
    const int chars = below(maxChars + 1);
    for (int i = 0; i < chars; ++i) {
        if (!validUtf8 && below(8) == 0)
            out += kNotUtf8[below(std::size(kNotUtf8))];
        else
            out += kPieces[below(std::size(kPieces))];
    }
    return out;
}

double WireSamples::number() {
    static const double kEdges[] = {0.0,
                                    -0.0,
                                    1.5,
                                    0.1,
                                    -2.0,
                                    1e-7,
                                    1e15,
                                    1e16,
                                    1e21,
                                    123456789.123,
                                    -2.5e-300,
                                    5e-324,
                                    std::numeric_limits<double>::max(),
                                    std::numeric_limits<double>::lowest(),
                                    9007199254740993.0};
    if (below(3) == 0)
        return kEdges[below(std::size(kEdges))];
    const double mantissa = std::uniform_real_distribution<double>(-10, 10)(random_);
    return std::ldexp(mantissa, below(120) - 60);
}

DateTime WireSamples::date() {
    CivilDateTime c;
    c.year = 1 + below(9999);
    c.month = 1 + below(12);
    c.day = 1 + below(daysInMonth(c.year, c.month));
    if (below(2)) {
        c.hour = below(24);
        c.minute = below(60);
        c.second = below(60);
    }
    return fromCivil(c);
}

Value WireSamples::value(const FieldDef& field, bool validUtf8) {
    if (below(7) == 0)
        return std::monostate{};
    switch (field.type) {
    case FieldType::String:
        return text(std::min(field.size, 40), validUtf8);
    case FieldType::Float:
        return number();
    case FieldType::Integer:
        switch (below(4)) {
        case 0:
            return std::numeric_limits<std::int64_t>::min() + below(2);
        case 1:
            return std::numeric_limits<std::int64_t>::max() - below(2);
        default:
            return static_cast<std::int64_t>(below(2000001)) - 1000000;
        }
    case FieldType::DateTime:
        return date();
    }
    return std::monostate{};
}

Value WireSamples::anyValue() {
    static const FieldType kTypes[] = {FieldType::String, FieldType::Float, FieldType::DateTime,
                                       FieldType::Integer};
    return value(FieldDef{"", kTypes[below(4)], 12}, true);
}

Packet WireSamples::packet(bool validUtf8, int maxRows) {
    static const FieldType kTypes[] = {FieldType::String, FieldType::Float, FieldType::DateTime,
                                       FieldType::Integer};
    Packet packet;
    const int fields = below(9);
    for (int i = 0; i < fields; ++i) {
        FieldDef field;
        field.name = below(3) ? kNames[below(std::size(kNames))] : "F" + std::to_string(i);
        if (packet.fieldIndex(field.name) >= 0)
            continue;
        field.type = kTypes[below(4)];
        if (field.type == FieldType::String)
            field.size = below(10) == 0 ? 65535 : 1 + below(30);
        packet.fields.push_back(field);
    }
    const int rows = below(maxRows + 1);
    for (int r = 0; r < rows; ++r) {
        std::vector<Value> row;
        for (const FieldDef& field : packet.fields)
            row.push_back(value(field, validUtf8));
        packet.rows.push_back(std::move(row));
    }
    return packet;
}

std::map<int, Value> WireSamples::outValues() {
    std::map<int, Value> out;
    const int count = below(4);
    for (int i = 0; i < count; ++i)
        out[below(13)] = date();
    return out;
}

bool sameResponse(const RpcResponse& a, const RpcResponse& b) {
    if (a.ok != b.ok || a.errorCode != b.errorCode || a.errorMessage != b.errorMessage || a.out != b.out ||
        a.packet.fields != b.packet.fields || a.packet.rows.size() != b.packet.rows.size())
        return false;
    for (std::size_t r = 0; r < a.packet.rows.size(); ++r) {
        if (a.packet.rows[r].size() != b.packet.rows[r].size())
            return false;
        for (std::size_t c = 0; c < a.packet.rows[r].size(); ++c)
            if (!sameValue(a.packet.rows[r][c], b.packet.rows[r][c]))
                return false;
    }
    return true;
}

bool sameOutcome(const Outcome& a, const Outcome& b) {
    if (a.refused != b.refused)
        return false;
    return a.refused ? a.message == b.message : sameResponse(a.response, b.response);
}
