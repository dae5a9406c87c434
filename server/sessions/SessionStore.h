#pragma once

#include "server/rules/SessionState.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace server {

// The open sessions. Tokens carry 256 random bits from the system's secure generator; idle sessions
// are dropped lazily, before any count or look-up, so they never block a new one. When the table is
// full the session idle longest gives way to a new one once it has been idle past the grace time, and
// one client address holds at most its share, so no client can lock the others out.
class SessionStore {
public:
    using Clock = std::chrono::steady_clock;

    struct Limits {
        std::chrono::seconds idle{1800};
        std::size_t maxSessions = 64;
        std::chrono::seconds grace{60};
        std::size_t maxPerAddress = 0; // 0: no cap
    };
    enum class Refusal { None, Full, AddressFull };
    struct Opened {
        std::optional<std::string> token;
        Refusal refusal = Refusal::None;
    };

    struct Session {
        std::mutex mutex; // one call at a time per session: its state is read and written whole
        SessionState state;
        Clock::time_point lastUse;
        std::string address; // the client's address group (see addressGroup)
    };

    explicit SessionStore(Limits limits) : limits_(limits) {}
    SessionStore(std::chrono::seconds idle, std::size_t maxSessions) : limits_{idle, maxSessions} {}

    // A token, or why there is none.
    Opened open(const std::string& address = {});
    // Nothing for an unknown or expired token; marks the session used.
    std::shared_ptr<Session> find(const std::string& token);
    bool close(const std::string& token);
    std::size_t size();

private:
    void dropIdle(Clock::time_point now);
    // Makes room in a full table by dropping the session idle longest past the grace time.
    bool reclaim(Clock::time_point now);

    Limits limits_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<Session>> sessions_;
};

// 256 bits from getrandom(2), as 64 hex digits. Throws std::runtime_error when the generator fails.
std::string secureToken();

} // namespace server
