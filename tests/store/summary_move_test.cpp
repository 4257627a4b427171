// Moving the monthly summary file from Access to SQLite before the first write, and the
// check of the copy. The Access file here is a copy of nwind.mdb named as the summary.
#include "store/figures/summary_move.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "store/sqlite/database.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"
#include "support/db_error.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::store::Database;
using zt::store::DbError;
using zt::store::FileKind;
using zt::store::SummaryMove;
using zt::test::queryColumn;
using zt::test::dbErrorOf;
using zt::test::TestDir;

namespace {

void copyNwindAs(const TestDir& dir, const std::string& name) { dir.copyAccessFixture("nwind.mdb", name); }

}  // namespace

TEST(SummaryMove, AsksWithTheWarningAndLeavesTheFileAloneWhenDeclined) {
    TestDir dir;
    dir.sql("Zentoria.mdb", "CREATE TABLE Zentoria(NumeroHotel INTEGER, Valore REAL);");
    int asked = 0;
    const auto never = [&](const std::string&) { ++asked; return true; };
    EXPECT_EQ(zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", never), SummaryMove::AlreadySqlite);
    EXPECT_EQ(asked, 0);

    TestDir jet;
    copyNwindAs(jet, "Zentoria.mdb");
    const std::string before = jet.read("Zentoria.mdb");
    std::string question;
    const auto message = dbErrorOf([&] {
        zt::store::moveSummaryToSqlite(jet.path(), "Zentoria", [&](const std::string& q) {
            question = q;
            return false;
        });
    });
    EXPECT_NE(message.find("Zentoria.mdb"), std::string::npos) << message;
    EXPECT_NE(message.find("nothing was written"), std::string::npos) << message;
    EXPECT_NE(question.find("\"Zentoria.mdb.jet\""), std::string::npos) << question;
    EXPECT_NE(question.find("vecchio programma per Windows su una cartella condivisa"), std::string::npos) << question;
    EXPECT_EQ(jet.read("Zentoria.mdb"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(jet.path()), fs::directory_iterator()), 1);
}

TEST(SummaryMove, MovesEveryRowKeepsTheOriginalBesideAndThenWrites) {
    TestDir dir;
    copyNwindAs(dir, "Zentoria.mdb");
    const std::string before = dir.read("Zentoria.mdb");
    EXPECT_TRUE(Database::open(dir.path(), "Zentoria.mdb").isReadOnlyJet());  // the cached image exists

    const auto yes = [](const std::string&) { return true; };
    EXPECT_EQ(zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes), SummaryMove::Moved);
    EXPECT_EQ(zt::store::fileKind(dir / "Zentoria.mdb"), FileKind::Sqlite);
    EXPECT_EQ(dir.read("Zentoria.mdb.jet"), before);
    EXPECT_FALSE(fs::exists(dir / "Zentoria.mdb.sqlite-new"));
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Orders"), "830");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT sum(Freight) FROM Orders WHERE ShipCountry = 'Germany'"),
              "11283.28");

    auto db = Database::open(dir.path(), "Zentoria.mdb");
    EXPECT_FALSE(db.isReadOnlyJet());
    auto shippers = db.openTable("Shippers");
    shippers.edit();
    shippers.setField("Phone", "(503) 555-0000");
    shippers.update();
    db.close();
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT Phone FROM Shippers WHERE ShipperID = 1"), "(503) 555-0000");

    // Moved once: later writes ask nothing.
    EXPECT_EQ(zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb",
                                             [](const std::string&) -> bool { throw std::logic_error("asked"); }),
              SummaryMove::AlreadySqlite);

    // A second Access file where an earlier original still lies: refused, nothing touched.
    fs::rename(dir / "Zentoria.mdb.jet", dir / "Zentoria.mdb");
    copyNwindAs(dir, "Zentoria.mdb.jet");
    EXPECT_NE(dbErrorOf([&] { zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes); }).find("exists already"),
              std::string::npos);
    EXPECT_EQ(dir.read("Zentoria.mdb"), before);
}

TEST(SummaryMove, TheCheckFindsMissingRowsAndChangedSums) {
    TestDir dir;
    copyNwindAs(dir, "nwind.mdb");
    const auto copied = zt::store::copyJetFileToNewSqlite(dir / "nwind.mdb", dir / "copia.mdb");
    ASSERT_EQ(copied.size(), 9u);
    EXPECT_EQ(zt::store::compareCopy(dir / "nwind.mdb", dir / "copia.mdb"), std::nullopt);

    dir.sql("copia.mdb", "UPDATE Orders SET Freight = Freight + 0.01 WHERE OrderID = 10330;");
    auto m = zt::store::compareCopy(dir / "nwind.mdb", dir / "copia.mdb");
    ASSERT_TRUE(m);
    EXPECT_NE(m->find("\"Orders\", field \"Freight\""), std::string::npos) << *m;

    dir.sql("copia.mdb", "UPDATE Orders SET Freight = Freight - 0.01 WHERE OrderID = 10330;"
                         "DELETE FROM [Order Details] WHERE rowid = 7;");
    m = zt::store::compareCopy(dir / "nwind.mdb", dir / "copia.mdb");
    ASSERT_TRUE(m);
    EXPECT_NE(m->find("\"Order Details\": 2155 rows in the Access file, 2154 in the copy"), std::string::npos) << *m;

    dir.sql("copia.mdb", "DROP TABLE Suppliers;");
    EXPECT_TRUE(zt::store::compareCopy(dir / "nwind.mdb", dir / "copia.mdb"));
}

TEST(SummaryMove, KeepsTheNameTheFileHasOnDisk) {
    TestDir dir;
    copyNwindAs(dir, "ZENTORIA.MDB");
    const auto yes = [](const std::string&) { return true; };
    dir.write("zentoria.mdb.JET", "an earlier original");
    EXPECT_NE(dbErrorOf([&] { zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes); })
                  .find("\"zentoria.mdb.JET\" exists already"),
              std::string::npos);
    fs::remove(dir / "zentoria.mdb.JET");
    EXPECT_EQ(zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes), SummaryMove::Moved);
    std::string names;
    for (const auto& e : fs::directory_iterator(dir.path())) names += e.path().filename().string() + " ";
    EXPECT_TRUE(names == "ZENTORIA.MDB ZENTORIA.MDB.jet " || names == "ZENTORIA.MDB.jet ZENTORIA.MDB ") << names;
    EXPECT_EQ(queryColumn(dir / "ZENTORIA.MDB", "SELECT count(*) FROM Orders"), "830");
}

// Only a file holding the summary table is moved: without it the move stops before it
// asks, and the file stays as it was, alone; with it (any case) the move goes on.
TEST(SummaryMove, AnAccessFileWithoutTheTableIsRefusedBeforeItIsMoved) {
    TestDir dir;
    copyNwindAs(dir, "Zentoria.mdb");
    const std::string before = dir.read("Zentoria.mdb");
    int asked = 0;
    const auto yes = [&](const std::string&) { ++asked; return true; };
    const std::string message =
        dbErrorOf([&] { zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes, "Zentoria"); });
    EXPECT_NE(message.find("Zentoria.mdb"), std::string::npos) << message;
    EXPECT_NE(message.find("non contiene la tabella \"Zentoria\""), std::string::npos) << message;
    EXPECT_NE(message.find("non è stato registrato nulla"), std::string::npos) << message;
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(dir.read("Zentoria.mdb"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    EXPECT_EQ(zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", yes, "orders"), SummaryMove::Moved);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dir.read("Zentoria.mdb.jet"), before);
}
