#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace load {

// A process's memory as the kernel counts it, in KiB: VmHWM is the peak resident set since the
// process started, VmRSS the resident set now.
struct MemorySample {
    long peakKiB = 0;
    long residentKiB = 0;
};

// Nothing when the status text holds no memory lines: a process that has ended (a zombie keeps
// its status file but no memory).
std::optional<MemorySample> parseProcessStatus(const std::string& statusText);
std::optional<MemorySample> sampleMemory(pid_t pid);

} // namespace load
