#pragma once

#include "LoadRun.h"
#include "ServerMemory.h"

#include <optional>
#include <string>
#include <vector>

namespace load {

// One configuration's figures as a line of a Markdown table, so the output reads in a terminal
// and pastes into a note unchanged.
struct ReportLine {
    std::string engine;
    int sessions = 0;
    int callsPerSession = 0;
    std::optional<int> round; // in the memory run
    const LoadOutcome* outcome = nullptr;
    std::optional<MemorySample> memory; // nothing when the server had ended
};

std::string tableHeader(bool rounds);
std::string tableLine(const ReportLine& line);

// The resident set between two rounds (numbered from 1) of a memory run.
struct Growth {
    bool known = false;
    int fromRound = 0, toRound = 0;
    long fromKiB = 0, toKiB = 0;
    long kib() const { return toKiB - fromKiB; }
    double percent() const { return fromKiB > 0 ? 100.0 * static_cast<double>(kib()) / fromKiB : 0; }
    double kibPerRound() const {
        return toRound > fromRound ? static_cast<double>(kib()) / (toRound - fromRound) : 0;
    }
};

// The first round warms the caches, so growth counts from the second. But the server's resident set
// goes on rising for four or five rounds (with 8 sessions as with 32) before it settles; so the
// verdict reads the second half of the run, where a leak still shows and the settling is over.
struct MemoryVerdict {
    Growth afterWarmUp; // from round 2 to the last
    Growth steady;      // from the middle round to the last
    bool flat = false;  // fewer than three rounds are never flat: they measure nothing
};

inline constexpr double kFlatPercent = 1.0; // over the second half of the run

MemoryVerdict judgeMemory(const std::vector<long>& residentKiBPerRound);
std::string verdictText(const MemoryVerdict& verdict);

} // namespace load
