#include "TableRows.h"

#include "server/store/Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

std::vector<bool> realColumns(const std::filesystem::path& file, const std::string& table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, ("SELECT type FROM pragma_table_info('" + table + "') ORDER BY cid").c_str(), -1,
                       &statement, nullptr);
    std::vector<bool> reals;
    while (sqlite3_step(statement) == SQLITE_ROW)
        reals.push_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) ==
                        "DOUBLE PRECISION");
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return reals;
}

std::vector<std::string> rowsOf(const std::string& location, const std::string& table,
                                const std::vector<bool>& reals) {
    server::Database db(location);
    std::vector<std::string> lines;
    db.query("SELECT * FROM " + table, {}, [&](const server::SqlRow& row) {
        std::string line;
        for (std::size_t c = 0; c < reals.size(); ++c) {
            const int column = static_cast<int>(c);
            if (row.isNull(column)) {
                line += "NULL";
            } else if (reals[c]) {
                char exact[64];
                std::snprintf(exact, sizeof exact, "%a", row.real(column));
                line += exact;
            } else {
                line += "'" + row.text(column) + "'";
            }
            line += '|';
        }
        lines.push_back(line);
    });
    std::sort(lines.begin(), lines.end());
    return lines;
}
