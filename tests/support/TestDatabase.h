#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

// A fresh SQLite database in the suite's schema, in a temporary folder removed with the object.
// Tests fill it with the rows of their case.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Runs one or more statements; throws std::runtime_error with SQLite's message on failure.
    void exec(const std::string& sql);
    const std::filesystem::path& path() const { return path_; }
    std::string pathString() const { return path_.string(); }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
};

// The schema text shipped in demo/schema.sql.
std::string schemaSql();
