#pragma once

#include <optional>
#include <string>

namespace server {

// The key sessions are counted under for one client: an IPv4 address whole, an IPv6 address by its
// /64 network (one host holds a whole /64), an IPv4-mapped IPv6 address as its IPv4 address. Text
// that is no address is its own group.
std::string addressGroup(const std::string& address);

// Who the client is: the connection's peer, or, on a connection from the trusted proxy only, the last
// address the proxy appended to X-Forwarded-For (earlier entries come from the client and prove
// nothing).
std::string clientAddress(const std::string& peer, const std::string* forwardedFor,
                          const std::optional<std::string>& trustedProxy);

} // namespace server
