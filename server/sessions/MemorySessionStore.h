#pragma once

#include "server/sessions/SessionStore.h"

#include <mutex>
#include <unordered_map>

namespace server {

// Sessions in this process's memory: the default, for one server, gone when it stops.
class MemorySessionStore final : public SessionStore {
public:
    explicit MemorySessionStore(Limits limits) : limits_(limits) {}

    Opened open(const std::string& address) override;
    bool use(const std::string& token, const Call& call) override;
    bool close(const std::string& token) override;
    void check() override {}

private:
    using Clock = std::chrono::steady_clock;
    struct Session {
        std::mutex mutex; // one call at a time per session: its state is read and written whole
        SessionState state;
        Clock::time_point lastUse;
        std::string address;
    };

    void dropIdle(Clock::time_point now);
    // Makes room in a full table by dropping the session idle longest past the grace time.
    bool reclaim(Clock::time_point now);

    Limits limits_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<Session>> sessions_;
};

} // namespace server
