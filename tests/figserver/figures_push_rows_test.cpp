// `figures push` over rows the server cannot take as they are, and sums beyond the range
// of the program's numbers: the bad row is named and its hotel refused, the others go in;
// an out-of-range sum is an error, never 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/cli.h"
#include "app/demo.h"
#include "support/pg_server.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::TestDir;

namespace {

struct CliOutcome {
    int status = -1;
    std::string out, err;
};

CliOutcome withServer(const std::string& db, const std::vector<std::string>& args) {
    ::setenv("ZENTORIA_FIGURES_DB", db.c_str(), 1);
    std::istringstream in;
    std::ostringstream out, err;
    CliOutcome r;
    r.status = zt::app::runCommand(args, in, out, err);
    ::unsetenv("ZENTORIA_FIGURES_DB");
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace

TEST(FiguresPushRows, ABadRowRefusesItsHotelNamingTheRowAndTheOthersAreCopied) {
    const std::string db = PgServer::shared().createDatabase("push_rows");
    ASSERT_EQ(withServer(db, {"figures", "init"}).status, 0);
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    dir.sql("Dettaglio.mdb",
            "INSERT INTO Dettaglio VALUES (3, 'Ca' || char(0) || 'ssa', 'CONT', '20250101', 5);"  // NUL byte
            "INSERT INTO Dettaglio VALUES (3, 'Cassa', 'CONT', '20250102', 6);"
            "INSERT INTO Dettaglio VALUES (4, 'Cassa', 'CONT', '20250103', 'dieci');"  // not a number
            "INSERT INTO Dettaglio VALUES (5, 'Cassa', CAST(X'436173E0' AS TEXT), '20250104', 7);"  // "Casà" in 1252
            "INSERT INTO Dettaglio VALUES (1, 'Presenze', 'Generale', '20300101', 1e308),"
            "                             (1, 'Presenze', 'Generale', '20300102', 1e308);");
    const CliOutcome push = withServer(db, {"--dir", dir.path().string(), "figures", "push"});
    EXPECT_EQ(push.status, 1) << push.err;
    // The refused hotels: file, table and the row's hotel, codes and date.
    EXPECT_NE(push.err.find("Dettaglio, hotel 3: not copied"), std::string::npos) << push.err;
    EXPECT_NE(push.err.find("Dettaglio.mdb: table Dettaglio, the row of hotel 3, Tipo \"Ca\\0ssa\""), std::string::npos)
        << push.err;
    EXPECT_NE(push.err.find("DataInserimento \"20250101\": Tipo holds a NUL byte"), std::string::npos) << push.err;
    EXPECT_NE(push.err.find("Dettaglio, hotel 4: not copied"), std::string::npos) << push.err;
    EXPECT_NE(push.err.find("Valore \"dieci\" is not a number"), std::string::npos) << push.err;
    EXPECT_EQ(push.err.find("COPY"), std::string::npos) << push.err;
    // The others are copied, and said so.
    EXPECT_NE(push.out.find("Dettaglio, hotel 2: "), std::string::npos) << push.out;
    EXPECT_NE(push.out.find("Dettaglio, hotel 5: 1 row, sum of Valore 7\n"), std::string::npos) << push.out;
    EXPECT_EQ(PgServer::shared().query("push_rows", "SELECT count(*) FROM \"Dettaglio\" WHERE \"NumeroHotel\" IN (3, 4)"),
              "0");
    EXPECT_EQ(PgServer::shared().query("push_rows", "SELECT \"Dettaglio\" FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 5"),
              "Cas\xC3\xA0");
    // Hotel 1's two values of 1e308 went in, checked exactly: their sum is 2e308.
    EXPECT_EQ(PgServer::shared().query("push_rows", "SELECT sum(\"Valore\") = 2e308 FROM \"Dettaglio\" WHERE "
                                                    "\"NumeroHotel\" = 1 AND \"DataInserimento\" LIKE '2030%'"),
              "t");

    // The month's sum is beyond the range of a double: an error naming the server, not 0.
    const CliOutcome grid = withServer(db, {"--dir", dir.path().string(), "grid", "--hotel", "1", "--year", "2030",
                                     "--stat", "Presenze", "--detail", "Generale"});
    EXPECT_NE(grid.status, 0) << grid.out;
    EXPECT_NE(grid.err.find("PostgreSQL server"), std::string::npos) << grid.err;
    EXPECT_NE(grid.err.find("beyond the range"), std::string::npos) << grid.err;
    EXPECT_EQ(grid.out.find("0.00"), std::string::npos) << grid.out;
}
