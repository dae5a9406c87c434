#pragma once

#include <stdexcept>
#include <string>

namespace server {

// A call that is refused or fails, answered as a JSON-RPC error with this code and Portuguese message.
class CallError : public std::runtime_error {
public:
    CallError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace server
