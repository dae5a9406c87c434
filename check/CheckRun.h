#pragma once

#include "check/CheckOptions.h"

#include <ostream>

namespace check {

// Exit statuses of the tool.
inline constexpr int kAllClear = 0;
inline constexpr int kBlocked = 1;   // or warnings with --strict, contradictions with --contracts
inline constexpr int kNotJudged = 2; // bad option, database or server failure, a service in error

struct Terminal {
    bool out = false; // colours, unless the output goes to a file
    bool err = false; // the progress line
};

// The whole check: lists the services, judges them in `jobs` workers, writes the format to `out`
// (or to the --out file) and answers the exit status. Refusals (a bad baseline, an unreadable database) throw
// std::exception with a Portuguese message; the caller answers kNotJudged for them.
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err, Terminal terminal);

} // namespace check
