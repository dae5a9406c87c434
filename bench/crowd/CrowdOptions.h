#pragma once

#include "protocol/HostPort.h"

#include <optional>
#include <string>
#include <vector>

namespace crowd {

struct CrowdOptions {
    int idle = 1000;
    int slow = 100;
    int seconds = 25;           // of the legitimate client's calls
    int byteIntervalMs = 1000;  // between two bytes of a slow connection
    int callTimeoutSeconds = 5; // for each of the legitimate client's requests
    std::optional<proto::HostPort> target;
    std::string secret;   // the target's, from --secret-file
    std::string database; // for the server started here; empty: the demo, built for the run
    bool help = false;
};

// Throws std::invalid_argument with a Portuguese message for a bad command line.
CrowdOptions parseCrowdOptions(const std::vector<std::string>& args);
std::string crowdUsageText();

} // namespace crowd
