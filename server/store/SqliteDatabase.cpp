#include "server/store/SqliteDatabase.h"

#include "server/store/DatabaseError.h"

#include <sqlite3.h>

namespace server {
namespace {

class SqliteRow final : public SqlRow {
public:
    explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}

    bool isNull(int column) const override { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

    std::string text(int column) const override {
        const auto* bytes = sqlite3_column_text(statement_, column);
        if (!bytes)
            return {};
        return std::string(reinterpret_cast<const char*>(bytes),
                           static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }

    double real(int column) const override { return sqlite3_column_double(statement_, column); }
    std::int64_t integer(int column) const override { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3_stmt* statement_;
};

} // namespace

SqliteDatabase::SqliteDatabase(const std::string& path) : path_(path) {
    // NOMUTEX: a connection is used by one thread at a time, the pool sees to that.
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError("não foi possível abrir o banco de dados '" + path + "': " + message);
    }
    sqlite3_busy_timeout(db_, 5000);
    // SQLite reads the file lazily; a file that is not a database must fail here, not at the first
    // call.
    try {
        query("SELECT count(*) FROM sqlite_master", {}, [](const SqlRow&) {});
    } catch (...) {
        // No destructor runs for a constructor that throws: without this every call that meets a
        // broken file would keep a connection's memory.
        close();
        throw;
    }
}

SqliteDatabase::~SqliteDatabase() {
    close();
}

void SqliteDatabase::close() {
    for (auto& [sql, statement] : statements_)
        sqlite3_finalize(statement);
    statements_.clear();
    sqlite3_close(db_);
    db_ = nullptr;
}

void SqliteDatabase::fail(const std::string& what) const {
    throw DatabaseError("erro ao ler o banco de dados '" + path_ + "' (" + what +
                        "): " + sqlite3_errmsg(db_));
}

sqlite3_stmt* SqliteDatabase::prepared(const std::string& sql) {
    if (const auto found = statements_.find(sql); found != statements_.end())
        return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        fail("preparação da consulta");
    statements_.emplace(sql, statement);
    return statement;
}

void SqliteDatabase::query(const std::string& sql, const std::vector<SqlParam>& params,
                           const std::function<void(const SqlRow&)>& onRow) {
    sqlite3_stmt* statement = prepared(sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        int rc = SQLITE_OK;
        if (const auto* text = std::get_if<std::string>(&params[i]))
            rc = sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                                   SQLITE_TRANSIENT);
        else if (const auto* real = std::get_if<double>(&params[i]))
            rc = sqlite3_bind_double(statement, index, *real);
        else if (const auto* integer = std::get_if<std::int64_t>(&params[i]))
            rc = sqlite3_bind_int64(statement, index, *integer);
        else
            rc = sqlite3_bind_null(statement, index);
        if (rc != SQLITE_OK)
            fail("parâmetro da consulta");
    }
    const SqliteRow row(statement);
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(statement);
            fail("leitura");
        }
        onRow(row);
    }
    sqlite3_reset(statement);
}

void stopSqliteAllocationCounting() {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

// A read begins and ends at every call: its statements are prepared once, as the queries are, not
// parsed again each time.
bool SqliteDatabase::step(const std::string& sql) noexcept {
    try {
        sqlite3_stmt* statement = prepared(sql);
        const bool done = sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
        return done;
    } catch (const DatabaseError&) {
        return false;
    }
}

bool SqliteDatabase::beginRead(ReadScope) {
    if (!sqlite3_get_autocommit(db_))
        return false;
    if (!step("BEGIN"))
        fail("início da leitura");
    return true;
}

void SqliteDatabase::endRead() noexcept {
    // A read transaction has nothing to keep: when it cannot end cleanly it is rolled back.
    if (!sqlite3_get_autocommit(db_) && !step("COMMIT"))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::int64_t SqliteDatabase::dataVersion() {
    std::int64_t version = 0;
    query("PRAGMA data_version", {}, [&](const SqlRow& row) { version = row.integer(0); });
    return version;
}

} // namespace server
