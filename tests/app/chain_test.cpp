// `zentoria chain` over the figure files: each hotel's row is its grid, the total row is the
// sum of the rows, the % is the report's; text and CSV as a script reads them.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/demo.h"
#include "support/chain_check.h"
#include "support/testdir.h"

using zt::test::splitOn;
using zt::test::TestDir;

class ChainOverTheFiles : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};  // statistic, detail

TEST_P(ChainOverTheFiles, EachRowIsTheHotelsGridAndTheTotalTheirSum) {
    TestDir dir;
    for (const int year : zt::app::writeDemo(dir.path(), true).years)
        zt::test::expectChainMatchesGrids(zt::test::runnerOver(dir.path()), dir.path(), GetParam().first,
                                          GetParam().second, std::to_string(year), 2);
}

INSTANTIATE_TEST_SUITE_P(Choices, ChainOverTheFiles,
                         ::testing::Values(std::pair{"Presenze", "Generale"}, std::pair{"Produzione", "1"},
                                           std::pair{"Presenze", "Mezza Pensione"}, std::pair{"Produzione", "<tutti>"}));

TEST(ChainCommand, CsvTakesTheSeparatorFileAndQuotesWhatHoldsIt) {
    TestDir dir;
    const auto demo = zt::app::writeDemo(dir.path(), true);
    const std::string year = std::to_string(demo.years.back());
    dir.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET RagioneSociale = 'Villa \"Rosa\"; Mare' WHERE Numero = 2");
    const auto chain = zt::test::runnerOver(dir.path());
    const auto lines = splitOn(chain({"chain", "Presenze", "Generale", year, "--csv"}), '\n');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Albergo;Gennaio;Febbraio;Marzo;Aprile;Maggio;Giugno;Luglio;Agosto;Settembre;Ottobre;Novembre;"
                        "Dicembre;Totale;% su " + std::to_string(demo.years.back() - 1) + "\r");
    EXPECT_EQ(lines[2].rfind("\"  2 Villa \"\"Rosa\"\"; Mare\";", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("Totale catena;", 0), 0u);

    dir.write("SeparatoreXLS.txt", "|\r\n");
    const auto barLines = splitOn(chain({"chain", "Presenze", "Generale", year, "--csv"}), '\n');
    EXPECT_EQ(barLines[2].rfind("\"  2 Villa \"\"Rosa\"\"; Mare\"|", 0), 0u) << barLines[2];
    // The text form is the same cells, tab-separated, unquoted.
    const auto textLines = splitOn(chain({"chain", "Presenze", "Generale", year}), '\n');
    ASSERT_EQ(textLines.size(), 4u);
    for (std::size_t i : {1u, 3u}) {
        std::string expected = barLines[i];
        std::replace(expected.begin(), expected.end(), '|', '\t');
        EXPECT_EQ(textLines[i] + "\r", expected);
    }
    EXPECT_EQ(textLines[2].rfind("  2 Villa \"Rosa\"; Mare\t", 0), 0u);
}

TEST(ChainCommand, AHotelWithoutFiguresShowsZerosAndWrongChoicesAreRefusedInItalian) {
    TestDir dir;
    const std::string year = std::to_string(zt::app::writeDemo(dir.path(), true).years.back());
    dir.sql("AnagraficaHotels.mdb", "INSERT INTO AnagraficaHotels (Numero, RagioneSociale) VALUES (7, 'Nuovo')");
    EXPECT_TRUE(zt::test::succeededSaying(zt::test::runCli(zt::test::inDir(dir.path(), {"chain", "Presenze", "Generale", year})),
                                          "\n  7 Nuovo\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"));

    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{"chain", "Presenz", "Generale", year}, "Statistica sconosciuta: \"Presenz\"."},
        {{"chain", "Presenze", "Nessuno", year}, "Dettaglio sconosciuto per \"Presenze\": \"Nessuno\"."},
        {{"chain", "Presenze", "Generale", "20x4"}, "Anno non valido: \"20x4\" (quattro cifre, da 1001 a 9998)."},
        {{"chain", "Presenze", "Generale"}, "chain takes STATISTICA DETTAGLIO ANNO"}};
    for (const auto& [args, message] : bad) {
        const auto o = zt::test::runCli(zt::test::inDir(dir.path(), args));
        EXPECT_TRUE(zt::test::failedSaying(o, 2, message));
        EXPECT_EQ(o.out, "");
    }
}
