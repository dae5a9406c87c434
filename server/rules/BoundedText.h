#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace server {

// Client text echoed in an answer (a method name, a path) keeps this many bytes.
inline constexpr std::size_t kMaxEchoBytes = 200;
// One access-log line keeps this many bytes.
inline constexpr std::size_t kMaxLogLineBytes = 1024;
inline constexpr std::string_view kCutMark = "...[cortado]";

// The text as is when it fits in `max` bytes; otherwise its first bytes, never splitting a UTF-8
// sequence, followed by kCutMark.
std::string boundedText(std::string_view text, std::size_t max = kMaxEchoBytes);

} // namespace server
