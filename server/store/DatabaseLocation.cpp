#include "server/store/DatabaseLocation.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace server {
namespace {

constexpr const char* kMask = "***";

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// Every "password=" parameter, wherever it stands: it is looked for in the whole text, so no odd
// character elsewhere can hide the start of the query part.
std::string maskParameterPasswords(std::string text) {
    constexpr std::string_view key = "password=";
    for (std::size_t i = 1; i + key.size() <= text.size(); ++i) {
        if ((text[i - 1] != '?' && text[i - 1] != '&') || !startsWithIgnoringCase(text.substr(i), key))
            continue;
        const std::size_t value = i + key.size();
        const std::size_t end = std::min(text.find('&', value), text.size());
        text.replace(value, end - value, kMask);
        i = value;
    }
    return text;
}

} // namespace

bool isPostgresUrl(const std::string& location) {
    return startsWithIgnoringCase(location, "postgresql://") ||
           startsWithIgnoringCase(location, "postgres://");
}

std::string maskedLocation(const std::string& location) {
    if (!isPostgresUrl(location))
        return location;
    std::string masked = maskParameterPasswords(location);
    const std::size_t authority = masked.find("://") + 3;
    // The user part ends at the last '@': a password may itself hold '@', '/' or '?' unescaped.
    // Masking too much in an odd URL costs nothing; showing a password would.
    if (const std::size_t at = masked.rfind('@'); at != std::string::npos && at >= authority) {
        if (const std::size_t colon = masked.find(':', authority); colon < at)
            masked.replace(colon + 1, at - colon - 1, kMask);
    }
    return masked;
}

} // namespace server
