// Special files and long paths where the program expects its files: a FIFO named as a
// database or password file never holds the program, an empty file is not taken for an
// SQLite one, and a working folder with a long path either works or says why not.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "hostile.h"

namespace fs = std::filesystem;
using namespace zt::hostile;
using zt::test::TestDir;

namespace {

// Runs `body`; if it has not come back after a minute (it waits on the FIFO), opens the
// FIFO for writing so that it does, and says so: the test then fails instead of hanging.
bool blockedOn(const fs::path& fifo, const std::function<void()>& body) {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::atomic<bool> blocked{false};
    std::thread watchdog([&] {
        std::unique_lock lock(m);
        if (cv.wait_for(lock, std::chrono::seconds(60), [&] { return done; })) return;
        blocked = true;
        lock.unlock();
        for (int i = 0; i < 100 && !done; ++i) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    body();
    {
        std::lock_guard lock(m);
        done = true;
    }
    cv.notify_all();
    watchdog.join();
    return blocked;
}

}  // namespace

TEST(HostileSpecialFiles, AFifoNamedAsADatabaseOrPasswordFileIsRefusedAtOnceNamingIt) {
    for (const std::string name : {"Dettaglio.mdb", "AnagraficaHotels.mdb", "Security.pwd"}) {
        TestDir dir;
        workingFolder(dir);
        fs::remove(dir / name);
        ASSERT_EQ(::mkfifo((dir / name).c_str(), 0600), 0);
        zt::test::Run r;
        const bool blocked = blockedOn(dir / name, [&] {
            r = runCli({"--dir", dir.path().string(), "grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                     "--detail", "Generale"});
        });
        EXPECT_FALSE(blocked) << name << " held the program";
        EXPECT_NE(r.status, 0) << name;
        EXPECT_NE(r.err.find(name), std::string::npos) << name << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << name << ": " << r.out;
    }
}

TEST(HostileSpecialFiles, ConvertOfAnEmptyFileSaysItIsEmpty) {
    TestDir dir;
    dir.write("Vuoto.mdb", "");
    const zt::test::Run r = runCli({"convert", (dir / "Vuoto.mdb").string(), (dir / "Nuovo.mdb").string()});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
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
        const std::string d = deep.string();
        const zt::test::Run reg = runCli({"--dir", d, "register", "--hotel", "1", "--year", "2014", "--stat", "Cassa",
                                "--detail", "CONT", "--values", "1;2;3;4;5;6;7;8;9;10;11;12", "--yes"});
        const zt::test::Run grid = runCli({"--dir", d, "grid", "--hotel", "1", "--year", "2014", "--stat", "Presenze",
                                 "--detail", "Generale"});
        if (length < 500) {
            EXPECT_EQ(reg.status, 0) << reg.err;
            EXPECT_EQ(grid.status, 0) << grid.err;
            EXPECT_NE(grid.out.find("40"), std::string::npos) << grid.out;
        } else {
            for (const zt::test::Run* r : {&reg, &grid}) {
                EXPECT_NE(r->status, 0);
                EXPECT_NE(r->err.find("shorter path"), std::string::npos) << r->err;
                EXPECT_EQ(r->err.find("unable to open database file"), std::string::npos) << r->err;
            }
        }
    }
}

TEST(HostileSpecialFiles, ALinkPlantedAsTheReportFileIsNotWrittenThrough) {
    TestDir dir, elsewhere;
    workingFolder(dir);
    elsewhere.write("victim", "precious\n");
    fs::create_symlink(elsewhere / "victim", dir / "fd");
    fs::create_symlink(elsewhere / "victim", dir / "fd.csv");
    const zt::test::Run r = runCli({"--dir", dir.path().string(), "report", "--hotel", "1", "--year", "2014", "--stat",
                          "Presenze", "--detail", "Generale"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("link"), std::string::npos) << r.err;
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
    // Once the link is gone the report is written.
    fs::remove(dir / "fd");
    const zt::test::Run again = runCli({"--dir", dir.path().string(), "report", "--hotel", "1", "--year", "2014", "--stat",
                              "Presenze", "--detail", "Generale"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "fd")));
    EXPECT_EQ(elsewhere.read("victim"), "precious\n");
}
