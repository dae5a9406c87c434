#include "server/http/HttpTypes.h"

#include <algorithm>
#include <cctype>

namespace server::http {

namespace {

bool sameName(std::string_view key, std::string_view name) {
    return key.size() == name.size() && std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

const std::string* Head::field(std::string_view name) const {
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return sameName(f.first, name); });
    return found == fields.end() ? nullptr : &found->second;
}

const std::string* Head::lastField(std::string_view name) const {
    const auto found =
        std::find_if(fields.rbegin(), fields.rend(), [&](const auto& f) { return sameName(f.first, name); });
    return found == fields.rend() ? nullptr : &found->second;
}

} // namespace server::http
