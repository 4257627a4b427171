// Special files and long paths where the program expects its files: a FIFO named as a
// database or password file never holds the program, an empty file is not taken for an
// SQLite one, and a working folder with a long path either works or says why not.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "hostile.h"

namespace fs = std::filesystem;
using namespace zt::hostile;
using namespace zt::test;

namespace {

// Runs `body`; if it has not come back after a minute (it waits on the FIFO), opens the
// FIFO for writing so that it does, and says so: the test then fails instead of hanging.
bool blockedOn(const fs::path& fifo, const std::function<void()>& body) {
    auto run = std::async(std::launch::async, body);
    if (run.wait_for(std::chrono::seconds(60)) == std::future_status::ready) return run.get(), false;
    for (int i = 0; i < 100 && run.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready; ++i)
        if (const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
    return run.get(), true;
}

// The grid of hotel 1's 2014 "Presenze", "Generale", or another command over the same
// choice, in the folder `dir`.
Run over(const fs::path& dir, const std::string& command = "grid") {
    return runCli(
        inDir(dir, {command, "--hotel", "1", "--year", "2014", "--stat", "Presenze", "--detail", "Generale"}));
}

}  // namespace

TEST(HostileSpecialFiles, AFifoNamedAsADatabaseOrPasswordFileIsRefusedAtOnceNamingIt) {
    for (const std::string name : {"Dettaglio.mdb", "AnagraficaHotels.mdb", "Security.pwd"}) {
        TestDir dir;
        workingFolder(dir);
        fs::remove(dir / name);
        ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0);
        zt::test::Run r;
        EXPECT_FALSE(blockedOn(dir / name, [&] { r = over(dir.path()); })) << name << " held the program";
        EXPECT_TRUE(failedSaying(r, 1, name));
        EXPECT_TRUE(r.out.empty()) << name << ": " << r.out;
    }
}

TEST(HostileSpecialFiles, ConvertOfAnEmptyFileSaysItIsEmpty) {
    TestDir dir;
    dir.write("Vuoto.mdb", "");
    const auto r = runCli({"convert", (dir / "Vuoto.mdb").string(), (dir / "Nuovo.mdb").string()});
    EXPECT_TRUE(failedSaying(r, 1, "empty"));
    EXPECT_EQ(r.err.find("SQLite file already"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "Nuovo.mdb"));
}

TEST(HostileSpecialFiles, AWorkingFolderWithALongPathWorksOrSaysThePathIsTooLong) {
    TestDir model;
    workingFolder(model);
    // 400 characters: the engine takes it. 620: too long, and the message says so.
    for (const std::size_t length : {400u, 620u}) {
        TestDir top;
        fs::path deep = top.path();
        while (deep.string().size() + 60 < length) deep /= std::string(59, 'c');
        deep /= std::string(length - deep.string().size() - 1, 'd');
        ASSERT_EQ(deep.string().size(), length);
        fs::create_directories(deep);
        for (const auto& e : fs::directory_iterator(model.path())) fs::copy_file(e.path(), deep / e.path().filename());
        const auto reg = runCli(inDir(deep, {"register", "--hotel", "1", "--year", "2014", "--stat", "Cassa", "--detail",
                                             "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"}));
        const auto grid = over(deep);
        if (length < 500) {
            EXPECT_TRUE(succeededSaying(reg, ""));
            EXPECT_TRUE(succeededSaying(grid, "40"));
        } else {
            for (const zt::test::Run* r : {&reg, &grid}) {
                EXPECT_TRUE(failedSaying(*r, 1, "shorter path"));
                EXPECT_EQ(r->err.find("unable to open database file"), std::string::npos) << r->err;
            }
        }
    }
}

TEST(HostileSpecialFiles, ALinkPlantedAsTheReportFileIsNotWrittenThrough) {
    TestDir dir, elsewhere;
    workingFolder(dir);
    elsewhere.write("victim", "precious\n");
    for (const char* name : {"fd", "fd.csv"}) fs::create_symlink(elsewhere / "victim", dir / name);
    const auto r = over(dir.path(), "report");
    EXPECT_TRUE(failedSaying(r, 1, "link"));
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
    fs::remove(dir / "fd");  // once the link is gone the report is written
    EXPECT_TRUE(succeededSaying(over(dir.path(), "report"), ""));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "fd")));
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
}
