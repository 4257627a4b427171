// The command line as scripts see it: the zentoria program's output and exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

#include "app/cli.h"
#include "app/demo.h"
#include "report/report_file.h"
#include "support/run_program.h"
#include "support/testdir.h"

using zt::test::runCli;
using zt::test::runProgram;
using zt::test::TestDir;

namespace {

// A working folder made with the sqlite3 shell, as a hotel's technician would.
void shellFixture(const TestDir& dir) {
    const std::string script =
        "CREATE TABLE AnagraficaHotels(Numero, RagioneSociale, CodiceAssistenza);"
        "INSERT INTO AnagraficaHotels VALUES(1,'Hotel Uno',''),(12,'Hotel Dodici','');"
        "ATTACH '" + (dir / "VociFattura.mdb").string() + "' AS v;"
        "CREATE TABLE v.VociFattura(NumeroHotel, Codice, Descrizione, GruppoStatistico, GruppoFatturazione);"
        "INSERT INTO v.VociFattura VALUES(12,12,'Camere',12,12),(12,3,'Bar',3,3);"
        "ATTACH '" + (dir / "Dettaglio.mdb").string() + "' AS d;"
        "CREATE TABLE d.Dettaglio(NumeroHotel, Tipo, Dettaglio, DataInserimento, Valore);"
        "INSERT INTO d.Dettaglio VALUES(12,'Produzione','12','20140310',1000.5),(12,'Produzione','12','20140320',200),"
        "(12,'Produzione','3','20140310',9),(1,'Produzione','12','20140310',77),(12,'Presenze','M','20140601',4),"
        "(12,'Presenze','Generale','20141101',31);";
    const std::string cmd = "sqlite3 '" + (dir / "AnagraficaHotels.mdb").string() + "' \"" + script + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << "the sqlite3 shell is needed for this test";
}

}  // namespace

TEST(CommandLine, GridPrintsTheTwelveMonthFields) {
    TestDir dir;
    shellFixture(dir);
    const std::string base = "--dir '" + dir.path().string() + "' grid --hotel 12 --year 2014 ";
    auto r = runProgram(base + "--stat Produzione --detail 12", "LANG=C LC_ALL=");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n0\n1,200.50\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
    r = runProgram(base + "--stat Produzione --detail '   12 Camere'", "LANG=it_IT.UTF-8 LC_ALL=");
    EXPECT_EQ(r.out, "0\n0\n1.200,50\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");
    r = runProgram(base + "--stat Presenze --detail M", "LANG=C LC_ALL=");
    EXPECT_EQ(r.out, "0\n0\n0\n0\n0\n4.00\n0\n0\n0\n0\n0\n0\n");
    r = runProgram(base + "--stat Presenze --detail Generale", "LANG=C LC_ALL=");
    EXPECT_EQ(r.out, "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n31\n0\n");
}

TEST(CommandLine, GridCountsTheRowsOfTheDetailWhateverTheCaseOfTheirCodes) {
    TestDir dir;
    shellFixture(dir);
    // Rows an operational program wrote in other cases, in a file indexed as the demo's.
    dir.sql("Dettaglio.mdb",
            "CREATE INDEX ix_Dettaglio ON Dettaglio(NumeroHotel, Tipo, DataInserimento);"
            "INSERT INTO Dettaglio VALUES(12,'Presenze','generale','20141105',4),(12,'PRESENZE','GENERALE','20141201',2),"
            "(12,'presenze','Generale','20140105',1),(12,'Presenze','Generali','20140105',100);");
    auto r = runCli({"--dir", dir.path().string(), "grid", "--hotel", "12", "--year", "2014", "--stat",
                           "Presenze", "--detail", "Generale"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n35\n2\n");
}

TEST(CommandLine, WrongChoicesAndUsageAreRefusedWithStatusTwo) {
    TestDir dir;
    shellFixture(dir);
    const std::string d = dir.path().string();
    TestDir empty;
    const auto grid = [](const std::string& folder, const char* hotel, const char* stat, const char* detail) {
        return std::vector<std::string>{"--dir", folder, "grid", "--hotel", hotel, "--year", "2014", "--stat", stat,
                                        "--detail", detail};
    };
    const std::tuple<std::vector<std::string>, int, const char*> cases[] = {  // arguments, status, message
        {grid(d, "5", "Presenze", "M"), 2, " 12 Hotel Dodici"},
        {grid(d, "12", "Presenz", "M"), 2, "Camere Partite"},
        {grid(d, "12", "Produzione", "99"), 2, "    3 Bar"},
        {{"--dir", d, "grid", "--hotel", "x12"}, 2, ""},
        {{"--dir", d, "grid", "--hotel", "12", "--year", "2014", "--stat", "Presenze"}, 2, "--detail"},
        {{"frobnicate"}, 2, ""},
        {{"--frob"}, 2, ""},
        {{"--version"}, 0, ""},
        {grid(empty.path().string(), "1", "Presenze", "M"), 1, "AnagraficaHotels.mdb"},  // a folder without the registry
    };
    for (const auto& [args, status, says] : cases) EXPECT_TRUE(failedSaying(runCli(args), status, says)) << args.back();
    // The options are listed together, before the closing paragraph, which ends the text.
    const std::string help = runCli({"--help"}).out;
    const auto closing = help.rfind("\n\n");
    ASSERT_NE(closing, std::string::npos);
    EXPECT_LT(help.find("  --version "), closing);
    EXPECT_EQ(help.find("  --", closing), std::string::npos) << help.substr(closing);
    EXPECT_EQ(help.substr(help.size() - 19), "ZENTORIA_PASSWORD.\n");
}

TEST(CommandLine, GridAsksForThePasswordWhenOneIsSet) {
    TestDir dir;
    shellFixture(dir);
    ASSERT_EQ(runCli({"--dir", dir.path().string(), "passwd"}, "segreta\n").status, 0);
    const std::string args = "--dir '" + dir.path().string() + "' grid --hotel 12 --year 2014 --stat Presenze --detail M";
    auto r = runProgram(args, "ZENTORIA_PASSWORD=");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    r = runProgram(args, "ZENTORIA_PASSWORD=sbagliata");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    // One attempt: no attempts left to count, only the refusal.
    EXPECT_EQ(r.err, "Direzione: ZENTORIA_PASSWORD: Password errata. Accesso negato.\n");
    r = runProgram(args, "ZENTORIA_PASSWORD=segreta");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 10), "0\n0\n0\n0\n0\n");
}

namespace {

void figureFixture(const TestDir& dir) {
    dir.sql("AnagraficaHotels.mdb", "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
                                    "INSERT INTO AnagraficaHotels VALUES(3,'Tre','');");
    dir.sql("CodiciVari.mdb", "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
                              "INSERT INTO CodiciVari VALUES(3,4,'CONT','Contanti');");
    dir.sql("VociFattura.mdb", "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT,"
                               " GruppoStatistico INTEGER, GruppoFatturazione INTEGER);");
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT, Valore REAL);"
            "INSERT INTO Dettaglio VALUES(3,'Cassa','CONT','20140110',1000.25),(3,'Cassa','CONT','20140120',1000),"
            "(3,'Cassa','CONT','20130105',50.5);");
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);"
            "INSERT INTO Zentoria VALUES(3,'Cassa','CONT','201401',300),(3,'Presenze','Generale','201401',4);");
}

}  // namespace

TEST(CommandLine, DiffRatioAndRegisterDoWhatTheButtonsDo) {
    TestDir dir;
    figureFixture(dir);
    const std::string d = dir.path().string();
    auto r = runCli({"--dir", d, "diff", "--hotel", "3", "--year", "2014", "--with", "2013", "--stat", "Cassa",
                           "--detail", "CONT"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Diff. 2014-2013 (Cassa-CONT   Contanti)");
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1, 24), "2000.25\t50.5\n0\t0\n0\t0\n0\t0");

    r = runCli({"--dir", d, "ratio", "--hotel", "3", "--year", "2014", "--stat", "Cassa", "--detail", "CONT",
                      "--with-stat", "Presenze", "--with-detail", "Generale"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Conf. (Cassa-CONT   Contanti)-(Presenze-Generale)\n75\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");

    const std::vector<std::string> reg = {"--dir", d, "register", "--hotel", "3", "--year", "2015", "--stat", "Cassa",
                                          "--detail", "CONT", "--values", "1,234.50;2;;;;;;;;;;12"};
    r = runCli(reg, "no\n");
    EXPECT_TRUE(failedSaying(r, 1, "Sei sicuro?"));
    EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Zentoria"), "2");
    EXPECT_EQ(runCli(reg, "s\n").status, 0);
    auto withYes = reg;
    withYes.back() = "7;;;;;;;;;;;";
    withYes.push_back("--yes");
    EXPECT_EQ(runCli(withYes).status, 0);
    EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb",
                                    "SELECT Valore FROM Zentoria WHERE AnnoMese LIKE '2015%' ORDER BY AnnoMese"),
              "7.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0");
    withYes.back() = "--yes";
    withYes[withYes.size() - 2] = "1;2;3";
    EXPECT_EQ(runCli(withYes).status, 2);
    withYes[withYes.size() - 2] = "x;;;;;;;;;;;";
    r = runCli(withYes);
    EXPECT_TRUE(failedSaying(r, 1, "Gennaio"));
}

TEST(CommandLine, RecomputePrintsEachDetailAndItsTwelveValues) {
    TestDir dir;
    figureFixture(dir);
    dir.sql("Fatture.mdb",
            "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT, DataEmissione TEXT);"
            "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
            "INSERT INTO DatiFattura VALUES(1,'N',10,'F','20140302');"
            "INSERT INTO Incassi VALUES(99.5,'20140302','',1,'CONT');");
    const std::vector<std::string> args = {"--dir", dir.path().string(), "recompute", "--hotel", "3", "--year", "2014",
                                           "--stat", "Cassa"};
    const auto no = runCli(args, "n\n");
    EXPECT_EQ(no.status, 1);
    EXPECT_TRUE(no.out.empty());
    auto withYes = args;
    withYes.push_back("--yes");
    const auto r = runCli(withYes);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CONT\t0\t0\t99.5\t0\t0\t0\t0\t0\t0\t0\t0\t0\n");
    EXPECT_NE(r.err.find("Dettaglio 1 di 1: CONT"), std::string::npos);
    EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb",
                                    "SELECT Valore FROM Zentoria WHERE Tipo = 'Cassa' AND AnnoMese = '201403'"),
              "99.5");
}

// ---- A working folder copied from Windows: file names in any case --------------------

namespace {

std::string capitals(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The names of a folder's entries (in capitals with `upper`), in name order.
std::string listing(const std::filesystem::path& dir, bool upper = false) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(upper ? capitals(e.path().filename().string()) : e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const auto& n : names) all += n + " ";
    return all;
}

// The demo in `plain`, and the same files in `caps` with every name in capitals.
int demoInBothCases(const TestDir& plain, const TestDir& caps) {
    const auto demo = zt::app::writeDemo(plain.path(), false);
    for (const auto& e : std::filesystem::directory_iterator(plain.path()))
        std::filesystem::copy_file(e.path(), caps / capitals(e.path().filename().string()));
    return demo.years.back();
}

}  // namespace

TEST(CommandLine, AFolderWithEveryNameInCapitalsGivesTheSameFiguresAndWritesItsOwnFiles) {
    TestDir plain, caps;
    const std::string year = std::to_string(demoInBothCases(plain, caps));
    caps.write("FD", "an old report\r\n");
    auto both = [&](std::vector<std::string> args, bool sameOutput = true) {
        args.insert(args.begin(), {"--dir", plain.path().string()});
        const auto a = runCli(args);
        args[1] = caps.path().string();
        const auto b = runCli(args);
        EXPECT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(b.status, 0) << b.err;
        if (sameOutput) {
            EXPECT_EQ(a.out, b.out) << b.err;
        }
        return b;
    };
    const auto grid = both({"grid", "--hotel", "1", "--year", year, "--stat", "Produzione", "--detail", "1"});
    EXPECT_GT(grid.out.size(), 24u);  // not twelve zeros
    both({"grid", "--hotel", "1", "--year", year, "--stat", "Presenze x Nazione", "--detail", "IT"});
    both({"recompute", "--hotel", "1", "--year", year, "--stat", "Fatturato", "--yes"});
    both({"recompute", "--hotel", "1", "--year", year, "--stat", "Cassa", "--yes"});
    both({"register", "--hotel", "1", "--year", "1999", "--stat", "Cassa", "--detail", "CONT", "--values",
          "5;;;;;;;;;;;", "--yes"});
    EXPECT_EQ(zt::test::queryColumn(caps / "ZENTORIA.MDB", "SELECT Valore FROM Zentoria WHERE AnnoMese = '199901'"),
              "5.0");
    // The report is written over "FD", the report file there already.
    const auto r =
        both({"report", "--hotel", "1", "--year", year, "--stat", "Presenze", "--detail", "Generale"}, false);
    EXPECT_EQ(r.out, caps.path().string() + "/FD\n");
    const auto blocks = [](const TestDir& d, const std::string& name) {
        std::vector<std::array<std::string, 6>> rows;
        for (const auto& b : zt::report::ReportFile::read(d / name).blocks())
            rows.insert(rows.end(), b.rows.begin(), b.rows.end());
        return rows;
    };
    EXPECT_EQ(blocks(plain, "fd"), blocks(caps, "FD"));
    EXPECT_EQ(blocks(caps, "FD").size(), 13u);
    // Nothing was created beside the files in capitals.
    EXPECT_EQ(listing(caps.path()), listing(plain.path(), true));
}

TEST(CommandLine, APasswordFileNamedInAnyCaseGuardsTheFiguresAndTwoNamesInOneCaseAreRefused) {
    TestDir plain, caps;
    const std::string year = std::to_string(demoInBothCases(plain, caps));
    ASSERT_EQ(runCli({"--dir", caps.path().string(), "passwd"}, "segreta\n").status, 0);
    std::filesystem::rename(caps / "Security.pwd", caps / "security.PWD");
    const std::string grid = "--dir '" + caps.path().string() + "' grid --hotel 1 --year " + year +
                             " --stat Presenze --detail Generale";
    EXPECT_EQ(runProgram(grid, "ZENTORIA_PASSWORD=").status, 1);
    auto r = runProgram(grid, "ZENTORIA_PASSWORD=sbagliata");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(runProgram(grid, "ZENTORIA_PASSWORD=segreta").status, 0);
    // A new password replaces that file and makes no "Security.pwd" beside it.
    ASSERT_EQ(runCli({"--dir", caps.path().string(), "passwd"}, "segreta\nnuova\n").status, 0);
    EXPECT_FALSE(std::filesystem::exists(caps / "Security.pwd"));
    EXPECT_EQ(runProgram(grid, "ZENTORIA_PASSWORD=nuova").status, 0);

    // Two password files, or two figure files, whose names differ only in case: neither is read.
    std::filesystem::copy_file(caps / "security.PWD", caps / "SECURITY.PWD");
    r = runProgram(grid, "ZENTORIA_PASSWORD=nuova");
    EXPECT_TRUE(failedSaying(r, 1, "\"SECURITY.PWD\" e \"security.PWD\""));
    std::filesystem::remove(caps / "SECURITY.PWD");
    std::filesystem::copy_file(caps / "DETTAGLIO.MDB", caps / "Dettaglio.mdb");
    r = runProgram(grid, "ZENTORIA_PASSWORD=nuova");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("\"DETTAGLIO.MDB\" and \"Dettaglio.mdb\", names that differ only in case"), std::string::npos)
        << r.err;
}

TEST(CommandLine, DiffOfAllRoomTypesAddsTheRecordsOfEachMonth) {
    TestDir dir;
    figureFixture(dir);
    dir.sql("TipiCamere.mdb", "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
                              "INSERT INTO TipiCamere VALUES(3,'DBL','Doppia'),(3,'SGL','Singola');");
    dir.sql("Zentoria.mdb", "INSERT INTO Zentoria VALUES(3,'ArriviNC','DBL','201403',3),(3,'ArriviNC','SGL','201403',4),"
                            "(3,'ArriviNC','DBL','201303',10),(3,'ArriviNC','SGL','201303',1),(3,'ArriviNC','SGL','201405',2);");
    const auto diff = [&](const std::string& detail) {
        const auto r = runCli({"--dir", dir.path().string(), "diff", "--hotel", "3", "--year", "2014", "--with",
                                     "2013", "--stat", "Camere Arrivate", "--detail", detail});
        return r.out.substr(r.out.find('\n') + 1, 21);  // January to May
    };
    EXPECT_EQ(diff("<tutti>"), "0\t0\n0\t0\n7\t11\n0\t0\n2\t0\n");
    EXPECT_EQ(diff("DBL"), "0\t0\n0\t0\n3\t10\n0\t0\n0\t0\n");  // one room type: its own records
}

TEST(CommandLine, WithoutTheDirshFolderACommandStopsWithOneMessageInItalian) {
    TestDir dir;
    figureFixture(dir);
    dir.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET CodiceAssistenza = '&';");
    unsetenv("DIRSH");
    const std::vector<std::string> choice = {"--hotel", "3", "--year", "2014", "--stat", "Cassa", "--detail", "CONT"};
    for (std::vector<std::string> args : {std::vector<std::string>{"grid"},
                                          std::vector<std::string>{"register", "--values", ";;;;;;;;;;;", "--yes"}}) {
        args.insert(args.begin(), {"--dir", dir.path().string()});
        args.insert(args.begin() + 3, choice.begin(), choice.end());
        const auto r = runCli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("Zentoria: L'albergo ha l'opzione \"&\"", 0), 0u) << r.err;  // one line only
        EXPECT_NE(r.err.find("DIRSH non è impostata"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}
