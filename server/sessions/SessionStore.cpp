#include "server/sessions/SessionStore.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <sys/random.h>

namespace server {

std::string secureToken() {
    unsigned char bytes[32];
    std::size_t filled = 0;
    while (filled < sizeof bytes) {
        const ssize_t got = getrandom(bytes + filled, sizeof bytes - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("secure random generator failed");
        }
        filled += static_cast<std::size_t>(got);
    }
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char byte : bytes) {
        token += kHex[byte >> 4];
        token += kHex[byte & 15];
    }
    return token;
}

void SessionStore::dropIdle(Clock::time_point now) {
    std::erase_if(sessions_, [&](const auto& entry) { return now - entry.second->lastUse > limits_.idle; });
}

bool SessionStore::reclaim(Clock::time_point now) {
    const auto oldest =
        std::min_element(sessions_.begin(), sessions_.end(),
                         [](const auto& a, const auto& b) { return a.second->lastUse < b.second->lastUse; });
    if (oldest == sessions_.end() || now - oldest->second->lastUse <= limits_.grace)
        return false;
    sessions_.erase(oldest);
    return true;
}

SessionStore::Opened SessionStore::open(const std::string& address) {
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

std::shared_ptr<SessionStore::Session> SessionStore::find(const std::string& token) {
    const auto now = Clock::now();
    const std::lock_guard lock(mutex_);
    dropIdle(now);
    const auto found = sessions_.find(token);
    if (found == sessions_.end())
        return nullptr;
    found->second->lastUse = now;
    return found->second;
}

bool SessionStore::close(const std::string& token) {
    const std::lock_guard lock(mutex_);
    dropIdle(Clock::now());
    return sessions_.erase(token) != 0;
}

std::size_t SessionStore::size() {
    const std::lock_guard lock(mutex_);
    dropIdle(Clock::now());
    return sessions_.size();
}

} // namespace server
