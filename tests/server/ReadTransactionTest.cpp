#include "MenuFixture.h"

#include "server/store/Database.h"

#include <stdexcept>

namespace {

class ReadTransactions : public MenuFixture {
protected:
    ReadTransactions() { sql("CREATE TABLE LEITURA (X INTEGER)"); }

    std::int64_t rows(server::Database& db) {
        std::int64_t count = -1;
        db.query("SELECT count(*) FROM LEITURA", {},
                 [&](const server::SqlRow& row) { count = row.integer(0); });
        return count;
    }
};

// A read left open would hold the file's lock: every writer of the suite's database would wait
// out its time-out and fail, and this connection would read one old state for ever.
TEST_F(ReadTransactions, EndWithTheirScopeAlsoByAnExceptionAndOneInsideAnotherDoesNothing) {
    server::Database db(db_.url());
    {
        const server::ReadTransaction reading(db);
        const server::ReadTransaction inside(db);
        EXPECT_EQ(rows(db), 0);
    }
    sql("INSERT INTO LEITURA VALUES (1)");
    EXPECT_EQ(rows(db), 1);

    try {
        const server::ReadTransaction reading(db);
        EXPECT_EQ(rows(db), 1);
        throw std::runtime_error("falha no meio da leitura");
    } catch (const std::runtime_error&) {
    }
    sql("INSERT INTO LEITURA VALUES (2)");
    EXPECT_EQ(rows(db), 2);
    EXPECT_EQ(db.beginRead(), !db_.onPostgres());
    db.endRead();
    sql("INSERT INTO LEITURA VALUES (3)");
    EXPECT_EQ(rows(db), 3);
}

// A snapshot read sees one state on every engine, and the version the menu cache checks is looked
// at once in it: another connection's commit shows, in rows and in the version, only after it.
TEST_F(ReadTransactions, ASnapshotSeesOneStateAndItsVersionOnceOnEveryEngine) {
    server::Database db(db_.url());
    {
        const server::ReadTransaction snapshot(db, server::ReadScope::Snapshot);
        const std::int64_t version = db.dataVersion();
        EXPECT_EQ(rows(db), 0);
        // SQLite without a write-ahead log makes a writer wait for its readers.
        if (db_.onPostgres()) {
            sql("INSERT INTO LEITURA VALUES (1)");
            EXPECT_EQ(rows(db), 0);
        }
        EXPECT_EQ(db.dataVersion(), version);
    }
    if (!db_.onPostgres())
        sql("INSERT INTO LEITURA VALUES (1)");
    const std::int64_t after = db.dataVersion();
    EXPECT_EQ(rows(db), 1);
    sql("INSERT INTO LEITURA VALUES (2)");
    EXPECT_NE(db.dataVersion(), after);
}

} // namespace
