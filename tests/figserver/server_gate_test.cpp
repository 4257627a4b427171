// While a server holds the figures the management password lives there: another folder
// without "Security.pwd" does not skip it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/demo.h"
#include "store/postgres/pg_connection.h"
#include "support/db_error.h"
#include "support/holds.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::holds;
using zt::test::inDir;
using zt::test::PgServer;
using zt::test::succeededSaying;
using zt::test::TestDir;

namespace {

// A database of the test's own with the figure tables made, and two demo folders: the
// office's, and a colleague's without Security.pwd.
class ServerGate : public ::testing::Test {
protected:
    void SetUp() override {
        static int databases = 0;
        name_ = "gate_" + std::to_string(++databases);
        db_ = PgServer::shared().createDatabase(name_);
        ASSERT_TRUE(succeededSaying(onServer({"figures", "init"}), "Direzione: created"));
        zt::app::writeDemo(office.path(), true);
        zt::app::writeDemo(elsewhere.path(), true);
        std::filesystem::remove(elsewhere / "Security.pwd");
    }

    // The command line with the figure server set and ZENTORIA_PASSWORD as given (unset: none).
    zt::test::Run onServer(const std::vector<std::string>& args, const char* password = nullptr,
                           const std::string& input = "") {
        ::setenv("ZENTORIA_FIGURES_DB", db_.c_str(), 1);
        if (password) ::setenv("ZENTORIA_PASSWORD", password, 1);
        else ::unsetenv("ZENTORIA_PASSWORD");
        zt::test::Run r = zt::test::runCli(args, input);
        ::unsetenv("ZENTORIA_FIGURES_DB");
        ::unsetenv("ZENTORIA_PASSWORD");
        return r;
    }
    zt::test::Run grid(const TestDir& dir, const char* password = nullptr) {
        return onServer(inDir(dir.path(), {"grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                                           "--detail", "Generale"}), password);
    }
    std::string query(const std::string& sql) const { return PgServer::shared().query(name_, sql); }

    std::string name_, db_;
    TestDir office, elsewhere;
};

TEST_F(ServerGate, ThePasswordLivesOnTheServerAndEveryFolderIsAskedForIt) {
    ASSERT_TRUE(succeededSaying(grid(elsewhere), ""));  // no password yet
    ASSERT_TRUE(succeededSaying(onServer(inDir(office.path(), {"passwd"}), nullptr, "segreta\n"),
                                "Password set on PostgreSQL server"));
    EXPECT_FALSE(std::filesystem::exists(office / "Security.pwd"));
    EXPECT_EQ(query("SELECT count(*) FROM \"Direzione\""), "1");

    // The other folder, with no Security.pwd, is asked for the server's password.
    const auto without = grid(elsewhere);
    EXPECT_EQ(without.status, 1);
    EXPECT_TRUE(without.out.empty()) << without.out;
    EXPECT_EQ(grid(elsewhere, "sbagliata").status, 1);
    EXPECT_TRUE(succeededSaying(grid(elsewhere, "segreta"), ""));
    const auto reg = onServer(inDir(elsewhere.path(), {"register", "--hotel", "1", "--year", "2014", "--stat", "Cassa",
                                                       "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"}));
    EXPECT_NE(reg.status, 0);
    EXPECT_EQ(query("SELECT count(*) FROM \"Zentoria\""), "0");
}

TEST_F(ServerGate, PushMovesTheFolderPasswordToAServerWithoutOne) {
    ASSERT_TRUE(succeededSaying(zt::test::runCli(inDir(office.path(), {"passwd"}), "locale\n"), ""));
    // The folder's own password guards the push that moves it.
    EXPECT_EQ(onServer(inDir(office.path(), {"figures", "push"}), "sbagliata").status, 1);
    EXPECT_EQ(query("SELECT count(*) FROM \"Direzione\""), "0");
    ASSERT_TRUE(succeededSaying(onServer(inDir(office.path(), {"figures", "push"}), "locale"),
                                "management password of Security.pwd is now the server's"));
    EXPECT_EQ(grid(elsewhere).status, 1);
    EXPECT_EQ(grid(elsewhere, "locale").status, 0);
}

TEST_F(ServerGate, InitPrintsGrantsThatMakeAReadOnlyRole) {
    const auto grants = onServer({"figures", "init", "--grants", "sola_lettura", "cassa"});
    ASSERT_TRUE(succeededSaying(grants, "GRANT SELECT ON \"Zentoria\", \"Dettaglio\" TO \"sola_lettura\";"));
    PgServer::shared().exec(name_, grants.out);
    PgServer::shared().exec(name_, "INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'CONT', '201401', 5)");
    zt::store::PgConnection reader = zt::store::PgConnection::open(db_ + " user=sola_lettura");
    EXPECT_EQ(reader.exec("SELECT count(*) FROM \"Zentoria\"").text(0, 0), "1");
    EXPECT_TRUE(holds(zt::test::dbErrorOf([&] { reader.exec("DELETE FROM \"Zentoria\""); }), "permission denied"));
    zt::store::PgConnection writer = zt::store::PgConnection::open(db_ + " user=cassa");
    EXPECT_EQ(writer.exec("DELETE FROM \"Zentoria\"").affected(), 1);
}

TEST_F(ServerGate, WrongPasswordsAreCountedOnTheServerForEveryWorkstation) {
    std::filesystem::remove(office / "Security.pwd");  // two colleagues' folders
    ASSERT_EQ(onServer(inDir(office.path(), {"passwd"}), nullptr, "segreta\n").status, 0);
    // Two workstations' wrong tries add up in one count.
    for (const TestDir* d : {&office, &elsewhere, &office}) EXPECT_EQ(grid(*d, "sbagliata").status, 1);
    EXPECT_EQ(query("SELECT \"Errate\", \"Ultima\" > 0 FROM \"Direzione\""), "3,t");
    // The right one (after its wait of a second) opens and starts the count again.
    EXPECT_EQ(grid(elsewhere, "segreta").status, 0);
    EXPECT_EQ(query("SELECT \"Errate\" FROM \"Direzione\""), "0");
}

}  // namespace
