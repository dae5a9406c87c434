#include "PostgresCopy.h"

#include "SuiteFile.h"
#include "server/store/DatabaseLocation.h"
#include "server/store/PostgresHandles.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace demo {
namespace {

using server::PgResult;

// PostgreSQL refused a line of a COPY: its number (0 when it does not say) and its message.
struct LineRefused {
    std::uint64_t line;
    std::string message;
};

// The sender found the COPY already ended by the server: what it said comes with the result.
struct CopyCutShort {};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The line a COPY error's context names ("COPY filial, line 3, column ...", in any language): the
// first number after the table's name.
std::uint64_t contextLine(const char* context) {
    if (!context)
        return 0;
    const std::string_view text(context);
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return 0;
    const std::size_t digits = text.find_first_of("0123456789", comma);
    if (digits == std::string_view::npos)
        return 0;
    std::uint64_t line = 0;
    std::from_chars(text.data() + digits, text.data() + text.size(), line);
    return line;
}

ColumnKind kindOf(const std::string& type) {
    if (type.rfind("character", 0) == 0 || type == "text")
        return ColumnKind::Text;
    if (type == "integer" || type == "bigint" || type == "smallint")
        return ColumnKind::Integer;
    if (type == "double precision" || type == "real")
        return ColumnKind::Real;
    if (type == "date")
        return ColumnKind::Date;
    throw std::logic_error("tipo de coluna sem cópia prevista: " + type);
}

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

    const std::string& shown() const { return shown_; }

    void exec(const std::string& sql) { query(sql); }

    // Anything already there (the suite's tables, another program's) could clash with the schema or
    // be read as part of the suite: the copy only goes into a database of its own.
    void requireEmpty() {
        const PgResult found = query(R"(
            SELECT count(*) OVER (), n.nspname || '.' || c.relname,
                   CASE WHEN c.relkind IN ('r', 'p', 'f') THEN 'a tabela'
                        WHEN c.relkind = 'S' THEN 'a sequência' ELSE 'a visão' END
            FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
            WHERE c.relkind IN ('r', 'p', 'f', 'v', 'm', 'S')
              AND n.nspname NOT IN ('pg_catalog', 'information_schema')
              AND n.nspname NOT LIKE 'pg\_toast%' AND n.nspname NOT LIKE 'pg\_temp\_%'
            ORDER BY 2 LIMIT 1)");
        if (PQntuples(found.get()) == 0)
            return;
        const long count = std::strtol(PQgetvalue(found.get(), 0, 0), nullptr, 10);
        std::string message = "O banco " + shown_ + " não está vazio: já tem " +
                              PQgetvalue(found.get(), 0, 2) + " " + shownText(PQgetvalue(found.get(), 0, 1));
        if (count > 1)
            message += " e mais " + std::to_string(count - 1) + (count > 2 ? " objetos" : " objeto");
        throw std::runtime_error(message + "; a cópia só grava num banco vazio.");
    }

    // The tables the schema just made, in the order it made them.
    std::vector<TableShape> shapes() {
        const PgResult columns = query(R"(
            SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod),
                   coalesce(a.attnum = ANY (i.indkey::int2[]), false)
            FROM pg_class c
            JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped
            LEFT JOIN pg_index i ON i.indrelid = c.oid AND i.indisprimary
            WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r'
            ORDER BY c.oid, a.attnum)");
        std::vector<TableShape> tables;
        for (int r = 0; r < PQntuples(columns.get()); ++r) {
            const std::string table = upper(PQgetvalue(columns.get(), r, 0));
            if (tables.empty() || tables.back().name != table)
                tables.push_back({table, {}, {}});
            TableShape& shape = tables.back();
            if (std::string(PQgetvalue(columns.get(), r, 3)) == "t")
                shape.key.push_back(shape.columns.size());
            shape.columns.push_back(
                {upper(PQgetvalue(columns.get(), r, 1)), kindOf(PQgetvalue(columns.get(), r, 2))});
        }
        return tables;
    }

    // COPY in text form, one line per row: `fill` is handed the sender of each chunk of lines.
    // Throws LineRefused when the server refuses the data.
    template <typename Fill> void copy(const std::string& table, Fill&& fill) {
        PgResult started(PQexec(connection_.get(), ("COPY " + table + " FROM STDIN").c_str()));
        if (PQresultStatus(started.get()) != PGRES_COPY_IN)
            throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " +
                                     error(started.get()));
        try {
            fill([&](const std::string& chunk) {
                if (PQputCopyData(connection_.get(), chunk.data(), static_cast<int>(chunk.size())) != 1)
                    throw CopyCutShort{};
            });
        } catch (const CopyCutShort&) {
            // The reason is in the result below.
        }
        if (PQputCopyEnd(connection_.get(), nullptr) != 1)
            throw std::runtime_error("Falha ao copiar " + table + " para " + shown_ + ": " + error());
        const PgResult ended(PQgetResult(connection_.get()));
        while (PGresult* rest = PQgetResult(connection_.get()))
            PQclear(rest);
        if (PQresultStatus(ended.get()) != PGRES_COMMAND_OK) {
            const char* primary = PQresultErrorField(ended.get(), PG_DIAG_MESSAGE_PRIMARY);
            throw LineRefused{contextLine(PQresultErrorField(ended.get(), PG_DIAG_CONTEXT)),
                              shownText(primary ? primary : error(ended.get()), 300)};
        }
    }

private:
    PgResult query(const std::string& sql) {
        PgResult result(PQexec(connection_.get(), sql.c_str()));
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw std::runtime_error("Falha no SQL em " + shown_ + ": " + error(result.get()));
        return result;
    }

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
void appendField(std::string& line, const Cell& cell) {
    switch (cell.type) {
    case Cell::Type::Null:
        line += "\\N";
        return;
    case Cell::Type::Integer:
        line += std::to_string(cell.integer);
        return;
    case Cell::Type::Real: {
        // The shortest text that reads back as the very same double.
        char buffer[32];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, cell.real);
        line.append(buffer, written.ptr);
        return;
    }
    case Cell::Type::Text:
        for (const char c : cell.text) {
            switch (c) {
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
                line += c;
            }
        }
    }
}

} // namespace

CopySummary copyIntoPostgres(const std::filesystem::path& sqliteFile, const std::string& url,
                             const std::string& schemaSql) {
    const SuiteFile source(sqliteFile);
    Target target(url);
    target.requireEmpty();
    // One transaction: a failure rolls everything back when the connection closes.
    target.exec("BEGIN");
    target.exec(schemaSql);
    const std::vector<TableShape> tables = target.shapes();
    // A file that is no suite database is refused before a row is copied.
    for (const TableShape& table : tables)
        source.check(table);
    CopySummary summary;
    for (const TableShape& table : tables) {
        try {
            target.copy(table.name, [&](const auto& send) {
                std::string chunk;
                summary.rows += source.read(table, [&](const std::vector<Cell>& cells) {
                    for (std::size_t c = 0; c < cells.size(); ++c) {
                        if (c > 0)
                            chunk += '\t';
                        appendField(chunk, cells[c]);
                    }
                    chunk += '\n';
                    if (chunk.size() > 1 << 16) {
                        send(chunk);
                        chunk.clear();
                    }
                });
                if (!chunk.empty())
                    send(chunk);
            });
        } catch (const LineRefused& refused) {
            throw std::runtime_error("O banco " + target.shown() + " recusou a " +
                                     source.describeRow(table, refused.line) + " do arquivo " +
                                     source.shownName() + ": " + refused.message);
        }
        ++summary.tables;
    }
    target.exec("COMMIT");
    // The planner's statistics, which a fresh bulk load lacks.
    target.exec("ANALYZE");
    summary.ignored = source.tablesBesides(tables);
    return summary;
}

} // namespace demo
