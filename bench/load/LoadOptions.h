#pragma once

#include "protocol/HostPort.h"

#include <optional>
#include <string>
#include <vector>

namespace load {

enum class Engine { Sqlite, Postgresql };

struct LoadOptions {
    std::vector<int> sessions{1, 8, 64}; // one configuration per count
    int calls = 460;                     // per session
    int rounds = 0;                      // 0: one measurement per configuration; else the memory run
    bool abandon = false;                // sessions left to expire instead of closed
    std::string database;                // empty: the demo database, built for the run
    Engine engine = Engine::Sqlite;
    std::optional<proto::HostPort> target;  // a server started elsewhere: none is started here
    std::string secret;                     // that server's, from --secret-file
    std::optional<std::string> sessionsUrl; // the server started here shares its sessions there
    bool help = false;
};

// Throws std::invalid_argument with a Portuguese message for a bad command line.
LoadOptions parseLoadOptions(const std::vector<std::string>& args);
std::string loadUsageText();

const char* engineName(Engine engine);

} // namespace load
