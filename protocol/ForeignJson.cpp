#include "protocol/ForeignJson.h"

namespace proto {

nlohmann::json parseForeignJson(std::string_view text) {
    if (exceedsJsonDepth(text, kMaxJsonDepth))
        throw JsonTooDeep();
    return nlohmann::json::parse(text, nullptr, false);
}

} // namespace proto
