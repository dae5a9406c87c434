#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace server {

inline constexpr std::size_t kDefaultSessionsPerAddress = 8;

struct ServerOptions {
    std::string database;
    std::string host = "127.0.0.1";
    int port = 60251; // 0: any free port
    std::optional<std::string> secret;
    int sessionIdleSeconds = 1800;
    std::size_t maxSessions = 64;
    int sessionGraceSeconds = 60;
    // Unset: no cap on loopback, kDefaultSessionsPerAddress elsewhere.
    std::optional<std::size_t> maxSessionsPerAddress;
    std::optional<std::string> trustedProxy;
    // Sessions shared by every server given this PostgreSQL URL; in memory without it.
    std::optional<std::string> sessions;
    // Workers computing answers; connections, idle or slow, hold none.
    int threads = 8;
    int requestTimeoutSeconds = 10;
    int idleTimeoutSeconds = 60;
    std::size_t maxRequestsPerConnection = 10000;
    std::size_t maxConnections = 2048;
    std::size_t maxHeadBytes = 32 * 1024;
    std::size_t maxHeaderFields = 100;
    std::size_t maxRequestLine = 8 * 1024;
    std::size_t maxBodyBytes = 1024 * 1024;
    bool help = false;

    // The cap per client address in force for this listen address.
    std::size_t sessionsPerAddress() const;
};

// Throws std::invalid_argument with a Portuguese message for a bad command line; reads the secret
// file (trimmed) when one is named.
ServerOptions parseOptions(const std::vector<std::string>& args);
std::string usageText();
// An option's whole text as a number within [min, max]; std::invalid_argument in Portuguese naming
// the option otherwise. Shared by the tools that start the server.
long long optionNumber(const std::string& option, const std::string& text, long long min, long long max);
// The secret in a file, trimmed; refused (std::invalid_argument in Portuguese) when others may read
// the file, or it is empty or longer than a secret can be. Shared with the tools that measure a server.
std::string readSecretFile(const std::string& path);
// Literal loopback addresses and "localhost"; any other name counts as reachable from outside.
bool isLoopbackHost(const std::string& host);

} // namespace server
