#pragma once

#include "server/SessionState.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace server {

// The open sessions. Tokens carry 256 random bits from the system's secure generator; idle sessions
// are dropped lazily, before any count or look-up, so they never block a new one.
class SessionStore {
public:
    using Clock = std::chrono::steady_clock;

    struct Session {
        std::mutex mutex; // one call at a time per session: its state is read and written whole
        SessionState state;
        Clock::time_point lastUse;
    };

    SessionStore(std::chrono::seconds idle, std::size_t maxSessions) : idle_(idle), max_(maxSessions) {}

    // Nothing when the limit is reached.
    std::optional<std::string> open();
    // Nothing for an unknown or expired token; marks the session used.
    std::shared_ptr<Session> find(const std::string& token);
    bool close(const std::string& token);
    std::size_t size();

private:
    void dropIdle(Clock::time_point now);

    std::chrono::seconds idle_;
    std::size_t max_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<Session>> sessions_;
};

// 256 bits from getrandom(2), as 64 hex digits. Throws std::runtime_error when the generator fails.
std::string secureToken();

} // namespace server
