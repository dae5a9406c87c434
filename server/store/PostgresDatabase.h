#pragma once

#include "server/store/Database.h"
#include "server/store/PostgresHandles.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace server {

// A PostgreSQL database given by URL, read through one libpq connection. The session is set up so
// that rows read as they do from SQLite: dates as "YYYY-MM-DD", doubles with every digit. A
// connection the server broke (restarted, stopped) is reopened once per call before the call
// fails, so a database that came back answers at once.
class PostgresDatabase final : public DatabaseEngine {
public:
    // The suite's database is only ever read; the shared sessions' database is written.
    enum class Access { ReadOnly, ReadWrite };

    explicit PostgresDatabase(const std::string& url,
                              Access access = Access::ReadOnly); // throws DatabaseError
    ~PostgresDatabase() override;
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    void query(const std::string& sql, const std::vector<SqlParam>& params,
               const std::function<void(const SqlRow&)>& onRow) override;
    // As query(), with `meanwhile` run on this thread while the database works on the statement: a
    // round trip hidden behind work that does not need its rows. What `meanwhile` throws is thrown
    // once the statement's result is read, so the connection stays usable.
    void queryWhile(const std::string& sql, const std::vector<SqlParam>& params,
                    const std::function<void(const SqlRow&)>& onRow, const std::function<void()>& meanwhile);
    std::int64_t dataVersion() override;
    // A snapshot: a read-only transaction that sees one state throughout.
    bool beginRead(ReadScope scope) override;
    void endRead() noexcept override;
    // Statements without parameters or rows, in one round trip (BEGIN and a lock, a schema).
    void execute(const std::string& statements);

private:
    void setUpSession();
    void reconnect();
    [[noreturn]] void failToOpen() const;
    [[noreturn]] void fail(const PGresult* result) const;
    // The statement's name on this connection, prepared on first use; null, with the failure in
    // result, when it cannot be prepared.
    const std::string* prepared(const std::string& sql, int count, const Oid* types, PgResult& result);
    void deliver(const PGresult* result, const std::function<void(const SqlRow&)>& onRow) const;

    std::string url_;
    Access access_;
    std::string shown_; // the URL without its password
    PgConnection connection_;
    // Statement names by their text: each statement is prepared once per connection.
    std::unordered_map<std::string, std::string> statements_;
    std::uint64_t reconnects_ = 0;
};

} // namespace server
