#include "SuiteFile.h"

#include "server/rules/BoundedText.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace demo {
namespace {

// At most this many of the tables a file has beyond the schema are named.
constexpr std::size_t kShownTables = 10;
// SQLite refuses to load any value (or row) larger than this: a file's huge value costs no memory.
constexpr int kMaxLoadedBytes = 64 * 1024;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// An identifier of the schema, quoted for SQLite (which matches identifiers ignoring case).
std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (const char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string_view textOf(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                : std::string_view();
}

bool isIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

// What is wrong with the value for its column (empty: nothing), with the cell filled when right.
std::string checkedCell(const ColumnShape& column, sqlite3_stmt* statement, int index, Cell& cell) {
    cell = Cell{};
    const int type = sqlite3_column_type(statement, index);
    if (type == SQLITE_NULL)
        return {};
    if (type == SQLITE_BLOB)
        return "valor binário";
    const bool isText = type == SQLITE_TEXT;
    switch (column.kind) {
    case ColumnKind::Text:
    case ColumnKind::Date: {
        if (!isText)
            return "número onde se espera texto";
        // Measured before the text is taken: a value past the bound is never copied.
        const auto bytes = static_cast<std::size_t>(sqlite3_column_bytes(statement, index));
        if (bytes > kMaxTextBytes)
            return "texto de " + std::to_string(bytes) + " bytes, acima do limite de " +
                   std::to_string(kMaxTextBytes);
        cell.type = Cell::Type::Text;
        cell.text = textOf(statement, index);
        if (column.kind == ColumnKind::Date && !isIsoDate(cell.text))
            return "data fora do formato AAAA-MM-DD: " + shownText(cell.text, 20);
        return {};
    }
    case ColumnKind::Integer:
        if (isText)
            return "texto onde se espera número inteiro";
        if (type == SQLITE_FLOAT)
            return "número não inteiro";
        cell.type = Cell::Type::Integer;
        cell.integer = sqlite3_column_int64(statement, index);
        return {};
    case ColumnKind::Real:
        if (isText)
            return "texto onde se espera número";
        if (type == SQLITE_INTEGER) {
            cell.type = Cell::Type::Integer;
            cell.integer = sqlite3_column_int64(statement, index);
            return {};
        }
        cell.type = Cell::Type::Real;
        cell.real = sqlite3_column_double(statement, index);
        if (!std::isfinite(cell.real))
            return "número não finito";
        return {};
    }
    return "tipo de coluna desconhecido";
}

// "CDFILIAL 0001, CDSERVFILI 002": the key columns of the statement's current row.
std::string keyText(sqlite3_stmt* statement, const TableShape& table, const std::vector<int>& columns) {
    std::string out;
    for (std::size_t i = 0; i < table.key.size(); ++i) {
        const int column = columns[i];
        out += (i > 0 ? ", " : "") + table.columns[table.key[i]].name + " ";
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            out += "nulo";
            break;
        case SQLITE_BLOB:
            out += "binário";
            break;
        default:
            out += shownText(textOf(statement, column), 40);
        }
    }
    return out;
}

// "linha 3 da tabela FILIAL (CDFILIAL 0001)"; only the table when the row is not known.
std::string rowName(const TableShape& table, std::uint64_t row, const std::string& key) {
    if (row == 0)
        return "tabela " + table.name;
    std::string out = "linha " + std::to_string(row) + " da tabela " + table.name;
    return key.empty() ? out : out + " (" + key + ")";
}

std::string columnList(const TableShape& table, const std::vector<std::size_t>& which) {
    std::string out;
    for (const std::size_t index : which)
        out += (out.empty() ? "" : ", ") + quoted(table.columns[index].name);
    return out;
}

std::vector<std::size_t> allColumns(const TableShape& table) {
    std::vector<std::size_t> all(table.columns.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    return all;
}

} // namespace

std::string shownText(std::string_view text, std::size_t max) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return server::boundedText(out, max);
}

void SuiteFile::Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

SuiteFile::SuiteFile(const std::filesystem::path& file) : shown_(shownText(file.string(), 300)) {
    // A FIFO or a device would hang or stream forever under the reader; only a plain file is read.
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status))
        throw std::runtime_error("O arquivo " + shown_ + " não existe.");
    if (!std::filesystem::is_regular_file(status))
        throw std::runtime_error("O arquivo " + shown_ + " não é um arquivo comum.");
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    db_.reset(raw);
    const auto refuse = [&] {
        return std::runtime_error("O arquivo " + shown_ + " não é um banco SQLite legível: " +
                                  shownText(raw ? sqlite3_errmsg(raw) : "sem memória", 200));
    };
    if (opened != SQLITE_OK)
        throw refuse();
    // The file's schema is foreign: nothing it defines may run, and the file is never changed.
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, kMaxLoadedBytes);
    // One snapshot for every table, taken now: the first read also tells a database from other bytes.
    if (sqlite3_exec(raw, "BEGIN; SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        throw refuse();
}

SuiteFile::~SuiteFile() = default;

void SuiteFile::check(const TableShape& table) const {
    const auto prepare = [&](const char* sql) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
            throw std::runtime_error("O arquivo " + shown_ + " não é um banco SQLite legível: " +
                                     shownText(sqlite3_errmsg(db_.get()), 200));
        Statement statement(raw);
        sqlite3_bind_text(raw, 1, table.name.c_str(), -1, SQLITE_TRANSIENT);
        return statement;
    };
    const Statement kind = prepare("SELECT type FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    if (sqlite3_step(kind.get()) != SQLITE_ROW)
        throw std::runtime_error("O arquivo " + shown_ + " não tem a tabela " + table.name + ".");
    if (textOf(kind.get(), 0) != "table")
        throw std::runtime_error("No arquivo " + shown_ + ", " + table.name + " não é uma tabela.");
    const Statement columns = prepare("SELECT name FROM pragma_table_info(?1)");
    std::vector<std::string> present;
    while (sqlite3_step(columns.get()) == SQLITE_ROW)
        present.push_back(lower(std::string(textOf(columns.get(), 0))));
    for (const ColumnShape& column : table.columns)
        if (std::find(present.begin(), present.end(), lower(column.name)) == present.end())
            throw std::runtime_error("A tabela " + table.name + " do arquivo " + shown_ +
                                     " não tem a coluna " + column.name + ".");
}

std::uint64_t SuiteFile::read(const TableShape& table,
                              const std::function<void(const std::vector<Cell>&)>& row) const {
    check(table);
    const std::string sql = "SELECT " + columnList(table, allColumns(table)) + " FROM " + quoted(table.name);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error("Falha ao ler a tabela " + table.name + " do arquivo " + shown_ + ": " +
                                 shownText(sqlite3_errmsg(db_.get()), 200));
    const Statement statement(raw);
    const std::vector<int> keyColumns(table.key.begin(), table.key.end());
    std::vector<Cell> cells(table.columns.size());
    std::uint64_t rows = 0;
    for (;;) {
        const int step = sqlite3_step(raw);
        if (step == SQLITE_DONE)
            return rows;
        if (step != SQLITE_ROW)
            throw std::runtime_error("Falha ao ler a " + rowName(table, rows + 1, {}) + " do arquivo " +
                                     shown_ + ": " + shownText(sqlite3_errmsg(db_.get()), 200));
        ++rows;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string problem = checkedCell(table.columns[c], raw, static_cast<int>(c), cells[c]);
            if (!problem.empty())
                throw std::runtime_error("Valor recusado no arquivo " + shown_ + ", " +
                                         rowName(table, rows, keyText(raw, table, keyColumns)) + ", coluna " +
                                         table.columns[c].name + ": " + problem + ".");
        }
        row(cells);
    }
}

std::string SuiteFile::describeRow(const TableShape& table, std::uint64_t row) const {
    // The same scan as read(), in the same snapshot, so the n-th row is the one that was sent.
    const std::string sql =
        "SELECT " + columnList(table, table.key) + " FROM " + quoted(table.name) + " LIMIT 1 OFFSET ?1";
    sqlite3_stmt* raw = nullptr;
    std::string key;
    if (!table.key.empty() && row > 0 &&
        sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) == SQLITE_OK) {
        const Statement statement(raw);
        sqlite3_bind_int64(raw, 1, static_cast<sqlite3_int64>(row - 1));
        std::vector<int> columns(table.key.size());
        for (std::size_t i = 0; i < columns.size(); ++i)
            columns[i] = static_cast<int>(i);
        if (sqlite3_step(raw) == SQLITE_ROW)
            key = keyText(raw, table, columns);
    }
    return rowName(table, row, key);
}

std::vector<std::string> SuiteFile::tablesBesides(const std::vector<TableShape>& tables) const {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(
            db_.get(),
            "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
            "ESCAPE '\\' ORDER BY name",
            -1, &raw, nullptr) != SQLITE_OK)
        return {};
    const Statement statement(raw);
    std::vector<std::string> names;
    std::size_t more = 0;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const std::string name = lower(std::string(textOf(raw, 0)));
        if (std::any_of(tables.begin(), tables.end(),
                        [&](const TableShape& t) { return lower(t.name) == name; }))
            continue;
        if (names.size() < kShownTables)
            names.push_back(shownText(textOf(raw, 0)));
        else
            ++more;
    }
    if (more > 0)
        names.push_back("e mais " + std::to_string(more));
    return names;
}

} // namespace demo
