#pragma once

#include <cstddef>
#include <string_view>

namespace proto {

bool isValidUtf8(std::string_view text);
// Field sizes count characters, not bytes.
std::size_t utf8Length(std::string_view text);

} // namespace proto
