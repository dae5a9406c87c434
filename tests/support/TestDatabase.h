#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

// A fresh database in the suite's schema, removed with the object. Tests fill it with the rows of
// their case. It is an SQLite file in a temporary folder, or, when the test process runs with
// RESTCONT_TEST_ENGINE=postgresql, a database of its own in the process's private PostgreSQL
// cluster (started on first use, stopped at exit).
class TestDatabase {
public:
    enum class Engine { Sqlite, Postgres };
    // The engine this test process runs for.
    static Engine engine();

    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Runs one or more statements; throws std::runtime_error with the engine's message on failure.
    void exec(const std::string& sql);
    // What restcont-server takes as --database: the file's path or the PostgreSQL URL.
    std::string url() const;
    std::string pathString() const { return url(); }
    // The SQLite file; empty on PostgreSQL.
    const std::filesystem::path& path() const { return path_; }
    // The PostgreSQL database's name; empty on SQLite.
    const std::string& postgresName() const { return postgresName_; }
    bool onPostgres() const { return !postgresName_.empty(); }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
    std::string postgresName_;
};

// The schema text shipped in demo/schema.sql.
std::string schemaSql();
