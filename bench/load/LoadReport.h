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

// The resident set from the second round to the last: the first round warms the caches and the
// statement pools, so only what comes after it may count as growth.
struct Growth {
    bool known = false; // fewer than three rounds measure no growth
    long fromKiB = 0, toKiB = 0;
    long kib() const { return toKiB - fromKiB; }
    double percent() const { return fromKiB > 0 ? 100.0 * static_cast<double>(kib()) / fromKiB : 0; }
    double kibPerRound = 0;
    bool flat = false;
};

// Flat means under kFlatPercent of the second round's resident set over the whole run.
inline constexpr double kFlatPercent = 3.0;

Growth residentGrowth(const std::vector<long>& residentKiBPerRound);
std::string growthText(const Growth& growth, int rounds);

} // namespace load
