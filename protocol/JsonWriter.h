#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace proto {

// Appends JSON tokens to a text, byte for byte as nlohmann::json's dump(-1, ' ', false, replace)
// writes them, so answers written straight into a string read exactly as the document ones did.
namespace json_text {

// Quoted and escaped; bytes that are not UTF-8 become U+FFFD as the document writer does.
void appendString(std::string& out, std::string_view text);
// Shortest text that reads back to the same double; not finite numbers are written as null.
void appendDouble(std::string& out, double value);
void appendInteger(std::string& out, std::int64_t value);

} // namespace json_text
} // namespace proto
