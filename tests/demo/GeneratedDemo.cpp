#include "GeneratedDemo.h"

#include "DemoGenerator.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("restcont-demo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ReadOnlyDb::ReadOnlyDb(const std::filesystem::path& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + file.string());
    }
}

ReadOnlyDb::~ReadOnlyDb() {
    sqlite3_close(db_);
}

namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + "\n" + sql);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    bool step() {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(stmt)));
        return rc == SQLITE_ROW;
    }
};

std::string cellText(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return "NULL";
    case SQLITE_FLOAT: {
        char exact[64];
        std::snprintf(exact, sizeof exact, "%a", sqlite3_column_double(stmt, column));
        return exact;
    }
    default:
        return "'" + std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column))) + "'";
    }
}

} // namespace

long long ReadOnlyDb::scalar(const std::string& sql, const std::map<std::string, std::string>& params) const {
    Statement s(db_, sql);
    for (const auto& [name, value] : params) {
        const int index = sqlite3_bind_parameter_index(s.stmt, name.c_str());
        if (index > 0)
            sqlite3_bind_text(s.stmt, index, value.c_str(), -1, SQLITE_TRANSIENT);
    }
    if (!s.step())
        throw std::runtime_error("no row: " + sql);
    return sqlite3_column_int64(s.stmt, 0);
}

std::string ReadOnlyDb::text(const std::string& sql) const {
    Statement s(db_, sql);
    std::string out;
    while (s.step())
        out += cellText(s.stmt, 0) + "\n";
    return out;
}

std::vector<std::string> ReadOnlyDb::column(const std::string& sql) const {
    Statement s(db_, sql);
    std::vector<std::string> values;
    while (s.step())
        values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s.stmt, 0)));
    return values;
}

std::vector<std::string> ReadOnlyDb::tables() const {
    return column("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name");
}

std::string ReadOnlyDb::dump() const {
    std::string out;
    for (const auto& table : tables()) {
        Statement columns(db_, "SELECT count(*) FROM pragma_table_info('" + table + "')");
        columns.step();
        const int count = sqlite3_column_int(columns.stmt, 0);
        std::string order;
        for (int i = 1; i <= count; ++i)
            order += (i > 1 ? ", " : "") + std::to_string(i);
        Statement rows(db_, "SELECT * FROM " + table + " ORDER BY " + order);
        out += "table " + table + "\n";
        while (rows.step()) {
            for (int i = 0; i < count; ++i)
                out += cellText(rows.stmt, i) + (i + 1 < count ? "|" : "\n");
        }
    }
    return out;
}

// Every test runs in a process of its own, so the database is generated once per build of the test
// binary and shared through a file named after the binary's build time; each process writes its own
// copy first and renames it into place, so parallel runs never read a half-written file.
const std::filesystem::path& generatedDemo() {
    static const std::filesystem::path file = [] {
        const char* binary = std::getenv("RESTCONT_BINARY_DIR");
        const auto folder =
            (binary ? std::filesystem::path(binary) : std::filesystem::temp_directory_path()) /
            "restcont-demo-test-cache";
        std::filesystem::create_directories(folder);
        const auto built = std::filesystem::last_write_time(std::filesystem::read_symlink("/proc/self/exe"));
        const auto stamp = std::to_string(built.time_since_epoch().count());
        const auto shared = folder / ("demo-" + stamp + ".db");
        if (!std::filesystem::exists(shared)) {
            const auto own = folder / ("demo-" + stamp + "-" + std::to_string(::getpid()) + ".db");
            std::filesystem::remove(own);
            demo::generateDemoDatabase(own);
            std::filesystem::rename(own, shared);
        }
        return shared;
    }();
    return file;
}
