// Texts compare without regard to case, as Jet compares them: what queries and finds
// return over files whose codes are written in any case, and the plans SQLite makes for
// them (an equality on an indexed text field still seeks the index).
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "store/sqlite/database.h"
#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_sql.h"
#include "store/sqlite/dialect_functions.h"
#include "store/sqlite/sqlite_internal.h"
#include "support/testdir.h"

using namespace zt::store;
using zt::test::TestDir;

namespace {

// The first field of every row of a query, joined by "|".
std::string column(Database& db, const std::string& query) {
    auto rs = db.openQuery(query);
    std::string out;
    for (; !rs.eof(); rs.moveNext()) out += (out.empty() ? "" : "|") + rs.field(rs.fieldNames()[0]).toText();
    return out;
}

// The `Nome` of the rows a find walk meets, joined by "|".
std::string found(Database& db, const std::string& criterion) {
    auto rs = db.openTable("Nomi");
    std::string out;
    for (rs.findFirst(criterion); !rs.noMatch(); rs.findNext(criterion))
        out += (out.empty() ? "" : "|") + rs.field("Nome").toText();
    return out;
}

// The statements every connection opened while recording starts, as written.
std::vector<std::string> gStatements;

int recordStatement(unsigned, void*, void* stmt, void*) {
    if (const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt))) gStatements.emplace_back(sql);
    return 0;
}

int recordConnection(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, recordStatement, nullptr);
    return SQLITE_OK;
}

}  // namespace

TEST(TextCase, ComparisonsSortsAndGroupsIgnoreCaseAndKeepAccents) {
    TestDir dir;
    dir.sql("Nomi.mdb",
            "CREATE TABLE Nomi(Nome TEXT, N INTEGER, Data TEXT);"
            "INSERT INTO Nomi VALUES('àncora',1,'20140301'),('Banca',2,'20140302'),('ancora',3,'20140303'),"
            "('ÀNCORA',4,'20140304'),('b2',5,'20140305'),('Àncora',6,'20140306'),('a1',7,'20140307'),"
            "('ETÀ',8,'20140308'),('età',9,'20140309'),('Eta',10,'20140310');");
    auto db = Database::open(dir.path(), "Nomi.mdb");

    // "=", "<>", In and Like: case folds, accented capitals included; accents count.
    EXPECT_EQ(found(db, "Nome = 'ÀNCORA'"), "àncora|ÀNCORA|Àncora");
    EXPECT_EQ(found(db, "Nome = 'età'"), "ETÀ|età");
    EXPECT_EQ(found(db, "Nome <> 'àncora' And N < 7"), "Banca|ancora|b2");
    EXPECT_EQ(found(db, "Nome In ('ANCORA', 'banca')"), "Banca|ancora");
    EXPECT_EQ(found(db, "Nome Not In ('ANCORA', 'banca', 'B2', 'ETÀ', 'eta')"), "àncora|ÀNCORA|Àncora|a1");
    EXPECT_EQ(found(db, "Nome Like 'àN*'"), "àncora|ÀNCORA|Àncora");
    EXPECT_EQ(found(db, "Nome Like '*NCOR?'"), "àncora|ancora|ÀNCORA|Àncora");
    EXPECT_EQ(found(db, "Instr(Nome, 'NC') > 0"), "àncora|Banca|ancora|ÀNCORA|Àncora");
    EXPECT_EQ(column(db, "Select Instr(2, Nome, 'TÀ') From Nomi Where N >= 8"), "2|2|0");

    // Order: an accented letter beside its plain one, capitals with small letters.
    EXPECT_EQ(found(db, "Nome Between 'A' And 'b'"), "àncora|ancora|ÀNCORA|Àncora|a1");
    EXPECT_EQ(found(db, "Nome < 'B' And Nome >= 'ANCORA'"), "àncora|ancora|ÀNCORA|Àncora");
    EXPECT_EQ(column(db, "Select Nome From Nomi Order By Nome, N Desc"),
              "a1|ancora|Àncora|ÀNCORA|àncora|b2|Banca|Eta|età|ETÀ");
    EXPECT_EQ(column(db, "Select Min(Nome) From Nomi Where N <> 7"), "ancora");
    EXPECT_EQ(column(db, "Select Count(*) From Nomi Group By Nome Order By Nome"), "1|1|3|1|1|1|2");
    const auto distinct = column(db, "Select Distinct Nome From Nomi Order By Nome");
    EXPECT_EQ(std::count(distinct.begin(), distinct.end(), '|'), 6) << distinct;

    // Codes that part at a digit, a blank or a sign keep the byte order there, also
    // after a common beginning; letters still fold.
    dir.sql("Nomi.mdb", "CREATE TABLE Codici(C TEXT);"
                        "INSERT INTO Codici VALUES('a1'),('2014;5'),('A 2'),('2014;12'),('a-1'),('2014-1'),('À');");
    EXPECT_EQ(column(db, "Select C From Codici Order By C"), "2014-1|2014;12|2014;5|À|A 2|a-1|a1");

    // Dates of digits and numbers compare as before.
    EXPECT_EQ(found(db, "Data >= '20140309' And N > 8"), "età|Eta");
    EXPECT_EQ(found(db, "Left$(Data, 8) = '20140302'"), "Banca");
}

TEST(TextCase, EqualityOnAnIndexedTextFieldSeeksTheIndexAndFindsEverySpelling) {
    TestDir dir;
    // Spellings of "Presenze" among neighbours in byte order that are not spellings of it.
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "CREATE INDEX ix ON Dettaglio(NumeroHotel, Tipo, DataInserimento);"
            "INSERT INTO Dettaglio VALUES"
            "(1,'Presenze','Generale','20140310',1),(1,'presenze','generale','20140311',2),"
            "(1,'PRESENZE','GENERALE','20140312',4),(1,'pReSeNzE','Generale','20140313',8),"
            "(1,'Partenze','Generale','20140310',16),(1,'PresenzeNaz','Generale','20140310',32),"
            "(1,'PRESENZEX','Generale','20140310',64),(1,'Presenzé','Generale','20140310',128),"
            "(1,'Presenze','Singoli','20140310',256),(2,'presenze','Generale','20140310',512),"
            "(1,'Presenze','Generale','20140410',1024),(1,'PresenzeEtà','ETÀ','20140310',2048),"
            "(1,'presenzeetà','età','20140310',4096),(1,'PRESENZEETA','ETA','20140310',8192);");
    const auto record = reinterpret_cast<void (*)(void)>(recordConnection);
    ASSERT_EQ(sqlite3_auto_extension(record), SQLITE_OK);
    struct Cancel {
        void (*entry)(void);
        ~Cancel() { sqlite3_cancel_auto_extension(entry); }
    } cancel{record};
    gStatements.clear();

    auto db = Database::open(dir.path(), "Dettaglio.mdb");
    auto sum = [&](const std::string& tipo, const std::string& detail) {
        auto rs = db.openQuery("Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = 1 and Tipo = " +
                               zt::sqlText(tipo) + " and Left$(DataInserimento,6) = '201403' and Dettaglio = " +
                               zt::sqlText(detail));
        return rs.field("VD").toText();
    };
    EXPECT_EQ(sum("Presenze", "Generale"), "15");
    EXPECT_EQ(sum("PRESENZE", "generale"), "15");
    EXPECT_EQ(sum("presenzeEtà", "ETÀ"), "6144");
    EXPECT_EQ(sum("Presenzè", "Generale"), "") << "no such spelling: a null sum";
    EXPECT_EQ(column(db, "Select Count(*) From Dettaglio Where Tipo = 'PRESENZE'"), "7");

    // The plans of the statements the layer ran, on a connection of SQLite's own.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2((dir / "Dettaglio.mdb").string().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    std::shared_ptr<sqlite3> guard(raw, sqlite3_close);
    registerDialectFunctions(raw);
    auto plan = [&](const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(raw, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(raw);
        std::string out;
        while (sqlite3_step(st) == SQLITE_ROW)
            out += reinterpret_cast<const char*>(sqlite3_column_text(st, 3)) + std::string("\n");
        sqlite3_finalize(st);
        return out;
    };
    auto ran = [&](const std::string& part) {
        for (const auto& sql : gStatements)
            if (sql.find(part) != std::string::npos) return sql;
        ADD_FAILURE() << "no statement with " << part;
        return std::string();
    };
    // The grid's sum seeks hotel, every spelling found and month.
    const auto grid = ran("SUM(");
    EXPECT_NE(grid.find("IN ('PRESENZE', 'Presenze', 'pReSeNzE', 'presenze')"), std::string::npos) << grid;
    EXPECT_EQ(plan(grid), "SEARCH q1 USING INDEX ix (NumeroHotel=? AND Tipo=? AND DataInserimento>? AND "
                          "DataInserimento<?)\n")
        << grid;
    // The spellings were found by seeks along the same index.
    const auto walk = ran(">= ?1");
    EXPECT_EQ(plan(walk), "SEARCH main.Dettaglio USING COVERING INDEX ix (NumeroHotel=? AND Tipo>? AND Tipo<?)\n")
        << walk;
    // Without the hotel the index cannot serve the equality: a scan, as before.
    EXPECT_EQ(plan(ran("count(*)")).rfind("SCAN q1", 0), 0u);

    // A find over the summary table seeks all four fields of its index: the spellings of
    // the detail are sought under each spelling of the statistic.
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);"
            "CREATE INDEX ix_z ON Zentoria(NumeroHotel, Tipo, Dettaglio, AnnoMese);"
            "INSERT INTO Zentoria VALUES(1,'Presenze','Generale','201403',1),(1,'PRESENZE','generale','201403',2),"
            "(1,'Presenze','Generali','201403',4),(1,'presenze','GENERALE','201404',8);");
    auto summary = Database::open(dir.path(), "Dettaglio.mdb");
    auto rows = summary.openTable("Zentoria");
    const std::string month = "NumeroHotel = 1 and Tipo = 'presenze' and Dettaglio = 'GENERALE' and AnnoMese = '201403'";
    std::string values;
    for (rows.findFirst(month); !rows.noMatch(); rows.findNext(month)) values += rows.field("Valore").toText() + " ";
    EXPECT_EQ(values, "1 2 ");
    const auto find = ran("AS r WHERE");
    EXPECT_EQ(plan(find), "SEARCH r USING INDEX ix_z (NumeroHotel=? AND Tipo=? AND Dettaglio=? AND AnnoMese=?)\n"
                          "USE TEMP B-TREE FOR ORDER BY\n")
        << find;

    // A spelling written since is found: the spellings are kept for one state of the file.
    dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES(1,'PreSenze','Generale','20140314',16384);");
    EXPECT_EQ(sum("Presenze", "Generale"), "16399");

    // A chain's sums name the hotels in a list: the spellings are sought under each hotel
    // (the second spells it as the first never does), and the index serves them all.
    dir.sql("Dettaglio.mdb", "INSERT INTO Dettaglio VALUES(2,'PRESENZe','Generale','20140315',32768);");
    gStatements.clear();
    EXPECT_EQ(column(db, "Select Sum(Valore) From Dettaglio Where NumeroHotel In (1, 2) and Tipo = 'presenze' and "
                         "DataInserimento >= '201403' and DataInserimento < '201404' and Dettaglio = 'generale' "
                         "Group By NumeroHotel"),
              "16399|33280");
    EXPECT_NE(plan(ran("GROUP BY")).find("\nSEARCH q1 USING INDEX ix (NumeroHotel=? AND Tipo=? AND DataInserimento>?"),
              std::string::npos)
        << plan(ran("GROUP BY"));
}

TEST(TextCase, AccessFilesCompareTheSameWay) {
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb");
    auto db = Database::open(dir.path(), "nwind.mdb");
    auto customers = db.openTable("Customers");
    std::string ids;
    for (customers.findFirst("City = 'MÜNCHEN' Or CustomerID = 'bergs'"); !customers.noMatch();
         customers.findNext("City = 'MÜNCHEN' Or CustomerID = 'bergs'"))
        ids += customers.field("CustomerID").toText() + " ";
    EXPECT_EQ(ids, "BERGS FRANK ");
    EXPECT_EQ(column(db, "Select Count(*) From Customers Where City Like 'luleÅ'"), "1");
}
