#pragma once

#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace demo {

class SqlDatabase;

// A prepared statement reused across rows: bind from 1, step, read columns from 0, reset.
class SqlStatement {
public:
    SqlStatement(const SqlDatabase& db, const std::string& sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    SqlStatement& bind(int index, const std::string& value);
    SqlStatement& bind(int index, const char* value) { return bind(index, std::string(value)); }
    SqlStatement& bind(int index, double value);
    SqlStatement& bind(int index, int value);
    // An empty optional binds SQL null: a bound that does not exist.
    SqlStatement& bind(int index, std::optional<double> value);

    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows and readies it for the next binding.
    void run();
    void reset();

    std::string text(int column) const;
    double real(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace demo
