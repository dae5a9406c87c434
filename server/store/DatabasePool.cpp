#include "server/store/DatabasePool.h"

#include "server/store/DatabaseLocation.h"

#include <algorithm>
#include <iterator>

#include <sys/stat.h>

namespace server {

DatabasePool::Lease::~Lease() {
    if (!db_ || !pool_)
        return;
    const std::lock_guard lock(pool_->mutex_);
    pool_->idle_.push_back(std::move(db_));
}

std::optional<DatabasePool::FileIdentity> DatabasePool::identify(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(info.st_dev),
                        static_cast<unsigned long long>(info.st_ino)};
}

DatabasePool::Lease DatabasePool::acquire(std::uint64_t preferred) {
    // A PostgreSQL server is no file: nothing can replace it under an open connection, and a
    // connection it broke reopens itself.
    const bool file = !isPostgresUrl(path_);
    const std::optional<FileIdentity> current = file ? identify(path_) : std::nullopt;
    std::uint64_t number = 0;
    {
        const std::lock_guard lock(mutex_);
        // Connections to a file the path no longer names go, whichever thread returned them.
        if (file && current)
            std::erase_if(idle_, [&](const auto& connection) { return connection->file != current; });
        else if (file)
            idle_.clear();
        if (!idle_.empty()) {
            auto chosen = std::find_if(idle_.begin(), idle_.end(),
                                       [&](const auto& connection) { return connection->id == preferred; });
            if (chosen == idle_.end())
                chosen = std::prev(idle_.end());
            auto db = std::move(*chosen);
            idle_.erase(chosen);
            return Lease(*this, std::move(db));
        }
        ++opened_;
        number = opened_;
    }
    // Opening fails with the engine's message when the file or the server is gone.
    return Lease(*this, std::make_unique<Connection>(path_, number));
}

} // namespace server
