#include "ScreenFaultFixture.h"

#include <sqlite3.h>

#include <filesystem>

namespace {

// A server over its own copy of the demo database, which the test may take away or lock.
class DatabaseFaults : public ScreenFaults {
protected:
    void SetUp() override {
        ScreenFaults::SetUp();
        std::filesystem::copy_file(generatedDemo(), database);
        own = std::make_unique<ServerProcess>(database.string());
        useServer(own->port());
        form = launch(u""_s, u"002"_s);
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
        checkAll();
    }
    void TearDown() override {
        closeScreen();
        own.reset();
        ScreenFaults::TearDown();
    }

    // The server is still there: it answers a run that needs the database.
    void expectACompleteRun() {
        const auto seen = errors().size();
        pressVerify();
        EXPECT_EQ(errors().size(), seen) << errors().join(u'\n').toStdString();
        for (bool flag : flags())
            EXPECT_FALSE(flag);
        EXPECT_FALSE(form->cdsLimNutri.IsEmpty());
    }

    TempFolder folder;
    std::filesystem::path database = folder.path() / "suite.db";
    std::unique_ptr<ServerProcess> own;
};

TEST_F(DatabaseFaults, ARemovedDatabaseIsAnErrorAnswerNeverAStaleOneAndItsReturnIsSeen) {
    // The server already read the database for the service list.
    const auto aside = folder.path() / "aside.db";
    std::filesystem::rename(database, aside);
    pressVerify();
    ASSERT_EQ(errors().size(), 1) << "a run over a database that is gone must fail";
    EXPECT_TRUE(errors()[0].contains(u"banco de dados"_s)) << errors()[0].toStdString();
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_TRUE(boLimNutri);
    EXPECT_EQ(::kill(own->pid(), 0), 0) << "the server is still running";

    std::filesystem::rename(aside, database);
    expectACompleteRun();
}

TEST_F(DatabaseFaults, AReplacedDatabaseIsReadAfresh) {
    // A database written anew under the same name: without the branch's contracts nothing
    // infringes any more, and the answer must say so instead of repeating the old file's rows.
    const auto fresh = folder.path() / "fresh.db";
    std::filesystem::copy_file(database, fresh);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(fresh.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM CTRLIMNUTR", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    pressVerify();
    ASSERT_FALSE(form->cdsLimNutri.IsEmpty());
    std::filesystem::rename(fresh, database);
    pressVerify();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    EXPECT_TRUE(form->cdsLimNutri.IsEmpty());
}

TEST_F(DatabaseFaults, ALockedDatabaseIsAnErrorAnswerAndTheServerAnswersOnceItIsFree) {
    sqlite3* locker = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &locker), SQLITE_OK);
    // A writer holding the whole file: readers wait out the server's busy time, then give up.
    ASSERT_EQ(sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    pressVerify();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(u"banco de dados"_s)) << errors()[0].toStdString();
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_EQ(::kill(own->pid(), 0), 0);
    sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(locker);

    expectACompleteRun();
}

} // namespace
