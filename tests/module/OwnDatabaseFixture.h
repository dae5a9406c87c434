#pragma once

#include "ContractMenus.h"
#include "ScreenServerFixture.h"
#include "TestDatabase.h"

#include <memory>

// The screen over a database of the suite's own: the contract catalogue and the rows a suite adds,
// served by the real server. A suite calls startOver from its SetUpTestSuite.
class OwnDatabaseScreenTest : public ScreenServerTest {
protected:
    static void startOver(const std::string& rows, ServerProcess::Options options = {}) {
        database = std::make_unique<TestDatabase>();
        database->exec(contractCatalogueSql() + rows);
        startServer(database->pathString(), "TESTE", std::move(options));
    }
    static void TearDownTestSuite() {
        ScreenServerTest::TearDownTestSuite();
        database.reset();
    }

    static inline std::unique_ptr<TestDatabase> database;
};
