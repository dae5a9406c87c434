#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

struct CopySummary {
    std::size_t tables = 0;
    std::uint64_t rows = 0;
    // Tables of the file outside the schema, left behind (at most ten named, then "e mais N").
    std::vector<std::string> ignored;
};

// Copies a suite database from an SQLite file, which may come from anywhere (see SuiteFile), into an
// empty PostgreSQL database, in one transaction: the schema is created there first, then every table
// of the schema is filled with the file's rows exactly (doubles to the last bit, dates as
// "YYYY-MM-DD", nulls as nulls). Refuses a database that holds any table, view or sequence already;
// a refusal names the table, the row and what is wrong, and on any failure nothing is left behind.
CopySummary copyIntoPostgres(const std::filesystem::path& sqliteFile, const std::string& url,
                             const std::string& schemaSql);

} // namespace demo
