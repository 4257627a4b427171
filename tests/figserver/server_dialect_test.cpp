// The Jet dialect on the figure server: the same results as over a figure file, and the
// keys and the index its equalities seek.
#include <gtest/gtest.h>

#include "app/demo.h"
#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_sql.h"
#include "store/figures/server_store.h"
#include "store/sqlite/database.h"
#include "support/holds.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::TestDir;

namespace {

TEST(FiguresOnServer, TheSameJetQueriesGiveTheSameResultsAsOverAFile) {
    const std::string db = PgServer::shared().createDatabase("ops_dialect");
    PgServer& server = PgServer::shared();
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    const std::string rows =
        "(1,'Cassa','CONT','20140110',1000.25),(1,'Cassa','CONT','20140120',0.1),(1,'Cassa','CONT','20130105',0.2),"
        "(1,'Cassa','CC','2014x',0.3),(1,'Cassa',' 12 ','20140201',7),(1,'Note','4.5e1kg','20140301',-3.3333),"
        "(1,'Note',NULL,'20140301',NULL),(2,'Cassa','àbc','20140101',1)";
    dir.sql("Dettaglio.mdb", "DELETE FROM Dettaglio; INSERT INTO Dettaglio VALUES " + rows);
    ASSERT_EQ(zt::test::runCliWithServer(db, {"--dir", dir.path().string(), "figures", "init"}).status, 0);
    server.exec("ops_dialect", "INSERT INTO \"Dettaglio\" VALUES " + rows);

    auto file = zt::store::Database::open(dir.path(), "Dettaglio.mdb");
    const auto lease = zt::store::figureServerConnection(db);
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
    server.exec("ops_dialect", "INSERT INTO \"Dettaglio\" SELECT 3, 'Cassa', 'X', '20150101', 0.1 FROM "
                               "generate_series(1, 1000)");
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

// The codes' case is the subject of Figures.*/Server (tests/store/figures_test.cpp); here
// the server's own part: its key and the index the sums seek.
TEST(FiguresOnServer, TextsCompareWithoutRegardToCaseAndTheEqualitiesSeekTheKeys) {
    const std::string db = PgServer::shared().createDatabase("ops_case");
    PgServer& server = PgServer::shared();
    ASSERT_EQ(zt::test::runCliWithServer(db, {"figures", "init"}).status, 0);
    // The key refuses a second spelling of a month's row.
    server.exec("ops_case", "INSERT INTO \"Zentoria\" VALUES (1, 'Cassa', 'cont', '204001', 1)");
    EXPECT_THROW(server.exec("ops_case", "INSERT INTO \"Zentoria\" VALUES (1, 'CASSA', 'Cont', '204001', 5)"),
                 std::runtime_error);

    // The month's sum as the grid writes it seeks the index of the sums.
    const auto lease = zt::store::figureServerConnection(db);
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
        EXPECT_TRUE(zt::test::holds(text, part));
}

}  // namespace
