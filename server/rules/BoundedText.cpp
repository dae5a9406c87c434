#include "server/rules/BoundedText.h"

namespace server {

std::string boundedText(std::string_view text, std::size_t max) {
    if (text.size() <= max)
        return std::string(text);
    std::size_t keep = max;
    // Back off continuation bytes so the cut lands between characters.
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
        --keep;
    return std::string(text.substr(0, keep)) + std::string(kCutMark);
}

} // namespace server
