// The program over a figure server of the test's own, from demo folders: the management
// password lives on the server (another folder without "Security.pwd" does not skip it),
// `figures push` of rows the server cannot take, and the window while the server keeps it
// waiting.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

#include "app/demo.h"
#include "desktop/qt/zent_desk_top.h"
#include "store/postgres/pg_connection.h"
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
    PgServer::shared().exec(name_, grants.out);
    PgServer::shared().exec(name_, "INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'CONT', '201401', 5)");
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

}  // namespace
