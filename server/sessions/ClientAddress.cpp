#include "server/sessions/ClientAddress.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>

namespace server {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isAddress(const std::string& text) {
    unsigned char bytes[16];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 || inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

// One spelling per address, so the trusted proxy matches however either side writes it.
std::string canonical(const std::string& address) {
    in6_addr v6{};
    if (inet_pton(AF_INET6, address.c_str(), &v6) != 1)
        return address;
    char text[INET6_ADDRSTRLEN];
    if (IN6_IS_ADDR_V4MAPPED(&v6))
        inet_ntop(AF_INET, v6.s6_addr + 12, text, sizeof text);
    else
        inet_ntop(AF_INET6, &v6, text, sizeof text);
    return text;
}

} // namespace

std::string addressGroup(const std::string& address) {
    in6_addr v6{};
    if (inet_pton(AF_INET6, address.c_str(), &v6) != 1)
        return address;
    if (IN6_IS_ADDR_V4MAPPED(&v6))
        return canonical(address);
    std::fill(v6.s6_addr + 8, v6.s6_addr + 16, 0);
    char text[INET6_ADDRSTRLEN];
    inet_ntop(AF_INET6, &v6, text, sizeof text);
    return std::string(text) + "/64";
}

std::string clientAddress(const std::string& peer, const std::string* forwardedFor,
                          const std::optional<std::string>& trustedProxy) {
    if (!forwardedFor || !trustedProxy || canonical(peer) != canonical(*trustedProxy))
        return peer;
    const auto comma = forwardedFor->rfind(',');
    const std::string last =
        trimmed(comma == std::string::npos ? *forwardedFor : forwardedFor->substr(comma + 1));
    return isAddress(last) ? last : peer;
}

} // namespace server
