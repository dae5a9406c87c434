#include "MenuFixture.h"

#include "server/RemoteDataModule.h"
#include "server/store/MenuRepository.h"

namespace {

using nlohmann::json;

// Sessions that take turns at a server's connections: each call goes back to the connection that
// served its session last when that one is free, so the menu it read there is read once, not once
// per connection the session happens to land on.
TEST_F(MenuFixture, ASessionsCallsReturnToItsConnectionAndFindItsMenuThere) {
    item("2026-03-03", 1, "D1");
    item("2026-03-04", 1, "D2", false, 1, "002");
    server::RemoteDataModule module(db_.url());
    server::SessionState first, second;
    const auto reads = [&](server::SessionState& session, const std::string& service) {
        const auto before = server::MenuRepository::menuReads();
        module.call("GetRestPratMes", json{"0001", service, "2026-03-01", "2026-03-31"}, session);
        return server::MenuRepository::menuReads() - before;
    };
    {
        // Two connections in the pool: the first session's call finds one busy and opens another.
        server::DatabasePool::Lease busy = module.pool().acquire();
        EXPECT_EQ(reads(first, "001"), 1u);
    }
    EXPECT_EQ(reads(second, "002"), 1u);
    EXPECT_NE(first.connection, second.connection);
    for (int turn = 0; turn < 3; ++turn) {
        EXPECT_EQ(reads(first, "001"), 0u) << turn;
        EXPECT_EQ(reads(second, "002"), 0u) << turn;
    }
}

} // namespace
