// The images of Access files kept on disk, in the user's cache folder: reused by a
// second start, made again for a changed file, old ones removed, the folder bounded,
// and two programs making the same image at once each get a whole one.
#include "store/sqlite/jet_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <thread>

#include "store/sqlite/database.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::store::Database;
using zt::test::TestDir;

namespace {

// XDG_CACHE_HOME set to a folder of the test's own while it lives.
class CacheHome {
public:
    CacheHome() {
        if (const char* old = std::getenv("XDG_CACHE_HOME")) saved_ = old;
        ::setenv("XDG_CACHE_HOME", dir_.path().c_str(), 1);
        zt::store::forgetJetImages();
    }
    ~CacheHome() {
        if (saved_) ::setenv("XDG_CACHE_HOME", saved_->c_str(), 1);
        else ::unsetenv("XDG_CACHE_HOME");
        zt::store::forgetJetImages();
        zt::store::setJetImageCacheLimit(std::uint64_t{4} << 30);
    }
    fs::path folder() const { return dir_ / "zentoria"; }
    void write(const std::string& file, const std::string& bytes) const { dir_.write("zentoria/" + file, bytes); }
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder(), ec)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    TestDir dir_;  // the cache folder is its "zentoria"
    std::optional<std::string> saved_;
};

// The rows of `table` through the database layer, and the Access files read into images so far.
std::pair<long, long> rowsOf(const TestDir& dir, const std::string& file, const std::string& table) {
    const long rows = Database::open(dir.path(), file).openTable(table).recordCount();
    return {rows, zt::store::jetImageReadings()};
}

}  // namespace

TEST(JetImageCache, ReusedByASecondStartMadeAgainForAChangedFileTheFolderBounded) {
    CacheHome cache;
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb");
    const long before = zt::store::jetImageReadings();
    EXPECT_EQ(rowsOf(dir, "nwind.mdb", "Orders"), std::pair(830L, before + 1));
    const auto first = cache.files();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(fs::path(first[0]).extension(), ".sqlite");

    // A second start: the image on disk, without reading the Access file again.
    zt::store::forgetJetImages();
    EXPECT_EQ(rowsOf(dir, "nwind.mdb", "Order Details"), std::pair(2155L, before + 1));

    // The file changed: a new image, and the old one removed.
    fs::last_write_time(dir / "nwind.mdb", fs::last_write_time(dir / "nwind.mdb") + std::chrono::seconds(5));
    EXPECT_EQ(rowsOf(dir, "nwind.mdb", "Orders"), std::pair(830L, before + 2));
    const auto second = cache.files();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second[0], first[0]);

    // An image that is not whole (or not of this file) is not used: it is made again.
    cache.write(second[0], "not an image");
    zt::store::forgetJetImages();
    EXPECT_EQ(rowsOf(dir, "nwind.mdb", "Orders"), std::pair(830L, before + 3));
    EXPECT_EQ(cache.files(), second);

    // The folder bounded to two images: the third made removes the least recently used.
    for (const char* name : {"b.mdb", "c.mdb"}) dir.copyAccessFixture("nwind.mdb", name);
    const auto size = fs::file_size(cache.folder() / second[0]);
    zt::store::setJetImageCacheLimit(2 * size + size / 2);
    EXPECT_EQ(rowsOf(dir, "b.mdb", "Shippers").first, 3);
    EXPECT_EQ(cache.files().size(), 2u);
    EXPECT_EQ(rowsOf(dir, "c.mdb", "Shippers").first, 3);
    const auto left = cache.files();
    EXPECT_EQ(left.size(), 2u);
    EXPECT_EQ(std::find(left.begin(), left.end(), second[0]), left.end());  // nwind.mdb's went
}

TEST(JetImageCache, TwoProgramsMakingTheSameImagesAtOnceEachGetWholeOnes) {
    CacheHome cache;
    TestDir dir;
    const std::string bin = zt::test::programPath();
    ASSERT_EQ(zt::test::runCommand(bin, {"demo", dir.path().string(), "--force", "--access"}).status, 0);
    const std::vector<std::string> grid{"--dir", dir.path().string(), "grid", "--hotel", "1", "--year", "2025",
                                        "--stat", "Fatturato", "--detail", "1"};
    // Two programs at once, each making the images of the Access files the grid reads.
    std::vector<zt::test::Run> runs(2);
    std::vector<std::thread> programs;
    for (auto& r : runs) programs.emplace_back([&] { r = zt::test::runCommand(bin, grid); });
    for (auto& t : programs) t.join();
    for (const auto& r : runs) EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(runs[0].out, runs[1].out);
    EXPECT_GT(runs[0].out.size(), 12u);
    // One image per Access file read, no file left half made.
    for (const auto& f : cache.files()) EXPECT_EQ(fs::path(f).extension(), ".sqlite") << f;
    // A third program finds them whole and makes none.
    const auto before = cache.files();
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(zt::test::runCommand(bin, grid).out, runs[0].out);
    EXPECT_EQ(cache.files(), before);
}
