// `figures push` over rows the server cannot take as they are, and sums beyond the range
// of the program's numbers: the bad row is named and its hotel refused, the others go in;
// an out-of-range sum is an error, never 0.
#include <gtest/gtest.h>

#include "app/demo.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::PgServer;
using zt::test::Run;
using zt::test::runCliWithServer;

TEST(FiguresPushRows, ABadRowRefusesItsHotelNamingTheRowAndTheOthersAreCopied) {
    const std::string db = PgServer::shared().createDatabase("push_rows");
    ASSERT_EQ(runCliWithServer(db, {"figures", "init"}).status, 0);
    zt::test::TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    dir.sql("Dettaglio.mdb",
            "INSERT INTO Dettaglio VALUES (3, 'Ca' || char(0) || 'ssa', 'CONT', '20250101', 5);"  // NUL byte
            "INSERT INTO Dettaglio VALUES (3, 'Cassa', 'CONT', '20250102', 6);"
            "INSERT INTO Dettaglio VALUES (4, 'Cassa', 'CONT', '20250103', 'dieci');"  // not a number
            "INSERT INTO Dettaglio VALUES (5, 'Cassa', CAST(X'436173E0' AS TEXT), '20250104', 7);"  // "Casà" in 1252
            "INSERT INTO Dettaglio VALUES (1, 'Presenze', 'Generale', '20300101', 1e308),"
            "                             (1, 'Presenze', 'Generale', '20300102', 1e308);");
    const auto push = runCliWithServer(db, zt::test::inDir(dir.path(), {"figures", "push"}));
    // The refused hotels: file, table and the row's hotel, codes and date.
    for (const char* said : {"Dettaglio, hotel 3: not copied",
                             "Dettaglio.mdb: table Dettaglio, the row of hotel 3, Tipo \"Ca\\0ssa\"",
                             "DataInserimento \"20250101\": Tipo holds a NUL byte", "Dettaglio, hotel 4: not copied",
                             "Valore \"dieci\" is not a number"})
        EXPECT_TRUE(zt::test::failedSaying(push, 1, said));
    EXPECT_EQ(push.err.find("COPY"), std::string::npos) << push.err;
    // The others are copied, and said so.
    for (const char* said : {"Dettaglio, hotel 2: ", "Dettaglio, hotel 5: 1 row, sum of Valore 7\n"})
        EXPECT_NE(push.out.find(said), std::string::npos) << said << " in:\n" << push.out;
    const auto query = [](const std::string& sql) { return PgServer::shared().query("push_rows", sql); };
    EXPECT_EQ(query("SELECT count(*) FROM \"Dettaglio\" WHERE \"NumeroHotel\" IN (3, 4)"), "0");
    EXPECT_EQ(query("SELECT \"Dettaglio\" FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 5"), "Cas\xC3\xA0");
    // Hotel 1's two values of 1e308 went in, checked exactly: their sum is 2e308.
    EXPECT_EQ(query("SELECT sum(\"Valore\") = 2e308 FROM \"Dettaglio\" WHERE \"NumeroHotel\" = 1 AND "
                    "\"DataInserimento\" LIKE '2030%'"),
              "t");

    // The month's sum is beyond the range of a double: an error naming the server, not 0.
    const auto grid = runCliWithServer(db, zt::test::inDir(dir.path(), {"grid", "--hotel", "1", "--year", "2030",
                                                                       "--stat", "Presenze", "--detail", "Generale"}));
    for (const char* said : {"PostgreSQL server", "beyond the range"})
        EXPECT_TRUE(zt::test::failedSaying(grid, 1, said));
    EXPECT_EQ(grid.out.find("0.00"), std::string::npos) << grid.out;
}
