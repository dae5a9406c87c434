#pragma once

#include "server/store/Database.h"

#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace server {

// SQLite counts every allocation of the process under one mutex unless told not to; threads that
// read at once, allocating at every row, queue on it. Only before anything opens a database.
void stopSqliteAllocationCounting();

// An SQLite file, opened read-only.
class SqliteDatabase final : public DatabaseEngine {
public:
    explicit SqliteDatabase(const std::string& path); // throws DatabaseError
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    void query(const std::string& sql, const std::vector<SqlParam>& params,
               const std::function<void(const SqlRow&)>& onRow) override;
    std::int64_t dataVersion() override;
    bool beginRead(ReadScope scope) override;
    void endRead() noexcept override;

private:
    sqlite3_stmt* prepared(const std::string& sql);
    bool step(const std::string& sql) noexcept;
    [[noreturn]] void fail(const std::string& what) const;
    void close();

    std::string path_;
    sqlite3* db_ = nullptr;
    // Statements are reused across calls: preparing them again costs more than most queries.
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

} // namespace server
