#pragma once

#include <string>

struct sqlite3;

namespace demo {

// One open SQLite connection; every failure is an exception carrying SQLite's own message.
class SqlDatabase {
public:
    explicit SqlDatabase(const std::string& path);
    ~SqlDatabase();
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    void exec(const std::string& sql);
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace demo
