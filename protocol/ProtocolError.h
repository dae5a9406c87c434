#pragma once

#include <stdexcept>
#include <string>

namespace proto {

// A wire value that cannot be read: malformed, truncated or of the wrong shape. The message is
// Portuguese and meant for the user.
class ProtocolError : public std::runtime_error {
public:
    explicit ProtocolError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace proto
