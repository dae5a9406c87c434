#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace server {

struct ServerOptions {
    std::string database;
    std::string host = "127.0.0.1";
    int port = 60251; // 0: any free port
    std::optional<std::string> secret;
    int sessionIdleSeconds = 1800;
    std::size_t maxSessions = 64;
    // One pool thread per keep-alive connection: keep it above the clients expected at once.
    int threads = 32;
    bool help = false;
};

// Throws std::invalid_argument with a Portuguese message for a bad command line; reads the secret
// file (trimmed) when one is named.
ServerOptions parseOptions(const std::vector<std::string>& args);
std::string usageText();
// An option's whole text as a number within [min, max]; std::invalid_argument in Portuguese naming
// the option otherwise. Shared by the tools that start the server.
long long optionNumber(const std::string& option, const std::string& text, long long min, long long max);
// Literal loopback addresses and "localhost"; any other name counts as reachable from outside.
bool isLoopbackHost(const std::string& host);

} // namespace server
