#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace server {

using SqlParam = std::variant<std::monostate, std::string, double, std::int64_t>;

// One result row, valid only inside the row callback.
class SqlRow {
public:
    explicit SqlRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool isNull(int column) const;
    std::string text(int column) const;
    std::optional<std::string> optText(int column) const;
    double real(int column) const;
    std::optional<double> optReal(int column) const;
    std::int64_t integer(int column) const;

private:
    sqlite3_stmt* statement_;
};

// The one door to the suite's database: parameterised statements with "?" placeholders, rows handed
// to a callback. Opened read-only, so a wrong path fails instead of creating an empty database. Not
// thread-safe: one connection per thread at a time (DatabasePool hands them out). Another engine
// (PostgreSQL) will come in behind this same interface.
class Database {
public:
    explicit Database(const std::string& path); // throws DatabaseError
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Throws DatabaseError with the engine's message.
    void query(const std::string& sql, const std::vector<SqlParam>& params,
               const std::function<void(const SqlRow&)>& onRow);
    // Changes whenever another connection commits; what caches of read data are checked against.
    std::int64_t dataVersion();

private:
    sqlite3_stmt* prepared(const std::string& sql);
    [[noreturn]] void fail(const std::string& what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
    // Statements are reused across calls: preparing them again costs more than most queries.
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

} // namespace server
