#include "server/http/HttpTypes.h"

#include <algorithm>
#include <cctype>

namespace server::http {

const std::string* Head::field(std::string_view name) const {
    for (const auto& [key, value] : fields)
        if (key.size() == name.size() && std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return &value;
    return nullptr;
}

} // namespace server::http
