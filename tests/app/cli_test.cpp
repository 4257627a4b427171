// The command line as scripts see it: the zentoria program's output and exit status.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/cli.h"
#include "support/testdir.h"

using zt::test::TestDir;

namespace {

struct Run {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built program with the given arguments (shell-quoted by the caller).
Run runProgram(const std::string& args, const std::string& env = "") {
    const char* bin = std::getenv("ZENTORIA_BIN");
    if (!bin) throw std::runtime_error("ZENTORIA_BIN is not set");
    TestDir io;
    const std::string cmd = env + " " + bin + " " + args + " </dev/null >" + (io / "out").string() + " 2>" +
                            (io / "err").string();
    Run r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = io.read("out");
    r.err = io.read("err");
    return r;
}

Run runInProcess(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    Run r;
    r.status = zt::app::runCommand(args, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

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
    auto r = runInProcess({"--dir", dir.path().string(), "grid", "--hotel", "12", "--year", "2014", "--stat",
                           "Presenze", "--detail", "Generale"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n35\n2\n");
}

TEST(CommandLine, WrongChoicesAndUsageAreRefusedWithStatusTwo) {
    TestDir dir;
    shellFixture(dir);
    const std::string d = dir.path().string();
    auto r = runInProcess({"--dir", d, "grid", "--hotel", "5", "--year", "2014", "--stat", "Presenze", "--detail", "M"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(" 12 Hotel Dodici"), std::string::npos) << r.err;
    r = runInProcess({"--dir", d, "grid", "--hotel", "12", "--year", "2014", "--stat", "Presenz", "--detail", "M"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Camere Partite"), std::string::npos);
    r = runInProcess({"--dir", d, "grid", "--hotel", "12", "--year", "2014", "--stat", "Produzione", "--detail", "99"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("    3 Bar"), std::string::npos);
    r = runInProcess({"--dir", d, "grid", "--hotel", "x12"});
    EXPECT_EQ(r.status, 2);
    r = runInProcess({"--dir", d, "grid", "--hotel", "12", "--year", "2014", "--stat", "Presenze"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--detail"), std::string::npos);
    EXPECT_EQ(runInProcess({"frobnicate"}).status, 2);
    EXPECT_EQ(runInProcess({"--frob"}).status, 2);
    EXPECT_EQ(runInProcess({"--version"}).status, 0);
    // A folder without the registry: a message, status 1.
    TestDir empty;
    r = runInProcess({"--dir", empty.path().string(), "grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                      "--detail", "M"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("AnagraficaHotels.mdb"), std::string::npos);
}

TEST(CommandLine, GridAsksForThePasswordWhenOneIsSet) {
    TestDir dir;
    shellFixture(dir);
    std::istringstream in("segreta\n");
    std::ostringstream out, err;
    ASSERT_EQ(zt::app::runCommand({"--dir", dir.path().string(), "passwd"}, in, out, err), 0) << err.str();
    const std::string args = "--dir '" + dir.path().string() + "' grid --hotel 12 --year 2014 --stat Presenze --detail M";
    auto r = runProgram(args, "ZENTORIA_PASSWORD=");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    r = runProgram(args, "ZENTORIA_PASSWORD=sbagliata");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
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
    auto r = runInProcess({"--dir", d, "diff", "--hotel", "3", "--year", "2014", "--with", "2013", "--stat", "Cassa",
                           "--detail", "CONT"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Diff. 2014-2013 (Cassa-CONT   Contanti)");
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1, 24), "2000.25\t50.5\n0\t0\n0\t0\n0\t0");

    r = runInProcess({"--dir", d, "ratio", "--hotel", "3", "--year", "2014", "--stat", "Cassa", "--detail", "CONT",
                      "--with-stat", "Presenze", "--with-detail", "Generale"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Conf. (Cassa-CONT   Contanti)-(Presenze-Generale)\n75\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n");

    const std::vector<std::string> reg = {"--dir", d, "register", "--hotel", "3", "--year", "2015", "--stat", "Cassa",
                                          "--detail", "CONT", "--values", "1,234.50;2;;;;;;;;;;12"};
    {
        std::istringstream no("no\n");
        std::ostringstream out, err;
        EXPECT_EQ(zt::app::runCommand(reg, no, out, err), 1);
        EXPECT_NE(err.str().find("Sei sicuro?"), std::string::npos);
        EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Zentoria"), "2");
    }
    {
        std::istringstream yes("s\n");
        std::ostringstream out, err;
        EXPECT_EQ(zt::app::runCommand(reg, yes, out, err), 0) << err.str();
    }
    auto withYes = reg;
    withYes.back() = "7;;;;;;;;;;;";
    withYes.push_back("--yes");
    EXPECT_EQ(runInProcess(withYes).status, 0);
    EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb",
                                    "SELECT Valore FROM Zentoria WHERE AnnoMese LIKE '2015%' ORDER BY AnnoMese"),
              "7.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0|0.0");
    withYes.back() = "--yes";
    withYes[withYes.size() - 2] = "1;2;3";
    EXPECT_EQ(runInProcess(withYes).status, 2);
    withYes[withYes.size() - 2] = "x;;;;;;;;;;;";
    r = runInProcess(withYes);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Gennaio"), std::string::npos);
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
    std::istringstream no("n\n");
    std::ostringstream out, err;
    EXPECT_EQ(zt::app::runCommand(args, no, out, err), 1);
    EXPECT_TRUE(out.str().empty());
    auto withYes = args;
    withYes.push_back("--yes");
    const auto r = runInProcess(withYes);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CONT\t0\t0\t99.5\t0\t0\t0\t0\t0\t0\t0\t0\t0\n");
    EXPECT_NE(r.err.find("Dettaglio 1 di 1: CONT"), std::string::npos);
    EXPECT_EQ(zt::test::queryColumn(dir / "Zentoria.mdb",
                                    "SELECT Valore FROM Zentoria WHERE Tipo = 'Cassa' AND AnnoMese = '201403'"),
              "99.5");
}
