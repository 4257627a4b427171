// Connections to the figure server are lent for one operation at a time: two leases held
// at once are two connections, a connection given back serves the next lease, and
// threads reading at once each get their own answers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "store/figures/server_store.h"
#include "support/pg_server.h"

using zt::store::figureServerConnection;

TEST(ServerLeases, OneConnectionPerLeaseKeptForTheNextAndSafeAcrossThreads) {
    const std::string db = zt::test::PgServer::shared().createDatabase("leases");
    const zt::store::PgConnection *first = nullptr, *second = nullptr;
    {
        const auto a = figureServerConnection(db);
        const auto b = figureServerConnection(db);
        first = &*a;
        second = &*b;
        EXPECT_NE(first, second);
    }
    {
        const auto again = figureServerConnection(db);
        EXPECT_TRUE(&*again == first || &*again == second);
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                const auto c = figureServerConnection(db);
                const int n = t * 1000 + i;
                if (c->exec("SELECT $1::int + 1", {n}).value(0, 0).toInteger() != n + 1) ++wrong;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, 0);
}
