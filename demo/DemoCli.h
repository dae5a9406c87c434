#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace demo {

// The command line of restcont-demo: "--out FILE|URL", "--from FILE --out URL" or "--help". Returns the
// process exit code: 0 done, 1 generation failed, 2 bad arguments.
int runDemoCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace demo
