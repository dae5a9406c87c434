#pragma once

#include "AnalysisWalk.h"
#include "HttpSession.h"

#include "protocol/HostPort.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace crowd {

// The one client that has business with the server while the crowd is there: a session, then
// analyses one call after the other, as the screen makes them.
struct LegitPlan {
    proto::HostPort target;
    bench::ServerAccess access; // its time-out bounds every call, so a stalled server ends the run too
    std::chrono::seconds duration{25};
    bench::AnalysisTarget analysis;
};

struct LegitOutcome {
    std::vector<double> latencyMs; // of each call answered without error
    long errors = 0;               // calls and session openings that failed, were refused or timed out
    long sessions = 0;             // opened
    double seconds = 0;
    std::map<std::string, long> errorTexts;

    void addError(const std::string& text);
};

// Runs for the plan's duration, plus at most one call's time-out. A session lost on the way is opened
// again; a failed opening waits a fifth of a second before the next.
LegitOutcome runLegit(const LegitPlan& plan);

} // namespace crowd
