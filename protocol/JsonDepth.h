#pragma once

#include <cstddef>
#include <string_view>

namespace proto {

// nlohmann-json parses iteratively but copies, dumps and compares recursively, so every JSON text that
// comes from the other side is measured before it is parsed: past this depth it is refused whole.
inline constexpr int kMaxJsonDepth = 64;
inline constexpr const char* kJsonTooDeepMessage = "Requisição inválida: aninhamento acima de 64 níveis.";

// True when arrays and objects in `text` nest deeper than `maxDepth`. A single pass with no
// recursion; brackets inside strings (escapes included) do not count. Malformed text is left to the
// parser: this only measures.
bool exceedsJsonDepth(std::string_view text, int maxDepth = kMaxJsonDepth);

} // namespace proto
