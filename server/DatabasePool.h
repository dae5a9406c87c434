#pragma once

#include "server/Database.h"
#include "server/MenuCache.h"

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

    struct Connection {
        explicit Connection(const std::string& path) : db(path) {}
        Database db;
        MenuCache cache;
    };

    class Lease {
    public:
        Lease(DatabasePool& pool, std::unique_ptr<Connection> db) : pool_(&pool), db_(std::move(db)) {}
        ~Lease();
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        Database& db() const { return db_->db; }
        MenuCache& cache() const { return db_->cache; }
        // The connection failed: close it instead of giving it back.
        void discard() { db_.reset(); }

    private:
        DatabasePool* pool_;
        std::unique_ptr<Connection> db_;
    };

    Lease acquire(); // throws DatabaseError
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

} // namespace server
