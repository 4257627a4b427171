// Query recordsets of one sum (read without sorting) and tables learnt from the schema
// the connection has loaded, seen through what a reader gets: values, finds, counts and
// the names in messages.
#include <gtest/gtest.h>

#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/testdir.h"

using namespace zt::store;
using zt::test::dbErrorOf;
using zt::test::TestDir;

namespace {

void makeCharges(const TestDir& dir) {
    dir.sql("Conto.mdb",
            "CREATE TABLE Conto_Cliente (Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER, Nota);"
            "INSERT INTO Conto_Cliente VALUES (10.5, '20240301', 1, '0001 bar'), (4, '20240315', 2, 'x'),"
            " (100, '20240401', 1, NULL), (7.25, '20240331', 1, 12);"
            "CREATE VIEW Marzo AS SELECT Importo * 2 AS Doppio, DataAddebito FROM Conto_Cliente"
            " WHERE DataAddebito < '20240401';");
}

}  // namespace

TEST(QueryShapes, OneSumIsOneRowForEveryReader) {
    TestDir dir;
    makeCharges(dir);
    auto db = Database::open(dir.path(), "Conto.mdb");

    // Two sums: each field gets its own value, whatever the order of the columns.
    auto rs = db.openQuery(
        "Select Sum(Importo) as VT, Count(*) as N From Conto_Cliente Where mid$(DataAddebito,1,6) = 202403");
    ASSERT_FALSE(rs.eof());
    EXPECT_DOUBLE_EQ(rs.field("VT").toDouble(), 21.75);
    EXPECT_EQ(rs.field("N").toDouble(), 3);
    EXPECT_EQ(rs.recordCount(), 1);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());

    // A find over the one row, then nothing after it.
    rs.moveFirst();
    rs.findFirst("VT > 20");
    EXPECT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.field("N").toDouble(), 3);
    rs.findNext("VT > 20");
    EXPECT_TRUE(rs.noMatch());
    rs.findFirst("VT > 1000");
    EXPECT_TRUE(rs.noMatch());

    // A sum over no rows is one row holding Null; HAVING that refuses it leaves none.
    auto none = db.openQuery("Select Sum(Importo) as VT From Conto_Cliente Where DataAddebito = '19990101'");
    ASSERT_FALSE(none.eof());
    EXPECT_TRUE(none.field("VT").isNull());
    auto refused = db.openQuery("Select Sum(Importo) as VT From Conto_Cliente Having Sum(Importo) > 1000");
    EXPECT_TRUE(refused.eof());
    EXPECT_EQ(refused.recordCount(), 0);

    // Grouped sums keep their order and every row.
    auto groups =
        db.openQuery("Select VoceAddebito, Sum(Importo) as VT From Conto_Cliente Group By VoceAddebito Order By VoceAddebito Desc");
    ASSERT_FALSE(groups.eof());
    EXPECT_EQ(groups.field("VoceAddebito").toDouble(), 2);
    groups.moveNext();
    EXPECT_DOUBLE_EQ(groups.field("VT").toDouble(), 117.75);
    EXPECT_EQ(groups.recordCount(), 2);

    // The voice in a note read with Val over a column without a declared type.
    auto notes = db.openQuery("Select Sum(Importo) as VT From Conto_Cliente Where Val(Left$(Nota,4)) In (1, 12)");
    EXPECT_DOUBLE_EQ(notes.field("VT").toDouble(), 17.75);
}

// Val(Left$(x, n)) is read in one call; Val(Mid$(x, 1, n)) still cuts with substr first.
// Both must give the same for every kind of value.
TEST(QueryShapes, ValOfLeftReadsAsValOfACutText) {
    TestDir dir;
    dir.sql("Note.mdb",
            "CREATE TABLE Incassi (Nota, Testo TEXT);"
            "INSERT INTO Incassi VALUES ('0012 bar', '0012 bar'), ('Saldo', 'Saldo'), (NULL, NULL), ('', ''),"
            " (12345, '12345'), (-7.25, ' -7.25'), (1e20, '3.5e2x'), ('àè12', 'è1é2'), ('12€4', '1 2 3'),"
            " (x'3132003334', '&H1F'), (x'', '99999'), ('+4', '.5'), ('1.5e', '4e+1');");
    auto db = Database::open(dir.path(), "Note.mdb");
    auto rs = db.openTable("Incassi");
    const long rows = rs.recordCount();
    for (const char* n : {"0", "1", "2", "3", "4", "6", "40"}) {
        for (const char* field : {"Nota", "Testo"}) {
            const std::string left = std::string("Val(Left$(") + field + "," + n + "))";
            const std::string mid = std::string("Val(Mid$(") + field + ",1," + n + "))";
            auto q = db.openQuery("Select " + left + " as L, " + mid + " as M From Incassi");
            long seen = 0;
            for (; !q.eof(); q.moveNext(), ++seen) {
                const auto l = q.field("L");
                const auto m = q.field("M");
                EXPECT_EQ(l.isNull(), m.isNull()) << left << " row " << seen;
                if (!l.isNull() && !m.isNull()) {
                    EXPECT_EQ(l.toDouble(), m.toDouble()) << left << " row " << seen;
                }
            }
            EXPECT_EQ(seen, rows);
        }
    }
    // In a condition, against a voice list.
    auto sum = db.openQuery("Select Count(*) as N From Incassi Where Val(Left$(Nota,4)) In (12, 1234)");
    // '0012 bar', '12€4' and the blob '12', NUL, '34' give 12; 12345 gives 1234.
    EXPECT_EQ(sum.field("N").toDouble(), 4);
}

TEST(QueryShapes, TablesAndViewsAsTheFileNamesThem) {
    TestDir dir;
    makeCharges(dir);
    auto db = Database::open(dir.path(), "Conto.mdb");

    // A table named in another case: found, its fields typed as declared, and messages
    // name it as the file spells it.
    auto rs = db.openQuery("Select Importo From conto_cliente Where mid$(DataAddebito,1,6) = 202404");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("Importo").toDouble(), 100);
    const auto missing = dbErrorOf([&] { db.openQuery("Select Prezzo From CONTO_CLIENTE"); });
    EXPECT_NE(missing.find("field \"Prezzo\" not found in Conto_Cliente"), std::string::npos) << missing;

    auto table = db.openTable("CONTO_CLIENTE");
    table.findFirst("VoceAddebito = 2");
    ASSERT_FALSE(table.noMatch());
    EXPECT_EQ(table.field("DataAddebito").toText(), "20240315");

    // A view is read with its own columns.
    auto view = db.openQuery("Select Sum(Doppio) as VT From marzo");
    EXPECT_DOUBLE_EQ(view.field("VT").toDouble(), 43.5);

    // The schema tables are not tables of the file; a missing table is named.
    for (const char* name : {"sqlite_master", "SQLITE_SCHEMA"}) {
        const auto e = dbErrorOf([&] { db.openQuery(std::string("Select name From ") + name); });
        EXPECT_NE(e.find("not found"), std::string::npos) << e;
    }
    const auto absent = dbErrorOf([&] { db.openQuery("Select Importo From Fatture"); });
    EXPECT_NE(absent.find("table \"Fatture\" not found"), std::string::npos) << absent;
    EXPECT_NE(absent.find("Conto.mdb"), std::string::npos) << absent;
}
