// A transaction that fails on a connection the program keeps: the next transaction on
// the same connection starts clean.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "store/postgres/pg_connection.h"
#include "support/pg_server.h"

using zt::store::PgConnection;
using zt::test::PgServer;

TEST(PgTransaction, AThrowingTransactionLeavesNothingForTheNextOnTheSameConnection) {
    const std::string info = PgServer::shared().createDatabase("tx_kept");
    PgConnection c = PgConnection::open(info);
    c.execScript("CREATE TABLE t (k integer PRIMARY KEY)");
    // After a row is written: the program's own exception, a failed statement (a duplicate
    // key: the server aborts the transaction), a failed statement caught inside.
    const std::pair<const char*, void (*)(PgConnection&)> cases[] = {
        {"own exception", [](PgConnection&) { throw std::runtime_error("stop"); }},
        {"failed statement", [](PgConnection& c) { c.exec("INSERT INTO t VALUES (1)"); }},
        {"caught inside", [](PgConnection& c) { try { c.exec("SELECT no_such_column FROM t"); } catch (const std::exception&) {} }},
    };
    int next = 2;
    for (const auto& [what, fail] : cases) {
        EXPECT_ANY_THROW(c.transaction([&] { c.exec("INSERT INTO t VALUES (1)"); fail(c); })) << what;
        // The next transaction on the same connection: no "current transaction is
        // aborted", and none of the rows of the failed one.
        EXPECT_NO_THROW(c.transaction([&] { c.exec("INSERT INTO t VALUES ($1)", {next}); })) << what;
        EXPECT_EQ(PgServer::shared().query("tx_kept", "SELECT k FROM t ORDER BY k"), std::to_string(next)) << what;
        PgServer::shared().exec("tx_kept", "DELETE FROM t");
        ++next;
    }
}
