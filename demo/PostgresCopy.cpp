#include "PostgresCopy.h"

#include "server/store/DatabaseLocation.h"
#include "server/store/PostgresHandles.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>
#include <stdexcept>
#include <vector>

namespace demo {
namespace {

using server::PgResult;
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class Target {
public:
    explicit Target(const std::string& url) : shown_(server::maskedLocation(url)) {
        connection_.reset(PQconnectdb(url.c_str()));
        if (PQstatus(connection_.get()) != CONNECTION_OK)
            throw std::runtime_error("Não foi possível abrir o banco " + shown_ + ": " + error());
        server::silenceNotices(connection_.get());
        // Doubles go over as text: the server must keep every digit it reads back.
        exec(server::kPgRowSettings);
    }

    void exec(const std::string& sql) {
        const PgResult result(PQexec(connection_.get(), sql.c_str()));
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw std::runtime_error("Falha no SQL em " + shown_ + ": " + error(result.get()));
    }

    bool exists(const std::string& table) {
        const PgResult result(
            PQexec(connection_.get(), ("SELECT to_regclass('" + table + "') IS NOT NULL").c_str()));
        if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
            throw std::runtime_error("Falha no SQL em " + shown_ + ": " + error(result.get()));
        return std::string(PQgetvalue(result.get(), 0, 0)) == "t";
    }

    // COPY in text form, one line per row: `fill` is handed the sender of each chunk of lines.
    template <typename Fill> void copy(const std::string& table, Fill&& fill) {
        PgResult started(PQexec(connection_.get(), ("COPY " + table + " FROM STDIN").c_str()));
        if (PQresultStatus(started.get()) != PGRES_COPY_IN)
            throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " +
                                     error(started.get()));
        fill([&](const std::string& chunk) {
            if (PQputCopyData(connection_.get(), chunk.data(), static_cast<int>(chunk.size())) != 1)
                throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " + error());
        });
        if (PQputCopyEnd(connection_.get(), nullptr) != 1)
            throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " + error());
        const PgResult ended(PQgetResult(connection_.get()));
        if (PQresultStatus(ended.get()) != PGRES_COMMAND_OK)
            throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " +
                                     error(ended.get()));
        while (PGresult* rest = PQgetResult(connection_.get()))
            PQclear(rest);
    }

private:
    std::string error(const PGresult* result = nullptr) const {
        std::string message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection_.get());
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        return message;
    }

    std::string shown_;
    server::PgConnection connection_;
};

// A value in COPY's text form: backslash escapes for the characters that end a field or a line.
void appendField(std::string& line, sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        line += "\\N";
        return;
    case SQLITE_INTEGER:
        line += std::to_string(sqlite3_column_int64(statement, column));
        return;
    case SQLITE_FLOAT: {
        // The shortest text that reads back as the very same double.
        char buffer[32];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, sqlite3_column_double(statement, column));
        line.append(buffer, written.ptr);
        return;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int length = sqlite3_column_bytes(statement, column);
        for (int i = 0; i < length; ++i) {
            switch (text[i]) {
            case '\\':
                line += "\\\\";
                break;
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            default:
                line += text[i];
            }
        }
    }
    }
}

Statement prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("Falha ao ler o banco gerado: ") + sqlite3_errmsg(db));
    return Statement(statement);
}

} // namespace

void copyIntoPostgres(const std::filesystem::path& sqliteFile, const std::string& url,
                      const std::string& schemaSql) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(sqliteFile.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> source(raw, &sqlite3_close);
    if (rc != SQLITE_OK)
        throw std::runtime_error("Não foi possível ler o banco gerado " + sqliteFile.string());

    // The tables in the order the schema creates them.
    std::vector<std::string> tables;
    const Statement listing =
        prepare(source.get(), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
    while (sqlite3_step(listing.get()) == SQLITE_ROW)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(listing.get(), 0)));

    Target target(url);
    for (const std::string& table : tables)
        if (target.exists(table))
            throw std::runtime_error("O banco " + server::maskedLocation(url) + " já tem a tabela " + table +
                                     "; use um banco vazio.");
    // One transaction: a failure rolls everything back when the connection closes.
    target.exec("BEGIN");
    target.exec(schemaSql);
    for (const std::string& table : tables) {
        const Statement rows = prepare(source.get(), "SELECT * FROM " + table);
        const int columns = sqlite3_column_count(rows.get());
        target.copy(table, [&](const auto& send) {
            std::string chunk;
            for (;;) {
                const int step = sqlite3_step(rows.get());
                if (step == SQLITE_DONE)
                    break;
                if (step != SQLITE_ROW)
                    throw std::runtime_error("Falha ao ler " + table +
                                             " do banco gerado: " + sqlite3_errmsg(source.get()));
                for (int c = 0; c < columns; ++c) {
                    if (c > 0)
                        chunk += '\t';
                    appendField(chunk, rows.get(), c);
                }
                chunk += '\n';
                if (chunk.size() > 1 << 16) {
                    send(chunk);
                    chunk.clear();
                }
            }
            if (!chunk.empty())
                send(chunk);
        });
    }
    target.exec("COMMIT");
    // The planner's statistics, which a fresh bulk load lacks.
    target.exec("ANALYZE");
}

} // namespace demo
