#include "server/DatabasePool.h"

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

DatabasePool::Lease DatabasePool::acquire() {
    const std::optional<FileIdentity> current = identify(path_);
    {
        const std::lock_guard lock(mutex_);
        if (current) {
            // Connections to a file the path no longer names go, whichever thread returned them.
            std::erase_if(idle_, [&](const auto& connection) { return connection->file != current; });
            if (!idle_.empty()) {
                auto db = std::move(idle_.back());
                idle_.pop_back();
                return Lease(*this, std::move(db));
            }
        } else {
            idle_.clear();
        }
    }
    // Opening fails with the engine's message when the file is gone.
    return Lease(*this, std::make_unique<Connection>(path_));
}

} // namespace server
