#pragma once

#include <filesystem>
#include <string>

namespace demo {

struct DemoShape;

// Writes the whole demo database to a new file. The data goes to a partial file first and takes the
// final name only when complete, so a failed run never leaves something that looks like a database.
// Refuses to replace an existing file.
void generateDemoDatabase(const std::filesystem::path& out);
// The same for a demo of another shape (more branches, other months).
void generateDemoDatabase(const std::filesystem::path& out, const DemoShape& shape);

// Writes the same rows into a PostgreSQL database given by URL (postgresql://...), which must not
// have the suite's tables yet: they are built as an SQLite file in a temporary folder, then copied.
void generateDemoPostgres(const std::string& url);
void generateDemoPostgres(const std::string& url, const DemoShape& shape);

} // namespace demo
