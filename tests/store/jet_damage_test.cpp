// A damaged Access file is read whole, with the same rows as the undamaged file, or
// refused: never in part. Every 4 KB page of nwind.mdb zeroed, then filled with random
// bytes, and the file cut at every 64 KB (zero-padded back to its length, as an
// interrupted pre-allocated copy leaves it, and plainly cut).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "store/access/jet_file.h"
#include "store/access/jet_guard.h"
#include "store/db_error.h"
#include "store/figures/summary_move.h"
#include "store/sqlite/database.h"
#include "store/sqlite/jet_image.h"
#include "jetwriter/jet4_writer.h"
#include "support/db_error.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using namespace zt::store;
using zt::test::TestDir;

namespace {

// Every table of the file as the reader gives it, in the reading child: per table its
// name and row count (its shape), then, after a \x01, per table a digest of its values.
std::string read(const fs::path& file) {
    return runJetReading(file, [&] {
        JetFile jet = JetFile::open(file);
        std::string shape, digests;
        for (const auto& name : jet.tableNames()) {
            std::uint64_t h = 1469598103934665603ULL;
            auto mix = [&](const void* p, std::size_t n) {
                for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ULL;
            };
            const long n = jet.readRows(name, [&](const std::vector<JetCell>& row) {
                for (const auto& c : row) {
                    const auto k = c.index();
                    mix(&k, sizeof k);
                    if (auto* i = std::get_if<std::int64_t>(&c)) mix(i, sizeof *i);
                    else if (auto* d = std::get_if<double>(&c)) mix(d, sizeof *d);
                    else if (auto* s = std::get_if<std::string>(&c)) mix(s->data(), s->size());
                    else if (auto* b = std::get_if<Blob>(&c)) mix(b->data(), b->size());
                }
            });
            shape += name + '\t' + std::to_string(n) + '\n';
            digests += std::to_string(h) + '\n';
        }
        return shape + '\x01' + digests;
    });
}

std::string shapeOf(const std::string& reading) { return reading.substr(0, reading.find('\x01')); }

void put(const fs::path& file, std::size_t at, const std::string& bytes) {
    std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(static_cast<std::streamoff>(at));
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Counts {
    const char* kind;
    int whole = 0, refused = 0, partial = 0, altered = 0;
    std::string firstPartial{};
};

// The sweep above over the file `name`: none read in part. Returns the counts of zeroed pages.
Counts sweepFile(const TestDir& dir, const std::string& name) {
    // A damaged file must be refused quickly; these limits only end a reading that hangs.
    const auto saved = jetReadLimits();
    setJetReadLimits({std::chrono::seconds(10), std::chrono::milliseconds(0), saved.memory, saved.memoryPerByte});

    const std::string original = dir.read(name);
    const std::string reference = read(dir / name);
    const std::size_t page = 4096, pages = (original.size() + page - 1) / page;
    const std::size_t total = 2 * pages + 2 * ((original.size() + 65535) / 65536);
    Counts counts[4] = {{"zeroed pages"}, {"random pages"}, {"cuts zero-padded"}, {"cuts"}};
    std::mutex mutex;
    // Variant k: page k/2 zeroed or random, then the cut (k - 2 pages)/2 zero-padded or
    // plain. Two readings at a time, each on its own copy, the original put back after each.
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < 2; ++w)
        workers.emplace_back([&, w] {
            const fs::path copy = dir / ("damaged" + std::to_string(w) + ".mdb");
            dir.write(copy.filename(), original);
            for (std::size_t k = w; k < total; k += 2) {
                const bool isPage = k < 2 * pages, odd = k % 2, cut = !isPage && odd;
                const std::size_t at = isPage ? k / 2 * page : (k - 2 * pages) / 2 * 65536;
                std::string bytes(cut ? 0 : isPage ? std::min(page, original.size() - at) : original.size() - at, '\0');
                std::mt19937 rng(static_cast<unsigned>(k / 2));
                if (isPage && odd)
                    for (auto& b : bytes) b = static_cast<char>(rng());
                const std::string what = isPage ? "page " + std::to_string(k / 2) + (odd ? " random" : " zeroed")
                                                : "cut at " + std::to_string(at) + (odd ? "" : ", zero-padded");
                if (cut) fs::resize_file(copy, at);
                else put(copy, at, bytes);
                std::optional<std::string> r;  // none when refused
                try {
                    r = read(copy);
                } catch (const DbError& e) {
                    EXPECT_NE(e.message(), "") << what;
                }
                put(copy, at, original.substr(at, cut ? std::string::npos : bytes.size()));
                std::lock_guard lock(mutex);
                Counts& c = counts[(isPage ? 0 : 2) + odd];
                if (!r) ++c.refused;
                else if (shapeOf(*r) == shapeOf(reference)) ++(*r == reference ? c.whole : c.altered);
                else if (c.partial++ == 0) c.firstPartial = what;
            }
        });
    for (auto& t : workers) t.join();
    setJetReadLimits(saved);

    for (const Counts& c : counts) {
        const std::string summary = name + ", " + c.kind + ": " + std::to_string(c.whole) + " read whole, " +
                                    std::to_string(c.refused) + " refused, " + std::to_string(c.partial) +
                                    " read in part, " + std::to_string(c.altered) + " with changed values";
        std::printf("%s\n", summary.c_str());
        EXPECT_EQ(c.partial, 0) << summary << "; the first: " << c.firstPartial;
    }
    EXPECT_EQ(counts[0].whole + counts[0].refused + counts[0].partial + counts[0].altered, static_cast<int>(pages));
    return counts[0];
}

}  // namespace

TEST(JetDamage, EveryPageOfNwindZeroedOrRandomAndEveryCutIsReadWholeOrRefusedNeverInPart) {
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb");
    const Counts zeroed = sweepFile(dir, "nwind.mdb");
    EXPECT_GT(zeroed.whole, 0);
    EXPECT_GT(zeroed.refused, 0);
}

// The same for Jet 4 files of the writer: memos in the row, on one page of long values
// and in chains; and a table whose map lists usage-map pages (type 1), each of which,
// zeroed, has the file refused.
void writeAccounts(const fs::path& file, long rows) {
    using zt::jetwrite::Jet4Value;
    using enum zt::jetwrite::Jet4Type;
    zt::jetwrite::Jet4Writer w(file);
    w.beginTable("Conto_Cliente", {{"Importo", Currency}, {"DataAddebito", Text, 8}, {"Nota", Memo}});
    for (long i = 0; i < rows; ++i)
        w.addRow({static_cast<double>(i % 997) / 100.0, std::to_string(20140101 + i % 28),
                  Jet4Value{i % 300 == 0 ? std::string(3000 + i % 7, 'n') : i % 100 == 0 ? std::string(900, 'm') : "breve"}});
    w.finish();
}

TEST(JetDamage, EveryPageOfAJet4FileIsReadWholeOrRefusedAndSoAreItsUsageMapPages) {
    TestDir dir;
    writeAccounts(dir / "Conti.mdb", 3000);
    EXPECT_GT(sweepFile(dir, "Conti.mdb").refused, 0);

    writeAccounts(dir / "Grande.mdb", 30000);
    const std::string bytes = dir.read("Grande.mdb");
    // Three usage-map pages: the table's own map (its data pages), its memo field's map and
    // the file's map of pages in use. Only the first is read; zeroed, the file is refused.
    int mapPages = 0, refused = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
        if (bytes[at] != 0x05) continue;
        ++mapPages;
        dir.write("Rotto.mdb", bytes.substr(0, at) + std::string(4096, '\0') + bytes.substr(at + 4096));
        fs::remove(dir / "copia.db");
        try {
            const auto copied = copyJetFileToNewSqlite(dir / "Rotto.mdb", dir / "copia.db");
            ASSERT_EQ(copied.size(), 1u);
            EXPECT_EQ(copied[0].rows, 30000);
        } catch (const DbError& e) {
            ++refused;
            EXPECT_NE(e.message().find("table \"Conto_Cliente\": page " + std::to_string(at / 4096) +
                                       ", which should hold its map of pages, does not"),
                      std::string::npos)
                << e.message();
        }
    }
    EXPECT_EQ(mapPages, 3);
    EXPECT_EQ(refused, 1);
}

// Each way the program reads an Access file refuses a damaged one with a message naming
// the file, the table and what is wrong, and leaves nothing behind: the copy of
// `zentoria convert`, the image every operation reads, the move of the summary file.
struct Damage {
    const char* name;
    std::size_t at, zeros;  // `zeros` zeros written at `at` (up to the end of the file when 0)
    const char *table, *message;
};

class JetDamageRefused : public ::testing::TestWithParam<Damage> {};

TEST_P(JetDamageRefused, ByTheCopyTheImageAndTheSummarysMove) {
    const Damage& d = GetParam();
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb", "Zentoria.mdb");
    std::string before = dir.read("Zentoria.mdb");
    std::fill_n(before.begin() + static_cast<long>(d.at), d.zeros ? d.zeros : before.size() - d.at, '\0');
    dir.write("Zentoria.mdb", before);
    const std::pair<const char*, std::function<void()>> readings[] = {
        {"copy", [&] { copyJetFileToNewSqlite(dir / "Zentoria.mdb", dir / "copia.db"); }},
        {"image", [&] { Database::open(dir.path(), "Zentoria.mdb"); }},
        {"summary move", [&] { moveSummaryToSqlite(dir.path(), "Zentoria.mdb", [](const std::string&) { return true; }); }}};
    for (const auto& [path, reading] : readings) {
        const std::string message = zt::test::dbErrorOf(reading);
        for (const std::string& part : {(dir / "Zentoria.mdb").string(), "table \"" + std::string(d.table) + "\"",
                                        std::string(d.message)})
            EXPECT_NE(message.find(part), std::string::npos) << path << ": " << message;
        EXPECT_FALSE(fs::exists(dir / "copia.db")) << path;
    }
    EXPECT_EQ(dir.read("Zentoria.mdb"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Nwind, JetDamageRefused,
    ::testing::Values(
        Damage{"a_data_page_zeroed", 210 * 4096, 4096, "Order Details", "page 420 of its map of pages is not one of its data pages"},
        Damage{"the_catalog_s_data_page_zeroed", 3 * 4096, 4096, "MSysObjects", "declares 106 rows, more than its 0 pages can hold"},
        Damage{"a_picture_s_page_zeroed", 14 * 4096, 4096, "Categories", "page 28, which should hold its long value, does not"},
        Damage{"cut_and_zero_padded", 1245184, 0, "MSysObjects", "page 713 of its map of pages is not one of its data pages"},
        Damage{"cut_and_zero_padded_later", 1507328, 0, "MSysObjects", "field \"LvProp\": page 754"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });
