#pragma once

#include <string>

namespace server {

// The start-up check: the database opens and holds every table the methods read. Throws
// DatabaseError naming the database (without a password) and what is wrong, so a server never
// starts on an empty or wrong database whose answers would read as "no infringement".
void probeDatabase(const std::string& location);

// Whether two PostgreSQL URLs lead to one cluster (its system identifier); false when either cannot
// tell, as a role without the right to read it.
bool sameCluster(const std::string& url, const std::string& other);

} // namespace server
