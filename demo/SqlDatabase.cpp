#include "SqlDatabase.h"

#include <sqlite3.h>

#include <stdexcept>

namespace demo {

SqlDatabase::SqlDatabase(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "sem memória";
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("Não foi possível criar o banco " + path + ": " + message);
    }
}

SqlDatabase::~SqlDatabase() {
    sqlite3_close(db_);
}

void SqlDatabase::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw std::runtime_error("Falha no SQL: " + text);
    }
}

} // namespace demo
