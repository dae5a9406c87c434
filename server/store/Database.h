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

// What a read begun for several statements is for.
enum class ReadScope {
    // One lock of an SQLite file for all of them instead of one at each: SQLite guards every file
    // lock of the process with one mutex, on which threads reading at once queue. Nothing on
    // PostgreSQL, where it would only cost two more round trips.
    FileLock,
    // One state of the data for all of them, on every engine.
    Snapshot,
};

// What each engine behind the door provides.
class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;
    virtual void query(const std::string& sql, const std::vector<SqlParam>& params,
                       const std::function<void(const SqlRow&)>& onRow) = 0;
    virtual std::int64_t dataVersion() = 0;
    // See Database::beginRead.
    virtual bool beginRead(ReadScope) { return false; }
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
    // Inside a read it is looked at once: the read's state cannot change under it.
    std::int64_t dataVersion();
    // Statements from here to endRead() read one state of the data (see ReadScope). False, and
    // nothing done, when the engine has nothing to do for the scope or a read is begun already.
    // Throws DatabaseError.
    bool beginRead(ReadScope scope = ReadScope::FileLock);
    void endRead() noexcept;

private:
    std::unique_ptr<DatabaseEngine> engine_;
    bool reading_ = false;
    std::optional<std::int64_t> readVersion_;
};

// A read begun for a scope, ended also when the scope ends by an exception.
class ReadTransaction {
public:
    explicit ReadTransaction(Database& db, ReadScope scope = ReadScope::FileLock)
        : db_(db), began_(db.beginRead(scope)) {}
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
