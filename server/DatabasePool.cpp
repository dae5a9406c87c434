#include "server/DatabasePool.h"

namespace server {

DatabasePool::Lease::~Lease() {
    if (!db_ || !pool_)
        return;
    const std::lock_guard lock(pool_->mutex_);
    pool_->idle_.push_back(std::move(db_));
}

DatabasePool::Lease DatabasePool::acquire() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto db = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(db));
        }
    }
    return Lease(*this, std::make_unique<Connection>(path_));
}

} // namespace server
