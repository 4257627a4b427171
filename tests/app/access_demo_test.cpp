// The demo installation written as Access files gives, through the command line, byte
// for byte what the SQLite demo gives: grids, year differences, recomputes and reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::test::Run;
using zt::test::queryColumn;
using zt::test::runCommand;
using zt::test::TestDir;

namespace {

std::string zentoria() {
    const char* bin = std::getenv("ZENTORIA_BIN");
    if (!bin) throw std::runtime_error("ZENTORIA_BIN is not set");
    return bin;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The summary's lines from "Hotels:" on (the folder and the kind of files differ).
std::string fromHotels(const std::string& summary) { return summary.substr(summary.find("Hotels:")); }

}  // namespace

TEST(AccessDemo, EveryCommandGivesByteForByteWhatItGivesOnTheSqliteDemo) {
    TestDir sqlite, access;
    zt::test::Run a, b;
    // Both written on the same day (again, should midnight fall between them).
    for (int attempt = 0; attempt < 2; ++attempt) {
        a = runCommand(zentoria(), {"demo", sqlite.path().string(), "--force"});
        b = runCommand(zentoria(), {"demo", access.path().string(), "--force", "--access"});
        ASSERT_EQ(a.status, 0) << a.err;
        ASSERT_EQ(b.status, 0) << b.err;
        if (fromHotels(a.out) == fromHotels(b.out)) break;
    }
    EXPECT_EQ(fromHotels(a.out), fromHotels(b.out));  // the same tables with the same rows
    EXPECT_NE(b.out.find("Files: Access (Jet 4), the summary Zentoria.mdb SQLite\n"), std::string::npos) << b.out;
    int accessFiles = 0;
    for (const auto& e : fs::directory_iterator(access.path())) {
        if (e.path().extension() != ".mdb") continue;
        const auto ver = runCommand("mdb-ver", {e.path().string()});
        if (e.path().filename() == "Zentoria.mdb") {
            EXPECT_EQ(bytesOf(e.path()).substr(0, 15), "SQLite format 3");
        } else {
            EXPECT_EQ(ver.out, "JET4\n") << e.path();
            ++accessFiles;
        }
    }
    EXPECT_EQ(accessFiles, 15);
    const std::string year = a.out.substr(a.out.find("Years:") + 19, 4);

    auto same = [&](const std::vector<std::string>& args) {
        std::vector<std::string> onSqlite{"--dir", sqlite.path().string()}, onAccess{"--dir", access.path().string()};
        onSqlite.insert(onSqlite.end(), args.begin(), args.end());
        onAccess.insert(onAccess.end(), args.begin(), args.end());
        const auto x = runCommand(zentoria(), onSqlite);
        const auto y = runCommand(zentoria(), onAccess);
        EXPECT_EQ(x.status, 0) << x.err;
        EXPECT_EQ(y.status, x.status) << y.err;
        EXPECT_EQ(y.out, x.out) << args[0] << " " << args[4] << " " << args[6];
        EXPECT_EQ(y.err, x.err);
        EXPECT_GT(x.out.size(), 0u);
        return x.out;
    };
    const std::string last = std::to_string(std::stoi(year) - 1);
    same({"grid", "--hotel", "1", "--year", year, "--stat", "Produzione", "--detail", "1"});
    same({"grid", "--hotel", "2", "--year", last, "--stat", "Presenze x Nazione", "--detail", "IT"});
    same({"diff", "--hotel", "1", "--year", year, "--with", last, "--stat", "Cassa", "--detail", "CONT"});
    same({"diff", "--hotel", "1", "--year", last, "--with", year, "--stat", "Fatturato", "--detail", "1"});
    for (const char* stat : {"Produzione", "Fatturato", "Cassa", "Presenze"})
        for (const std::string& y : {year, last}) same({"recompute", "--hotel", "1", "--year", y, "--stat", stat, "--yes"});
    // The recomputes wrote the same figures into both summaries.
    const std::string figures = "SELECT NumeroHotel || Tipo || Dettaglio || AnnoMese || '=' || Valore FROM Zentoria "
                                "ORDER BY NumeroHotel, Tipo, Dettaglio, AnnoMese";
    EXPECT_EQ(queryColumn(access / "Zentoria.mdb", figures), queryColumn(sqlite / "Zentoria.mdb", figures));
    same({"grid", "--hotel", "1", "--year", year, "--stat", "Cassa", "--detail", "CARTA"});

    // The report: the path it prints names each folder; the file's bytes are the same.
    for (const auto& [stat, detail] : {std::pair{"Presenze", "Generale"}, std::pair{"Produzione", "4"}}) {
        const std::vector<std::string> args{"report", "--hotel", "1", "--year", year, "--stat", stat, "--detail", detail};
        std::vector<std::string> onSqlite{"--dir", sqlite.path().string()}, onAccess{"--dir", access.path().string()};
        onSqlite.insert(onSqlite.end(), args.begin(), args.end());
        onAccess.insert(onAccess.end(), args.begin(), args.end());
        const auto x = runCommand(zentoria(), onSqlite);
        const auto y = runCommand(zentoria(), onAccess);
        ASSERT_EQ(x.status, 0) << x.err;
        ASSERT_EQ(y.status, 0) << y.err;
        EXPECT_EQ(y.out, (access / "fd").string() + "\n");
        EXPECT_GT(bytesOf(sqlite / "fd").size(), 100u);
        EXPECT_EQ(bytesOf(access / "fd"), bytesOf(sqlite / "fd")) << stat;
    }
}
