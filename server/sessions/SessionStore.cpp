#include "server/sessions/SessionStore.h"

#include "server/sessions/MemorySessionStore.h"
#include "server/sessions/PostgresSessionStore.h"
#include "server/sessions/TokenHash.h"

#include <cerrno>
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
    return hexDigits(bytes, sizeof bytes);
}

std::unique_ptr<SessionStore> makeSessionStore(const std::optional<std::string>& url,
                                               SessionStore::Limits limits) {
    if (url)
        return std::make_unique<PostgresSessionStore>(*url, limits);
    return std::make_unique<MemorySessionStore>(limits);
}

} // namespace server
