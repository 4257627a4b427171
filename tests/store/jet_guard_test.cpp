// The child process every reading of an Access file runs in: what comes back, and what
// happens when the reading hangs, crashes, asks for too much memory or finds the file
// cut short. The test process itself must go on in every case.
#include "store/access/jet_guard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using zt::store::DbError;
using zt::store::JetReadLimits;
using zt::store::runJetReading;
using zt::test::TestDir;

namespace {

// Tight limits for one test, the usual ones back afterwards.
class TightLimits {
public:
    explicit TightLimits(JetReadLimits limits) : saved_(zt::store::jetReadLimits()) { zt::store::setJetReadLimits(limits); }
    ~TightLimits() { zt::store::setJetReadLimits(saved_); }

private:
    JetReadLimits saved_;
};

std::string errorOf(const fs::path& file, const std::function<std::string()>& work) {
    return zt::test::dbErrorOf([&] { runJetReading(file, work); });
}

}  // namespace

TEST(JetGuard, HandsBackTheResultOrTheReadersOwnError) {
    TestDir dir;
    dir.write("Dati.mdb", "x");
    std::string big(8 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
    EXPECT_TRUE(runJetReading(dir / "Dati.mdb", [&] { return big; }) == big);
    EXPECT_EQ(runJetReading(dir / "Dati.mdb", [] { return std::string(); }), "");

    try {
        runJetReading(dir / "Dati.mdb", []() -> std::string { throw DbError("Altro.mdb", "table \"T\" not found"); });
        ADD_FAILURE() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.file(), "Altro.mdb");
        EXPECT_EQ(e.message(), "table \"T\" not found");
    }
    EXPECT_NE(errorOf(dir / "Dati.mdb", []() -> std::string { throw std::runtime_error("odd"); }).find("odd"),
              std::string::npos);
}

TEST(JetGuard, AReadingThatHangsCrashesOrGrowsIsStoppedWithAMessage) {
    TestDir dir;
    dir.write("Rotto.mdb", "x");
    const std::string file = (dir / "Rotto.mdb").string();
    std::optional<TightLimits> limits;
    limits.emplace(JetReadLimits{300ms, 0ms, 0, 0});
    const auto start = std::chrono::steady_clock::now();
    const std::string hang = errorOf(dir / "Rotto.mdb", []() -> std::string {
        for (;;) std::this_thread::sleep_for(1s);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
    EXPECT_EQ(hang.rfind(file, 0), 0u) << hang;
    EXPECT_NE(hang.find("did not end within 1 seconds"), std::string::npos) << hang;

    // The other cases have all the time they need, however busy the machine.
    limits.reset();
    limits.emplace(JetReadLimits{120s, 0ms, std::uint64_t{256} << 20, 0});

    const std::string crash = errorOf(dir / "Rotto.mdb", []() -> std::string {
        std::raise(SIGSEGV);
        return "unreachable";
    });
    EXPECT_NE(crash.find(file), std::string::npos) << crash;
    EXPECT_NE(crash.find("damaged"), std::string::npos) << crash;

#if !defined(__SANITIZE_ADDRESS__)
    const std::string greedy = errorOf(dir / "Rotto.mdb", []() -> std::string {
        std::vector<std::vector<char>> hoard;
        for (;;) hoard.emplace_back(64 << 20, 'x');
    });
    EXPECT_NE(greedy.find("more memory than allowed"), std::string::npos) << greedy;
#endif

    // libmdb saying a page lies beyond the end stops the reading at once, even one that
    // would go on for ever: long before its time is up.
    limits.reset();
    limits.emplace(JetReadLimits{120s, 0ms, 0, 0});
    const auto cutStart = std::chrono::steady_clock::now();
    const std::string cut = errorOf(dir / "Rotto.mdb", []() -> std::string {
        std::fprintf(stderr, "offset 1517568 is beyond EOF\n");
        std::fflush(stderr);
        for (;;) std::this_thread::sleep_for(1s);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - cutStart, 60s);
    EXPECT_NE(cut.find("cut short"), std::string::npos) << cut;
    EXPECT_NE(cut.find("offset 1517568 is beyond EOF"), std::string::npos) << cut;

    // And the next reading works.
    EXPECT_EQ(runJetReading(dir / "Rotto.mdb", [] { return std::string("ok"); }), "ok");
}

TEST(JetGuard, AReadingIsStoppedWhenTheUserAsks) {
    TestDir dir;
    dir.write("Grande.mdb", "x");
    int asked = 0;
    {
        zt::store::JetReadInterrupt interrupt([&] { return ++asked == 2; });
        EXPECT_THROW(runJetReading(dir / "Grande.mdb", []() -> std::string {
                         for (;;) std::this_thread::sleep_for(1s);
                     }),
                     zt::store::JetReadStopped);
        EXPECT_EQ(asked, 2);
    }
    // Without it, nothing is asked and the reading ends as usual.
    EXPECT_EQ(runJetReading(dir / "Grande.mdb", [] { return std::string("ok"); }), "ok");
    EXPECT_EQ(asked, 2);
}

TEST(JetGuard, NothingTheReadingPrintsReachesTheProgramsOwnOutput) {
    TestDir dir;
    dir.write("x.mdb", "x");
    // libmdb prints dumps of pages it cannot read (up to tens of KB of hex) on standard output.
    testing::internal::CaptureStdout();
    const std::string result = runJetReading(dir / "x.mdb", [] {
        for (int i = 0; i < 2000; ++i) std::printf("0000  00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f\n");
        std::fflush(stdout);
        return std::string("fatto");
    });
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(result, "fatto");
}

TEST(JetGuard, TheLimitsGrowWithWhatTheFileHoldsNotWithItsLength) {
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb");
    const auto held = fs::file_size(dir / "nwind.mdb");
    const auto limits = zt::store::jetReadLimits();
    const auto small = zt::store::jetReadAllowance(dir / "nwind.mdb");
    EXPECT_EQ(small.time, limits.time + limits.timePerMegabyte * static_cast<long>(held >> 20));
    EXPECT_EQ(small.memory, limits.memory + limits.memoryPerByte * held);

    // The same file grown to 1 GB with a hole: the same allowance, not 17 minutes and 17 GB.
    fs::resize_file(dir / "nwind.mdb", std::uint64_t{1} << 30);
    const auto sparse = zt::store::jetReadAllowance(dir / "nwind.mdb");
    EXPECT_LE(sparse.time, small.time + limits.timePerMegabyte);
    EXPECT_LE(sparse.memory, small.memory + limits.memoryPerByte * 4096);
    // It still reads whole: every table lies in its first 3 MB.
    auto db = zt::store::Database::open(dir.path(), "nwind.mdb");
    EXPECT_EQ(db.openTable("Order Details").recordCount(), 2155);

    // Cut within its tables and grown with a hole, it is refused, naming what is missing.
    fs::resize_file(dir / "nwind.mdb", 1245184);
    fs::resize_file(dir / "nwind.mdb", std::uint64_t{1} << 30);
    const auto message = zt::test::dbErrorOf([&] { zt::store::Database::open(dir.path(), "nwind.mdb"); });
    EXPECT_NE(message.find("table \"MSysObjects\": page 713 of its map of pages is not one of its data pages"),
              std::string::npos)
        << message;
}
