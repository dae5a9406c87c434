#pragma once

#include <filesystem>
#include <string>

namespace demo {

// Copies every table of an SQLite database in the suite's schema into a PostgreSQL database, in one
// transaction: the schema is created there first (the same text), then each table's rows follow
// exactly (doubles to the last bit, dates as "YYYY-MM-DD", nulls as nulls). Refuses a database that
// already has the suite's tables; on any failure nothing is left in it.
void copyIntoPostgres(const std::filesystem::path& sqliteFile, const std::string& url,
                      const std::string& schemaSql);

} // namespace demo
