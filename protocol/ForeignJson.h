#pragma once

#include "protocol/JsonDepth.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string_view>

namespace proto {

// A JSON text from the other side nested past kMaxJsonDepth: refused before nlohmann builds it.
// Each side words the refusal for its reader, so the message here is only the request's.
class JsonTooDeep : public std::runtime_error {
public:
    JsonTooDeep() : std::runtime_error(kJsonTooDeepMessage) {}
};

// The one door for JSON that arrives over a socket: measured first, then parsed. Malformed text
// gives a discarded value; nesting past the bound throws JsonTooDeep. Whatever comes out may be
// copied, dumped and compared, which nlohmann does recursively.
nlohmann::json parseForeignJson(std::string_view text);

} // namespace proto
