#pragma once

#include "server/rules/SessionState.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace server {

// The shared session database could not be reached or refused a statement. Never answered as an
// unknown session, nor by a call run without the session's state: the client is told to try again.
class SessionStoreError : public std::runtime_error {
public:
    explicit SessionStoreError(const std::string& message) : std::runtime_error(message) {}
};

// Who holds which session. Tokens carry 256 random bits from the system's secure generator; idle
// sessions are dropped before any count or look-up, so they never block a new one. When the table
// is full the session idle longest gives way to a new one once it has been idle past the grace
// time, and one client address holds at most its share, so no client can lock the others out.
// Kept in this process's memory, or in a PostgreSQL table that every server given the same URL
// shares; chosen once, at start.
class SessionStore {
public:
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
    using Call = std::function<void(SessionState&)>;

    virtual ~SessionStore() = default;

    // A token, or why there is none. The address is the client's group (see addressGroup).
    virtual Opened open(const std::string& address) = 0;
    // Runs the call on the session's state and marks the session used; false, without running it,
    // for an unknown or expired token. What the call leaves in the state is kept; a call that
    // throws must leave it as it was. The screen makes one call at a time: of two calls of one
    // session at once, in memory the second waits for the first, shared each sees the state as it
    // began and the last to change it wins.
    virtual bool use(const std::string& token, const Call& call) = 0;
    virtual bool close(const std::string& token) = 0;
    // Throws SessionStoreError when the sessions are out of reach (for the health check).
    virtual void check() = 0;
};

// Sessions in memory without a URL, in the PostgreSQL database it names with one. Throws
// SessionStoreError when that database cannot be reached or its table cannot be made.
std::unique_ptr<SessionStore> makeSessionStore(const std::optional<std::string>& url,
                                               SessionStore::Limits limits);

// 256 bits from getrandom(2), as 64 hex digits. Throws std::runtime_error when the generator fails.
std::string secureToken();

} // namespace server
