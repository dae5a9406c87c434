#include "SqlStatement.h"

#include "SqlDatabase.h"

#include <sqlite3.h>

#include <stdexcept>

namespace demo {

SqlStatement::SqlStatement(const SqlDatabase& db, const std::string& sql) : db_(db.handle()) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
        throw std::runtime_error("Falha ao preparar SQL: " + std::string(sqlite3_errmsg(db_)) + "\n" + sql);
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(stmt_);
}

SqlStatement& SqlStatement::bind(int index, const std::string& value) {
    sqlite3_bind_text(stmt_, index, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
}

SqlStatement& SqlStatement::bind(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

SqlStatement& SqlStatement::bind(int index, int value) {
    sqlite3_bind_int(stmt_, index, value);
    return *this;
}

SqlStatement& SqlStatement::bind(int index, std::optional<double> value) {
    if (value)
        sqlite3_bind_double(stmt_, index, *value);
    else
        sqlite3_bind_null(stmt_, index);
    return *this;
}

bool SqlStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw std::runtime_error("Falha no SQL: " + std::string(sqlite3_errmsg(db_)));
}

void SqlStatement::run() {
    step();
    reset();
}

void SqlStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string SqlStatement::text(int column) const {
    const auto* value = sqlite3_column_text(stmt_, column);
    return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
}

double SqlStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

bool SqlStatement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

} // namespace demo
