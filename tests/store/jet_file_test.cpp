// Reading real Access files: nwind.mdb (Jet 3) and DateTest.mdb (Jet 4). The expected
// values were read once from mdb-export's output and are written out here.
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::store::Database;
using zt::store::DbError;
using zt::store::JetFile;
using zt::store::Recordset;
using zt::store::Value;
using zt::test::dbErrorOf;
using zt::test::TestDir;

namespace {

// Copies the Access test files into the test's own folder.
void copyFixtures(const TestDir& dir) {
    for (const char* name : {"nwind.mdb", "DateTest.mdb"}) dir.copyAccessFixture(name);
}

std::string text(const Value& v) { return v.isNull() ? "NULL" : v.toText(); }
// The same with texts quoted, so that a number read as text shows, and whole doubles
// with ".0", so that an integer read as a double shows too.
std::string shown(const Value& v) {
    const std::string s = text(v);
    return v.isText() ? "'" + s + "'" : s + (v.isDouble() && s.find('.') == s.npos ? ".0" : "");
}

// The values of one field over the rows meeting a criterion, joined by ",".
std::string findAll(Recordset& rs, const std::string& criterion, const std::string& field) {
    std::string out;
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        out += (out.empty() ? "" : ",") + text(rs.field(field));
        rs.findNext(criterion);
    }
    return out;
}

}  // namespace

TEST(JetFile, ListsTheTablesOfJet3AndJet4FilesWithTheirRows) {
    TestDir dir;
    copyFixtures(dir);
    auto db = Database::open(dir.path(), "nwind");
    EXPECT_TRUE(db.isReadOnlyJet());
    const std::vector<std::string> names = {"Order Details", "Orders",    "Products",  "Shippers", "Categories",
                                            "Customers",     "Employees", "Suppliers", "Umsätze"};
    EXPECT_EQ(db.tableNames(), names);
    const std::vector<long> rows = {2155, 830, 77, 3, 8, 91, 9, 29, 830};
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(db.openTable(names[i]).recordCount(), rows[i]) << names[i];

    auto dates = Database::open(dir.path(), "DateTest.mdb");
    EXPECT_EQ(dates.tableNames(), std::vector<std::string>{"DateTest"});
    EXPECT_EQ(dates.openTable("DateTest").recordCount(), 6);

    // The declared types of the copy: what the dialect compares as numbers and texts.
    auto jet = JetFile::open(dir / "nwind.mdb");
    std::string types;
    for (const auto& c : jet.columns("Products")) types += c.name + " " + c.sqlType + "|";
    EXPECT_EQ(types,
              "ProductID INTEGER|ProductName TEXT|SupplierID INTEGER|CategoryID INTEGER|QuantityPerUnit TEXT|"
              "UnitPrice REAL|UnitsInStock INTEGER|UnitsOnOrder INTEGER|ReorderLevel INTEGER|Discontinued INTEGER|");
    EXPECT_EQ(jet.columns("Orders")[3].sqlType, "TEXT");      // OrderDate
    EXPECT_EQ(jet.columns("Employees")[14].sqlType, "BLOB");  // Photo
    EXPECT_NE(dbErrorOf([&] { jet.columns("Nessuna"); }).find("Nessuna"), std::string::npos);
}

TEST(JetFile, ValuesMatchWhatMdbExportPrints) {
    TestDir dir;
    copyFixtures(dir);
    // Some fields of every row meeting a criterion, in table order.
    const auto rows = [&](const std::string& table, const std::string& where, const std::vector<std::string>& fields) {
        auto rs = Database::open(dir.path(), table == "DateTest" ? "DateTest.mdb" : "nwind.mdb").openTable(table);
        std::string out;
        for (rs.findFirst(where); !rs.noMatch(); rs.findNext(where)) {
            out += out.empty() ? "" : "|";
            for (const auto& f : fields) out += (f == fields.front() ? "" : " ") + shown(rs.field(f));
        }
        return out;
    };
    const std::tuple<const char*, const char*, std::vector<std::string>, const char*> cases[] = {
        {"Shippers", "ShipperID > 0", {"ShipperID", "CompanyName", "Phone"},
         "1 'Speedy Express' '(503) 555-9831'|2 'United Package' '(503) 555-3199'|3 'Federal Shipping' '(503) 555-9931'"},
        // 10330,"LILAS",3,"1994-11-16 00:00:00",...,1,12.7500,...; money exact to four decimals.
        {"Orders", "OrderID = 10330", {"CustomerID", "EmployeeID", "OrderDate", "ShippedDate", "Freight", "ShipAddress"},
         "'LILAS' 3 '1994-11-16 00:00:00' '1994-11-28 00:00:00' 12.75 'Carrera 52 con Ave. Bolívar #65-98 Llano Largo'"},
        {"Orders", "OrderID = 10331", {"ShipRegion", "ShipName"}, "NULL 'Bon app''"},
        {"Orders", "OrderID = 10332", {"ShipName", "ShipCity", "ShipRegion"}, "'Mère Paillarde' 'Montréal' 'Québec'"},
        // Jet 3 text in the file's code page comes out as UTF-8.
        {"Customers", "CustomerID = 'KOENE' Or CustomerID = 'QUICK' Or CustomerID = 'BERGS'",
         {"CompanyName", "Address", "City"}, "'Berglunds snabbköp' 'Berguvsvägen  8' 'Luleå'|"
         "'Königlich Essen' 'Maubelstr. 90' 'Brandenburg'|'QUICK-Stop' 'Taucherstraße 10' 'Cunewalde'"},
        {"Customers", "City = 'München'", {"CustomerID"}, "'FRANK'"},
        // Yes/no as Jet's True (-1) and False (0).
        {"Products", "ProductID = 5 Or ProductID = 1", {"ProductID", "UnitPrice", "Discontinued", "UnitsInStock",
         "ReorderLevel"}, "1 18.0 0 39 10|5 21.35 -1 0 0"},
        // Single precision as Access shows it (mdb-export prints 0.15000001).
        {"Order Details", "(OrderID = 10250 And ProductID = 51) Or (OrderID = 10251 And ProductID = 22)",
         {"Discount"}, "0.15|0.05"},
        // Memo fields in full, line breaks kept.
        {"Employees", "EmployeeID < 3", {"Address", "BirthDate", "ReportsTo"},
         "'507 - 20th Ave. E.\r\nApt. 2A' '1948-12-08 00:00:00' 2|'908 W. Capital Way' '1952-02-19 00:00:00' NULL"},
        // Jet 4: UTF-16 text and memo, dates before 1900 and after 9000.
        {"DateTest", "IDCol > 0", {"DateTimeCol"},
         "'2021-12-02 00:00:00'|'9999-01-01 00:00:00'|'1898-01-01 00:00:00'|'0632-01-01 00:00:00'|"
         "'2021-12-02 00:00:00'|'2021-12-02 00:00:00'"},
        {"DateTest", "IDCol = 3 Or IDCol = 4", {"DateCol", "TimeCol"},
         "'1899-01-01 00:00:00' '1900-01-01 00:00:00'|'0633-01-01 00:00:00' '0634-01-01 00:00:00'"},
        {"DateTest", "IDCol = 2", {"ShortTextCol"}, "'Year 1999'"},
        {"DateTest", "IDCol > 4", {"LongTextCol"}, "'Escaped new line \\r\\n in field'|'New line\r\nin field'"},
    };
    for (const auto& [table, where, fields, expected] : cases) EXPECT_EQ(rows(table, where, fields), expected) << table;

    auto db = Database::open(dir.path(), "nwind.mdb");
    auto orders = db.openTable("Orders");  // stands on the first row in table order
    EXPECT_EQ(orders.field("OrderID"), Value(10330));
    orders.moveNext();
    EXPECT_EQ(orders.field("OrderID"), Value(10331));
    auto shippers = db.openTable("Shippers");  // after the last match, on the last match
    findAll(shippers, "ShipperID > 0", "Phone");
    EXPECT_EQ(shippers.field("ShipperID"), Value(3));
    auto employees = db.openTable("Employees");
    employees.findFirst("EmployeeID = 2");
    const std::string notes = employees.field("Notes").toText();
    EXPECT_EQ(notes.size(), 448u);
    EXPECT_EQ(notes.substr(0, 34), "Andrew received his BTS commercial");
    EXPECT_EQ(notes.substr(notes.size() - 40), "d the Pacific Rim Importers Association.");

    // Long binary (OLE) fields whole: mdb-export -b hex prints 10746 bytes per picture.
    auto jet = JetFile::open(dir / "nwind.mdb");
    std::vector<std::size_t> sizes;
    jet.readRows("Categories", [&](const std::vector<zt::store::JetCell>& row) {
        sizes.push_back(std::get<zt::store::Blob>(row[3]).size());
    });
    EXPECT_EQ(sizes, std::vector<std::size_t>(8, 10746));
}

TEST(JetFile, CriteriaAndQueriesRunOnJetTables) {
    TestDir dir;
    copyFixtures(dir);
    auto db = Database::open(dir.path(), "nwind.mdb");

    auto orders = db.openTable("Orders");
    EXPECT_EQ(findAll(orders, "ShipCountry = 'Germany' and Freight > 200", "OrderID"),
              "10345,10267,10286,10515,10540,10658,10670,10691,10694,10817,10845,10865,10962,11012,11021");

    auto sum = db.openQuery(
        "Select Sum(Freight) as T, Count(*) as N From Orders Where ShipCountry = 'Germany'");
    EXPECT_EQ(sum.field("T").toCurrency()->tenThousandths(), 112832800);
    EXPECT_EQ(sum.field("N"), Value(122));

    // A date text compared with a number compares as numbers, as with SQLite files.
    EXPECT_EQ(db.openQuery("Select Count(*) as N From Orders Where Mid$(OrderDate,1,4) = 1995").field("N"), Value(391));
    EXPECT_EQ(db.openQuery("Select Count(*) as N From [Umsätze] Where ShipVia = 1").field("N"), Value(249));
    auto top = db.openQuery("Select ProductName From Products Where UnitPrice > 100 Order By UnitPrice Desc");
    EXPECT_EQ(findAll(top, "ProductName <> ''", "ProductName"), "Côte de Blaye,Thüringer Rostbratwurst");

    // `In 'nwind.mdb'` from an SQLite file reaches the Access file, sub-queries too.
    dir.sql("Conti.mdb", "CREATE TABLE Conto(Importo REAL); INSERT INTO Conto VALUES (1);");
    auto conti = Database::open(dir.path(), "Conti.mdb");
    EXPECT_FALSE(conti.isReadOnlyJet());
    auto q = conti.openQuery(
        "Select Sum(Quantity) as Q From [Order Details] In 'nwind.mdb' Where OrderID In "
        "(Select OrderID From Orders In 'nwind.mdb' Where ShipCountry = 'Germany')");
    EXPECT_EQ(q.field("Q"), Value(9213));
    EXPECT_EQ(conti.openQuery("Select Count(*) as N From DateTest In 'DateTest.mdb' Where DateCol < '1900'").field("N"),
              Value(2));
    // The SQLite file itself stays writable.
    auto conto = conti.openTable("Conto");
    conto.addNew();
    conto.setField("Importo", Value(2.5));
    EXPECT_NO_THROW(conto.update());
}

TEST(JetFile, WritesAreRefusedNamingTheFileWhichStaysAsItWas) {
    TestDir dir;
    copyFixtures(dir);
    const std::string before = dir.read("nwind.mdb");
    auto db = Database::open(dir.path(), "nwind.mdb");
    auto shippers = db.openTable("Shippers");
    for (const auto& message : {dbErrorOf([&] { shippers.edit(); }), dbErrorOf([&] { shippers.addNew(); }),
                                dbErrorOf([&] { db.executeNative("DELETE FROM Shippers"); }),
                                dbErrorOf([&] { db.executeNative("CREATE TABLE Nuova(a)"); })}) {
        EXPECT_NE(message.find("nwind.mdb"), std::string::npos) << message;
        EXPECT_NE(message.find("Access (Jet) file, which this program reads only"), std::string::npos) << message;
    }
    EXPECT_EQ(db.openTable("Shippers").recordCount(), 3);
    db.close();
    EXPECT_EQ(dir.read("nwind.mdb"), before);
    EXPECT_EQ(Database::open(dir.path(), "nwind.mdb").openTable("Shippers").recordCount(), 3);
}

TEST(JetFile, AChangedFileIsReadAgainWhileOpenDatabasesKeepTheirCopy) {
    TestDir dir;
    copyFixtures(dir);
    fs::copy_file(dir / "nwind.mdb", dir / "Dati.mdb");
    auto first = Database::open(dir.path(), "Dati.mdb");
    auto orders = first.openTable("Orders");
    EXPECT_EQ(first.tableNames().size(), 9u);

    // Another program replaces the file: the next opening reads the new content.
    fs::copy_file(dir / "DateTest.mdb", dir / "Dati.mdb", fs::copy_options::overwrite_existing);
    EXPECT_EQ(Database::open(dir.path(), "Dati.mdb").tableNames(), std::vector<std::string>{"DateTest"});
    orders.moveNext();
    EXPECT_EQ(orders.field("OrderID"), Value(10331));
    EXPECT_EQ(first.openTable("Shippers").recordCount(), 3);
}

TEST(JetFile, UnreadableAccessFilesGiveClearMessages) {
    TestDir dir;
    dir.write("Nuovo.accdb", std::string("\0\1\0\0Standard ACE DB\0", 20) + std::string(100, 'x'));
    const auto ace = dbErrorOf([&] { Database::open(dir.path(), "Nuovo.accdb"); });
    EXPECT_NE(ace.find("Nuovo.accdb"), std::string::npos) << ace;
    EXPECT_NE(ace.find("ACE"), std::string::npos) << ace;
    dir.write("Rotto.mdb", std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(3000, '\x7f'));
    const auto jet = dbErrorOf([&] { Database::open(dir.path(), "Rotto.mdb"); });
    EXPECT_NE(jet.find("Rotto.mdb"), std::string::npos) << jet;
    EXPECT_NE(jet.find("Access"), std::string::npos) << jet;
    EXPECT_NE(dbErrorOf([&] { JetFile::open(dir / "Manca.mdb"); }).find("not found"), std::string::npos);
}

TEST(JetFile, TheCopyCarriesTheIndexesTheFileDeclares) {
    TestDir dir;
    copyFixtures(dir);
    auto jet = JetFile::open(dir / "nwind.mdb");
    std::string declared;
    for (const auto& ix : jet.indexes("Order Details")) {
        declared += ix.name + ":";
        for (const auto& c : ix.columns) declared += c + ",";
    }
    // The relationships' entries ("OrdersOrder Details") are not indexes.
    EXPECT_EQ(declared, "OrderID:OrderID,PrimaryKey:OrderID,ProductID,ProductID:ProductID,");

    // The copy (the same as the image every query reads) indexes the same fields, and
    // a look-up on one of them seeks it.
    zt::store::copyJetFileToNewSqlite(dir / "nwind.mdb", dir / "copy.db");
    EXPECT_EQ(zt::test::queryColumn(dir / "copy.db",
                                    "SELECT (SELECT group_concat(name, '+') FROM pragma_index_info(m.name)) FROM "
                                    "sqlite_master m WHERE type = 'index' AND tbl_name = 'Orders' ORDER BY rowid"),
              "CustomerID|EmployeeID|OrderDate|OrderID|ShippedDate|ShipPostalCode");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "copy.db").string().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN SELECT sum(Freight) FROM Orders WHERE OrderDate >= '1995'",
                                 -1, &st, nullptr),
              SQLITE_OK);
    std::string plan;
    while (sqlite3_step(st) == SQLITE_ROW) plan += reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
    sqlite3_finalize(st);
    sqlite3_close(db);
    EXPECT_NE(plan.find("USING INDEX zt_ix2_3 (OrderDate>?)"), std::string::npos) << plan;
}
