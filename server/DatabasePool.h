#pragma once

#include "server/Database.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace server {

// Connections for the worker threads: a call borrows one for its duration, so no two threads ever
// share a connection. Connections are opened on demand, so a database that disappears after start
// fails the next call instead of answering from a stale handle.
class DatabasePool {
public:
    explicit DatabasePool(std::string path) : path_(std::move(path)) {}

    class Lease {
    public:
        Lease(DatabasePool& pool, std::unique_ptr<Database> db) : pool_(&pool), db_(std::move(db)) {}
        ~Lease();
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        Database& operator*() const { return *db_; }
        Database* operator->() const { return db_.get(); }
        // The connection failed: close it instead of giving it back.
        void discard() { db_.reset(); }

    private:
        DatabasePool* pool_;
        std::unique_ptr<Database> db_;
    };

    Lease acquire(); // throws DatabaseError
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Database>> idle_;
};

} // namespace server
