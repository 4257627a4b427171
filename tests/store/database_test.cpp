// The database layer seen from its callers: files opened by name, dynasets over tables
// and queries, finds, edits, and the errors a user is shown.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

#include "common/text.h"
#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/testdir.h"

using namespace zt::store;
using zt::test::dbErrorOf;
using zt::test::TestDir;
using zt::test::queryColumn;

namespace {

// Walks every row meeting the criterion with find-first / find-next, collecting `field`.
std::string walk(Recordset& rs, const std::string& criterion, const std::string& field) {
    std::string out;
    rs.findFirst(criterion);
    while (!rs.noMatch()) {
        out += (out.empty() ? "" : ",") + rs.field(field).toText();
        rs.findNext(criterion);
    }
    return out;
}

}  // namespace

TEST(Database, OpeningReportsMissingForeignAndDamagedFilesWithoutCreatingAny) {
    TestDir dir;
    // A bare name gets ".mdb"; backslashes separate folders.
    dir.sql("VociFattura.mdb", "CREATE TABLE VociFattura(Codice INTEGER);");
    EXPECT_NO_THROW(Database::open(dir.path(), "VociFattura"));
    std::filesystem::create_directory(dir / "sub");
    dir.sql("sub/Zentoria.mdb", "CREATE TABLE Zentoria(Valore REAL);");
    EXPECT_NO_THROW(Database::open(dir.path(), "sub\\Zentoria.mdb"));

    dir.write("Jet.mdb", std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(100, '\0'));
    dir.write("Rotto.mdb", "this is not a database at all, just some text bytes");
    // The first page of a real file followed by garbage.
    dir.sql("Tronco.mdb", "CREATE TABLE t(a); INSERT INTO t VALUES(1);");
    std::string bytes = dir.read("Tronco.mdb");
    dir.write("Tronco.mdb", bytes.substr(0, 16) + std::string(bytes.size() - 16, '\x5a'));
    // Each message names the file and what is wrong with it.
    for (const auto& [name, what] : {std::pair{"Nessuno.mdb", "not found"}, {"Jet.mdb", "Access"},
                                     {"Rotto.mdb", "damaged"}, {"Tronco.mdb", "Tronco.mdb"}}) {
        const auto e = dbErrorOf([&] { Database::open(dir.path(), name).openTable("t"); });
        EXPECT_NE(e.find(name), std::string::npos) << e;
        EXPECT_NE(e.find(what), std::string::npos) << e;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "Nessuno.mdb"));
}

TEST(Database, MissingTablesFieldsAndBadSyntaxAreNamed) {
    TestDir dir;
    dir.sql("Dettaglio.mdb", "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Valore REAL);");
    auto db = Database::open(dir.path(), "Dettaglio.mdb");
    auto rs = db.openTable("Dettaglio");
    // Each message names the file and what is wrong.
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { db.openTable("Dettagli"); }, "\"Dettagli\""},
        {[&] { db.openQuery("Select Sum(Valor) as VD From Dettaglio"); }, "\"Valor\""},
        {[&] { rs.findFirst("Tipos = 'x'"); }, "\"Tipos\""},
        {[&] { db.openQuery("Select * From Dettaglio Inner Join Altro On a = b"); }, "near \"Inner\""},
        {[&] { rs.findFirst("Tipo = 'x' ; drop table Dettaglio"); }, "near \";\""},
        {[&] { db.openQuery("Select Foo(Valore) From Dettaglio"); }, "\"Foo\""},
    };
    for (const auto& [call, named] : cases) {
        const std::string e = dbErrorOf(call);
        EXPECT_NE(e.find(named), std::string::npos) << e;
        EXPECT_NE(e.find("Dettaglio.mdb"), std::string::npos) << e;
    }
    EXPECT_EQ(queryColumn(dir / "Dettaglio.mdb", "SELECT count(*) FROM sqlite_master"), "1");
}

TEST(Database, FindFirstAndFindNextVisitMatchesInTableOrder) {
    TestDir dir;
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,4,'CONT','Contanti'),(2,4,'XX','Altro'),(1,6,'AG','Agenzia'),"
            "(1,4,'BANC','Bancomat'),(1,4,'AB','L''Aquila');");
    auto db = Database::open(dir.path(), "CodiciVari");
    auto rs = db.openTable("CodiciVari");
    EXPECT_EQ(rs.recordCount(), 5);
    EXPECT_EQ(rs.field("sigla").toText(), "CONT");  // stands on the first row, names without case
    EXPECT_EQ(walk(rs, "NumeroHotel = 1 and Tipo = 4", "Sigla"), "CONT,BANC,AB");
    // After the last match the current row stays where it was.
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(rs.field("Sigla").toText(), "AB");
    // A value with a quote, quoted by the one helper, is found and changes nothing else.
    rs.findFirst("Descrizione = " + zt::sqlText("L'Aquila"));
    ASSERT_FALSE(rs.noMatch());
    EXPECT_EQ(rs.field("Sigla").toText(), "AB");
    rs.findFirst("Descrizione = " + zt::sqlText("x' or '1'='1"));
    EXPECT_TRUE(rs.noMatch());
    // A find-next with another criterion continues from the current row.
    rs.findFirst("Sigla = 'XX'");
    rs.findNext("Tipo = 4");
    EXPECT_EQ(rs.field("Sigla").toText(), "BANC");
    // The sequential walk.
    rs.moveFirst();
    std::string all;
    for (; !rs.eof(); rs.moveNext()) all += rs.field("Sigla").toText() + " ";
    EXPECT_EQ(all, "CONT XX AG BANC AB ");
}

TEST(Database, QueriesFollowJetRules) {
    TestDir dir;
    dir.sql("Conto_Cliente.mdb",
            "CREATE TABLE Conto_Cliente(Importo REAL, DataAddebito TEXT, VoceAddebito INTEGER);"
            "CREATE INDEX ix ON Conto_Cliente(DataAddebito);"
            "INSERT INTO Conto_Cliente VALUES(100.5,'20140315',1),(20,'20140301',2),(7,'20140401',1),"
            "(1000,'2014-03',1),(3,'xx',1);");
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, GruppoStatistico INTEGER);"
            "INSERT INTO VociFattura VALUES(1,1,1),(1,2,9),(1,3,1);");
    auto db = Database::open(dir.path(), "Conto_Cliente.mdb");
    // A text compared with a number compares as numbers.
    auto q = db.openQuery(
        "Select Sum(Importo) as VT From Conto_Cliente In 'Conto_Cliente.mdb' Where mid$(DataAddebito,1,6) = 201403 "
        "and VoceAddebito In (Select Codice From VociFattura in 'VociFattura.mdb' Where GruppoStatistico = 1)");
    EXPECT_DOUBLE_EQ(q.field("VT").toDouble(), 100.5);
    EXPECT_EQ(q.fieldNames(), std::vector<std::string>{"VT"});
    // A sum over no rows is null, not 0.
    auto none = db.openQuery("Select Sum(Importo) as VT From Conto_Cliente Where Left$(DataAddebito,6) = '201212'");
    EXPECT_TRUE(none.field("VT").isNull());
    // Left without "$", a trailing ";", Val, Instr, ORDER BY and a find on a query.
    auto rows = db.openQuery(
        "Select DataAddebito, Importo From Conto_Cliente Where Left(DataAddebito,4) = '2014' and "
        "Instr(DataAddebito,'03') > 0 Order by Importo Desc;");
    EXPECT_EQ(rows.recordCount(), 3);
    EXPECT_EQ(walk(rows, "DataAddebito > ''", "Importo"), "1000,100.5,20");
    EXPECT_EQ(walk(rows, "Val(Mid$(DataAddebito,7,2)) = 1", "DataAddebito"), "20140301");
}

TEST(Database, SumsOverOtherFilesAndNestedSubqueries) {
    TestDir dir;
    dir.sql("Fatture.mdb",
            "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT, DataEmissione TEXT);"
            "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
            "INSERT INTO DatiFattura VALUES(1,'N',10,'F','20140302'),(2,'S',10,'F','20140302'),(3,'N',0,'F','20140302');"
            "INSERT INTO Incassi VALUES(10,'20140302','0003 bar',1,'CONT'),(20,'20140302','',2,'CONT'),"
            "(40,'20140302','x',3,'CONT'),(80,'20140302','',1,'BANC');");
    dir.sql("Zentoria.mdb", "CREATE TABLE Zentoria(Valore REAL);");
    auto db = Database::open(dir.path(), "Zentoria.mdb");  // the query reaches Fatture.mdb by itself
    auto q = db.openQuery(
        "Select Sum(Importo) as VT From Incassi In 'Fatture.mdb' Where NDocumento In ((Select NDocumento From "
        "DatiFattura In 'Fatture.mdb' Where Annullato <> 'S' and CorrPagato > 0 and mid$(DataEmissione,1,6) = 201403)) "
        "and mid$(DataEmissione,1,6) = 201403 and Sigla = 'CONT'");
    EXPECT_DOUBLE_EQ(q.field("VT").toDouble(), 10);
    auto e = dbErrorOf([&] { db.openQuery("Select Sum(Importo) as VT From Incassi In 'Nessuno.mdb'"); });
    EXPECT_NE(e.find("Nessuno.mdb"), std::string::npos) << e;
    EXPECT_FALSE(std::filesystem::exists(dir / "Nessuno.mdb"));
}

TEST(Database, FilesMadeWithoutDeclaredTypesAreReadAsTheyAre) {
    TestDir dir;
    // As a CSV import would leave them: every value text, no declared types.
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel, Tipo, Dettaglio, DataInserimento, Valore);"
            "INSERT INTO Dettaglio VALUES('1','Presenze','Generale','20140310','12'),"
            "(1,'Presenze','Generale',20140320,3.5),('2','Presenze','Generale','20140310','100');");
    auto db = Database::open(dir.path(), "Dettaglio");
    auto q = db.openQuery(
        "Select Sum(Valore) as VD From Dettaglio Where NumeroHotel = 1 and Tipo = 'Presenze' and "
        "Left$(DataInserimento,6) = '201403' and Dettaglio = 'Generale'");
    EXPECT_DOUBLE_EQ(q.field("VD").toDouble(), 15.5);
}

TEST(Database, AddAndEditSaveRowsTheFileShows) {
    TestDir dir;
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);");
    auto db = Database::open(dir.path(), "Zentoria.mdb");
    auto rs = db.openTable("Zentoria");
    EXPECT_TRUE(rs.eof());
    rs.addNew();
    rs.setField("NumeroHotel", 1);
    rs.setField("Tipo", "Cassa");
    rs.setField("Dettaglio", "L'A");
    rs.setField("AnnoMese", "201403");
    rs.setField("Valore", zt::Currency::fromTenThousandths(12345678));
    rs.update();
    rs.findFirst("Dettaglio = " + zt::sqlText("L'A"));
    ASSERT_FALSE(rs.noMatch());
    rs.edit();
    rs.setField("Valore", 2.5);
    rs.update();
    EXPECT_DOUBLE_EQ(rs.field("Valore").toDouble(), 2.5);
    rs.close();
    db.close();
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT NumeroHotel||'/'||Tipo||'/'||Dettaglio||'/'||AnnoMese||'/'||Valore FROM Zentoria"),
              "1/Cassa/L'A/201403/2.5");

    auto db2 = Database::open(dir.path(), "Zentoria.mdb");
    auto q = db2.openQuery("Select * From Zentoria");
    EXPECT_NE(dbErrorOf([&] { q.edit(); }).find("cannot be edited"), std::string::npos);
    auto t = db2.openTable("Zentoria");
    t.addNew();
    EXPECT_NE(dbErrorOf([&] { t.setField("Valor", 1); }).find("\"Valor\""), std::string::npos);
}

TEST(Database, BusyFileIsWaitedForThenReported) {
    TestDir dir;
    dir.sql("Zentoria.mdb", "CREATE TABLE Zentoria(NumeroHotel INTEGER, Valore REAL);");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "Zentoria.mdb").string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO Zentoria VALUES(9,9);", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto e = dbErrorOf([&] {
        auto db = Database::open(dir.path(), "Zentoria.mdb");
        auto rs = db.openTable("Zentoria");
    });
    EXPECT_NE(e.find("in use by another program"), std::string::npos) << e;
    sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_NO_THROW(Database::open(dir.path(), "Zentoria.mdb").openTable("Zentoria"));
}

// Opening a file looks at its first bytes without taking the locks of a connection of
// this process that is writing it: another program still finds the file in use.
TEST(Database, OpeningAFileKeepsTheLocksOfAConnectionWritingIt) {
    TestDir dir;
    dir.sql("Zentoria.mdb", "CREATE TABLE Zentoria(NumeroHotel INTEGER, Valore REAL);");
    const std::string file = (dir / "Zentoria.mdb").string();
    auto writer = Database::open(dir.path(), "Zentoria.mdb");
    writer.transaction([&] {
        auto rs = writer.openTable("Zentoria");
        rs.addNew();
        rs.setField("NumeroHotel", Value(1));
        rs.update();
        Database::open(dir.path(), "Zentoria.mdb").close();
        // Another program (a process of its own, not a fork that would share this one's
        // view of the locks) tries to start writing.
        std::string out;
        if (FILE* p = ::popen(("sqlite3 '" + file + "' 'BEGIN IMMEDIATE;' 2>&1").c_str(), "r")) {
            char buf[256];
            while (std::fgets(buf, sizeof buf, p)) out += buf;
            EXPECT_NE(::pclose(p), 0) << "another program could write while this one does";
        }
        EXPECT_NE(out.find("locked"), std::string::npos) << out;
    });
}

// A query's SQL is written once per state of its file and reused by later connections:
// a change of the file's tables, or another file copied over it, gives SQL for the new
// tables, never the old one.
TEST(Database, AQueryReadsTheTablesTheFileHasNow) {
    TestDir dir;
    dir.sql("Codici.mdb", "CREATE TABLE T(A TEXT); INSERT INTO T VALUES('uno');");
    const auto read = [&] {
        auto db = Database::open(dir.path(), "Codici.mdb");
        auto q = db.openQuery("Select * From T");
        std::string out;
        for (const auto& name : q.fieldNames()) out += name + "=" + q.field(name).toText() + ";";
        return out;
    };
    EXPECT_EQ(read(), "A=uno;");
    EXPECT_EQ(read(), "A=uno;");

    dir.sql("Codici.mdb", "ALTER TABLE T RENAME COLUMN A TO B; ALTER TABLE T ADD COLUMN C INTEGER;");
    EXPECT_EQ(read(), "B=uno;C=;");

    // Another file with the same number of table changes, written over this one.
    TestDir other;
    other.sql("Codici.mdb", "CREATE TABLE T(X TEXT, Y TEXT); INSERT INTO T VALUES('due', 'tre');"
                            "ALTER TABLE T ADD COLUMN Z INTEGER; ALTER TABLE T ADD COLUMN W INTEGER;");
    EXPECT_EQ(read(), "B=uno;C=;");
    dir.write("Codici.mdb", other.read("Codici.mdb"));
    EXPECT_EQ(read(), "X=due;Y=tre;Z=;W=;");
}

// The functions of one argument, and Nz and IIf, as a query reads them.
TEST(Database, TheDialectsFunctionsGiveJetsValues) {
    TestDir dir;
    dir.sql("Voci.mdb", "CREATE TABLE T(Nome TEXT, Spazi TEXT, Numero TEXT);"
                        "INSERT INTO T VALUES('Bar Centrale', '  due lati  ', '12ab');");
    auto db = Database::open(dir.path(), "Voci");
    auto q = db.openQuery(
        "Select UCase$(Nome) As U, LCase$(Nome) As L, Trim$(Spazi) As TR, LTrim$(Spazi) As LT, RTrim$(Spazi) As RT, "
        "Len(Nome) As N, CStr(5) As S, CDbl('2.5') As D, Abs(-3) As A, Nz(Null, 7) As Z, "
        "IIf(Len(Nome) > 3, 'lungo', 'corto') As I, Val(Numero) As V From T");
    std::string got;
    for (const char* f : {"U", "L", "TR", "LT", "RT", "N", "S", "D", "A", "Z", "I", "V"})
        got += std::string(f) + "=" + q.field(f).toText() + ";";
    EXPECT_EQ(got, "U=BAR CENTRALE;L=bar centrale;TR=due lati;LT=due lati  ;RT=  due lati;N=12;S=5;D=2.5;A=3;Z=7;"
                   "I=lungo;V=12;");
}

TEST(Database, FilesAreFoundWhateverTheCaseOfTheirNamesOnDisk) {
    TestDir dir;
    std::filesystem::create_directory(dir / "FIGURE");
    dir.sql("FIGURE/zentoria.MDB", "CREATE TABLE Zentoria(Valore REAL); INSERT INTO Zentoria VALUES(1);");
    dir.sql("FATTURE.mdb", "CREATE TABLE Incassi(Importo REAL); INSERT INTO Incassi VALUES(2.5),(4);");
    const std::string inOther = "Select Sum(Importo) as T From Incassi In 'fatture.MDB'";
    const std::string absolute = (dir / "figure/Zentoria.mdb").string();
    for (const std::string& name : std::vector<std::string>{"figure\\Zentoria", "Figure/ZENTORIA.mdb", absolute}) {
        Database db = Database::open(dir.path(), name);
        EXPECT_EQ(db.path(), dir / "FIGURE/zentoria.MDB") << name;
        EXPECT_EQ(db.openQuery(inOther).field("T").toText(), "6.5");
    }
    dir.sql("CITTÀ.mdb", "CREATE TABLE C(x);");  // accented capitals too
    EXPECT_EQ(Database::open(dir.path(), "città").path(), dir / "CITTÀ.mdb");
    // Two names that differ only in case: neither is read, and the message names both.
    dir.sql("Fatture.mdb", "CREATE TABLE Incassi(Importo REAL);");
    Database db = Database::open(dir.path(), "figure\\zentoria");
    const auto both = dbErrorOf([&] { db.openQuery(inOther); });
    EXPECT_NE(both.find("\"FATTURE.mdb\" and \"Fatture.mdb\", names that differ only in case"), std::string::npos)
        << both;
    std::filesystem::remove(dir / "Fatture.mdb");
    EXPECT_EQ(Database::open(dir.path(), "FIGURE/Zentoria").openQuery(inOther).field("T").toText(), "6.5");
    EXPECT_EQ(dbErrorOf([&] { Database::open(dir.path(), "figure\\Dettaglio"); }),
              (dir / "FIGURE/Dettaglio.mdb").string() + ": file not found");
}

// Within a scope of reused connections, opening an unchanged file again gives the same
// connection (a temporary table made on one is there on the other). A file written since,
// a connection inside a transaction, or the end of the scope give a new one, which reads
// the file as it is now.
TEST(Database, ReusedConnectionsOnlyWhileTheFileIsAsOpened) {
    TestDir dir;
    dir.sql("F.mdb", "CREATE TABLE T(V INTEGER); INSERT INTO T VALUES(1);");
    const auto marked = [](Database& db) {
        return dbErrorOf([&] { db.executeNative("INSERT INTO temp.Mark VALUES(1)"); }) == "(no error)";
    };
    {
        const ReusedConnections scope;
        auto a = Database::open(dir.path(), "F.mdb");
        a.executeNative("CREATE TEMP TABLE Mark(X)");
        auto same = Database::open(dir.path(), "f");
        EXPECT_TRUE(marked(same));
        a.begin();
        auto duringTransaction = Database::open(dir.path(), "F.mdb");
        EXPECT_FALSE(marked(duringTransaction));
        a.rollback();
        dir.sql("F.mdb", "INSERT INTO T VALUES(2);");
        auto afterWrite = Database::open(dir.path(), "F.mdb");
        EXPECT_FALSE(marked(afterWrite));
        EXPECT_EQ(afterWrite.openQuery("Select Sum(V) as S From T").field("S").toText(), "3");
    }
    auto outside = Database::open(dir.path(), "F.mdb");
    EXPECT_FALSE(marked(outside));
}
