#include "store/sqlite/jet_image.h"

#include <sys/stat.h>

#include <sqlite3.h>

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
        throw DbError(file, (current.empty() ? std::string("cannot copy the tables: ")
                                             : "cannot copy table \"" + current + "\": ") +
                                e.what());
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
        if (!takeSized(in, pos, c.table) || !takeSized(in, pos, rows)) throw DbError(file, "cannot read the copy's summary");
        c.rows = std::stol(rows);
        out.push_back(std::move(c));
    }
    return out;
}

std::vector<TableCopy> copyIntoNewFile(const fs::path& source, const fs::path& target) {
    JetFile jet = JetFile::open(source);
    // Never through a link: one planted at the name is refused, not followed.
    sqlite3* db = openSqlite(target.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                             target.string(), "cannot create");
    std::vector<TableCopy> copied;
    try {
        copied = copyJetToSqlite(jet, db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) throw DbError(target.string(), "cannot finish writing the file");
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
        throw DbError(target.string(), "the file exists already; it is not overwritten");
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

JetImage::~JetImage() { sqlite3_free(data_); }

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
    if (ec) throw DbError(file.string(), "cannot read the file: " + ec.message());
    return s;
}

// The serialized SQLite image of the file, made in the reading process.
std::string imageBytes(const fs::path& file) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        throw DbError(file.string(), "out of memory while reading the file");
    }
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
    JetFile jet = JetFile::open(file);
    copyJetToSqlite(jet, db.get());
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db.get(), "main", &size, SQLITE_SERIALIZE_NOCOPY);
    std::string out;
    if (data) {
        out.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
    } else {
        data = sqlite3_serialize(db.get(), "main", &size, 0);
        if (!data) throw DbError(file.string(), "out of memory while reading the file");
        out.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
        sqlite3_free(data);
    }
    return out;
}

std::shared_ptr<const JetImage> buildImage(const fs::path& file) {
    const std::string bytes = runJetReading(file, [&] { return imageBytes(file); });
    auto* data = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size()));
    if (!data && !bytes.empty()) throw DbError(file.string(), "out of memory while reading the file");
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    return std::make_shared<JetImage>(data, static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

std::shared_ptr<const JetImage> jetImage(const fs::path& file) {
    static std::mutex mutex;
    static std::map<std::string, std::pair<Stamp, std::shared_ptr<const JetImage>>> cache;

    std::error_code ec;
    std::string key = fs::weakly_canonical(file, ec).string();
    if (ec) key = file.string();
    std::lock_guard lock(mutex);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Stamp before = stampOf(file);
        if (auto it = cache.find(key); it != cache.end() && it->second.first == before) return it->second.second;
        auto image = buildImage(file);
        if (stampOf(file) == before) {
            cache[key] = {before, image};
            return image;
        }
    }
    throw DbError(file.string(), "the file is in use by another program (it changed while being read); try again in a moment");
}

void useJetImage(sqlite3* db, const std::string& schema, const JetImage& image, const std::string& file) {
    const int rc = sqlite3_deserialize(db, schema.c_str(), image.data(), image.size(), image.size(),
                                       SQLITE_DESERIALIZE_READONLY);
    if (rc != SQLITE_OK) throw DbError(file, std::string("cannot open the file's tables: ") + sqlite3_errmsg(db));
}

}  // namespace zt::store
