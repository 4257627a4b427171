// `zentoria figures init|push|pull` against a server the tests start for themselves:
// the command's output, the rows on the server and the rows of the figure files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/cli.h"
#include "app/demo.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::queryColumn;
using zt::test::TestDir;

namespace {

using Outcome = zt::test::Run;
constexpr auto figures = &zt::test::runCliWithServer;  // the command line, with the figure server setting

// Count and sum of Valore per hotel, "hotel:count:sum" joined by "|", as the figure file
// and the server give them.
std::string fileTotals(const TestDir& dir, const std::string& table) {
    return queryColumn(dir / (table + ".mdb"),
                       "SELECT NumeroHotel || ':' || count(*) || ':' || printf('%.2f', sum(Valore)) FROM " + table +
                           " GROUP BY NumeroHotel ORDER BY NumeroHotel");
}
std::string serverTotals(const std::string& db, const std::string& table) {
    return PgServer::shared().query(db, "SELECT \"NumeroHotel\" || ':' || count(*) || ':' || round(sum(\"Valore\"), 2) "
                                        "FROM \"" + table + "\" GROUP BY \"NumeroHotel\" ORDER BY \"NumeroHotel\"");
}
// Every row of a figure file in one order, for comparing two files.
std::string fileRows(const TestDir& dir, const std::string& table, const std::string& period) {
    return queryColumn(dir / (table + ".mdb"), "SELECT NumeroHotel || ',' || Tipo || ',' || Dettaglio || ',' || " +
                                                   period + " || ',' || Valore FROM " + table +
                                                   " ORDER BY NumeroHotel, Tipo, Dettaglio, " + period + ", Valore");
}

TEST(FiguresInit, CreatesTheTwoTablesOnceWithTheirKeyAndIndex) {
    const std::string db = PgServer::shared().createDatabase("init_twice");
    const Outcome first = figures(db, {"figures", "init"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Zentoria: created\nDettaglio: created\nDirezione: created\nfigure tables ready on PostgreSQL server socket " +
                             PgServer::shared().socketDir().string() + "/init_twice\n");
    const Outcome again = figures(db, {"figures", "init"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Zentoria: already there\nDettaglio: already there\n"), std::string::npos);

    PgServer& server = PgServer::shared();
    EXPECT_EQ(server.query("init_twice", "SELECT table_name || '.' || column_name || ':' || data_type FROM "
                                         "information_schema.columns WHERE table_schema = 'public' ORDER BY "
                                         "table_name DESC, ordinal_position"),
              "Zentoria.NumeroHotel:integer|Zentoria.Tipo:text|Zentoria.Dettaglio:text|Zentoria.AnnoMese:text|"
              "Zentoria.Valore:numeric|Direzione.Id:integer|Direzione.Riga:text|Direzione.Errate:integer|"
              "Direzione.Ultima:bigint|Dettaglio.NumeroHotel:integer|Dettaglio.Tipo:text|Dettaglio.Dettaglio:text|"
              "Dettaglio.DataInserimento:text|Dettaglio.Valore:numeric");
    // The key refuses a second row of the same hotel, statistic, detail and month.
    server.exec("init_twice", "INSERT INTO \"Zentoria\" VALUES (1, 'Presenze', 'Generale', '201403', 5)");
    EXPECT_THROW(server.exec("init_twice", "INSERT INTO \"Zentoria\" VALUES (1, 'Presenze', 'Generale', '201403', 6)"),
                 std::runtime_error);
    // A month's sum of Dettaglio seeks its index.
    server.exec("init_twice", "SET enable_seqscan = off");
    EXPECT_NE(server.query("init_twice", "EXPLAIN SELECT sum(\"Valore\") FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 1 "
                                         "AND \"Tipo\" = 'Presenze' AND \"DataInserimento\" >= '201403' AND "
                                         "\"DataInserimento\" < '201404' AND \"Dettaglio\" = 'Generale'")
                  .find("Dettaglio_somme"),
              std::string::npos);
}

TEST(FiguresInit, TheProgramTakesTheSettingFromItsEnvironment) {
    const std::string db = PgServer::shared().createDatabase("init_program");
    const Outcome init = zt::test::runProgram("figures init", "ZENTORIA_FIGURES_DB='" + db + "'");
    EXPECT_EQ(init.status, 0) << init;
    EXPECT_NE(init.out.find("Dettaglio: created\n"), std::string::npos) << init;
    EXPECT_EQ(PgServer::shared().query("init_program", "SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"),
              "3");  // Zentoria, Dettaglio and the password's Direzione
}

TEST(FiguresInit, RefusesWithoutTheSettingOrOverAForeignTable) {
    const Outcome unset = figures("", {"figures", "init"});
    EXPECT_TRUE(failedSaying(unset, 1, "ZENTORIA_FIGURES_DB is not set"));

    const std::string db = PgServer::shared().createDatabase("init_foreign");
    PgServer::shared().exec("init_foreign", "CREATE TABLE \"Zentoria\" (\"Anno\" text)");
    const Outcome foreign = figures(db, {"figures", "init"});
    EXPECT_TRUE(
        failedSaying(foreign, 1, "without the fields NumeroHotel, Tipo, Dettaglio, AnnoMese, Valore"));
    EXPECT_EQ(PgServer::shared().query("init_foreign", "SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"),
              "1");

    // A server that cannot be reached: named, without the password written in the setting.
    const Outcome absent = figures("host=/nonexistent-zt dbname=cifre password=S3cret-Pw", {"figures", "init"});
    EXPECT_TRUE(
        failedSaying(absent, 1, "PostgreSQL server socket /nonexistent-zt/cifre: cannot connect"));
    EXPECT_EQ(absent.err.find("S3cret"), std::string::npos);
    EXPECT_EQ(figures(db, {"figures", "drop"}).status, 2);
    EXPECT_EQ(figures(db, {"--dir", "/nonexistent-zt", "figures", "push", "--hotel", "x"}).status, 2);
}

TEST(FiguresPush, CopiesTheDemoHotelByHotelAndReplacesOnARerun) {
    const std::string db = PgServer::shared().createDatabase("push_demo");
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    // Before init the server holds neither the figure tables nor the password's table.
    const Outcome early = figures(db, {"--dir", dir.path().string(), "figures", "push"});
    EXPECT_EQ(early.status, 1);
    EXPECT_NE(early.err.find("PostgreSQL server socket " + PgServer::shared().socketDir().string() +
                             "/push_demo: the table "),
              std::string::npos)
        << early.err;
    EXPECT_NE(early.err.find("\"zentoria figures init\""), std::string::npos) << early.err;
    ASSERT_EQ(figures(db, {"figures", "init"}).status, 0);

    const Outcome push = figures(db, {"--dir", dir.path().string(), "figures", "push"});
    ASSERT_EQ(push.status, 0) << push.err;
    EXPECT_NE(push.out.find("Zentoria, hotel 1: "), std::string::npos) << push.out;
    EXPECT_NE(push.out.find("Dettaglio, hotel 2: "), std::string::npos) << push.out;
    for (const std::string table : {"Zentoria", "Dettaglio"}) {
        EXPECT_EQ(serverTotals("push_demo", table), fileTotals(dir, table)) << table;
        EXPECT_NE(fileTotals(dir, table).find("|2:"), std::string::npos);  // both hotels
    }

    // A rerun of one hotel replaces its rows: a row gone from the file is gone from the
    // server, the other hotel is untouched, nothing is duplicated.
    dir.sql("Zentoria.mdb", "DELETE FROM Zentoria WHERE rowid = (SELECT min(rowid) FROM Zentoria WHERE NumeroHotel = 1);"
                            "UPDATE Zentoria SET Valore = 0.1 WHERE rowid = (SELECT max(rowid) FROM Zentoria WHERE "
                            "NumeroHotel = 1)");
    const std::string hotel2Before = PgServer::shared().query(
        "push_demo", "SELECT count(*), sum(\"Valore\") FROM \"Zentoria\" WHERE \"NumeroHotel\" = 2");
    const Outcome rerun = figures(db, {"--dir", dir.path().string(), "figures", "push", "--hotel", "1"});
    ASSERT_EQ(rerun.status, 0) << rerun.err;
    EXPECT_EQ(rerun.out.find("hotel 2"), std::string::npos) << rerun.out;
    EXPECT_EQ(serverTotals("push_demo", "Zentoria"), fileTotals(dir, "Zentoria"));
    EXPECT_EQ(PgServer::shared().query("push_demo",
                                       "SELECT count(*), sum(\"Valore\") FROM \"Zentoria\" WHERE \"NumeroHotel\" = 2"),
              hotel2Before);
    EXPECT_EQ(PgServer::shared().query("push_demo", "SELECT count(*) FROM \"Zentoria\" WHERE \"Valore\" = 0.1"), "1");

    // A hotel the files do not hold leaves the server's rows of that hotel alone.
    const Outcome none = figures(db, {"--dir", dir.path().string(), "figures", "push", "--hotel", "7"});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(serverTotals("push_demo", "Dettaglio"), fileTotals(dir, "Dettaglio"));
}

TEST(FiguresPush, AFileBreakingTheKeyCopiesNothingOfThatHotel) {
    const std::string db = PgServer::shared().createDatabase("push_dup");
    ASSERT_EQ(figures(db, {"figures", "init"}).status, 0);
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    dir.sql("Zentoria.mdb", "INSERT INTO Zentoria SELECT * FROM Zentoria WHERE NumeroHotel = 2 LIMIT 1");
    const Outcome push = figures(db, {"--dir", dir.path().string(), "figures", "push"});
    EXPECT_TRUE(failedSaying(push, 1, "Zentoria_chiave"));
    EXPECT_NE(push.err.find("already exists"), std::string::npos) << push.err;
    // Hotel 1 went in whole before; of hotel 2 nothing.
    EXPECT_EQ(PgServer::shared().query("push_dup", "SELECT DISTINCT \"NumeroHotel\" FROM \"Zentoria\""), "1");
}

TEST(FiguresPush, AsksForTheManagementPasswordAndCarriesRowsWithoutAHotel) {
    const std::string db = PgServer::shared().createDatabase("push_gate");
    ASSERT_EQ(figures(db, {"figures", "init"}).status, 0);
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    ASSERT_EQ(zt::test::runCli({"--dir", dir.path().string(), "passwd"}, "segreta\n").status, 0);
    dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES (NULL, 'Cassa', 'CONT', '20250101', 5)");

    ::setenv("ZENTORIA_PASSWORD", "sbagliata", 1);
    const Outcome refused = figures(db, {"--dir", dir.path().string(), "figures", "push"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(PgServer::shared().query("push_gate", "SELECT count(*) FROM \"Dettaglio\""), "0");

    ::setenv("ZENTORIA_PASSWORD", "segreta", 1);
    const Outcome push = figures(db, {"--dir", dir.path().string(), "figures", "push"});
    EXPECT_EQ(push.status, 0) << push.err;
    EXPECT_NE(push.out.find("Dettaglio, no hotel number: 1 row, sum of Valore 5\n"), std::string::npos) << push.out;
    EXPECT_EQ(figures(db, {"--dir", dir.path().string(), "figures", "push"}).status, 0);
    ::unsetenv("ZENTORIA_PASSWORD");
    EXPECT_EQ(PgServer::shared().query("push_gate", "SELECT count(*) FROM \"Dettaglio\" WHERE \"NumeroHotel\" IS NULL"),
              "1");
}

TEST(FiguresPull, WritesTheServersRowsBackAndAgainGivesTheSameFiles) {
    const std::string db = PgServer::shared().createDatabase("pull_demo");
    ASSERT_EQ(figures(db, {"figures", "init"}).status, 0);
    TestDir source, target;
    zt::app::writeDemo(source.path(), true);
    zt::app::writeDemo(target.path(), true);
    ASSERT_EQ(figures(db, {"--dir", source.path().string(), "figures", "push"}).status, 0);

    // The server changes (another workstation registers a month, a row goes); the target
    // folder's files differ from the server in other places too.
    PgServer& server = PgServer::shared();
    server.exec("pull_demo", "UPDATE \"Zentoria\" SET \"Valore\" = 1234567.8901 WHERE ctid = "
                             "(SELECT ctid FROM \"Zentoria\" WHERE \"NumeroHotel\" = 1 LIMIT 1)");
    server.exec("pull_demo", "DELETE FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 2 AND \"Tipo\" = 'Cassa'");
    target.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES (2, 'Cassa', 'XX', '20990101', 5)");

    const Outcome pull = figures(db, {"--dir", target.path().string(), "figures", "pull"});
    ASSERT_EQ(pull.status, 0) << pull.err;
    EXPECT_NE(pull.out.find("written into the figure files"), std::string::npos);
    for (const std::string table : {"Zentoria", "Dettaglio"})
        EXPECT_EQ(fileTotals(target, table), serverTotals("pull_demo", table)) << table;
    EXPECT_EQ(queryColumn(target / "Dettaglio.mdb", "SELECT count(*) FROM Dettaglio WHERE Tipo = 'Cassa' AND "
                                                    "NumeroHotel = 2"),
              "0");
    EXPECT_EQ(queryColumn(target / "Zentoria.mdb", "SELECT count(*) FROM Zentoria WHERE Valore = 1234567.8901"), "1");

    const std::string zentoria = fileRows(target, "Zentoria", "AnnoMese");
    const std::string dettaglio = fileRows(target, "Dettaglio", "DataInserimento");
    const Outcome again = figures(db, {"--dir", target.path().string(), "figures", "pull"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, pull.out);
    EXPECT_EQ(fileRows(target, "Zentoria", "AnnoMese"), zentoria);
    EXPECT_EQ(fileRows(target, "Dettaglio", "DataInserimento"), dettaglio);

    // Pulled back into the source folder, the untouched hotel's rows are what they were.
    const std::string hotel1 = queryColumn(source / "Dettaglio.mdb", "SELECT count(*) || ',' || sum(Valore) FROM "
                                                                      "Dettaglio WHERE NumeroHotel = 1");
    ASSERT_EQ(figures(db, {"--dir", source.path().string(), "figures", "pull", "--hotel", "1"}).status, 0);
    EXPECT_EQ(queryColumn(source / "Dettaglio.mdb",
                          "SELECT count(*) || ',' || sum(Valore) FROM Dettaglio WHERE NumeroHotel = 1"),
              hotel1);

    // An Access figure file is only read: pull refuses it and leaves it as it was.
    target.copyAccessFixture("nwind.mdb", "Zentoria.mdb");
    const std::string before = target.read("Zentoria.mdb");
    const Outcome access = figures(db, {"--dir", target.path().string(), "figures", "pull"});
    EXPECT_TRUE(
        failedSaying(access, 1, "Zentoria.mdb: this is an Access file, which this program only reads"));
    EXPECT_EQ(target.read("Zentoria.mdb"), before);
}

}  // namespace
