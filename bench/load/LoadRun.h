#pragma once

#include "AnalysisWalk.h"

#include <map>
#include <string>
#include <vector>

namespace load {

struct LoadPlan {
    std::string host = "127.0.0.1";
    int port = 0;
    int sessions = 1;
    int callsPerSession = 1;
    std::string secret;   // demanded by a server started elsewhere
    bool abandon = false; // leave the sessions open instead of closing them
    bench::AnalysisTarget target;
};

struct LoadOutcome {
    long calls = 0;                // analysis calls the server answered (an error answer included)
    long errors = 0;               // failed calls, calls not made, refused sessions and failed closes
    bool serverGone = false;       // some request had no answer at all: the server died or is unreachable
    double seconds = 0;            // from the moment every session was open to the last call's answer
    std::vector<double> latencyMs; // of each call that succeeded
    std::map<std::string, long> errorTexts;

    void addError(const std::string& text, long count = 1);
    double callsPerSecond() const { return seconds > 0 ? static_cast<double>(calls) / seconds : 0; }
};

// Every session on its own thread and kept-alive connection: POST /session, the calls, then
// DELETE /session/<token> (or nothing when abandoned). The calls start together once every
// session is open. Only answered calls count towards the rate; a session that is refused, or lost
// on the way (no answer, an HTTP refusal), counts the calls it did not make as errors, so a server
// that fails never looks like a light load, nor like a fast one.
LoadOutcome runLoad(const LoadPlan& plan);

} // namespace load
