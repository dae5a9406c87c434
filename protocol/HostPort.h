#pragma once

#include <string>
#include <string_view>

namespace proto {

// A server's address as every client of ours and the server itself take it. The host is held bare
// (an IPv6 literal without its brackets), as name resolution and the HTTP library want it.
struct HostPort {
    std::string host;
    int port = 0;
};

enum class PortZero {
    Refused, // an address to connect to
    Allowed, // an address to listen on: 0 asks the system for a free port
};

// "HOST:PORT" or "[IPv6]:PORT": a machine name or IPv4 address, or an IPv6 literal in brackets,
// then a port of digits only. Throws std::invalid_argument with a Portuguese text that quotes the
// address, says what is wrong and shows the accepted forms; the caller says where it came from.
HostPort parseHostPort(std::string_view text, PortZero zero = PortZero::Refused);

// A host alone, as the settings hold it: a name, an IPv4 address, or an IPv6 literal bare or in
// brackets; answers it bare. Throws std::invalid_argument as parseHostPort does.
std::string parseHost(std::string_view text);

// The address as a person reads and types it back: brackets around an IPv6 literal.
std::string formatHostPort(std::string_view host, int port);

} // namespace proto
