#pragma once

#include <string>

namespace server {

// Where the suite's database is: a PostgreSQL URL (postgresql://... or postgres://..., in any case)
// or else an SQLite file path.
bool isPostgresUrl(const std::string& location);

// The location as it may be shown in messages and logs: a URL's password, in its user part or as a
// password= parameter, replaced by "***". Paths are shown as they are.
std::string maskedLocation(const std::string& location);

} // namespace server
