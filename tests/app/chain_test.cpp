// `zentoria chain` over the figure files: each hotel's row is its grid, the total row is the
// sum of the rows, the % is the report's; text and CSV as a script reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/demo.h"
#include "support/chain_check.h"
#include "support/testdir.h"

using zt::test::Run;
using zt::test::splitOn;
using zt::test::TestDir;

namespace {

Run chainRun(const TestDir& dir, const std::vector<std::string>& args) {
    return zt::test::runCli(zt::test::inDir(dir.path(), args));
}

}  // namespace

struct ChainChoice {
    const char* stat;
    const char* detail;
};

class ChainOverTheFiles : public ::testing::TestWithParam<ChainChoice> {};

TEST_P(ChainOverTheFiles, EachRowIsTheHotelsGridAndTheTotalTheirSum) {
    TestDir dir;
    for (const int year : zt::app::writeDemo(dir.path(), true).years)
        zt::test::expectChainMatchesGrids(zt::test::runnerOver(dir.path()), dir.path(), GetParam().stat,
                                          GetParam().detail, std::to_string(year), 2);
}

INSTANTIATE_TEST_SUITE_P(Choices, ChainOverTheFiles,
                         ::testing::Values(ChainChoice{"Presenze", "Generale"}, ChainChoice{"Produzione", "1"},
                                           ChainChoice{"Presenze", "Mezza Pensione"}, ChainChoice{"Produzione", "<tutti>"}));

TEST(ChainCommand, CsvTakesTheSeparatorFileAndQuotesWhatHoldsIt) {
    TestDir dir;
    const auto demo = zt::app::writeDemo(dir.path(), true);
    const std::string year = std::to_string(demo.years.back());
    dir.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET RagioneSociale = 'Villa \"Rosa\"; Mare' WHERE Numero = 2");
    const auto semicolon = chainRun(dir, {"chain", "Presenze", "Generale", year, "--csv"});
    ASSERT_EQ(semicolon.status, 0) << semicolon.err;
    const auto lines = splitOn(semicolon.out, '\n');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Albergo;Gennaio;Febbraio;Marzo;Aprile;Maggio;Giugno;Luglio;Agosto;Settembre;Ottobre;Novembre;"
                        "Dicembre;Totale;% su " + std::to_string(demo.years.back() - 1) + "\r");
    EXPECT_EQ(lines[2].rfind("\"  2 Villa \"\"Rosa\"\"; Mare\";", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("Totale catena;", 0), 0u);

    std::ofstream(dir / "SeparatoreXLS.txt") << "|\r\n";
    const auto bar = chainRun(dir, {"chain", "Presenze", "Generale", year, "--csv"});
    const auto barLines = splitOn(bar.out, '\n');
    EXPECT_EQ(barLines[2].rfind("\"  2 Villa \"\"Rosa\"\"; Mare\"|", 0), 0u) << bar.out;
    // The text form is the same cells, tab-separated, unquoted.
    const auto textLines = splitOn(chainRun(dir, {"chain", "Presenze", "Generale", year}).out, '\n');
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
    const auto r = chainRun(dir, {"chain", "Presenze", "Generale", year});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n  7 Nuovo\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"), std::string::npos) << r.out;

    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{"chain", "Presenz", "Generale", year}, "Statistica sconosciuta: \"Presenz\"."},
        {{"chain", "Presenze", "Nessuno", year}, "Dettaglio sconosciuto per \"Presenze\": \"Nessuno\"."},
        {{"chain", "Presenze", "Generale", "20x4"}, "Anno non valido: \"20x4\" (quattro cifre, da 1001 a 9998)."},
        {{"chain", "Presenze", "Generale"}, "chain takes STATISTICA DETTAGLIO ANNO"}};
    for (const auto& [args, message] : bad) {
        const auto o = chainRun(dir, args);
        EXPECT_TRUE(zt::test::failedSaying(o, 2, message));
        EXPECT_EQ(o.out, "");
    }
}
