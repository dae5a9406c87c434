#pragma once

#include "server/sessions/SessionStore.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace server {

class PostgresDatabase;

// Sessions in a PostgreSQL table that every server given the same URL shares, so that any of them
// answers any session. The table lives in a schema of its own, made at start if missing; times are
// the database's clock, and each row keeps the idle time it was opened with, so servers started
// with different idle times agree on when it expires. Only a hash of each token is stored.
//
// Keep this database in another cluster than the suite's: the menu cache's data version is the
// suite cluster's write-ahead log position, which any write in that cluster moves, so session
// writes beside the suite's tables would keep emptying the cache (answers stay right, only slower).
class PostgresSessionStore final : public SessionStore {
public:
    // Throws SessionStoreError when the database cannot be reached or the table cannot be made.
    PostgresSessionStore(const std::string& url, Limits limits);
    ~PostgresSessionStore() override;

    Opened open(const std::string& address) override;
    bool use(const std::string& token, const Call& call) override;
    bool close(const std::string& token) override;
    void check() override;

private:
    // Runs the work on a connection of the pool, given back afterwards; one that failed is closed,
    // and its failure becomes a SessionStoreError.
    template <class Work> auto withConnection(Work&& work);
    Opened openLocked(PostgresDatabase& db, const std::string& hash, const std::string& address);
    // The state this server last saw each session in, by token hash: what a call runs on while the
    // table is asked for the real one.
    SessionState lastSeen(const std::string& hash);
    void remember(const std::string& hash, const SessionState& state);
    void forget(const std::string& hash);

    std::string url_;
    Limits limits_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<PostgresDatabase>> idle_;
    std::mutex seenMutex_;
    std::unordered_map<std::string, SessionState> seen_;
};

} // namespace server
