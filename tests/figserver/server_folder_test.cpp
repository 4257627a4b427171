// The program over a figure server of the test's own, from demo folders: the management
// password lives on the server (another folder without "Security.pwd" does not skip it),
// `figures push` of rows the server cannot take, the window while the server keeps it
// waiting, and the Jet dialect on the server.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

#include "app/demo.h"
#include "desktop/qt/zent_desk_top.h"
#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_sql.h"
#include "store/figures/server_store.h"
#include "store/postgres/pg_connection.h"
#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/holds.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"
#include "window/window_support.h"

using zt::test::holds;
using zt::test::inDir;
using zt::test::PgServer;
using zt::test::succeededSaying;
using zt::test::TestDir;

namespace {

// A database of the test's own with the figure tables made, and two demo folders: the
// office's, and a colleague's without Security.pwd.
class FolderOnServer : public ::testing::Test {
protected:
    void SetUp() override {
        static int databases = 0;
        name_ = "folder_" + std::to_string(++databases);
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
    zt::test::Run grid(const TestDir& dir, const char* password = nullptr, const char* year = "2014") {
        return onServer(inDir(dir.path(), {"grid", "--hotel", "1", "--year", year, "--stat", "Presenze",
                                           "--detail", "Generale"}), password);
    }
    std::string query(const std::string& sql) const { return PgServer::shared().query(name_, sql); }
    void exec(const std::string& sql) const { PgServer::shared().exec(name_, sql); }

    std::string name_, db_;
    TestDir office, elsewhere;
};

TEST_F(FolderOnServer, ThePasswordLivesOnTheServerAndEveryFolderIsAskedForIt) {
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
    const auto reg = onServer(inDir(elsewhere.path(), {"register", "--hotel", "1", "--year", "2014", "--stat",
                                                       "Cassa", "--detail", "CONT", "--values",
                                                       "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"}));
    EXPECT_NE(reg.status, 0);
    EXPECT_EQ(query("SELECT count(*) FROM \"Zentoria\""), "0");
}

TEST_F(FolderOnServer, PushMovesTheFolderPasswordToAServerWithoutOne) {
    ASSERT_TRUE(succeededSaying(zt::test::runCli(inDir(office.path(), {"passwd"}), "locale\n"), ""));
    // The folder's own password guards the push that moves it.
    EXPECT_EQ(onServer(inDir(office.path(), {"figures", "push"}), "sbagliata").status, 1);
    EXPECT_EQ(query("SELECT count(*) FROM \"Direzione\""), "0");
    ASSERT_TRUE(succeededSaying(onServer(inDir(office.path(), {"figures", "push"}), "locale"),
                                "management password of Security.pwd is now the server's"));
    EXPECT_EQ(grid(elsewhere).status, 1);
    EXPECT_EQ(grid(elsewhere, "locale").status, 0);
}

TEST_F(FolderOnServer, InitPrintsGrantsThatMakeAReadOnlyRole) {
    const auto grants = onServer({"figures", "init", "--grants", "sola_lettura", "cassa"});
    ASSERT_TRUE(succeededSaying(grants, "GRANT SELECT ON \"Zentoria\", \"Dettaglio\" TO \"sola_lettura\";"));
    exec(grants.out);
    exec("INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'CONT', '201401', 5)");
    zt::store::PgConnection reader = zt::store::PgConnection::open(db_ + " user=sola_lettura");
    EXPECT_EQ(reader.exec("SELECT count(*) FROM \"Zentoria\"").text(0, 0), "1");
    EXPECT_TRUE(holds(zt::test::dbErrorOf([&] { reader.exec("DELETE FROM \"Zentoria\""); }), "permission denied"));
    zt::store::PgConnection writer = zt::store::PgConnection::open(db_ + " user=cassa");
    EXPECT_EQ(writer.exec("DELETE FROM \"Zentoria\"").affected(), 1);
}

TEST_F(FolderOnServer, WrongPasswordsAreCountedOnTheServerForEveryWorkstation) {
    std::filesystem::remove(office / "Security.pwd");  // two colleagues' folders
    ASSERT_EQ(onServer(inDir(office.path(), {"passwd"}), nullptr, "segreta\n").status, 0);
    // Two workstations' wrong tries add up in one count.
    for (const TestDir* d : {&office, &elsewhere, &office}) EXPECT_EQ(grid(*d, "sbagliata").status, 1);
    EXPECT_EQ(query("SELECT \"Errate\", \"Ultima\" > 0 FROM \"Direzione\""), "3,t");
    // The right one (after its wait of a second) opens and starts the count again.
    EXPECT_EQ(grid(elsewhere, "segreta").status, 0);
    EXPECT_EQ(query("SELECT \"Errate\" FROM \"Direzione\""), "0");
}

// `figures push` over rows the server cannot take as they are, and sums beyond the range of
// the program's numbers: the bad row is named and its hotel refused, the others go in; an
// out-of-range sum is an error, never 0.
TEST_F(FolderOnServer, ABadRowRefusesItsHotelNamingTheRowAndTheOthersAreCopied) {
    office.sql("Dettaglio.mdb",
               "INSERT INTO Dettaglio VALUES (3, 'Ca' || char(0) || 'ssa', 'CONT', '20250101', 5),"  // a NUL byte
               "(3, 'Cassa', 'CONT', '20250102', 6), (4, 'Cassa', 'CONT', '20250103', 'dieci'),"
               "(5, 'Cassa', CAST(X'436173E0' AS TEXT), '20250104', 7),"  // "Casà" in 1252
               "(1, 'Presenze', 'Generale', '20300101', 1e308), (1, 'Presenze', 'Generale', '20300102', 1e308)");
    const auto push = onServer(inDir(office.path(), {"figures", "push"}));
    // The refused hotels: file, table and the row's hotel, codes and date.
    for (const char* said : {"Dettaglio, hotel 3: not copied",
                             "Dettaglio.mdb: table Dettaglio, the row of hotel 3, Tipo \"Ca\\0ssa\"",
                             "DataInserimento \"20250101\": Tipo holds a NUL byte", "Dettaglio, hotel 4: not copied",
                             "Valore \"dieci\" is not a number"})
        EXPECT_TRUE(zt::test::failedSaying(push, 1, said));
    EXPECT_FALSE(holds(push.err, "COPY"));
    // The others are copied, and said so.
    for (const char* said : {"Dettaglio, hotel 2: ", "Dettaglio, hotel 5: 1 row, sum of Valore 7\n"})
        EXPECT_TRUE(holds(push.out, said));
    EXPECT_EQ(query("SELECT count(*) FROM \"Dettaglio\" WHERE \"NumeroHotel\" IN (3, 4)"), "0");
    EXPECT_EQ(query("SELECT \"Dettaglio\" FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 5"), "Cas\xC3\xA0");
    // Hotel 1's two values of 1e308 went in, checked exactly: their sum is 2e308.
    EXPECT_EQ(query("SELECT sum(\"Valore\") = 2e308 FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 1 AND "
                    "\"DataInserimento\" LIKE '2030%'"),
              "t");
    // The month's sum is beyond the range of a double: an error naming the server, not 0.
    const auto beyond = grid(office, nullptr, "2030");
    for (const char* said : {"PostgreSQL server", "beyond the range"})
        EXPECT_TRUE(zt::test::failedSaying(beyond, 1, said));
    EXPECT_FALSE(holds(beyond.out, "0.00"));
}

// While the server keeps the window waiting: after half a second a progress dialog with
// "Annulla" is up, the window stays responsive, and "Annulla" ends the wait with a message.
TEST_F(FolderOnServer, ALockedTableShowsAProgressDialogWhoseAnnullaEndsTheWait) {
    // Statements give up after 20 s at most, so that a wait that never shows the dialog
    // fails here instead of holding the test.
    ::setenv("ZENTORIA_FIGURES_DB", (db_ + " options='-c zentoria.read_timeout=20'").c_str(), 1);
    zt::test::qtApp();
    zt::ProgramState state;
    state.workDir = office.path();
    zt::test::FakeUi ui;
    auto w = std::make_unique<zt::desktop::ZentDeskTop>(state, zt::Separators{",", "."}, &ui);
    ASSERT_TRUE(w->start(2024));
    w->show();
    // Another session holds the detail table: every sum waits for it.
    zt::store::PgConnection holder = zt::store::PgConnection::open(db_);
    holder.exec("BEGIN"), holder.exec("LOCK TABLE \"Dettaglio\" IN ACCESS EXCLUSIVE MODE");

    std::string label, button;  // of the dialog, once it is up
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = w->findChild<QProgressDialog*>("ServerWait");
        if (!dialog || !dialog->isVisible()) return;
        label = dialog->labelText().toStdString();
        if (auto* b = dialog->findChild<QPushButton*>()) button = b->text().toStdString();
        dialog->cancel();  // "Annulla"
    });
    poll.start(100);
    zt::test::choose(w->findChild<QComboBox*>("Combo1_0"), 0);
    zt::test::choose(w->findChild<QComboBox*>("Combo1_1"), 0);  // loads the grid: waits on the lock
    poll.stop();
    holder.exec("ROLLBACK");
    ::unsetenv("ZENTORIA_FIGURES_DB");

    EXPECT_EQ(button, "Annulla");  // the dialog was up
    EXPECT_TRUE(holds(label, "server"));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(holds(ui.messages.back(), "cancelled (\"Annulla\")"));
    EXPECT_FALSE(holds(ui.messages.back(), "limit of 20"));
    EXPECT_TRUE(w->isVisible());
    const auto* after = w->findChild<QProgressDialog*>("ServerWait");  // gone with the wait
    EXPECT_TRUE(after == nullptr || !after->isVisible());
}

// The Jet dialect on the server gives the same results as over a figure file.
TEST_F(FolderOnServer, TheSameJetQueriesGiveTheSameResultsAsOverAFile) {
    const std::string rows =
        "(1,'Cassa','CONT','20140110',1000.25),(1,'Cassa','CONT','20140120',0.1),(1,'Cassa','CONT','20130105',0.2),"
        "(1,'Cassa','CC','2014x',0.3),(1,'Cassa',' 12 ','20140201',7),(1,'Note','4.5e1kg','20140301',-3.3333),"
        "(1,'Note',NULL,'20140301',NULL),(2,'Cassa','àbc','20140101',1)";
    office.sql("Dettaglio.mdb", "DELETE FROM Dettaglio; INSERT INTO Dettaglio VALUES " + rows);
    exec("INSERT INTO \"Dettaglio\" VALUES " + rows);
    auto file = zt::store::Database::open(office.path(), "Dettaglio.mdb");
    const auto lease = zt::store::figureServerConnection(db_);
    auto& c = *lease;
    for (const std::string query : {
             "Select Sum(Valore) as S From Dettaglio Where NumeroHotel = 1 and Left$(DataInserimento,6) = '201401'",
             "Select Sum(Valore) as S From Dettaglio Where Mid$(DataInserimento,1,6) = 201401",
             "Select Dettaglio, Valore From Dettaglio Where Val(Dettaglio) > 1 Order By Valore",
             "Select Val(Dettaglio) as V, Val(Left$(Dettaglio,2)) as W From Dettaglio",
             "Select Instr(Dettaglio, 'C') as I, Instr(2, Dettaglio, 'C') as J, Len(Dettaglio) as L From Dettaglio",
             "Select DataInserimento From Dettaglio Where DataInserimento = 20140110 or Dettaglio = 12",
             "Select Right$(DataInserimento, 2) & '/' & Mid$(DataInserimento, 5, 2) as D From Dettaglio "
             "Where Tipo In ('Cassa', 'Altro') and Dettaglio Like 'C*'",
             "Select Tipo, Count(*) as N, Sum(Valore) as S From Dettaglio Group By Tipo Order By Tipo",
             "Select Trim$(Dettaglio) as T, UCase(Dettaglio) as U, Nz(Dettaglio, '-') as Z From Dettaglio",
             "Select Top 2 Valore From Dettaglio Where Valore Between 0.1 And 7 Order By Valore Desc",
             "Select Sum(Valore) as S From Dettaglio Where NumeroHotel In (Select NumeroHotel From Dettaglio "
             "Where Dettaglio = 'àbc')",
             // Texts without regard to case, accents kept.
             "Select Sum(Valore) as S From Dettaglio Where Tipo = 'CASSA' and Dettaglio = 'cont'",
             "Select Dettaglio From Dettaglio Where Dettaglio Like 'c*' or Dettaglio In ('ÀBC', 'x') Order By Dettaglio",
             "Select Instr(Dettaglio, 'o') as I, Instr(2, Dettaglio, 'T') as J From Dettaglio Where Tipo <> 'cassa'",
             "Select Dettaglio From Dettaglio Where Dettaglio > 'b' Order By Dettaglio Desc, Valore",
             "Select Dettaglio From Dettaglio Where Dettaglio Between 'a' And 'CC' Order By Dettaglio",
             "Select Dettaglio From Dettaglio Where Dettaglio = 'abc' or Dettaglio = 'ABC'",
         }) {
        std::string expected, got;
        for (auto rs = file.openQuery(query); !rs.eof(); rs.moveNext(), expected += "|")
            for (const auto& name : rs.fieldNames()) expected += rs.field(name).toText() + ";";
        for (const auto& row : zt::store::queryServer(c, query).rows) {
            for (const auto& v : row) got += v.toText() + ";";
            got += "|";
        }
        EXPECT_EQ(got, expected) << query;
    }
    // Sums of money are exact on the server: a thousand times 0.1 is 100.
    exec("INSERT INTO \"Dettaglio\" SELECT 3, 'Cassa', 'X', '20150101', 0.1 FROM generate_series(1, 1000)");
    const auto sum = zt::store::queryServer(c, "Select Sum(Valore) as S From Dettaglio Where NumeroHotel = 3");
    EXPECT_EQ(sum.rows.at(0).at(0).toDouble(), 100.0);
    // A quote in a value is a value: it reaches the server bound, not in the statement.
    EXPECT_TRUE(zt::store::queryServer(c, "Select Valore From Dettaglio Where Dettaglio = 'x'' or ''1''=''1'").rows.empty());
}

// Where the emitter learns the server's figure tables, for a look at a plan.
struct FigureTables : zt::store::jet::SchemaSource {
    zt::store::jet::TableInfo table(const std::string& name, const std::optional<std::string>&) override {
        using zt::store::jet::Type;
        const std::string period = name == "Zentoria" ? "AnnoMese" : "DataInserimento";
        return {"", name, {{"NumeroHotel", Type::Number}, {"Tipo", Type::Text}, {"Dettaglio", Type::Text},
                           {period, Type::Text}, {"Valore", Type::Number}}};
    }
};

// Texts compare without regard to case (the subject of Figures.*/Server in
// tests/store/figures_test.cpp); here the server's own part: its key and the index the sums seek.
TEST_F(FolderOnServer, TextsCompareWithoutRegardToCaseAndTheEqualitiesSeekTheKeys) {
    // The key refuses a second spelling of a month's row.
    exec("INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'cont', '204001', 1)");
    EXPECT_THROW(exec("INSERT INTO \"Zentoria\" VALUES (1, 'CASSA', 'Cont', '204001', 5)"), std::runtime_error);
    // The month's sum as the grid writes it seeks the index of the sums.
    const auto lease = zt::store::figureServerConnection(db_);
    auto& c = *lease;
    FigureTables tables;
    const auto sum = zt::store::jet::emitQuery(
        *zt::store::jet::parseQuery("Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = 1 and Tipo = "
                                    "'Produzione' and Left$(DataInserimento,6) = '201403' and Dettaglio = 'Generale'"),
        tables, zt::store::jet::Dialect::Postgres);
    c.exec("SET enable_seqscan = off");
    const auto plan = c.exec("EXPLAIN " + sum.sql, std::vector<zt::store::PgParam>(sum.params.begin(), sum.params.end()));
    std::string text;
    for (int i = 0; i < plan.rows(); ++i) text += plan.text(i, 0) + "\n";
    c.exec("RESET enable_seqscan");
    for (const char* part : {"Index Cond: ((\"NumeroHotel\" = ", "Dettaglio_somme", "AND (translate(\"Tipo\"",
                             "\"DataInserimento\" >= "})
        EXPECT_TRUE(holds(text, part));
}

}  // namespace
