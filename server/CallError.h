#pragma once

#include <stdexcept>
#include <string>

namespace server {

// A call that is refused or fails, answered as a JSON-RPC error with this code and Portuguese message.
// `detail` is for the server's log only (a library's message, a file name, a statement): the client
// never sees it.
class CallError : public std::runtime_error {
public:
    CallError(int code, const std::string& message, std::string detail = {})
        : std::runtime_error(message), code_(code), detail_(std::move(detail)) {}
    int code() const { return code_; }
    const std::string& detail() const { return detail_; }

private:
    int code_;
    std::string detail_;
};

} // namespace server
