#include "ServerMemory.h"

#include <fstream>
#include <sstream>

namespace load {

std::optional<MemorySample> parseProcessStatus(const std::string& statusText) {
    std::optional<long> peak, resident;
    std::istringstream lines(statusText);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        if (key != "VmHWM" && key != "VmRSS")
            continue;
        std::istringstream rest(line.substr(colon + 1));
        long kib = 0;
        std::string unit;
        if (!(rest >> kib >> unit) || unit != "kB")
            continue;
        (key == "VmHWM" ? peak : resident) = kib;
    }
    if (!peak || !resident)
        return std::nullopt;
    return MemorySample{*peak, *resident};
}

std::optional<MemorySample> sampleMemory(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    if (!file)
        return std::nullopt;
    std::stringstream text;
    text << file.rdbuf();
    return parseProcessStatus(text.str());
}

} // namespace load
