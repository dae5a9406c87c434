#pragma once

#include <filesystem>
#include <string>

// A database in the suite's schema with one service's month of menus, built here so the benchmark
// depends on nothing else. `scale` multiplies the items per day and the restrictions of every kind;
// the contract is chosen so that every category has infringements.
class BenchDatabase {
public:
    BenchDatabase(const std::string& schemaSql, int scale);
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    std::string path() const { return path_.string(); }
    int items() const { return items_; }
    int lines() const { return lines_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
    int items_ = 0;
    int lines_ = 0;
};
