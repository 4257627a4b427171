// A damaged Access file is read whole, with the same rows as the undamaged file, or
// refused: never in part. Every 4 KB page of nwind.mdb zeroed, then filled with random
// bytes, and the file cut at every 64 KB (zero-padded back to its length, as an
// interrupted pre-allocated copy leaves it, and plainly cut).
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <cstdio>
#include <fstream>
#include <random>
#include <mutex>
#include <sstream>
#include <thread>

#include "store/access/jet_file.h"
#include "store/access/jet_guard.h"
#include "store/db_error.h"
#include "store/figures/summary_move.h"
#include "store/sqlite/database.h"
#include "store/sqlite/jet_image.h"
#include "jetwriter/jet4_writer.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::store::DbError;
using zt::store::JetCell;
using zt::store::JetFile;
using zt::test::TestDir;

namespace {

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every table of the file as the reader gives it, in the reading child: per table its
// name, its row count and a digest of its values.
struct Reading {
    std::vector<std::string> tables;
    std::vector<long> rows;
    std::vector<std::uint64_t> digests;
};

Reading read(const fs::path& file) {
    const std::string text = zt::store::runJetReading(file, [&] {
        JetFile jet = JetFile::open(file);
        std::ostringstream out;
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
                    else if (auto* b = std::get_if<zt::store::Blob>(&c)) mix(b->data(), b->size());
                }
            });
            out << name << '\t' << n << '\t' << h << '\n';
        }
        return out.str();
    });
    Reading r;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, rows, digest;
        std::getline(fields, name, '\t');
        std::getline(fields, rows, '\t');
        std::getline(fields, digest, '\t');
        r.tables.push_back(name);
        r.rows.push_back(std::stol(rows));
        r.digests.push_back(std::stoull(digest));
    }
    return r;
}

struct Counts {
    int whole = 0, refused = 0, partial = 0, altered = 0;
    std::string firstPartial;
};

// A damaged variant of the file: what was done, and how: `bytes` written at `at`, then
// the file cut to `length`.
struct Variant {
    std::string what;
    std::size_t at = 0;
    std::string bytes;
    std::size_t length = 0;
};

// Writes a variant into `file`, a copy of the original, and puts the original back.
class Patch {
public:
    Patch(const fs::path& file, const std::string& original, const Variant& v) : file_(file), original_(original), v_(v) {
        put(v.at, v.bytes);
        if (v.length != original.size()) fs::resize_file(file, v.length);
        if (v.length > original.size()) put(original.size(), std::string(v.length - original.size(), '\0'));
    }
    ~Patch() {
        if (v_.length != original_.size()) fs::resize_file(file_, original_.size());
        if (v_.length < original_.size()) put(v_.length, original_.substr(v_.length));
        put(v_.at, original_.substr(v_.at, v_.bytes.size()));
    }

private:
    void put(std::size_t at, const std::string& bytes) {
        std::fstream f(file_, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(static_cast<std::streamoff>(at));
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    fs::path file_;
    const std::string& original_;
    const Variant& v_;
};

class Sweep {
public:
    explicit Sweep(const fs::path& original) : bytes_(bytesOf(original)) { reference_ = read(original); }
    const std::string& bytes() const { return bytes_; }

    // Reads the variant (made in `file`, a copy of the original) and counts how it went.
    void classify(const Variant& v, const fs::path& file, Counts& counts) {
        const Patch patch(file, bytes_, v);
        Reading r;
        bool refused = false;
        try {
            r = read(file);
        } catch (const DbError& e) {
            refused = true;
            EXPECT_NE(e.message(), "") << v.what;
        }
        std::lock_guard lock(mutex_);
        if (refused) {
            ++counts.refused;
        } else if (r.tables == reference_.tables && r.rows == reference_.rows) {
            if (r.digests == reference_.digests) ++counts.whole;
            else ++counts.altered;  // values changed inside rows
        } else if (counts.partial++ == 0) {
            counts.firstPartial = v.what;
        }
    }

private:
    std::string bytes_;
    Reading reference_;
    std::mutex mutex_;
};

std::string summary(const char* name, const Counts& c) {
    char buf[200];
    std::snprintf(buf, sizeof buf, "%s: %d read whole, %d refused, %d read in part, %d with changed values", name,
                  c.whole, c.refused, c.partial, c.altered);
    return buf;
}


// Sweeps `file`: every 4 KB page zeroed, then random, and the cuts at every 64 KB,
// zero-padded and plain; counts and checks that none is read in part. Returns the counts
// of zeroed pages.
Counts sweepFile(const TestDir& dir, const fs::path& file) {
    // A damaged file must be refused quickly; these limits only end a reading that hangs.
    const auto saved = zt::store::jetReadLimits();
    auto limits = saved;
    limits.time = std::chrono::seconds(10);
    limits.timePerMegabyte = std::chrono::milliseconds(0);
    zt::store::setJetReadLimits(limits);

    Sweep sweep(file);
    const std::string& original = sweep.bytes();
    const std::size_t page = 4096, pages = (original.size() + page - 1) / page;
    const std::size_t cuts = (original.size() + 65535) / 65536;
    Counts zeroed, random, padded, cut;
    // Variant k: page k/2 zeroed or random, then the cut (k - 2 pages)/2 zero-padded or plain.
    auto variant = [&](std::size_t k, Counts*& counts) {
        Variant v{"", 0, "", original.size()};
        if (k < 2 * pages) {
            const std::size_t p = k / 2, n = std::min(page, original.size() - p * page);
            std::mt19937 rng(static_cast<unsigned>(p));
            v.at = p * page;
            v.bytes.assign(n, '\0');
            if (k % 2)
                for (auto& b : v.bytes) b = static_cast<char>(rng());
            v.what = "page " + std::to_string(p) + (k % 2 ? " random" : " zeroed");
            counts = k % 2 ? &random : &zeroed;
        } else {
            const std::size_t c = (k - 2 * pages) / 2, at = c * 65536;
            v.at = at;
            if (k % 2 == 0) v.bytes.assign(original.size() - at, '\0');
            else v.length = at;
            v.what = "cut at " + std::to_string(at) + (k % 2 ? "" : ", zero-padded");
            counts = k % 2 ? &cut : &padded;
        }
        return v;
    };
    // Two readings at a time, each on its own copy.
    const std::size_t total = 2 * pages + 2 * cuts;
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < 2; ++w)
        workers.emplace_back([&, w] {
            const fs::path copy = dir / ("damaged" + std::to_string(w) + ".mdb");
            writeBytes(copy, original);
            for (std::size_t k = w; k < total; k += 2) {
                Counts* counts = nullptr;
                const Variant v = variant(k, counts);
                sweep.classify(v, copy, *counts);
            }
        });
    for (auto& t : workers) t.join();
    zt::store::setJetReadLimits(saved);

    const std::string name = file.filename().string();
    for (const auto& [kind, c] : {std::pair{"zeroed pages", zeroed}, std::pair{"random pages", random},
                                  std::pair{"cuts zero-padded", padded}, std::pair{"cuts", cut}}) {
        std::printf("%s, %s\n", name.c_str(), summary(kind, c).c_str());
        EXPECT_EQ(c.partial, 0) << name << ", " << summary(kind, c) << "; the first: " << c.firstPartial;
    }
    EXPECT_EQ(zeroed.whole + zeroed.refused + zeroed.partial + zeroed.altered, static_cast<int>(pages));
    return zeroed;
}

}  // namespace

TEST(JetDamage, EveryPageOfNwindZeroedOrRandomAndEveryCutIsReadWholeOrRefusedNeverInPart) {
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb");
    const Counts zeroed = sweepFile(dir, dir / "nwind.mdb");
    EXPECT_GT(zeroed.whole, 0);
    EXPECT_GT(zeroed.refused, 0);
}

// The same for Jet 4 files of the writer: memos in the row, on one page of long values
// and in chains; and a table whose map lists usage-map pages (type 1), each of which,
// zeroed, has the file refused.
void writeAccounts(const fs::path& file, long rows) {
    zt::jetwrite::Jet4Writer w(file);
    w.beginTable("Conto_Cliente", {{"Importo", zt::jetwrite::Jet4Type::Currency},
                                   {"DataAddebito", zt::jetwrite::Jet4Type::Text, 8},
                                   {"Nota", zt::jetwrite::Jet4Type::Memo}});
    for (long i = 0; i < rows; ++i)
        w.addRow({static_cast<double>(i % 997) / 100.0, std::to_string(20140101 + i % 28),
                  i % 300 == 0   ? zt::jetwrite::Jet4Value{std::string(3000 + i % 7, 'n')}
                  : i % 100 == 0 ? zt::jetwrite::Jet4Value{std::string(900, 'm')}
                                 : zt::jetwrite::Jet4Value{std::string("breve")}});
    w.finish();
}

TEST(JetDamage, EveryPageOfAJet4FileIsReadWholeOrRefusedAndSoAreItsUsageMapPages) {
    TestDir dir;
    writeAccounts(dir / "Conti.mdb", 3000);
    const Counts zeroed = sweepFile(dir, dir / "Conti.mdb");
    EXPECT_GT(zeroed.refused, 0);

    writeAccounts(dir / "Grande.mdb", 30000);
    const std::string bytes = bytesOf(dir / "Grande.mdb");
    // Three usage-map pages: the table's own map (its data pages), its memo field's map and
    // the file's map of pages in use. Only the first is read; zeroed, the file is refused.
    int mapPages = 0, refused = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
        if (bytes[at] != 0x05) continue;
        ++mapPages;
        std::string damaged = bytes;
        std::fill_n(damaged.begin() + static_cast<long>(at), 4096, '\0');
        writeBytes(dir / "Rotto.mdb", damaged);
        fs::remove(dir / "copia.db");
        try {
            const auto copied = zt::store::copyJetFileToNewSqlite(dir / "Rotto.mdb", dir / "copia.db");
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
    const char* what;
    std::size_t at;      // where zeros are written
    std::size_t zeros;   // how many (up to the end of the file when 0)
    const char* table;
    const char* message;
};

class JetDamageRefused : public ::testing::TestWithParam<Damage> {};

TEST_P(JetDamageRefused, ByTheCopyTheImageAndTheSummarysMove) {
    const Damage& d = GetParam();
    TestDir dir;
    dir.copyAccessFixture("nwind.mdb", "Zentoria.mdb");
    {
        std::string bytes = dir.read("Zentoria.mdb");
        std::fill_n(bytes.begin() + static_cast<long>(d.at), d.zeros ? d.zeros : bytes.size() - d.at, '\0');
        writeBytes(dir / "Zentoria.mdb", bytes);
    }
    const std::string before = dir.read("Zentoria.mdb");
    auto expectNamed = [&](const std::string& message, const char* path) {
        EXPECT_NE(message.find((dir / "Zentoria.mdb").string()), std::string::npos) << path << ": " << message;
        EXPECT_NE(message.find("table \"" + std::string(d.table) + "\""), std::string::npos) << path << ": " << message;
        EXPECT_NE(message.find(d.message), std::string::npos) << path << ": " << message;
    };
    auto errorOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const DbError& e) {
            return e.file() + ": " + e.message();
        }
        return std::string("no error");
    };
    expectNamed(errorOf([&] { zt::store::copyJetFileToNewSqlite(dir / "Zentoria.mdb", dir / "copia.db"); }), "copy");
    EXPECT_FALSE(fs::exists(dir / "copia.db"));
    expectNamed(errorOf([&] { zt::store::Database::open(dir.path(), "Zentoria.mdb"); }), "image");
    expectNamed(errorOf([&] {
                    zt::store::moveSummaryToSqlite(dir.path(), "Zentoria.mdb", [](const std::string&) { return true; });
                }),
                "summary move");
    EXPECT_EQ(dir.read("Zentoria.mdb"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Nwind, JetDamageRefused,
    ::testing::Values(
        Damage{"a data page zeroed", 210 * 4096, 4096, "Order Details", "page 420 of its map of pages is not one of its data pages"},
        Damage{"the catalog's data page zeroed", 3 * 4096, 4096, "MSysObjects", "declares 106 rows, more than its 0 pages can hold"},
        Damage{"a picture's page zeroed", 14 * 4096, 4096, "Categories", "page 28, which should hold its long value, does not"},
        Damage{"cut and zero-padded", 1245184, 0, "MSysObjects", "page 713 of its map of pages is not one of its data pages"},
        Damage{"cut and zero-padded later", 1507328, 0, "MSysObjects", "field \"LvProp\": page 754"}),
    [](const ::testing::TestParamInfo<Damage>& info) {
        std::string name = info.param.what;
        for (auto& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });
