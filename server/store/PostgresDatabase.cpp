#include "server/store/PostgresDatabase.h"

#include "server/store/DatabaseError.h"
#include "server/store/DatabaseLocation.h"
#include "server/store/SqlPlaceholders.h"

#include <charconv>
#include <exception>

namespace server {
namespace {

// Type OIDs of the parameters whose type the statement cannot tell (a number compared with a
// number of another type); text is left for the server to infer, so it can stand for a date.
constexpr Oid kInt8Oid = 20;
constexpr Oid kFloat8Oid = 701;

std::string trimmed(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
}

class PostgresRow final : public SqlRow {
public:
    PostgresRow(const PGresult* result, const std::string& shown) : result_(result), shown_(shown) {}
    void moveTo(int row) { row_ = row; }

    bool isNull(int column) const override { return PQgetisnull(result_, row_, column) != 0; }

    std::string text(int column) const override {
        return std::string(PQgetvalue(result_, row_, column),
                           static_cast<std::size_t>(PQgetlength(result_, row_, column)));
    }

    // A null reads as 0, as SQLite's does.
    double real(int column) const override {
        if (isNull(column))
            return 0;
        return number<double>(column);
    }

    std::int64_t integer(int column) const override {
        if (isNull(column))
            return 0;
        return number<std::int64_t>(column);
    }

private:
    // from_chars reads the server's text regardless of the process locale; an integer read from a
    // decimal column keeps its whole part, as SQLite does.
    template <typename T> T number(int column) const {
        const char* begin = PQgetvalue(result_, row_, column);
        const char* end = begin + PQgetlength(result_, row_, column);
        T value{};
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error != std::errc() || stop == begin)
            throw DatabaseError("valor numérico inválido no banco de dados '" + shown_ + "': '" +
                                std::string(begin, end) + "'");
        return value;
    }

    const PGresult* result_;
    const std::string& shown_;
    int row_ = 0;
};

// Parameters in text form, which the server parses by the type it gave each one.
class Parameters {
public:
    explicit Parameters(const std::vector<SqlParam>& params) {
        texts_.reserve(params.size());
        for (const SqlParam& param : params) {
            if (const auto* text = std::get_if<std::string>(&param)) {
                texts_.push_back(*text);
                types_.push_back(0);
            } else if (const auto* real = std::get_if<double>(&param)) {
                // The shortest text that reads back as the very same double.
                char buffer[32];
                const auto written = std::to_chars(buffer, buffer + sizeof buffer, *real);
                texts_.emplace_back(buffer, written.ptr);
                types_.push_back(kFloat8Oid);
            } else if (const auto* integer = std::get_if<std::int64_t>(&param)) {
                texts_.push_back(std::to_string(*integer));
                types_.push_back(kInt8Oid);
            } else {
                texts_.emplace_back();
                types_.push_back(0);
            }
        }
        for (std::size_t i = 0; i < params.size(); ++i)
            values_.push_back(std::holds_alternative<std::monostate>(params[i]) ? nullptr
                                                                                : texts_[i].c_str());
    }
    int count() const { return static_cast<int>(values_.size()); }
    const char* const* values() const { return values_.data(); }
    const Oid* types() const { return types_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> values_;
    std::vector<Oid> types_;
};

} // namespace

PostgresDatabase::PostgresDatabase(const std::string& url, Access access)
    : url_(url), access_(access), shown_(maskedLocation(url)) {
    // The URL's own settings come after these defaults and override them.
    const char* keywords[] = {"connect_timeout", "fallback_application_name", "dbname", nullptr};
    const char* values[] = {"10", access == Access::ReadOnly ? "restcont-server" : "restcont-server-sessoes",
                            url_.c_str(), nullptr};
    connection_.reset(PQconnectdbParams(keywords, values, 1));
    if (!connection_)
        throw DatabaseError("não foi possível abrir o banco de dados '" + shown_ + "': sem memória");
    if (PQstatus(connection_.get()) != CONNECTION_OK)
        failToOpen();
    setUpSession();
}

PostgresDatabase::~PostgresDatabase() = default;

void PostgresDatabase::failToOpen() const {
    throw DatabaseError("não foi possível abrir o banco de dados '" + shown_ +
                        "': " + trimmed(PQerrorMessage(connection_.get())));
}

void PostgresDatabase::setUpSession() {
    silenceNotices(connection_.get());
    // No write ever to the suite's database, as SQLite is opened read-only.
    const std::string settings = access_ == Access::ReadOnly ? std::string(kPgRowSettings) +
                                                                   "; SET default_transaction_read_only TO on"
                                                             : std::string(kPgRowSettings);
    const PgResult result(PQexec(connection_.get(), settings.c_str()));
    if (!succeeded(result.get()))
        throw DatabaseError("não foi possível abrir o banco de dados '" + shown_ +
                            "': " + trimmed(PQresultErrorMessage(result.get())));
}

void PostgresDatabase::reconnect() {
    PQreset(connection_.get());
    statements_.clear();
    ++reconnects_;
    if (PQstatus(connection_.get()) != CONNECTION_OK)
        failToOpen();
    setUpSession();
}

void PostgresDatabase::query(const std::string& sql, const std::vector<SqlParam>& params,
                             const std::function<void(const SqlRow&)>& onRow) {
    const Parameters values(params);
    // Inside a transaction a reopened connection would run the statement outside it.
    const bool mayRepeat = PQtransactionStatus(connection_.get()) == PQTRANS_IDLE;
    PgResult result;
    for (int attempt = 0;; ++attempt) {
        if (PQstatus(connection_.get()) != CONNECTION_OK)
            reconnect();
        if (const std::string* name = prepared(sql, values.count(), values.types(), result))
            result.reset(PQexecPrepared(connection_.get(), name->c_str(), values.count(), values.values(),
                                        nullptr, nullptr, 0));
        if (succeeded(result.get()))
            break;
        // Nothing has reached onRow yet, and every statement either reads or, on the sessions'
        // database, writes what a repetition writes again: a broken connection can be reopened and
        // the statement run again once.
        if (PQstatus(connection_.get()) == CONNECTION_BAD && attempt == 0 && mayRepeat)
            continue;
        fail(result.get());
    }
    deliver(result.get(), onRow);
}

const std::string* PostgresDatabase::prepared(const std::string& sql, int count, const Oid* types,
                                              PgResult& result) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        const std::string name = "s" + std::to_string(statements_.size() + 1);
        result.reset(
            PQprepare(connection_.get(), name.c_str(), numberedPlaceholders(sql).c_str(), count, types));
        if (!succeeded(result.get()))
            return nullptr;
        found = statements_.emplace(sql, name).first;
    }
    return &found->second;
}

void PostgresDatabase::deliver(const PGresult* result,
                               const std::function<void(const SqlRow&)>& onRow) const {
    PostgresRow row(result, shown_);
    const int rows = PQntuples(result);
    for (int i = 0; i < rows; ++i) {
        row.moveTo(i);
        onRow(row);
    }
}

void PostgresDatabase::queryWhile(const std::string& sql, const std::vector<SqlParam>& params,
                                  const std::function<void(const SqlRow&)>& onRow,
                                  const std::function<void()>& meanwhile) {
    const Parameters values(params);
    bool sent = false;
    // Only on a sound connection outside a transaction: anything else takes query()'s way, which
    // knows when a statement may be repeated on a reopened connection.
    if (PQstatus(connection_.get()) == CONNECTION_OK &&
        PQtransactionStatus(connection_.get()) == PQTRANS_IDLE) {
        PgResult preparing;
        if (const std::string* name = prepared(sql, values.count(), values.types(), preparing))
            sent = PQsendQueryPrepared(connection_.get(), name->c_str(), values.count(), values.values(),
                                       nullptr, nullptr, 0) == 1;
        // Outside pipeline mode libpq keeps a statement in its buffer until the result is asked
        // for: flushed now, it reaches the database before the work starts. A statement that did
        // not all go is still in flight; its result below tells how it ended.
        if (sent)
            PQflush(connection_.get());
    }
    std::exception_ptr failure;
    try {
        meanwhile();
    } catch (...) {
        failure = std::current_exception();
    }
    PgResult result;
    if (sent) {
        result.reset(PQgetResult(connection_.get()));
        // The connection takes its next statement only once every result of this one is read.
        while (PgResult rest{PQgetResult(connection_.get())})
            ;
    }
    if (failure)
        std::rethrow_exception(failure);
    if (!sent || (!succeeded(result.get()) && PQstatus(connection_.get()) == CONNECTION_BAD))
        return query(sql, params, onRow);
    if (!succeeded(result.get()))
        fail(result.get());
    deliver(result.get(), onRow);
}

void PostgresDatabase::fail(const PGresult* result) const {
    const std::string message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection_.get());
    throw DatabaseError((access_ == Access::ReadOnly
                             ? "erro ao ler o banco de dados '" + shown_ + "' (leitura): "
                             : "erro no banco de dados de sessões '" + shown_ + "': ") +
                        trimmed(message));
}

void PostgresDatabase::execute(const std::string& statements) {
    if (PQstatus(connection_.get()) != CONNECTION_OK)
        reconnect();
    const PgResult result(PQexec(connection_.get(), statements.c_str()));
    if (!succeeded(result.get()))
        fail(result.get());
}

bool PostgresDatabase::beginRead(ReadScope scope) {
    if (scope != ReadScope::Snapshot || PQtransactionStatus(connection_.get()) != PQTRANS_IDLE)
        return false;
    execute("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
    return true;
}

void PostgresDatabase::endRead() noexcept {
    // Nothing to keep: a read that failed part way ends as it can (COMMIT of a failed transaction
    // rolls it back), and a connection that broke ended it already.
    if (PQstatus(connection_.get()) == CONNECTION_OK &&
        PQtransactionStatus(connection_.get()) != PQTRANS_IDLE)
        PgResult(PQexec(connection_.get(), "COMMIT"));
}

std::int64_t PostgresDatabase::dataVersion() {
    // Every commit writes a record to the write-ahead log before its rows are visible to anyone, so
    // the log's insert position has moved on whenever the data may have changed (it moves for other
    // reasons too, which only costs a fresh read). A standby reports how far it has replayed.
    std::int64_t position = 0;
    query("SELECT (CASE WHEN pg_is_in_recovery() THEN pg_last_wal_replay_lsn() "
          "ELSE pg_current_wal_insert_lsn() END) - '0/0'::pg_lsn",
          {}, [&](const SqlRow& row) { position = row.integer(0); });
    // A reopened connection may be to a database restored from elsewhere; its rows are read afresh.
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(position) +
                                     reconnects_ * 0x9E3779B97F4A7C15ull);
}

} // namespace server
