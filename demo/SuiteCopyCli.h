#pragma once

#include <ostream>
#include <string>

namespace demo {

// restcont-demo --from FILE --out URL: a suite database of the user's moved from SQLite into an empty
// PostgreSQL database. Returns the process exit code: 0 copied, 1 refused or failed, 2 a URL that is
// no PostgreSQL one.
int runSuiteCopy(const std::string& file, const std::string& url, std::ostream& out, std::ostream& err);

} // namespace demo
