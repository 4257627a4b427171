// The demo installation written as Access files gives, through the command line, byte
// for byte what the SQLite demo gives: grids, year differences, recomputes and reports.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::test;

TEST(AccessDemo, EveryCommandGivesByteForByteWhatItGivesOnTheSqliteDemo) {
    TestDir sqlite, access;
    zt::test::Run a, b;
    // The summary's lines from "Hotels:" on (the folder and the kind of files differ).
    const auto fromHotels = [](const std::string& summary) { return summary.substr(summary.find("Hotels:")); };
    // Both written on the same day (again, should midnight fall between them).
    for (int attempt = 0; attempt < 2; ++attempt) {
        a = runCommand(programPath(), {"demo", sqlite.path().string(), "--force"});
        b = runCommand(programPath(), {"demo", access.path().string(), "--force", "--access"});
        ASSERT_EQ(a.status, 0) << a.err;
        ASSERT_EQ(b.status, 0) << b.err;
        if (fromHotels(a.out) == fromHotels(b.out)) break;
    }
    EXPECT_EQ(fromHotels(a.out), fromHotels(b.out));  // the same tables with the same rows
    EXPECT_NE(b.out.find("Files: Access (Jet 4), the summary Zentoria.mdb SQLite\n"), std::string::npos) << b.out;
    EXPECT_EQ(access.read("Zentoria.mdb").substr(0, 15), "SQLite format 3");
    int accessFiles = 0;
    for (const auto& e : fs::directory_iterator(access.path())) {
        if (e.path().extension() != ".mdb" || e.path().filename() == "Zentoria.mdb") continue;
        EXPECT_EQ(runCommand("mdb-ver", {e.path().string()}).out, "JET4\n") << e.path();
        ++accessFiles;
    }
    EXPECT_EQ(accessFiles, 15);
    const std::string year = a.out.substr(a.out.find("Years:") + 19, 4), last = std::to_string(std::stoi(year) - 1);

    auto both = [&](const std::vector<std::string>& args) {
        return std::pair{runCommand(programPath(), inDir(sqlite.path(), args)),
                         runCommand(programPath(), inDir(access.path(), args))};
    };
    std::vector<std::vector<std::string>> commands = {
        {"grid", "--hotel", "1", "--year", year, "--stat", "Produzione", "--detail", "1"},
        {"grid", "--hotel", "2", "--year", last, "--stat", "Presenze x Nazione", "--detail", "IT"},
        {"diff", "--hotel", "1", "--year", year, "--with", last, "--stat", "Cassa", "--detail", "CONT"},
        {"diff", "--hotel", "1", "--year", last, "--with", year, "--stat", "Fatturato", "--detail", "1"}};
    for (const char* stat : {"Produzione", "Fatturato", "Cassa", "Presenze"})
        for (const std::string& y : {year, last})
            commands.push_back({"recompute", "--hotel", "1", "--year", y, "--stat", stat, "--yes"});
    commands.push_back({"grid", "--hotel", "1", "--year", year, "--stat", "Cassa", "--detail", "CARTA"});
    for (const auto& args : commands) {
        const auto [x, y] = both(args);
        EXPECT_EQ(x.status, 0) << x.err;
        EXPECT_EQ(y, x) << args[0] << " " << args[4] << " " << args[6];
        EXPECT_GT(x.out.size(), 0u);
    }
    // The recomputes wrote the same figures into both summaries.
    const std::string figures = "SELECT NumeroHotel || Tipo || Dettaglio || AnnoMese || '=' || Valore FROM Zentoria "
                                "ORDER BY NumeroHotel, Tipo, Dettaglio, AnnoMese";
    EXPECT_EQ(queryColumn(access / "Zentoria.mdb", figures), queryColumn(sqlite / "Zentoria.mdb", figures));

    // The report: the path it prints names each folder; the file's bytes are the same.
    for (const auto& [stat, detail] : {std::pair{"Presenze", "Generale"}, std::pair{"Produzione", "4"}}) {
        const auto [x, y] = both({"report", "--hotel", "1", "--year", year, "--stat", stat, "--detail", detail});
        ASSERT_EQ(x.status, 0) << x.err;
        ASSERT_EQ(y.status, 0) << y.err;
        EXPECT_EQ(y.out, (access / "fd").string() + "\n");
        EXPECT_GT(sqlite.read("fd").size(), 100u);
        EXPECT_EQ(access.read("fd"), sqlite.read("fd")) << stat;
    }
}
