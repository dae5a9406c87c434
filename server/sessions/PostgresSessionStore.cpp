#include "server/sessions/PostgresSessionStore.h"

#include "server/sessions/TokenHash.h"
#include "server/store/DatabaseError.h"
#include "server/store/PostgresDatabase.h"

#include <exception>

namespace server {
namespace {

// Advisory lock keys: the module's number, then what the lock guards.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(60251, 1)";
constexpr const char* kOpenLock = "SELECT pg_advisory_xact_lock(60251, 2)";

// Servers starting together each run this; the lock makes the second wait for the first instead of
// failing on a half-made table. expira_em is the row's own deadline, moved on by inatividade, the
// idle time of the server that opened it.
constexpr const char* kSchema = R"(
CREATE SCHEMA IF NOT EXISTS restcont_sessoes;
CREATE TABLE IF NOT EXISTS restcont_sessoes.sessao (
    hash_token bytea PRIMARY KEY,
    endereco text NOT NULL,
    inatividade interval NOT NULL,
    usada_em timestamptz NOT NULL,
    expira_em timestamptz NOT NULL,
    semana_de date,
    semana_ate date,
    mes date,
    CHECK ((semana_de IS NULL) = (semana_ate IS NULL))
);
CREATE INDEX IF NOT EXISTS sessao_expira_em ON restcont_sessoes.sessao (expira_em);
CREATE INDEX IF NOT EXISTS sessao_usada_em ON restcont_sessoes.sessao (usada_em);
)";

// The check and the last-use refresh in one statement. The refresh writes a row version (and
// log), so it runs only once the last one is a few seconds old (a quarter of the idle time when
// that is shorter): a session may then expire that much early, never late.
constexpr const char* kUse =
    "WITH atual AS (SELECT semana_de, semana_ate, mes FROM restcont_sessoes.sessao "
    "WHERE hash_token = decode(?, 'hex') AND expira_em > now()), "
    "uso AS (UPDATE restcont_sessoes.sessao SET usada_em = now(), expira_em = now() + inatividade "
    "WHERE hash_token = decode(?, 'hex') AND expira_em > now() "
    "AND usada_em < now() - least(interval '5 seconds', inatividade / 4) RETURNING 1) "
    "SELECT semana_de, semana_ate, mes, (SELECT count(*) FROM uso) FROM atual";

constexpr const char* kWriteState =
    "UPDATE restcont_sessoes.sessao SET semana_de = ?, semana_ate = ?, mes = ? "
    "WHERE hash_token = decode(?, 'hex') AND expira_em > now()";

SqlParam dayParam(const std::optional<Day>& day) {
    if (!day)
        return std::monostate{};
    return isoDate(*day);
}

std::optional<Day> dayColumn(const SqlRow& row, int column) {
    if (row.isNull(column))
        return std::nullopt;
    const auto day = parseIsoDate(row.text(column));
    if (!day)
        throw DatabaseError("data inválida na tabela de sessões: '" + row.text(column) + "'");
    return day;
}

bool sameState(const SessionState& a, const SessionState& b) {
    const auto spanOf = [](const SessionState& state) {
        return state.weekSpan ? std::optional(std::pair(state.weekSpan->first, state.weekSpan->last))
                              : std::nullopt;
    };
    return spanOf(a) == spanOf(b) && a.month == b.month;
}

} // namespace

template <class Work> auto PostgresSessionStore::withConnection(Work&& work) {
    std::unique_ptr<PostgresDatabase> db;
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            db = std::move(idle_.back());
            idle_.pop_back();
        }
    }
    try {
        if (!db)
            db = std::make_unique<PostgresDatabase>(url_, PostgresDatabase::Access::ReadWrite);
        auto result = work(*db);
        const std::lock_guard lock(mutex_);
        idle_.push_back(std::move(db));
        return result;
    } catch (const DatabaseError& error) {
        throw SessionStoreError(error.what());
    }
}

PostgresSessionStore::PostgresSessionStore(const std::string& url, Limits limits)
    : url_(url), limits_(limits) {
    try {
        withConnection([](PostgresDatabase& db) {
            db.execute(std::string("BEGIN; ") + kSchemaLock + "; " + kSchema + "COMMIT");
            return true;
        });
    } catch (const SessionStoreError& error) {
        throw SessionStoreError(std::string("não foi possível preparar as sessões compartilhadas: ") +
                                error.what());
    }
}

PostgresSessionStore::~PostgresSessionStore() = default;

SessionStore::Opened PostgresSessionStore::open(const std::string& address) {
    std::string token = secureToken();
    const std::string hash = sha256Hex(token);
    Opened opened = withConnection([&](PostgresDatabase& db) {
        // Every count and the reclaiming below see the opens of every server, one open at a time.
        db.execute(std::string("BEGIN; ") + kOpenLock);
        Opened result = openLocked(db, hash, address);
        db.execute("COMMIT");
        return result;
    });
    if (opened.refusal == Refusal::None)
        opened.token = std::move(token);
    return opened;
}

SessionStore::Opened PostgresSessionStore::openLocked(PostgresDatabase& db, const std::string& hash,
                                                      const std::string& address) {
    const auto none = [](const SqlRow&) {};
    db.query("DELETE FROM restcont_sessoes.sessao WHERE expira_em <= now()", {}, none);
    std::int64_t total = 0, fromAddress = 0;
    db.query("SELECT count(*), count(*) FILTER (WHERE endereco = ?) FROM restcont_sessoes.sessao", {address},
             [&](const SqlRow& row) {
                 total = row.integer(0);
                 fromAddress = row.integer(1);
             });
    if (limits_.maxPerAddress > 0 && static_cast<std::size_t>(fromAddress) >= limits_.maxPerAddress)
        return {std::nullopt, Refusal::AddressFull};
    if (static_cast<std::size_t>(total) >= limits_.maxSessions) {
        bool reclaimed = false;
        db.query("DELETE FROM restcont_sessoes.sessao WHERE hash_token = (SELECT hash_token FROM "
                 "restcont_sessoes.sessao WHERE usada_em < now() - ? * interval '1 second' "
                 "ORDER BY usada_em LIMIT 1) RETURNING 1",
                 {static_cast<double>(limits_.grace.count())}, [&](const SqlRow&) { reclaimed = true; });
        if (!reclaimed)
            return {std::nullopt, Refusal::Full};
    }
    db.query(
        "INSERT INTO restcont_sessoes.sessao (hash_token, endereco, inatividade, usada_em, expira_em) "
        "VALUES (decode(?, 'hex'), ?, ? * interval '1 second', now(), now() + ? * interval '1 second')",
        {hash, address, static_cast<double>(limits_.idle.count()), static_cast<double>(limits_.idle.count())},
        none);
    return {std::nullopt, Refusal::None};
}

bool PostgresSessionStore::use(const std::string& token, const Call& call) {
    const std::string hash = sha256Hex(token);
    // The check's round trip costs as much as many a call: the call runs meanwhile, on the state
    // this server last saw the session in. Its outcome stands only when the table's state is that
    // one; otherwise it is run again on the table's, so no answer ever rests on a state the
    // session no longer has.
    const SessionState guess = lastSeen(hash);
    SessionState tried = guess;
    std::exception_ptr triedFailure;
    const auto tryGuess = [&] {
        try {
            call(tried);
        } catch (...) {
            triedFailure = std::current_exception();
        }
    };
    const std::optional<SessionState> before = withConnection([&](PostgresDatabase& db) {
        std::optional<SessionState> state;
        db.queryWhile(
            kUse, {hash, hash},
            [&](const SqlRow& row) {
                state.emplace();
                const auto first = dayColumn(row, 0), last = dayColumn(row, 1);
                if (first && last)
                    state->weekSpan = DaySpan{*first, *last};
                state->month = dayColumn(row, 2);
            },
            tryGuess);
        return state;
    });
    if (!before) {
        forget(hash);
        return false;
    }
    SessionState state = *before;
    if (sameState(guess, *before)) {
        if (triedFailure)
            std::rethrow_exception(triedFailure);
        state = tried;
    } else {
        call(state);
    }
    if (sameState(state, *before)) {
        remember(hash, state);
        return true;
    }
    // An answer whose state could not be kept is no answer: the next call would run without it.
    withConnection([&](PostgresDatabase& db) {
        const std::optional<Day> first = state.weekSpan ? std::optional(state.weekSpan->first) : std::nullopt;
        const std::optional<Day> last = state.weekSpan ? std::optional(state.weekSpan->last) : std::nullopt;
        db.query(kWriteState, {dayParam(first), dayParam(last), dayParam(state.month), hash},
                 [](const SqlRow&) {});
        return true;
    });
    remember(hash, state);
    return true;
}

SessionState PostgresSessionStore::lastSeen(const std::string& hash) {
    const std::lock_guard lock(seenMutex_);
    const auto found = seen_.find(hash);
    return found == seen_.end() ? SessionState{} : found->second;
}

void PostgresSessionStore::remember(const std::string& hash, const SessionState& state) {
    const std::lock_guard lock(seenMutex_);
    // Only a guess: past its bound any entry may go, and its session's next call runs twice.
    if (seen_.size() >= 4 * limits_.maxSessions + 64 && !seen_.contains(hash))
        seen_.erase(seen_.begin());
    seen_[hash] = state;
}

void PostgresSessionStore::forget(const std::string& hash) {
    const std::lock_guard lock(seenMutex_);
    seen_.erase(hash);
}

bool PostgresSessionStore::close(const std::string& token) {
    const std::string hash = sha256Hex(token);
    forget(hash);
    return withConnection([&](PostgresDatabase& db) {
        bool live = false;
        db.query("DELETE FROM restcont_sessoes.sessao WHERE hash_token = decode(?, 'hex') "
                 "RETURNING expira_em > now()",
                 {hash}, [&](const SqlRow& row) { live = row.text(0) == "t"; });
        return live;
    });
}

void PostgresSessionStore::check() {
    withConnection([](PostgresDatabase& db) {
        db.query("SELECT 1 FROM restcont_sessoes.sessao WHERE false", {}, [](const SqlRow&) {});
        return true;
    });
}

} // namespace server
