// While a server holds the figures the management password lives there: another folder
// without "Security.pwd" does not skip it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/cli.h"
#include "app/demo.h"
#include "store/postgres/pg_connection.h"
#include "support/db_error.h"
#include "support/pg_server.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::TestDir;

namespace {

struct GateRun {
    int status = -1;
    std::string out, err;
};

// The command line with the figure server set and ZENTORIA_PASSWORD as given (unset: none).
GateRun onServer(const std::string& db, const std::vector<std::string>& args, const char* password = nullptr,
                 const std::string& input = "") {
    ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    if (password) ::setenv("ZENTORIA_PASSWORD", password, 1);
    else ::unsetenv("ZENTORIA_PASSWORD");
    std::istringstream in(input);
    std::ostringstream out, err;
    GateRun r;
    r.status = zt::app::runCommand(args, in, out, err);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    ::unsetenv("ZENTORIA_PASSWORD");
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> gridOf(const TestDir& dir) {
    return {"--dir", dir.path().string(), "grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze", "--detail",
            "Generale"};
}

// A folder of the colleague's own, with the registry and lookups and no Security.pwd.
void bareFolder(const TestDir& dir) {
    zt::app::writeDemo(dir.path(), true);
    std::filesystem::remove(dir / "Security.pwd");
}

}  // namespace

TEST(ServerGate, ThePasswordLivesOnTheServerAndEveryFolderIsAskedForIt) {
    const std::string db = PgServer::shared().createDatabase("gate_server");
    const GateRun init = onServer(db, {"figures", "init"});
    ASSERT_EQ(init.status, 0) << init.err;
    EXPECT_NE(init.out.find("Direzione: created"), std::string::npos) << init.out;

    TestDir office, elsewhere;
    zt::app::writeDemo(office.path(), true);
    bareFolder(elsewhere);
    const GateRun open = onServer(db, gridOf(elsewhere));  // no password yet
    ASSERT_EQ(open.status, 0) << open.err;
    const GateRun set = onServer(db, {"--dir", office.path().string(), "passwd"}, nullptr, "segreta\n");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("Password set on PostgreSQL server"), std::string::npos) << set.out;
    EXPECT_FALSE(std::filesystem::exists(office / "Security.pwd"));
    EXPECT_EQ(PgServer::shared().query("gate_server", "SELECT count(*) FROM \"Direzione\""), "1");

    // The other folder, with no Security.pwd, is asked for the server's password.
    const GateRun without = onServer(db, gridOf(elsewhere));
    EXPECT_EQ(without.status, 1);
    EXPECT_TRUE(without.out.empty()) << without.out;
    EXPECT_EQ(onServer(db, gridOf(elsewhere), "sbagliata").status, 1);
    const GateRun with = onServer(db, gridOf(elsewhere), "segreta");
    EXPECT_EQ(with.status, 0) << with.err;
    const GateRun reg = onServer(db, {"--dir", elsewhere.path().string(), "register", "--hotel", "1", "--year", "2014",
                                      "--stat", "Cassa", "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12",
                                      "--yes"});
    EXPECT_NE(reg.status, 0);
    EXPECT_EQ(PgServer::shared().query("gate_server", "SELECT count(*) FROM \"Zentoria\""), "0");
}

TEST(ServerGate, PushMovesTheFolderPasswordToAServerWithoutOne) {
    const std::string db = PgServer::shared().createDatabase("gate_push");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    TestDir office, elsewhere;
    zt::app::writeDemo(office.path(), true);
    bareFolder(elsewhere);
    {
        std::istringstream in("locale\n");
        std::ostringstream out, err;
        ASSERT_EQ(zt::app::runCommand({"--dir", office.path().string(), "passwd"}, in, out, err), 0) << err.str();
    }
    // The folder's own password guards the push that moves it.
    EXPECT_EQ(onServer(db, {"--dir", office.path().string(), "figures", "push"}, "sbagliata").status, 1);
    EXPECT_EQ(PgServer::shared().query("gate_push", "SELECT count(*) FROM \"Direzione\""), "0");
    const GateRun push = onServer(db, {"--dir", office.path().string(), "figures", "push"}, "locale");
    ASSERT_EQ(push.status, 0) << push.err;
    EXPECT_NE(push.out.find("management password of Security.pwd is now the server's"), std::string::npos) << push.out;
    EXPECT_EQ(onServer(db, gridOf(elsewhere)).status, 1);
    EXPECT_EQ(onServer(db, gridOf(elsewhere), "locale").status, 0);
}

TEST(ServerGate, InitPrintsGrantsThatMakeAReadOnlyRole) {
    const std::string db = PgServer::shared().createDatabase("gate_grants");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    const GateRun grants = onServer(db, {"figures", "init", "--grants", "sola_lettura", "cassa"});
    ASSERT_EQ(grants.status, 0) << grants.err;
    EXPECT_NE(grants.out.find("GRANT SELECT ON \"Zentoria\", \"Dettaglio\" TO \"sola_lettura\";"), std::string::npos)
        << grants.out;
    PgServer::shared().exec("gate_grants", grants.out);
    PgServer::shared().exec("gate_grants", "INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'CONT', '201401', 5)");
    const std::string info = PgServer::shared().conninfo("gate_grants");
    zt::store::PgConnection reader = zt::store::PgConnection::open(info + " user=sola_lettura");
    EXPECT_EQ(reader.exec("SELECT count(*) FROM \"Zentoria\"").text(0, 0), "1");
    const std::string refused =
        zt::test::dbErrorOf([&] { reader.exec("DELETE FROM \"Zentoria\""); });
    EXPECT_NE(refused.find("permission denied"), std::string::npos) << refused;
    zt::store::PgConnection writer = zt::store::PgConnection::open(info + " user=cassa");
    EXPECT_EQ(writer.exec("DELETE FROM \"Zentoria\"").affected(), 1);
}

TEST(ServerGate, WrongPasswordsAreCountedOnTheServerForEveryWorkstation) {
    const std::string db = PgServer::shared().createDatabase("gate_count");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    TestDir one, two;
    bareFolder(one);
    bareFolder(two);
    ASSERT_EQ(onServer(db, {"--dir", one.path().string(), "passwd"}, nullptr, "segreta\n").status, 0);
    // Two workstations' wrong tries add up in one count.
    EXPECT_EQ(onServer(db, gridOf(one), "sbagliata").status, 1);
    EXPECT_EQ(onServer(db, gridOf(two), "sbagliata").status, 1);
    EXPECT_EQ(onServer(db, gridOf(one), "sbagliata").status, 1);
    EXPECT_EQ(PgServer::shared().query("gate_count", "SELECT \"Errate\", \"Ultima\" > 0 FROM \"Direzione\""), "3,t");
    // The right one (after its wait of a second) opens and starts the count again.
    EXPECT_EQ(onServer(db, gridOf(two), "segreta").status, 0);
    EXPECT_EQ(PgServer::shared().query("gate_count", "SELECT \"Errate\" FROM \"Direzione\""), "0");
}
