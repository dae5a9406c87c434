#pragma once

#include "server/store/Database.h"
#include "server/store/MenuCache.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace server {

// Connections for the worker threads: a call borrows one for its duration, so no two threads ever
// share a connection. Connections are opened on demand, and an idle one is handed out only while
// its path still names the file it was opened on: an open handle keeps reading a file that was
// removed or replaced, so without that check a vanished database would go on answering from a
// stale copy, and a restored one would never be seen. For a PostgreSQL URL the path check does not
// apply.
class DatabasePool {
public:
    explicit DatabasePool(std::string path) : path_(std::move(path)) {}

    // Which file a path names: device and inode, nothing when the path names no file.
    struct FileIdentity {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    static std::optional<FileIdentity> identify(const std::string& path);

    struct Connection {
        Connection(const std::string& location, std::uint64_t number)
            : db(location), file(identify(location)), id(number) {}
        Database db;
        MenuCache cache;
        std::optional<FileIdentity> file;
        std::uint64_t id;
    };

    class Lease {
    public:
        Lease(DatabasePool& pool, std::unique_ptr<Connection> db) : pool_(&pool), db_(std::move(db)) {}
        ~Lease();
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        Database& db() const { return db_->db; }
        MenuCache& cache() const { return db_->cache; }
        std::uint64_t id() const { return db_->id; }
        // The connection failed: close it instead of giving it back.
        void discard() { db_.reset(); }

    private:
        DatabasePool* pool_;
        std::unique_ptr<Connection> db_;
    };

    // The idle connection numbered `preferred` when there is one (a caller's last, whose cache holds
    // what it read), otherwise any; throws DatabaseError.
    Lease acquire(std::uint64_t preferred = 0);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::uint64_t opened_ = 0;
};

} // namespace server
