#pragma once

#include "protocol/HostPort.h"

#include <optional>
#include <string>
#include <vector>

namespace check {

enum class Format { Text, Json, Csv, Html };

struct CheckOptions {
    std::string database;
    std::optional<proto::HostPort> server;
    std::optional<std::string> secret; // read from --secret-file
    std::string month;
    std::vector<std::string> branches, services;
    Format format = Format::Text;
    std::optional<std::string> out;
    std::optional<std::string> baseline;
    bool contracts = false;
    bool strict = false;
    int jobs = 0; // 0: the number of cores
    bool help = false;
};

// Throws std::invalid_argument with a Portuguese message for a bad command line.
CheckOptions parseCheckOptions(const std::vector<std::string>& args);
std::string checkUsage();

} // namespace check
