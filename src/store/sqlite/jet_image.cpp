#include "store/sqlite/jet_image.h"
#include "common/translate.h"

#include <sys/stat.h>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "store/access/jet_guard.h"
#include "store/db_error.h"
#include "store/dialect/jet_emit.h"
#include "store/file_stamp.h"
#include "store/sqlite/sqlite_internal.h"

namespace fs = std::filesystem;

namespace zt::store {

// ---- copying into SQLite ---------------------------------------------------------

namespace {

// A statement prepared over the copy; an error the copy reports with the table's name.
Stmt prepared(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) {
        const std::string msg = sqlite3_errmsg(db);
        sqlite3_finalize(st);
        throw std::runtime_error(msg);
    }
    return Stmt(st);
}

void execOrThrow(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        throw std::runtime_error(msg);
    }
}

void bindCell(sqlite3_stmt* st, int i, const JetCell& cell) {
    if (auto* n = std::get_if<std::int64_t>(&cell)) sqlite3_bind_int64(st, i, *n);
    else if (auto* d = std::get_if<double>(&cell)) sqlite3_bind_double(st, i, *d);
    else if (auto* s = std::get_if<std::string>(&cell))
        sqlite3_bind_text(st, i, s->data(), static_cast<int>(s->size()), SQLITE_STATIC);
    else if (auto* b = std::get_if<Blob>(&cell))
        sqlite3_bind_blob(st, i, b->data(), static_cast<int>(b->size()), SQLITE_STATIC);
    else sqlite3_bind_null(st, i);
}

// The table's indexes as the Jet file declares them, after its rows (one sort per index
// rather than a tree kept in order row by row). The same fields in the same order are
// indexed once. Named by the table's number in the copy, as Jet's names may repeat
// across tables.
void createIndexes(sqlite3* db, const std::string& table, const std::vector<JetIndex>& indexes, int tableNo) {
    std::vector<std::string> made;
    for (const auto& ix : indexes) {
        std::string keys;
        for (std::size_t k = 0; k < ix.columns.size(); ++k)
            keys += (k ? ", " : "") + jet::quoteIdent(ix.columns[k]) + (ix.descending[k] ? " DESC" : "");
        if (std::find(made.begin(), made.end(), keys) != made.end()) continue;
        made.push_back(keys);
        execOrThrow(db, "CREATE INDEX " +
                            jet::quoteIdent("zt_ix" + std::to_string(tableNo) + "_" + std::to_string(made.size())) +
                            " ON " + jet::quoteIdent(table) + " (" + keys + ")");
    }
}

}  // namespace

std::vector<TableCopy> copyJetToSqlite(JetFile& jet, sqlite3* db, bool withIndexes) {
    const std::string file = jet.path().string();
    std::vector<TableCopy> copied;
    std::string current;
    int indexCount = 0;
    try {
        execOrThrow(db, "BEGIN");
        for (const auto& name : jet.tableNames()) {
            current = name;
            const auto columns = jet.columns(name);
            if (columns.empty()) throw std::runtime_error("the table has no fields");
            std::string create = "CREATE TABLE " + jet::quoteIdent(name) + " (";
            std::string params;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                create += (i ? ", " : "") + jet::quoteIdent(columns[i].name) + " " + columns[i].sqlType;
                params += i ? ", ?" : "?";
            }
            execOrThrow(db, create + ")");
            Stmt insert = prepared(db, "INSERT INTO " + jet::quoteIdent(name) + " VALUES (" + params + ")");
            const long rows = jet.readRows(name, [&](const std::vector<JetCell>& row) {
                for (std::size_t i = 0; i < row.size(); ++i) bindCell(insert.get(), static_cast<int>(i + 1), row[i]);
                if (sqlite3_step(insert.get()) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
                sqlite3_reset(insert.get());
                sqlite3_clear_bindings(insert.get());
            });
            copied.push_back({name, rows});
            if (withIndexes) createIndexes(db, name, jet.indexes(name), ++indexCount);
        }
        current.clear();
        execOrThrow(db, "COMMIT");
    } catch (const DbError&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    } catch (const std::exception& e) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw DbError(file, current.empty()
                                ? withArgs(translate("Store", "cannot copy the tables: %1"), {e.what()})
                                : withArgs(translate("Store", "cannot copy table \"%1\": %2"), {current, e.what()}));
    }
    return copied;
}

namespace {

// The rows copied per table, as the child process that copied them sends them back.
std::string encodeCopies(const std::vector<TableCopy>& copies) {
    std::string out;
    for (const auto& c : copies) {
        appendSized(out, c.table);
        appendSized(out, std::to_string(c.rows));
    }
    return out;
}

std::vector<TableCopy> decodeCopies(const std::string& in, const std::string& file) {
    std::vector<TableCopy> out;
    std::size_t pos = 0;
    while (pos < in.size()) {
        TableCopy c;
        std::string rows;
        if (!takeSized(in, pos, c.table) || !takeSized(in, pos, rows)) throw DbError(file, translate("Store", "cannot read the copy's summary"));
        c.rows = std::stol(rows);
        out.push_back(std::move(c));
    }
    return out;
}

std::vector<TableCopy> copyIntoNewFile(const fs::path& source, const fs::path& target) {
    JetFile jet = JetFile::open(source);
    // Never through a link: one planted at the name is refused, not followed.
    sqlite3* db = openSqlite(target.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                             target.string(), translate("Store", "cannot create"));
    std::vector<TableCopy> copied;
    try {
        copied = copyJetToSqlite(jet, db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) throw DbError(target.string(), translate("Store", "cannot finish writing the file"));
    return copied;
}

}  // namespace

std::vector<TableCopy> copyJetFileToNewSqlite(const fs::path& source, const fs::path& target, bool reserved) {
    std::error_code ec;
    // A name that is there in any form (a link leading nowhere too) is not written; a
    // name reserved by the caller must be the empty plain file it made.
    struct stat st {};
    const bool there = ::lstat(target.c_str(), &st) == 0;
    if (reserved ? !there || !S_ISREG(st.st_mode) || st.st_size != 0 : there)
        throw DbError(target.string(),
                      translate("Store", "the file exists already; it is not overwritten: name a new file"));
    // The copy is written by the reading process; whatever stops it, nothing is left.
    try {
        return decodeCopies(runJetReading(source, [&] { return encodeCopies(copyIntoNewFile(source, target)); }),
                            source.string());
    } catch (...) {
        fs::remove(target, ec);
        throw;
    }
}

// ---- the images of Jet files -----------------------------------------------------

namespace {

struct Stamp {
    std::uintmax_t size = 0;
    fs::file_time_type mtime{};
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const fs::path& file) {
    std::error_code ec;
    Stamp s;
    s.size = fs::file_size(file, ec);
    if (!ec) s.mtime = fs::last_write_time(file, ec);
    if (ec) throw DbError(file.string(), withArgs(translate("Store", "cannot read the file: %1"), {systemErrorText(ec)}));
    return s;
}

std::mutex cacheMutex;
// The images this process uses, by the file's canonical path.
std::map<std::string, std::pair<Stamp, std::shared_ptr<const JetImage>>> imagesInUse;
std::uint64_t cacheLimit = std::uint64_t{4} << 30;
long readingsStarted = 0;

std::uint64_t fnv(const std::string& text, std::uint64_t h = 1469598103934665603ULL) {
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    return h;
}

std::string hex(std::uint64_t v) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

// The folder of the images: $XDG_CACHE_HOME/zentoria, else ~/.cache/zentoria; made
// private to the user. A folder that is not a real folder of ours is refused.
fs::path cacheFolder(const fs::path& file) {
    fs::path base;
    if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x == '/') base = x;
    else if (const char* h = std::getenv("HOME"); h && *h == '/') base = fs::path(h) / ".cache";
    else base = fs::temp_directory_path() / ("zentoria-cache-" + std::to_string(::getuid()));
    const fs::path dir = base / "zentoria";
    std::error_code ec;
    fs::create_directories(dir, ec);
    struct stat st{};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        throw DbError(file.string(), withArgs(translate("Store", "cannot keep the image of the file in %1: it is not "
                                                                 "a folder of this user; remove it or set "
                                                                 "XDG_CACHE_HOME to another folder"),
                                              {dir.string()}));
    ::chmod(dir.c_str(), 0700);
    return dir;
}

// The key of an image: the file's path, size and modification time. The file name
// carries a digest of the path (so the images of one file are found) and of the whole
// key; the image itself carries the key's digest, checked before it is used.
struct ImageKey {
    std::string pathDigest;
    std::uint64_t digest;
    std::string name() const { return pathDigest + "-" + hex(digest) + ".sqlite"; }
};

ImageKey keyOf(const std::string& canonical, const Stamp& stamp) {
    const auto ticks = stamp.mtime.time_since_epoch().count();
    return {hex(fnv(canonical)), fnv(canonical + '\n' + std::to_string(stamp.size) + '\n' + std::to_string(ticks))};
}

// SQLite's URI of an image file, read-only and never changing.
std::string imageUri(const fs::path& file) {
    std::string uri = "file:";
    for (unsigned char c : file.string()) {
        if (c == '?' || c == '#' || c == '%' || c < 0x21 || c >= 0x7f) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            uri += buf;
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + "?mode=ro&immutable=1";
}

// Whether `image` is a complete image made for `key` (a file of another key, or cut
// short, is not used).
bool validImage(const fs::path& image, const ImageKey& key) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(imageUri(image).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return false;
    }
    std::uint64_t found = 0;
    bool ok = true;
    for (const char* pragma : {"PRAGMA application_id", "PRAGMA user_version"}) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, pragma, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            found = (found << 32) | static_cast<std::uint32_t>(sqlite3_column_int64(st, 0));
        else ok = false;
        sqlite3_finalize(st);
    }
    sqlite3_close_v2(db);
    return ok && found == key.digest;
}

// In the reading process: the image written into `target` (created, empty, by the
// parent), marked with the key.
void writeImage(const fs::path& file, const fs::path& target, const ImageKey& key) {
    JetFile jet = JetFile::open(file);
    sqlite3* db =
        openSqlite(target.string(), SQLITE_OPEN_READWRITE, file.string(), translate("Store", "cannot write its image"));
    try {
        char* err = nullptr;
        const std::string pragmas = "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA application_id=" +
                                    std::to_string(static_cast<std::int32_t>(key.digest >> 32)) +
                                    "; PRAGMA user_version=" +
                                    std::to_string(static_cast<std::int32_t>(key.digest & 0xffffffffu));
        if (sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string msg = err ? err : "";
            sqlite3_free(err);
            throw DbError(file.string(), withArgs(translate("Store", "cannot write its image: %1"), {msg}));
        }
        copyJetToSqlite(jet, db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) throw DbError(file.string(), translate("Store", "cannot finish writing its image"));
}

// Old images go: those of the same file made for another size or time, then the least
// recently used while the folder holds more than the limit.
void tidy(const fs::path& dir, const ImageKey& key, const fs::path& keep) {
    std::error_code ec;
    struct Entry {
        fs::path path;
        std::uint64_t size;
        fs::file_time_type used;
    };
    std::vector<Entry> images;
    std::uint64_t total = 0;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (e.path().extension() != ".sqlite" || !e.is_regular_file(ec)) continue;
        if (e.path() != keep && name.rfind(key.pathDigest + "-", 0) == 0) {
            fs::remove(e.path(), ec);
            continue;
        }
        const std::uint64_t size = e.file_size(ec);
        images.push_back({e.path(), size, e.last_write_time(ec)});
        total += size;
    }
    std::sort(images.begin(), images.end(), [](const Entry& a, const Entry& b) { return a.used < b.used; });
    for (const auto& img : images) {
        if (total <= cacheLimit) break;
        if (img.path == keep) continue;
        if (fs::remove(img.path, ec)) total -= img.size;
    }
}

// The image of `file` for `stamp`: the one kept in the folder, or one made now by a
// reading process into a file of its own, put in place by a rename (so two programs
// making the same image never write into each other's file).
std::shared_ptr<const JetImage> imageFor(const fs::path& file, const std::string& canonical, const Stamp& stamp) {
    const fs::path dir = cacheFolder(file);
    const ImageKey key = keyOf(canonical, stamp);
    const fs::path final = dir / key.name();
    std::error_code ec;
    if (fs::exists(final, ec) && validImage(final, key)) {
        fs::last_write_time(final, fs::file_time_type::clock::now(), ec);  // recently used
        return std::make_shared<JetImage>(final);
    }
    std::string pattern = (dir / (key.name() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw DbError(file.string(), withArgs(translate("Store", "cannot make the image of the file in %1: %2"),
                                                   {dir.string(), systemErrorText(errno)}));
    ::close(fd);
    const fs::path temp = pattern;
    try {
        ++readingsStarted;
        runJetReading(file, [&] {
            writeImage(file, temp, key);
            return std::string();
        });
        const int f = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (f >= 0) {
            ::fsync(f);
            ::close(f);
        }
        fs::rename(temp, final);
    } catch (const fs::filesystem_error& e) {
        fs::remove(temp, ec);
        throw DbError(file.string(), withArgs(translate("Store", "cannot keep the image of the file: %1"), {e.what()}));
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
    tidy(dir, key, final);
    return std::make_shared<JetImage>(final);
}

}  // namespace

std::string JetImage::uri() const { return imageUri(file_); }

std::shared_ptr<const JetImage> jetImage(const fs::path& file) {
    auto& cache = imagesInUse;
    std::error_code ec;
    std::string key = fs::weakly_canonical(file, ec).string();
    if (ec) key = file.string();
    std::lock_guard lock(cacheMutex);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Stamp before = stampOf(file);
        if (auto it = cache.find(key); it != cache.end() && it->second.first == before &&
                                       fs::exists(it->second.second->file(), ec))
            return it->second.second;
        auto image = imageFor(file, key, before);
        if (stampOf(file) == before) {
            cache[key] = {before, image};
            return image;
        }
    }
    throw DbError(file.string(), translate("Store", "the file is in use by another program (it changed while being "
                                                    "read); try again in a moment"));
}

sqlite3* openJetImage(const JetImage& image, const std::string& file) {
    return openSqlite(image.uri(), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, file,
                      translate("Store", "cannot open the file's tables"));
}

void attachJetImage(sqlite3* db, const std::string& schema, const JetImage& image, const std::string& file) {
    sqlite3_stmt* st = nullptr;
    const std::string sql = "ATTACH DATABASE ?1 AS " + jet::quoteIdent(schema);
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        const std::string uri = image.uri();
        sqlite3_bind_text(st, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    const std::string msg = sqlite3_errmsg(db);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE && rc != SQLITE_OK) throw DbError(file, withArgs(translate("Store", "cannot open the file's tables: %1"), {msg}));
}

void forgetJetImages() {
    std::lock_guard lock(cacheMutex);
    imagesInUse.clear();
}

void setJetImageCacheLimit(std::uint64_t bytes) {
    std::lock_guard lock(cacheMutex);
    cacheLimit = bytes;
}

long jetImageReadings() {
    std::lock_guard lock(cacheMutex);
    return readingsStarted;
}

}  // namespace zt::store
