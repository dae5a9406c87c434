#pragma once

#include <string>
#include <string_view>

namespace server {

// The statement with each "?" placeholder numbered for PostgreSQL ($1, $2, ...), leaving alone any
// "?" inside a string literal, a quoted name or a comment.
std::string numberedPlaceholders(std::string_view sql);

} // namespace server
