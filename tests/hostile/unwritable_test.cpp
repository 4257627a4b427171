// Attack: files the program must write and cannot: a working folder without write
// permission, the summary file's journal blocked, the report file, the CSV file and the
// password file in the way. Permissions do not stop root, so most cases block the write
// in a way that holds for root too: a folder stands where the file has to be made.
// Each gives a message naming the file; the window keeps running; rows stored before
// stay as they were.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "hostile/hostile.h"
#include "report/csv_export.h"
#include "report/report_file.h"

using namespace zt;
using namespace zt::hostile;
using zt::test::queryColumn;
using zt::test::TestDir;
namespace fs = std::filesystem;

namespace {

// "Cassa", "CONT", 5 typed for January, then "&Registra", its messages alone in the fake
// message box.
void registerJanuaryCash(Window& w) {
    w.choose(0, "Cassa");
    w.choose(1, "CONT   Contanti");
    w.logic.text1[1] = "5";
    w.ui.messages.clear();
    w.logic.tastoClick(2);
}

// A folder with one file inside, so that nothing removes it by accident.
void folderInTheWay(const fs::path& where) {
    fs::create_directory(where);
    std::ofstream(where / "occupato.txt") << "x";
}

// Operational files for "&Aggiorna" of "Cassa": two receipts paid with "CONT".
void invoices(const TestDir& dir) {
    dir.sql("Fatture.mdb",
            "CREATE TABLE DatiFattura(NDocumento INTEGER, Annullato TEXT, CorrPagato REAL, ZentAcc TEXT,"
            " DataEmissione TEXT);"
            "CREATE TABLE Incassi(Importo REAL, DataEmissione TEXT, Nota TEXT, NDocumento INTEGER, Sigla TEXT);"
            "INSERT INTO DatiFattura VALUES(1,'N',10,'F','20140102'),(2,'N',10,'F','20140205');"
            "INSERT INTO Incassi VALUES(1234.5,'20140102','',1,'CONT'),(20,'20140205','',2,'CONT');");
}

}  // namespace

TEST(HostileWrites, ABlockedSummaryFileWritesNothingAndSaysWhich) {
    TestDir dir;
    workingFolder(dir);
    invoices(dir);
    const std::string before = summaryRows(dir);
    // SQLite writes through a journal beside the file: a folder in its place stops every
    // write, for root as well.
    folderInTheWay(dir / "Zentoria.mdb-journal");
    // SQLite reads no file whose journal it cannot open: the rows are read with the
    // folder moved aside for a moment.
    const auto rowsNow = [&] {
        fs::rename(dir / "Zentoria.mdb-journal", dir / "aside");
        const std::string rows = summaryRows(dir);
        fs::rename(dir / "aside", dir / "Zentoria.mdb-journal");
        return rows;
    };

    Window w(dir);
    registerJanuaryCash(w);
    EXPECT_FALSE(w.logic.unloaded);
    std::string shown = w.ui.shown();
    EXPECT_NE(shown.find((dir / "Zentoria.mdb").string()), std::string::npos) << shown;
    EXPECT_EQ(rowsNow(), before);

    w.ui.messages.clear();
    w.logic.tastoClick(3);  // "&Aggiorna"
    EXPECT_FALSE(w.logic.unloaded);
    shown = w.ui.shown();
    EXPECT_NE(shown.find((dir / "Zentoria.mdb").string()), std::string::npos) << shown;
    EXPECT_EQ(rowsNow(), before);

    // The same through the command line: status 1, the file named, nothing written.
    const auto r = runCli({"--dir", dir.path().string(), "register", "--hotel", "1", "--year", "2014", "--stat", "Cassa",
                          "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"});
    EXPECT_TRUE(failedSaying(r, 1, "Zentoria.mdb"));
    EXPECT_NE(r.err.find("\"Zentoria.mdb-journal\""), std::string::npos) << r.err;  // what to look at
    EXPECT_EQ(rowsNow(), before);

    // Once the way is clear the same click writes: the failure left nothing half done.
    fs::remove_all(dir / "Zentoria.mdb-journal");
    w.ui.messages.clear();
    w.logic.tastoClick(2);
    EXPECT_EQ(w.ui.shown(), "");
    EXPECT_EQ(summaryRows(dir).substr(0, before.size() + 1), before + "|");
    EXPECT_EQ(queryColumn(dir / "Zentoria.mdb", "SELECT count(*) FROM Zentoria"), "15");
}

TEST(HostileWrites, AReportFileThatCannotBeWrittenIsNamedAndThePreviousOneKept) {
    TestDir dir;
    workingFolder(dir);
    unsetenv("PCLocal");
    const std::string before = summaryRows(dir);
    folderInTheWay(dir / "fd");

    Window w(dir);
    w.choose(0, "Presenze");
    w.choose(1, "Generale");
    w.ui.messages.clear();
    w.logic.tastoClick(0);  // "&Stampa"
    EXPECT_FALSE(w.logic.unloaded);
    EXPECT_EQ(w.ui.printMenus, 0);  // nothing to print
    EXPECT_NE(w.ui.shown().find((dir / "fd").string()), std::string::npos) << w.ui.shown();
    // The client-type batch writes the same file.
    w.choose(0, "Presenze x Tipo Cliente");
    w.ui.messages.clear();
    w.logic.tastoClick(0);
    EXPECT_FALSE(w.logic.unloaded);
    EXPECT_NE(w.ui.shown().find((dir / "fd").string()), std::string::npos) << w.ui.shown();
    EXPECT_TRUE(fs::is_directory(dir / "fd"));
    EXPECT_EQ(summaryRows(dir), before);

    auto r = runCli({"--dir", dir.path().string(), "report", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                    "--detail", "Generale"});
    EXPECT_TRUE(failedSaying(r, 1, (dir / "fd").string()));
    EXPECT_TRUE(r.out.empty());

    // A report written, then its CSV export blocked: a message naming the CSV file; the
    // report stays as it was written.
    fs::remove_all(dir / "fd");
    w.choose(0, "Presenze");
    w.choose(1, "Generale");
    w.ui.messages.clear();
    w.logic.tastoClick(0);
    ASSERT_EQ(w.ui.shown(), "");
    const std::string report = fileBytes(dir / "fd");
    folderInTheWay(dir / "fd.csv");
    try {
        report::exportCsv(dir.path());
        ADD_FAILURE() << "the CSV export wrote into a folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find((dir / "fd.csv").string()), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fileBytes(dir / "fd") == report);
}

TEST(HostileWrites, APasswordFileInTheWayIsRefusedWithTheWayToReset) {
    TestDir dir;
    workingFolder(dir);
    folderInTheWay(dir / "Security.pwd");
    const auto r = runCli({"--dir", dir.path().string(), "passwd"}, "nuova\n");
    EXPECT_TRUE(failedSaying(r, 1, "Security.pwd"));
    EXPECT_NE(r.err.find(desktop::gate_text::kReset), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_directory(dir / "Security.pwd"));
    // The commands that read figures refuse too, instead of going on without a password.
    const auto grid = runCli({"--dir", dir.path().string(), "grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                             "--detail", "Generale"});
    EXPECT_TRUE(failedSaying(grid, 1, "Security.pwd"));
    EXPECT_TRUE(grid.out.empty());
}

TEST(HostileWrites, AnAccessSummaryFileThatCannotBeMovedStaysAsItWas) {
    const fs::path fixtures = zt::test::accessFixture("");
    TestDir dir;
    workingFolder(dir);
    fs::remove(dir / "Zentoria.mdb");
    fs::copy_file(fixtures / "nwind.mdb", dir / "Zentoria.mdb");
    fs::permissions(dir / "Zentoria.mdb", fs::perms::owner_write, fs::perm_options::add);
    const std::string original = fileBytes(dir / "Zentoria.mdb");
    // The SQLite copy is made under a name nobody can guess; what stands in the way is
    // the name the original is kept under.
    folderInTheWay(dir / "Zentoria.mdb.jet");

    Window w(dir);
    w.choose(0, "Cassa");
    w.choose(1, "CONT   Contanti");
    w.ui.messages.clear();
    w.logic.tastoClick(2);  // yes to "Sei sicuro?" and to the move
    EXPECT_FALSE(w.logic.unloaded);
    EXPECT_NE(w.ui.shown().find("Zentoria.mdb"), std::string::npos) << w.ui.shown();
    EXPECT_TRUE(fileBytes(dir / "Zentoria.mdb") == original);
    EXPECT_TRUE(fs::is_directory(dir / "Zentoria.mdb.jet"));
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find("sqlite-new"), std::string::npos) << e.path();
}

namespace {

// Runs `scenario` where write permissions hold: as it is for an ordinary user; as root,
// in a child process that has become the user "nobody" (uid and gid 65534). What the
// scenario returns comes back as text; nullopt when the child could not drop root.
std::optional<std::string> withoutRoot(const std::function<std::string()>& scenario) {
    if (::geteuid() != 0) return scenario();
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string out;
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            out = "\x01";
        } else {
            try {
                out = scenario();
            } catch (const std::exception& e) {
                out = std::string("exception: ") + e.what();
            }
        }
        for (std::size_t done = 0; done < out.size();) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (pid < 0 || out == "\x01") return std::nullopt;
    return out;
}

}  // namespace

// The folder and Zentoria.mdb read-only. As root the operations run as "nobody", so that
// the permissions hold in CI too.
TEST(HostileWrites, AWorkingFolderWithoutWritePermission) {
    TestDir dir;
    workingFolder(dir);
    unsetenv("PCLocal");
    const std::string before = summaryRows(dir);
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.path(), readOnly, fs::perm_options::replace);
    fs::permissions(dir / "Zentoria.mdb", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);

    const auto shown = withoutRoot([&] {
        if (::access(dir.path().c_str(), W_OK) == 0) return std::string("the folder is writable");
        Window w(dir);
        registerJanuaryCash(w);
        std::string out = "registra: " + std::string(w.logic.unloaded ? "closed" : "open") + ": " + w.ui.shown() + "\n";
        w.ui.messages.clear();
        w.logic.tastoClick(0);  // "&Stampa"
        out += "stampa: " + std::string(w.logic.unloaded ? "closed" : "open") + ": " + w.ui.shown() + "\n";
        return out;
    });
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::replace);
    if (!shown) GTEST_SKIP() << "running as root and cannot become the user nobody";

    EXPECT_EQ(shown->find("the folder is writable"), std::string::npos);
    const auto registra = shown->substr(0, shown->find("\nstampa: "));
    const auto stampa = shown->substr(shown->find("\nstampa: ") + 1);
    EXPECT_EQ(registra.rfind("registra: open: ", 0), 0u) << *shown;
    EXPECT_NE(registra.find((dir / "Zentoria.mdb").string()), std::string::npos) << *shown;
    EXPECT_EQ(stampa.rfind("stampa: open: ", 0), 0u) << *shown;
    EXPECT_NE(stampa.find((dir / "fd").string()), std::string::npos) << *shown;
    EXPECT_EQ(summaryRows(dir), before);
    EXPECT_FALSE(fs::exists(dir / "fd"));
}
