// zentoria convert: an Access file into a new SQLite file, checked against the Access
// file read through the database layer.
#include "app/convert_cmd.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/cli.h"
#include "store/sqlite/database.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::store::Database;
using zt::test::queryColumn;
using zt::test::TestDir;

namespace {

void copyFixture(const TestDir& dir, const std::string& name) { dir.copyAccessFixture(name); }

zt::test::Run convert(const std::vector<std::string>& args) {
    return zt::test::capture([&](std::ostream& out, std::ostream& err) { return zt::app::cmdConvert(args, out, err); });
}

}  // namespace

TEST(ConvertCommand, CopiesEveryTableRowAndValueIntoANewSqliteFile) {
    TestDir dir;
    copyFixture(dir, "nwind.mdb");
    copyFixture(dir, "DateTest.mdb");
    const auto run = convert({(dir / "nwind.mdb").string(), (dir / "Nwind-sqlite.mdb").string()});
    ASSERT_EQ(run.status, zt::app::kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "Order Details: 2155 rows\nOrders: 830 rows\nProducts: 77 rows\nShippers: 3 rows\nCategories: 8 rows\n"
              "Customers: 91 rows\nEmployees: 9 rows\nSuppliers: 29 rows\nUmsätze: 830 rows\n9 tables copied into " +
                  (dir / "Nwind-sqlite.mdb").string() + "\n");
    EXPECT_EQ(zt::store::fileKind(dir / "Nwind-sqlite.mdb"), zt::store::FileKind::Sqlite);

    // Read back by plain SQLite: names, declared types and values.
    const fs::path target = dir / "Nwind-sqlite.mdb";
    EXPECT_EQ(queryColumn(target, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"),
              "Order Details|Orders|Products|Shippers|Categories|Customers|Employees|Suppliers|Umsätze");
    EXPECT_EQ(queryColumn(target, "SELECT name || ' ' || type FROM pragma_table_info('Shippers')"),
              "ShipperID INTEGER|CompanyName TEXT|Phone TEXT");
    EXPECT_EQ(queryColumn(target, "SELECT typeof(Freight) || ' ' || Freight || ' ' || OrderDate FROM Orders "
                                  "WHERE OrderID = 10330"),
              "real 12.75 1994-11-16 00:00:00");
    EXPECT_EQ(queryColumn(target, "SELECT CompanyName FROM Customers WHERE CustomerID = 'KOENE'"), "Königlich Essen");
    EXPECT_EQ(queryColumn(target, "SELECT length(Picture) FROM Categories WHERE CategoryID = 1"), "10746");

    // Every row and value the same as the Access file read through the database layer.
    auto jet = Database::open(dir.path(), "nwind.mdb");
    auto copy = Database::open(dir.path(), "Nwind-sqlite.mdb");
    ASSERT_TRUE(jet.isReadOnlyJet());
    ASSERT_FALSE(copy.isReadOnlyJet());
    for (const auto& table : jet.tableNames()) {
        auto a = jet.openTable(table);
        auto b = copy.openTable(table);
        ASSERT_EQ(a.fieldNames(), b.fieldNames()) << table;
        long rows = 0;
        for (; !a.eof(); a.moveNext(), b.moveNext(), ++rows) {
            ASSERT_FALSE(b.eof()) << table;
            for (const auto& f : a.fieldNames()) ASSERT_EQ(a.field(f), b.field(f)) << table << "." << f << " row " << rows;
        }
        EXPECT_TRUE(b.eof()) << table;
        EXPECT_EQ(rows, a.recordCount()) << table;
    }

    // Jet 4 too, dates before 1900 as text.
    ASSERT_EQ(convert({(dir / "DateTest.mdb").string(), (dir / "Date.sqlite").string()}).status, zt::app::kExitOk);
    EXPECT_EQ(queryColumn(dir / "Date.sqlite", "SELECT DateCol FROM DateTest WHERE IDCol IN (3, 4) ORDER BY IDCol"),
              "1899-01-01 00:00:00|0633-01-01 00:00:00");
}

TEST(ConvertCommand, RefusesAnExistingTargetAndWrongArguments) {
    TestDir dir;
    copyFixture(dir, "nwind.mdb");
    dir.write("Esiste.mdb", "keep me");
    auto run = convert({(dir / "nwind.mdb").string(), (dir / "Esiste.mdb").string()});
    EXPECT_EQ(run.status, zt::app::kExitFailed);
    EXPECT_NE(run.err.find("Esiste.mdb"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("exists already"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.read("Esiste.mdb"), "keep me");

    dir.sql("Gia.mdb", "CREATE TABLE t(a);");
    run = convert({(dir / "Gia.mdb").string(), (dir / "Nuovo.mdb").string()});
    EXPECT_EQ(run.status, zt::app::kExitFailed);
    EXPECT_NE(run.err.find("SQLite file already"), std::string::npos) << run.err;
    run = convert({(dir / "Manca.mdb").string(), (dir / "Nuovo.mdb").string()});
    EXPECT_EQ(run.status, zt::app::kExitFailed);
    EXPECT_NE(run.err.find("not found"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "Nuovo.mdb"));

    EXPECT_EQ(convert({(dir / "nwind.mdb").string()}).status, zt::app::kExitUsage);
    EXPECT_EQ(convert({"a", "b", "c"}).status, zt::app::kExitUsage);
}
