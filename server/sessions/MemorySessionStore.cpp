#include "server/sessions/MemorySessionStore.h"

#include <algorithm>

namespace server {

void MemorySessionStore::dropIdle(Clock::time_point now) {
    std::erase_if(sessions_, [&](const auto& entry) { return now - entry.second->lastUse > limits_.idle; });
}

bool MemorySessionStore::reclaim(Clock::time_point now) {
    const auto oldest =
        std::min_element(sessions_.begin(), sessions_.end(),
                         [](const auto& a, const auto& b) { return a.second->lastUse < b.second->lastUse; });
    if (oldest == sessions_.end() || now - oldest->second->lastUse <= limits_.grace)
        return false;
    sessions_.erase(oldest);
    return true;
}

SessionStore::Opened MemorySessionStore::open(const std::string& address) {
    const auto now = Clock::now();
    const std::lock_guard lock(mutex_);
    dropIdle(now);
    if (limits_.maxPerAddress > 0 &&
        static_cast<std::size_t>(std::count_if(sessions_.begin(), sessions_.end(), [&](const auto& entry) {
            return entry.second->address == address;
        })) >= limits_.maxPerAddress)
        return {std::nullopt, Refusal::AddressFull};
    if (sessions_.size() >= limits_.maxSessions && !reclaim(now))
        return {std::nullopt, Refusal::Full};
    std::string token = secureToken();
    auto session = std::make_shared<Session>();
    session->lastUse = now;
    session->address = address;
    sessions_.emplace(token, std::move(session));
    return {token, Refusal::None};
}

bool MemorySessionStore::use(const std::string& token, const Call& call) {
    std::shared_ptr<Session> session;
    {
        const auto now = Clock::now();
        const std::lock_guard lock(mutex_);
        dropIdle(now);
        const auto found = sessions_.find(token);
        if (found == sessions_.end())
            return false;
        found->second->lastUse = now;
        session = found->second;
    }
    const std::lock_guard lock(session->mutex);
    call(session->state);
    return true;
}

bool MemorySessionStore::close(const std::string& token) {
    const std::lock_guard lock(mutex_);
    dropIdle(Clock::now());
    return sessions_.erase(token) != 0;
}

} // namespace server
