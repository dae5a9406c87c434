#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace demo {

// How a column of the suite's schema takes its values.
enum class ColumnKind { Text, Integer, Real, Date };

struct ColumnShape {
    std::string name;
    ColumnKind kind;
};

// A table as the schema declares it: its columns in order and which of them make its key.
struct TableShape {
    std::string name;
    std::vector<ColumnShape> columns;
    std::vector<std::size_t> key; // indices into columns
};

// One value as the file holds it, already checked against its column's kind.
struct Cell {
    enum class Type { Null, Integer, Real, Text } type = Type::Null;
    long long integer = 0;
    double real = 0;
    std::string_view text;
};

// Longest text value taken from a file: every field of the schema is far shorter, so anything beyond
// this is refused before it is copied anywhere.
inline constexpr std::size_t kMaxTextBytes = 1024;

// A suite database in an SQLite file that may come from anywhere: opened read only, with the file's
// own schema distrusted (no views, triggers or functions of its own run), read in one snapshot. Only
// the tables and columns the caller names are read, each value checked against its column's kind,
// and every refusal names the file, the table, the row (its number and key) and the column.
class SuiteFile {
public:
    explicit SuiteFile(const std::filesystem::path& file);
    ~SuiteFile();
    SuiteFile(const SuiteFile&) = delete;
    SuiteFile& operator=(const SuiteFile&) = delete;

    // Refuses a table the file lacks, or has without one of the shape's columns.
    void check(const TableShape& table) const;
    // Hands each row to `row` in the file's order, the cells in the shape's column order; answers the
    // number of rows.
    std::uint64_t read(const TableShape& table,
                       const std::function<void(const std::vector<Cell>&)>& row) const;
    // "linha 3 da tabela FILIAL (CDFILIAL 0001)": the row-th row of read()'s order, 1 first (0: only
    // the table).
    std::string describeRow(const TableShape& table, std::uint64_t row) const;
    // The file's tables that no shape names, as they may be shown.
    std::vector<std::string> tablesBesides(const std::vector<TableShape>& tables) const;

    const std::string& shownName() const { return shown_; }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    std::string shown_;
};

// Text from a foreign file as it may be shown in a message: control characters replaced and the
// whole cut short.
std::string shownText(std::string_view text, std::size_t max = 60);

} // namespace demo
