#pragma once

#include <cstddef>
#include <string>

namespace server {

// SHA-256 of the text, as 64 lower-case hex digits. Shared sessions keep only this of a token: a
// copy of the table (a backup, a reader of the database) holds nothing a client could present.
// Throws std::runtime_error when the library cannot compute it.
std::string sha256Hex(const std::string& text);

// The bytes as lower-case hex digits, two a byte.
std::string hexDigits(const unsigned char* bytes, std::size_t count);

} // namespace server
