#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace server {

using SqlParam = std::variant<std::monostate, std::string, double, std::int64_t>;

// One result row, valid only inside the row callback. Every engine hands out text, real, integer
// and null alike: a date as "YYYY-MM-DD", a real exactly as stored.
class SqlRow {
public:
    virtual bool isNull(int column) const = 0;
    virtual std::string text(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    std::optional<std::string> optText(int column) const;
    std::optional<double> optReal(int column) const;

protected:
    ~SqlRow() = default;
};

// What each engine behind the door provides.
class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;
    virtual void query(const std::string& sql, const std::vector<SqlParam>& params,
                       const std::function<void(const SqlRow&)>& onRow) = 0;
    virtual std::int64_t dataVersion() = 0;
    // See Database::beginRead.
    virtual bool beginRead() { return false; }
    virtual void endRead() noexcept {}
};

// The one door to the suite's database: parameterised statements with "?" placeholders, rows handed
// to a callback. The location is a PostgreSQL URL (postgresql://... or postgres://...) or else an
// SQLite file path. Opened for reading only, so a wrong path fails instead of creating an empty
// database. Not thread-safe: one connection per thread at a time (DatabasePool hands them out).
class Database {
public:
    explicit Database(const std::string& location); // throws DatabaseError
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Throws DatabaseError with the engine's message.
    void query(const std::string& sql, const std::vector<SqlParam>& params,
               const std::function<void(const SqlRow&)>& onRow);
    // Changes whenever another connection commits; what caches of read data are checked against.
    std::int64_t dataVersion();
    // Statements from here to endRead() read one state of an SQLite file, which is locked once for
    // all of them instead of at each: SQLite guards every file lock of the process with one mutex,
    // on which threads reading at once queue. False, and nothing done, on PostgreSQL or inside a
    // read already begun. Throws DatabaseError.
    bool beginRead();
    void endRead() noexcept;

private:
    std::unique_ptr<DatabaseEngine> engine_;
};

// A read begun for a scope, ended also when the scope ends by an exception.
class ReadTransaction {
public:
    explicit ReadTransaction(Database& db) : db_(db), began_(db.beginRead()) {}
    ~ReadTransaction() {
        if (began_)
            db_.endRead();
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& db_;
    bool began_;
};

} // namespace server
