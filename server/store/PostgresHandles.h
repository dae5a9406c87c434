#pragma once

#include <libpq-fe.h>

#include <memory>

namespace server {

// libpq's handles, released also when what follows their opening throws.
struct PgConnectionCloser {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct PgResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgConnection = std::unique_ptr<PGconn, PgConnectionCloser>;
using PgResult = std::unique_ptr<PGresult, PgResultClearer>;

// A server's notices (an implicit index, a setting it adjusted) are no answer of ours.
inline void silenceNotices(PGconn* connection) {
    PQsetNoticeProcessor(
        connection, [](void*, const char*) {}, nullptr);
}

// How every connection of ours reads and writes rows: dates as SQLite keeps them ("YYYY-MM-DD"),
// doubles with every digit, text as UTF-8.
inline constexpr const char* kPgRowSettings =
    "SET DateStyle TO ISO, YMD; SET extra_float_digits TO 3; SET client_encoding TO 'UTF8'";

} // namespace server
