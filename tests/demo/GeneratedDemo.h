#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct sqlite3;

// A folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A read-only connection to a database file, with the few queries the tests need.
class ReadOnlyDb {
public:
    explicit ReadOnlyDb(const std::filesystem::path& file);
    ~ReadOnlyDb();
    ReadOnlyDb(const ReadOnlyDb&) = delete;
    ReadOnlyDb& operator=(const ReadOnlyDb&) = delete;

    // First column of the first row as an integer; named parameters (":f") bound as text.
    long long scalar(const std::string& sql, const std::map<std::string, std::string>& params = {}) const;
    std::string text(const std::string& sql) const;
    // First column of every row, as stored.
    std::vector<std::string> column(const std::string& sql) const;
    // Every row of every table in key order, reals written exactly, as one text.
    std::string dump() const;
    std::vector<std::string> tables() const;

private:
    sqlite3* db_ = nullptr;
};

// The demo database, generated once per test process.
const std::filesystem::path& generatedDemo();
