// Nothing waits on the figure server for good: a statement past its limit is cancelled,
// reported naming the server, and nothing of its transaction is kept.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "store/postgres/pg_connection.h"
#include "support/db_error.h"
#include "support/pg_server.h"

using zt::store::PgConnection;
using zt::test::dbErrorOf;
using zt::test::PgServer;

TEST(PgTimeLimit, LimitsComeFromTheConnectionStringOrTheDefaults) {
    const auto limits = [](const std::string& options) {
        const auto l = zt::store::statementLimitsOf("dbname=x" + options);
        return std::pair{l.readSeconds, l.longSeconds};
    };
    EXPECT_EQ(limits(""), std::pair(30.0, 300.0));
    EXPECT_EQ(limits(" options='-c zentoria.read_timeout=1500ms -c zentoria.write_timeout=2min'"), std::pair(1.5, 120.0));
    zt::store::setStatementLimits(12, 34);  // the defaults for what the string does not say
    const auto fromSettings = limits(" options='-c zentoria.read_timeout=2'");
    zt::store::setStatementLimits(30, 300);
    EXPECT_EQ(fromSettings, std::pair(2.0, 34.0));
}

TEST(PgTimeLimit, AStatementWaitingOnALockIsCancelledAndItsTransactionRolledBack) {
    PgServer& server = PgServer::shared();
    const std::string info = server.createDatabase("limit_lock");
    PgConnection holder = PgConnection::open(info);
    holder.execScript("CREATE TABLE locked (k integer); CREATE TABLE written (k integer)");
    // Another session holds the table: every reader waits for it.
    holder.exec("BEGIN"), holder.exec("LOCK TABLE locked IN ACCESS EXCLUSIVE MODE");

    PgConnection c = PgConnection::open(info + " options='-c zentoria.read_timeout=1 -c zentoria.write_timeout=2'");
    const std::string read = dbErrorOf([&] { c.exec("SELECT count(*) FROM locked"); });
    EXPECT_NE(read.find("socket " + server.socketDir().string() + "/limit_lock"), std::string::npos) << read;
    EXPECT_NE(read.find("longer than its limit of 1 s and was cancelled"), std::string::npos) << read;
    EXPECT_TRUE(c.timedOut());

    // Inside a transaction, with the long limit: the row written before is not kept.
    const std::string longWork = dbErrorOf([&] {
        const zt::store::ServerLongWork push;
        c.transaction([&] { c.exec("INSERT INTO written VALUES (1)"), c.exec("SELECT count(*) FROM locked"); });
    });
    EXPECT_NE(longWork.find("limit of 2 s"), std::string::npos) << longWork;
    holder.exec("ROLLBACK");
    // The same connection goes on, and the failed transaction left nothing.
    EXPECT_EQ(c.exec("SELECT count(*) FROM written").text(0, 0), "0");
    EXPECT_EQ(c.exec("SELECT count(*) FROM locked").text(0, 0), "0");
    EXPECT_FALSE(c.timedOut());
}

TEST(PgTimeLimit, AServerProcessThatStoppedAnsweringIsLeftAtTheLimit) {
    const std::string info = PgServer::shared().createDatabase("limit_stopped");
    PgConnection c = PgConnection::open(info + " options='-c zentoria.read_timeout=1'");
    c.execScript("CREATE TABLE t (k integer); INSERT INTO t VALUES (1)");
    const pid_t backend = std::stoi(c.exec("SELECT pg_backend_pid()").text(0, 0));
    c.exec("BEGIN"), c.exec("INSERT INTO t VALUES (2)");
    ASSERT_EQ(::kill(backend, SIGSTOP), 0);
    const std::string e = dbErrorOf([&] { c.exec("SELECT count(*) FROM t"); });
    ::kill(backend, SIGCONT);
    EXPECT_NE(e.find("limit of 1 s and was cancelled"), std::string::npos) << e;
    // Its transaction is gone with it: the row of the open transaction is not there.
    EXPECT_EQ(PgConnection::open(info).exec("SELECT count(*) FROM t").text(0, 0), "1");
}
