#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Which columns of an SQLite table are declared DOUBLE PRECISION: those compare by their bits, the
// rest as text.
std::vector<bool> realColumns(const std::filesystem::path& file, const std::string& table);

// Every row of a table of either engine (a file path or a PostgreSQL URL), each as one line, sorted,
// reals in hexadecimal so that no bit can hide.
std::vector<std::string> rowsOf(const std::string& location, const std::string& table,
                                const std::vector<bool>& reals);
