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
