#pragma once

#include <stdexcept>
#include <string>

namespace server {

// The database could not be opened or read. Never turned into an empty answer: an empty packet would
// read as "no infringement".
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace server
