// While a server holds the figures the management password lives there: another folder
// without "Security.pwd" does not skip it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/demo.h"
#include "store/postgres/pg_connection.h"
#include "support/db_error.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::inDir;
using zt::test::PgServer;
using zt::test::Run;
using zt::test::TestDir;

namespace {

// The command line with the figure server set and ZENTORIA_PASSWORD as given (unset: none).
Run onServer(const std::string& db, const std::vector<std::string>& args, const char* password = nullptr,
             const std::string& input = "") {
    ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    if (password) ::setenv("ZENTORIA_PASSWORD", password, 1);
    else ::unsetenv("ZENTORIA_PASSWORD");
    Run r = zt::test::runCli(args, input);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    ::unsetenv("ZENTORIA_PASSWORD");
    return r;
}

std::vector<std::string> gridOf(const TestDir& dir) {
    return inDir(dir.path(), {"grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze", "--detail", "Generale"});
}

// A demo folder, without Security.pwd when `bare` (a colleague's own folder).
void demoFolder(const TestDir& dir, bool bare = true) {
    zt::app::writeDemo(dir.path(), true);
    if (bare) std::filesystem::remove(dir / "Security.pwd");
}

}  // namespace

TEST(ServerGate, ThePasswordLivesOnTheServerAndEveryFolderIsAskedForIt) {
    const std::string db = PgServer::shared().createDatabase("gate_server");
    ASSERT_TRUE(zt::test::succeededSaying(onServer(db, {"figures", "init"}), "Direzione: created"));
    TestDir office, elsewhere;
    demoFolder(office, false);
    demoFolder(elsewhere);
    ASSERT_TRUE(zt::test::succeededSaying(onServer(db, gridOf(elsewhere)), ""));  // no password yet
    ASSERT_TRUE(zt::test::succeededSaying(onServer(db, inDir(office.path(), {"passwd"}), nullptr, "segreta\n"),
                                          "Password set on PostgreSQL server"));
    EXPECT_FALSE(std::filesystem::exists(office / "Security.pwd"));
    EXPECT_EQ(PgServer::shared().query("gate_server", "SELECT count(*) FROM \"Direzione\""), "1");

    // The other folder, with no Security.pwd, is asked for the server's password.
    const auto without = onServer(db, gridOf(elsewhere));
    EXPECT_EQ(without.status, 1);
    EXPECT_TRUE(without.out.empty()) << without.out;
    EXPECT_EQ(onServer(db, gridOf(elsewhere), "sbagliata").status, 1);
    EXPECT_TRUE(zt::test::succeededSaying(onServer(db, gridOf(elsewhere), "segreta"), ""));
    const auto reg = onServer(db, inDir(elsewhere.path(), {"register", "--hotel", "1", "--year", "2014", "--stat",
                                                           "Cassa", "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"}));
    EXPECT_NE(reg.status, 0);
    EXPECT_EQ(PgServer::shared().query("gate_server", "SELECT count(*) FROM \"Zentoria\""), "0");
}

TEST(ServerGate, PushMovesTheFolderPasswordToAServerWithoutOne) {
    const std::string db = PgServer::shared().createDatabase("gate_push");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    TestDir office, elsewhere;
    demoFolder(office, false);
    demoFolder(elsewhere);
    ASSERT_TRUE(zt::test::succeededSaying(zt::test::runCli(inDir(office.path(), {"passwd"}), "locale\n"), ""));
    // The folder's own password guards the push that moves it.
    EXPECT_EQ(onServer(db, inDir(office.path(), {"figures", "push"}), "sbagliata").status, 1);
    EXPECT_EQ(PgServer::shared().query("gate_push", "SELECT count(*) FROM \"Direzione\""), "0");
    ASSERT_TRUE(zt::test::succeededSaying(onServer(db, inDir(office.path(), {"figures", "push"}), "locale"),
                                          "management password of Security.pwd is now the server's"));
    EXPECT_EQ(onServer(db, gridOf(elsewhere)).status, 1);
    EXPECT_EQ(onServer(db, gridOf(elsewhere), "locale").status, 0);
}

TEST(ServerGate, InitPrintsGrantsThatMakeAReadOnlyRole) {
    const std::string db = PgServer::shared().createDatabase("gate_grants");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    const auto grants = onServer(db, {"figures", "init", "--grants", "sola_lettura", "cassa"});
    ASSERT_TRUE(zt::test::succeededSaying(grants, "GRANT SELECT ON \"Zentoria\", \"Dettaglio\" TO \"sola_lettura\";"));
    PgServer::shared().exec("gate_grants", grants.out);
    PgServer::shared().exec("gate_grants", "INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'CONT', '201401', 5)");
    const std::string info = PgServer::shared().conninfo("gate_grants");
    zt::store::PgConnection reader = zt::store::PgConnection::open(info + " user=sola_lettura");
    EXPECT_EQ(reader.exec("SELECT count(*) FROM \"Zentoria\"").text(0, 0), "1");
    const std::string refused = zt::test::dbErrorOf([&] { reader.exec("DELETE FROM \"Zentoria\""); });
    EXPECT_NE(refused.find("permission denied"), std::string::npos) << refused;
    zt::store::PgConnection writer = zt::store::PgConnection::open(info + " user=cassa");
    EXPECT_EQ(writer.exec("DELETE FROM \"Zentoria\"").affected(), 1);
}

TEST(ServerGate, WrongPasswordsAreCountedOnTheServerForEveryWorkstation) {
    const std::string db = PgServer::shared().createDatabase("gate_count");
    ASSERT_EQ(onServer(db, {"figures", "init"}).status, 0);
    TestDir one, two;
    demoFolder(one);
    demoFolder(two);
    ASSERT_EQ(onServer(db, inDir(one.path(), {"passwd"}), nullptr, "segreta\n").status, 0);
    // Two workstations' wrong tries add up in one count.
    for (const TestDir* d : {&one, &two, &one}) EXPECT_EQ(onServer(db, gridOf(*d), "sbagliata").status, 1);
    EXPECT_EQ(PgServer::shared().query("gate_count", "SELECT \"Errate\", \"Ultima\" > 0 FROM \"Direzione\""), "3,t");
    // The right one (after its wait of a second) opens and starts the count again.
    EXPECT_EQ(onServer(db, gridOf(two), "segreta").status, 0);
    EXPECT_EQ(PgServer::shared().query("gate_count", "SELECT \"Errate\" FROM \"Direzione\""), "0");
}
