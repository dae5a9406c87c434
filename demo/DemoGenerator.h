#pragma once

#include <filesystem>

namespace demo {

// Writes the whole demo database to a new file. The data goes to a partial file first and takes the
// final name only when complete, so a failed run never leaves something that looks like a database.
// Refuses to replace an existing file.
void generateDemoDatabase(const std::filesystem::path& out);

} // namespace demo
