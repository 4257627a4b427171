#include "store/sqlite/database.h"
#include "common/translate.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text.h"
#include "store/file_names.h"
#include "store/query_cache.h"
#include "store/dialect/jet_emit.h"
#include "store/access/jet_file.h"
#include "store/sqlite/jet_image.h"
#include "store/dialect/jet_sql.h"
#include "store/dialect/jet_text.h"
#include "store/sqlite/dialect_functions.h"
#include "store/sqlite/sqlite_internal.h"

namespace fs = std::filesystem;

namespace zt::store {

fs::path resolveDatabasePath(const fs::path& workDir, std::string_view name) {
    std::string n(name);
    std::replace(n.begin(), n.end(), '\\', '/');
    if (!fs::path(n).has_extension()) n += ".mdb";
    return findFile(workDir, n);
}

namespace {

constexpr int kBusyTimeoutMs = 3000;

constexpr const char* kJetReadOnly =
    QT_TRANSLATE_NOOP("Store", "this is an Access (Jet) file, which this program reads only; it cannot be written");

// The kind of a file this layer can open; a DbError naming any other.
FileStamp checkReadable(const fs::path& file) {
    const FileStamp stamp = stampFile(file);
    switch (stamp.kind) {
        case FileKind::Sqlite:
        case FileKind::Empty:
        case FileKind::Jet:
        case FileKind::Ace: return stamp;
        case FileKind::Missing: throw DbError(file.string(), translate("Store", "file not found"));
        case FileKind::Special:
            throw DbError(file.string(), translate("Store", "this is not a plain file (a pipe, a device or a folder): "
                                                            "it is not opened as a database"));
        case FileKind::Other: break;
    }
    throw DbError(file.string(), translate("Store", "not a database file, or the file is damaged; copy it again "
                                                    "from a backup"));
}

// The header of an SQLite file a connection has open, read through the connection's
// own file handle: opening the file a second time and closing it would drop the
// connection's locks. False for a file in memory or not yet written.
bool headerOf(sqlite3* db, const std::string& schema, unsigned char (&h)[100], struct stat& st) {
    sqlite3_file* f = nullptr;
    if (sqlite3_file_control(db, schema.c_str(), SQLITE_FCNTL_FILE_POINTER, &f) != SQLITE_OK || !f || !f->pMethods)
        return false;
    if (f->pMethods->xRead(f, h, sizeof h, 0) != SQLITE_OK) return false;
    if (!isSqliteHeader(h, sizeof h)) return false;
    const char* name = sqlite3_db_filename(db, schema.c_str());
    return name && *name && ::stat(name, &st) == 0;
}

// What the rows of a file a connection has open are now (dataStateOf); empty when the
// file cannot tell (in memory, WAL mode).
std::string fileState(sqlite3* db, const std::string& schema) {
    unsigned char h[100] = {};
    struct stat st {};
    if (!headerOf(db, schema, h, st) || h[18] == 2 || h[19] == 2) return "";
    return dataStateOf(st.st_dev, st.st_ino, mtimeNs(st), h);
}

// The indexes of each state of a file's tables (its identity and schema cookie), shared
// by every connection.
std::mutex gIndexesMutex;
std::map<std::string, std::vector<std::vector<std::string>>> gIndexes;

// The spellings found for each state of a file (fileState), shared by every
// connection: a grid opens the file once a month and asks the same twelve times.
std::mutex gSpellingsMutex;
std::unordered_map<std::string, std::vector<std::string>> gSpellings;
constexpr std::size_t kSpellingsCacheSize = 1024;

jet::Type affinityType(std::string_view declaredText) {
    const std::string declared = upperAscii(declaredText);
    if (declared.find("INT") != std::string::npos) return jet::Type::Number;
    if (declared.find("CHAR") != std::string::npos || declared.find("CLOB") != std::string::npos ||
        declared.find("TEXT") != std::string::npos)
        return jet::Type::Text;
    if (declared.empty() || declared.find("BLOB") != std::string::npos) return jet::Type::Unknown;
    return jet::Type::Number;  // REAL, FLOAT, DOUBLE, NUMERIC, DATE, CURRENCY...
}

}  // namespace

// A file's path as SQLite takes it on a connection that reads URIs: one that would read
// as a URI ("file:…") is written "./file:…".
static std::string plainPath(const fs::path& p) {
    const std::string s = p.string();
    return s.rfind("file:", 0) == 0 ? "./" + s : s;
}

// ---- Connection ------------------------------------------------------------------

class Connection : public jet::SchemaSource {
public:
    Connection(fs::path path, fs::path workDir, sqlite3* db)
        : path_(std::move(path)), workDir_(std::move(workDir)), db_(db), mark_(path_) {
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db_, 1);
        registerDialectFunctions(db_);
    }
    ~Connection() override {
        sqlite3_close_v2(db_);
    }

    sqlite3* db() const { return db_; }
    const fs::path& path() const { return path_; }
    // An Access (Jet) file: its image, read-only, is the main schema.
    bool isJet() const { return jet_; }
    void useJet(std::shared_ptr<const JetImage> image) {
        images_.push_back(std::move(image));
        jet_ = true;
    }
    std::string file() const { return path_.string(); }

    [[noreturn]] void fail(int rc, const std::string& what) const {
        const int primary = rc & 0xFF;
        std::string msg = what.empty() ? "" : what + ": ";
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            msg += translate("Store", "the file is in use by another program; try again in a moment");
        else if (primary == SQLITE_READONLY && jet_)
            msg += translate("Store", kJetReadOnly);
        else if (primary == SQLITE_READONLY)
            msg += translate("Store", "the file cannot be written (it is read-only); ask for write permission on it");
        else if (primary == SQLITE_IOERR)
            msg += withArgs(translate("Store", "%1: the file, or the journal \"%2-journal\" written beside it while it "
                                               "changes, cannot be read or written; check the disk and the "
                                               "permissions of the folder"),
                            {sqlite3_errmsg(db_), path_.filename().string()});
        else if (std::string_view(sqlite3_errmsg(db_)) == "parser stack overflow")
            msg += translate("Store", "the query nests brackets, functions or sub-queries too deeply for the "
                                      "database engine (parser stack overflow)");
        else
            msg += sqlite3_errmsg(db_);
        throw DbError(file(), msg);
    }

    // Prepares plain SQLite SQL; errors name the file.
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
        if (rc != SQLITE_OK) fail(rc, "");
        return st;
    }

    void exec(const std::string& sql) {
        char* err = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
        if (rc != SQLITE_OK) {
            std::string m = err ? err : sqlite3_errstr(rc);
            sqlite3_free(err);
            if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_READONLY) fail(rc, "");
            throw DbError(file(), m);
        }
    }

    void setStamp(const FileStamp& stamp) { stamp_ = stamp; }
    const FileStamp& stamp() const { return stamp_; }
    const fs::path& workDir() const { return workDir_; }

    // The SQL of a query. What a query's text becomes depends only on the text and the
    // tables of the file it reads, so it is written once for each state of the file
    // (its stamp) and taken from there by every later connection: each month's sum
    // opens the file anew, and parsing and writing the query cost about a fifth of the
    // sum. A query reading another file (In '…') is written every time.
    // `fresh`: written anew, as the file is now (the stamp is the file's on opening).
    jet::EmittedQuery emit(std::string_view jetSql, bool fresh = false) {
        dataChecks_.clear();
        std::string key;
        if (stamp_.known && !noSeeks_ && !fresh) {
            key = path_.string() + '\n' + std::to_string(stamp_.device) + ' ' + std::to_string(stamp_.inode) + ' ' +
                  std::to_string(stamp_.size) + ' ' + std::to_string(stamp_.mtimeNs) + ' ' +
                  std::to_string(stamp_.schemaCookie) + '\n' + stamp_.dataState + '\n';
            key += jetSql;
            if (auto known = emittedCache().find(key)) {
                dataChecks_ = known->checks;
                return known->query;
            }
        }
        otherFileRead_ = false;
        auto tree = jet::parseQuery(jetSql);
        jet::EmittedQuery emitted = jet::emitQuery(*tree, *this);
        // Spellings found in the rows hold for the state of the file they were found in:
        // kept only when that is the state the key names (the stamp's, read on opening).
        const bool sameState = std::all_of(dataChecks_.begin(), dataChecks_.end(), [&](const DataCheck& c) {
            return c.schema == "main" && c.state == stamp_.dataState;
        });
        if (!key.empty() && !otherFileRead_ && sameState) emittedCache().put(std::move(key), Emitted{emitted, dataChecks_});
        return emitted;
    }

    jet::TableInfo table(const std::string& name, const std::optional<std::string>& inFile) override {
        const std::string schema = inFile ? attach(*inFile) : "main";
        if (schema != "main") otherFileRead_ = true;
        std::string key = schema + "\n" + name;
        for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (auto it = tables_.find(key); it != tables_.end()) return it->second;
        if (auto known = tableFromSchema(schema, name)) return tables_[key] = std::move(*known);

        jet::TableInfo info;
        info.schema = schema;
        {
            Stmt st(prepare("SELECT name FROM " + jet::quoteIdent(schema) +
                            ".sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE"));
            sqlite3_bind_text(st.get(), 1, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            const int rc = sqlite3_step(st.get());
            if (rc == SQLITE_ROW) info.name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
            else if (rc != SQLITE_DONE) fail(rc, "");
        }
        if (info.name.empty()) {
            const std::string where = inFile ? resolveDatabasePath(workDir_, *inFile).string() : file();
            throw DbError(where, withArgs(translate("Store", "table \"%1\" not found"), {name}));
        }
        {
            Stmt st(prepare("SELECT name, type FROM pragma_table_info(?1, ?2)"));
            sqlite3_bind_text(st.get(), 1, info.name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st.get(), 2, schema.c_str(), -1, SQLITE_TRANSIENT);
            int rc;
            while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
                const auto* decl = sqlite3_column_text(st.get(), 1);
                info.columns.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)),
                                        affinityType(decl ? reinterpret_cast<const char*>(decl) : "")});
            }
            if (rc != SQLITE_DONE) fail(rc, "");
        }
        tables_[key] = info;
        return info;
    }

    // The indexes of a table that compare their keys byte by byte (SQLite's default):
    // the names of their leading key columns, up to the first that is an expression or
    // compares otherwise. Partial indexes are left out. Read once per connection, and
    // only for a query that compares a text field with a text that has letters.
    std::vector<std::vector<std::string>> indexes(const jet::TableInfo& table) override {
        unsigned char h[100] = {};
        struct stat fst {};
        // Byte order is the order of characters only in UTF-8 (text encoding 1).
        if (!headerOf(db_, table.schema, h, fst) || h[56] != 0 || h[57] != 0 || h[58] != 0 || h[59] != 1) return {};
        std::string key = std::to_string(fst.st_dev) + ' ' + std::to_string(fst.st_ino) + ' ' +
                          std::to_string(mtimeNs(fst)) + ' ';
        key.append(reinterpret_cast<const char*>(h + 40), 4);  // schema cookie
        key += '\n' + table.name;
        {
            std::lock_guard lock(gIndexesMutex);
            if (auto it = gIndexes.find(key); it != gIndexes.end()) return it->second;
        }
        std::vector<std::vector<std::string>> out;
        Stmt st(prepare("SELECT il.name, ix.name, ix.coll FROM pragma_index_list(?1, ?2) AS il, "
                        "pragma_index_xinfo(il.name, ?2) AS ix WHERE il.partial = 0 AND ix.key = 1 "
                        "ORDER BY il.seq, ix.seqno"));
        sqlite3_bind_text(st.get(), 1, table.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st.get(), 2, table.schema.c_str(), -1, SQLITE_TRANSIENT);
        std::string current;
        bool open = false;  // whether the current index still takes columns
        int rc;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
            const auto* index = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
            const auto* column = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
            const auto* coll = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2));
            if (!index) continue;
            if (current != index) {
                current = index;
                out.emplace_back();
                open = true;
            }
            if (!open) continue;
            if (!column || !coll || !equalsNoCase(coll, "BINARY")) open = false;
            else out.back().emplace_back(column);
        }
        if (rc != SQLITE_DONE) fail(rc, "");
        std::erase_if(out, [](const auto& cols) { return cols.empty(); });
        std::lock_guard lock(gIndexesMutex);
        if (gIndexes.size() >= 1024) gIndexes.clear();
        return gIndexes[key] = out;
    }

    // The spellings of `text` that `column` holds where the `fixed` fields have their
    // values, found by a walk of seeks along an index that begins with those fields and
    // `column`: each seek finds the smallest key from the next possible spelling on
    // (jet::nextSpelling), so keys that are no spelling are passed in one step. Kept for
    // each state of the file; what they were found on is noted in dataChecks(), which
    // a reader checks once its statement has read (checkData). None for a file that
    // cannot tell its state (in memory, WAL mode), or once checks kept failing.
    std::optional<std::vector<std::string>> spellings(const jet::TableInfo& table, const std::string& column,
                                                      const std::vector<std::pair<std::string, std::string>>& fixed,
                                                      const std::string& text) override {
        if (noSeeks_) return std::nullopt;
        // Inside a transaction of its own the connection sees rows no commit counted
        // yet, and no other writer can commit: the walk is made afresh and not kept.
        const bool inTransaction = !sqlite3_get_autocommit(db_);
        std::string state = inTransaction ? std::string() : fileState(db_, table.schema);
        if (state.empty() && !inTransaction) return std::nullopt;
        if (!inTransaction) dataChecks_.push_back({table.schema, state});
        std::string sql = "SELECT " + jet::quoteIdent(column) + " FROM " + jet::quoteIdent(table.schema) + "." +
                          jet::quoteIdent(table.name) + " WHERE ";
        for (const auto& [field, value] : fixed) sql += jet::quoteIdent(field) + " = " + value + " AND ";
        const std::string key = jet::quoteIdent(column) + " COLLATE BINARY";
        sql += key + " >= ?1 AND " + key + " <= ?2 ORDER BY " + key + " LIMIT 1";
        const std::string cacheKey = state + '\n' + sql + '\n' + text;
        if (!inTransaction) {
            std::lock_guard lock(gSpellingsMutex);
            if (auto it = gSpellings.find(cacheKey); it != gSpellings.end()) return it->second;
        }
        Stmt seek(prepare(sql));
        const std::string last = jet::lastSpelling(text);
        sqlite3_bind_text(seek.get(), 2, last.data(), static_cast<int>(last.size()), SQLITE_TRANSIENT);
        std::vector<std::string> found;
        std::optional<std::string> from = jet::firstSpelling(text);
        while (from) {
            sqlite3_bind_text(seek.get(), 1, from->data(), static_cast<int>(from->size()), SQLITE_TRANSIENT);
            const int rc = sqlite3_step(seek.get());
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) fail(rc, "");
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(seek.get(), 0));
            const std::string key(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(seek.get(), 0)));
            sqlite3_reset(seek.get());
            if (jet::compareText(key, text) == 0) found.push_back(key);
            from = jet::nextSpelling(key, text);
        }
        if (inTransaction) return found;
        std::lock_guard lock(gSpellingsMutex);
        if (gSpellings.size() >= kSpellingsCacheSize) gSpellings.clear();
        gSpellings.emplace(cacheKey, found);
        return found;
    }

    // What the statements emitted since the last call read the spellings from.
    struct DataCheck {
        std::string schema, state;
    };
    std::vector<DataCheck> takeDataChecks() { return std::exchange(dataChecks_, {}); }
    // Whether the files are still in the state the spellings were found in: read once a
    // statement using them has begun reading, it tells that the statement read that
    // state (no commit came between: every commit changes the state).
    bool checkData(const std::vector<DataCheck>& checks) {
        for (const auto& c : checks)
            if (fileState(db_, c.schema) != c.state) return false;
        return true;
    }
    // After repeated changes under a reader: compare without seeking the spellings.
    void stopSeeks() { noSeeks_ = true; }

    // A table of the schema the connection has already loaded, without running a
    // statement: the columns and their declared types from a statement prepared over it
    // and never stepped, the name as the file spells it. Each query opens its file anew,
    // and the catalogue queries below (sqlite_master, pragma_table_info) each took a read
    // transaction of their own, which cost more than the query itself. nullopt for a view,
    // a missing table or a schema table: the catalogue queries handle those.
    std::optional<jet::TableInfo> tableFromSchema(const std::string& schema, const std::string& name) {
        for (const char* internal : {"sqlite_master", "sqlite_schema", "sqlite_temp_master", "sqlite_temp_schema"})
            if (equalsNoCase(name, internal)) return std::nullopt;
        if (sqlite3_table_column_metadata(db_, schema.c_str(), name.c_str(), nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr) != SQLITE_OK)
            return std::nullopt;  // not a table (a view, or none)
        const std::string sql = "SELECT * FROM " + jet::quoteIdent(schema) + "." + jet::quoteIdent(name);
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
        Stmt st(raw);
        if (rc != SQLITE_OK || !raw) return std::nullopt;
        const int count = sqlite3_column_count(raw);
        const char* spelled = count > 0 ? sqlite3_column_table_name(raw, 0) : nullptr;
        if (!spelled) return std::nullopt;
        jet::TableInfo info;
        info.schema = schema;
        info.name = spelled;
        for (int i = 0; i < count; ++i) {
            const char* declared = sqlite3_column_decltype(raw, i);
            info.columns.push_back({sqlite3_column_name(raw, i), affinityType(declared ? declared : "")});
        }
        return info;
    }

    // The schema name under which the file `name` of the working folder is reachable.
    std::string attach(const std::string& name) {
        const fs::path p = resolveDatabasePath(workDir_, name);
        std::error_code ec;
        if (fs::equivalent(p, path_, ec)) return "main";
        const bool jetFile = isJetKind(checkReadable(p).kind);
        const std::string canonical = fs::weakly_canonical(p, ec).string();
        if (auto it = attached_.find(canonical); it != attached_.end()) return it->second;
        const std::string schema = "zt" + std::to_string(attached_.size() + 1);
        // An Access file is reached through its image, attached read-only.
        if (jetFile) {
            auto image = jetImage(p);
            attachJetImage(db_, schema, *image, p.string());
            images_.push_back(std::move(image));
        } else {
            Stmt st(prepare("ATTACH DATABASE ?1 AS " + jet::quoteIdent(schema)));
            const std::string target = plainPath(p);
            sqlite3_bind_text(st.get(), 1, target.c_str(), -1, SQLITE_TRANSIENT);
            const int rc = sqlite3_step(st.get());
            if (rc != SQLITE_DONE) {
                const std::string msg = sqlite3_errmsg(db_);
                throw DbError(p.string(), withArgs(translate("Store", "cannot open: %1"), {msg}));
            }
        }
        attached_[canonical] = schema;
        return schema;
    }

    // A prepared statement finalized when it goes out of scope.
    using Stmt = store::Stmt;

private:
    fs::path path_;
    fs::path workDir_;
    sqlite3* db_;
    OpenFileMark mark_;  // while the connection lives
    std::map<std::string, std::string> attached_;
    std::map<std::string, jet::TableInfo> tables_;
    std::vector<DataCheck> dataChecks_;
    bool noSeeks_ = false;
    bool jet_ = false;
    std::vector<std::shared_ptr<const JetImage>> images_;
    struct Emitted {
        jet::EmittedQuery query;
        std::vector<DataCheck> checks;  // the spellings it holds were found on
    };
    static QueryCache<Emitted>& emittedCache() {
        static QueryCache<Emitted> cache;
        return cache;
    }
    FileStamp stamp_;
    bool otherFileRead_ = false;  // kept while the connection reads them
};

using Stmt = Connection::Stmt;

namespace {

Value columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT: return Value(sqlite3_column_double(st, i));
        case SQLITE_NULL: return Value();
        default: {
            const auto* t = sqlite3_column_text(st, i);
            return Value(std::string(t ? reinterpret_cast<const char*>(t) : "", sqlite3_column_bytes(st, i)));
        }
    }
}

void bindValue(sqlite3_stmt* st, int i, const Value& v) {
    const auto& raw = v.raw();
    if (auto* n = std::get_if<std::int64_t>(&raw)) sqlite3_bind_int64(st, i, *n);
    else if (auto* d = std::get_if<double>(&raw)) sqlite3_bind_double(st, i, *d);
    else if (auto* s = std::get_if<std::string>(&raw))
        sqlite3_bind_text(st, i, s->c_str(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else sqlite3_bind_null(st, i);
}

// Runs fn; the dialect's errors come out as errors naming the file.
template <class Fn>
auto withFile(const Connection& c, Fn&& fn) {
    return jet::dialectErrorsAs([&](const std::string& message) { return DbError(c.file(), message); }, fn);
}

}  // namespace

// ---- Database --------------------------------------------------------------------

Database::Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() = default;

namespace {

struct Reuse {
    int depth = 0;
    std::vector<std::shared_ptr<Connection>> connections;
};
thread_local Reuse reuse;

// Whether the file under a connection's name is still the one it opened, in the state
// it had then (its stamp): a stat of the name, and for an SQLite file its header read
// through the connection's own handle (a second handle opened and closed would cost as
// much as opening the file again).
bool unchanged(const Connection& c) {
    const FileStamp& s = c.stamp();
    struct stat st {};
    if (c.isJet()) {
        if (::stat(c.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    } else {
        unsigned char h[100] = {};
        if (!headerOf(c.db(), "main", h, st) || h[18] == 2 || h[19] == 2) return false;
        const std::uint32_t cookie = schemaCookieOf(h);
        if (cookie != s.schemaCookie || dataStateOf(st.st_dev, st.st_ino, mtimeNs(st), h) != s.dataState) return false;
    }
    return st.st_dev == s.device && st.st_ino == s.inode && static_cast<std::uint64_t>(st.st_size) == s.size &&
           mtimeNs(st) == s.mtimeNs;
}

std::shared_ptr<Connection> reusable(const fs::path& p, const fs::path& workDir) {
    for (const auto& c : reuse.connections)
        if (c->path() == p && c->workDir() == workDir && sqlite3_get_autocommit(c->db()) && unchanged(*c)) return c;
    return nullptr;
}

void keepForReuse(const std::shared_ptr<Connection>& c) {
    if (reuse.depth > 0 && c->stamp().known) reuse.connections.push_back(c);
}

}  // namespace

ReusedConnections::ReusedConnections() { ++reuse.depth; }
ReusedConnections::~ReusedConnections() {
    if (--reuse.depth == 0) reuse.connections.clear();
}

Database Database::open(const fs::path& workDir, std::string_view name) {
    const fs::path p = resolveDatabasePath(workDir, name);
    if (reuse.depth > 0)
        if (auto known = reusable(p, workDir)) return Database(std::move(known));
    const FileStamp stamp = checkReadable(p);
    if (isJetKind(stamp.kind)) {
        auto image = jetImage(p);
        sqlite3* db = openJetImage(*image, p.string());
        auto conn = std::make_shared<Connection>(p, workDir, db);
        conn->useJet(std::move(image));
        conn->setStamp(stamp);
        keepForReuse(conn);
        return Database(std::move(conn));
    }
    // URIs on, for the images of Access files it attaches; its own name stays a plain path.
    sqlite3* db = openSqlite(plainPath(p), SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, p.string(),
                             translate("Store", "cannot open"));
    auto conn = std::make_shared<Connection>(p, workDir, db);
    // Reading the schema here reports a damaged file at once, not at the first query.
    // Looking up the schema table reads and parses the whole schema, as preparing a
    // statement would, without compiling one or taking a read transaction of its own
    // (each costs about as much as a month's sum).
    const int schema = sqlite3_table_column_metadata(conn->db(), "main", "sqlite_master", nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr);
    if (schema != SQLITE_OK) conn->fail(schema, "");
    conn->setStamp(stamp);
    keepForReuse(conn);
    return Database(std::move(conn));
}

const fs::path& Database::path() const {
    if (!conn_) throw DbError("", "the database is closed");
    return conn_->path();
}

std::string Database::fileName() const { return conn_ ? conn_->file() : std::string(); }

bool Database::isReadOnlyJet() const { return conn_ && conn_->isJet(); }

void Database::close() { conn_.reset(); }

void Database::executeNative(std::string_view sqliteSql) {
    if (!conn_) throw DbError("", "the database is closed");
    conn_->exec(std::string(sqliteSql));
}

void Database::begin() { executeNative("BEGIN IMMEDIATE"); }
void Database::commit() { executeNative("COMMIT"); }
void Database::rollback() {
    if (conn_ && !sqlite3_get_autocommit(conn_->db())) sqlite3_exec(conn_->db(), "ROLLBACK", nullptr, nullptr, nullptr);
}

std::vector<std::string> Database::tableNames() {
    if (!conn_) throw DbError("", "the database is closed");
    Stmt st(conn_->prepare(kUserTablesSql));
    std::vector<std::string> out;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
        out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    if (rc != SQLITE_DONE) conn_->fail(rc, "");
    return out;
}

// ---- Recordset -------------------------------------------------------------------

struct Recordset::Impl {
    std::shared_ptr<Connection> conn;
    bool isTable = false;
    jet::TableInfo table;            // for a table dynaset
    std::string base;                // SQL of all rows with their position
    bool singleRow = false;          // a query of one sum: no order to keep
    int posColumn = 0;               // where `base` has the position
    int firstValue = 1;              // and the first field
    std::vector<jet::ColumnInfo> columns;
    std::vector<std::string> names;
    std::string query;               // the Jet SQL of a query dynaset
    // What the spellings of `base` and of the last criterion were found on
    // (Connection::spellings); checked once a statement has begun reading.
    std::vector<Connection::DataCheck> baseChecks, criterionChecks;

    // The current row: its position and values; none at eof.
    std::optional<std::int64_t> pos;
    std::vector<Value> values;
    bool noMatch = false;

    // The statement the last move or find read from; stepping it again gives the next
    // row of the same walk as long as the walk stands on the row it returned last.
    Stmt cursor;
    std::string cursorCriterion;     // "" for a plain walk

    // Editing buffer.
    enum class Mode { None, Add, Edit } mode = Mode::None;
    std::vector<std::optional<Value>> pending;

    std::string file() const { return conn->file(); }

    void requireOpen() const {
        if (!conn) throw DbError("", "the recordset is closed");
    }

    std::size_t index(std::string_view name) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (equalsNoCase(names[i], name)) return i;
        throw DbError(file(), withArgs(translate("Store", "field \"%1\" not found"), {std::string(name)}));
    }

    std::string condition(std::string_view criterion) {
        conn->takeDataChecks();
        auto sql = withFile(*conn, [&] {
            auto tree = jet::parseCondition(criterion);
            if (isTable) return jet::emitTableCondition(*tree, table, "r", *conn);
            return jet::emitColumnsCondition(*tree, columns, *conn);
        });
        criterionChecks = conn->takeDataChecks();
        return sql;
    }

    // The query's SQL as rows with their positions (`base`).
    void setQuery(const jet::EmittedQuery& emitted) {
        baseChecks = conn->takeDataChecks();
        columns = emitted.columns;
        singleRow = emitted.singleRow;
        names.clear();
        for (const auto& c : columns) names.push_back(c.name);
        if (emitted.singleRow) {
            // The emitted statement as it is: the query's columns, then the position.
            base = emitted.sql;
            posColumn = static_cast<int>(columns.size());
            firstValue = 0;
        } else {
            // The position column first, then the query's columns.
            std::string cols = "zt_pos";
            for (const auto& c : columns) cols += ", " + jet::quoteIdent(c.name);
            base = "SELECT " + cols + " FROM (" + emitted.sql + ")";
            posColumn = 0;
            firstValue = 1;
        }
    }

    // Whether what the statement just read is the state its spellings were found in;
    // when not (a commit came between), the statement is written again with the
    // spellings found anew, and after repeated changes without them.
    bool readAsWritten(bool withCriterion, int attempt) {
        std::vector<Connection::DataCheck> checks = baseChecks;
        if (withCriterion) checks.insert(checks.end(), criterionChecks.begin(), criterionChecks.end());
        if (checks.empty() || conn->checkData(checks) || attempt > 2) return true;
        releaseCursor();
        if (attempt >= 2) conn->stopSeeks();
        if (!baseChecks.empty()) setQuery(withFile(*conn, [&] { return conn->emit(query, true); }));
        return false;
    }

    // Reads the next row of the cursor into the current row; false when there is none.
    bool step() {
        const int rc = sqlite3_step(cursor.get());
        if (rc == SQLITE_ROW) {
            pos = sqlite3_column_int64(cursor.get(), posColumn);
            values.clear();
            for (int i = 0; i < static_cast<int>(names.size()); ++i)
                values.push_back(columnValue(cursor.get(), firstValue + i));
            return true;
        }
        cursor = Stmt();
        if (rc != SQLITE_DONE) conn->fail(rc, "");
        return false;
    }

    // Starts a walk over the rows meeting `where` (SQLite SQL, may be empty) after
    // position `after`; `criterion` is the criterion as the caller wrote it ("" for a
    // plain walk).
    void startCursor(const std::string& criterion, const std::string& where, std::optional<std::int64_t> after) {
        std::string sql;
        if (isTable) {
            sql = base;
            std::string cond = where;
            if (after) cond = (cond.empty() ? "" : "(" + cond + ") AND ") + "r.rowid > ?1";
            if (!cond.empty()) sql += " WHERE " + cond;
            sql += " ORDER BY r.rowid";
        } else if (singleRow && where.empty() && !after) {
            sql = base;  // the one row as it is: nothing to filter or sort
        } else {
            sql = "SELECT * FROM (" + base + ")";
            std::string cond = where;
            if (after) cond = (cond.empty() ? "" : "(" + cond + ") AND ") + "zt_pos > ?1";
            if (!cond.empty()) sql += " WHERE " + cond;
            if (!singleRow) sql += " ORDER BY zt_pos";
        }
        cursor = Stmt(conn->prepare(sql));
        if (after) sqlite3_bind_int64(cursor.get(), 1, *after);
        cursorCriterion = criterion;
    }

    void releaseCursor() { cursor = Stmt(); }

    void find(std::string_view criterion, bool next) {
        requireOpen();
        const std::string crit(criterion);
        const bool continueWalk = next && cursor && cursorCriterion == crit && pos;
        if (continueWalk) {
            noMatch = !step();
            return;
        }
        // No match leaves the current row where it was: step() changes it only on a row.
        std::optional<std::int64_t> from;
        if (next) from = pos;
        const auto fromPos = pos;
        const auto fromValues = values;
        for (int attempt = 0;; ++attempt) {
            startCursor(crit, condition(criterion), from);
            noMatch = !step();
            if (readAsWritten(true, attempt)) return;
            pos = fromPos;
            values = fromValues;
        }
    }

    void move(bool first) {
        requireOpen();
        if (!first && !pos) return;  // already past the end
        const bool carryOn = !first && cursor && cursorCriterion.empty();
        std::optional<std::int64_t> from;
        if (!first) from = pos;
        for (int attempt = 0;; ++attempt) {
            if (!carryOn) startCursor("", "", from);
            if (!step()) {
                pos.reset();
                values.clear();
            }
            if (carryOn || readAsWritten(false, attempt)) return;
        }
    }
};

Recordset::Recordset(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

Recordset Database::openTable(std::string_view table) {
    if (!conn_) throw DbError("", "the database is closed");
    auto impl = std::make_unique<Recordset::Impl>();
    impl->conn = conn_;
    impl->isTable = true;
    impl->table = withFile(*conn_, [&] { return conn_->table(std::string(table), std::nullopt); });
    impl->columns = impl->table.columns;
    for (const auto& c : impl->columns) impl->names.push_back(c.name);
    std::string cols;
    for (const auto& c : impl->columns) cols += ", r." + jet::quoteIdent(c.name);
    impl->base = "SELECT r.rowid" + cols + " FROM " + jet::quoteIdent(impl->table.schema) + "." +
                 jet::quoteIdent(impl->table.name) + " AS r";
    Recordset rs(std::move(impl));
    rs.impl_->move(true);
    return rs;
}

Recordset Database::openQuery(std::string_view jetSql) {
    if (!conn_) throw DbError("", "the database is closed");
    auto impl = std::make_unique<Recordset::Impl>();
    impl->conn = conn_;
    impl->query = std::string(jetSql);
    impl->setQuery(withFile(*conn_, [&] { return conn_->emit(jetSql); }));
    Recordset rs(std::move(impl));
    rs.impl_->move(true);
    return rs;
}

long Recordset::recordCount() {
    impl_->requireOpen();
    for (int attempt = 0;; ++attempt) {
        Stmt st(impl_->conn->prepare("SELECT count(*) FROM (" + impl_->base + ")"));
        const int rc = sqlite3_step(st.get());
        if (rc != SQLITE_ROW) impl_->conn->fail(rc, "");
        const auto count = static_cast<long>(sqlite3_column_int64(st.get(), 0));
        if (impl_->readAsWritten(false, attempt)) return count;
    }
}

bool Recordset::eof() const { return !impl_->pos.has_value(); }
void Recordset::moveFirst() { impl_->move(true); }
void Recordset::moveNext() { impl_->move(false); }
void Recordset::findFirst(std::string_view criterion) { impl_->find(criterion, false); }
void Recordset::findNext(std::string_view criterion) { impl_->find(criterion, true); }
bool Recordset::noMatch() const { return impl_->noMatch; }

Value Recordset::field(std::string_view name) const {
    impl_->requireOpen();
    const auto i = impl_->index(name);
    if (!impl_->pos) throw DbError(impl_->file(), "no current record to read \"" + std::string(name) + "\" from");
    return impl_->values[i];
}

const std::vector<std::string>& Recordset::fieldNames() const { return impl_->names; }

void Recordset::addNew() {
    impl_->requireOpen();
    if (!impl_->isTable) throw DbError(impl_->file(), "a query cannot be edited");
    if (impl_->conn->isJet()) throw DbError(impl_->file(), translate("Store", kJetReadOnly));
    impl_->mode = Impl::Mode::Add;
    impl_->pending.assign(impl_->names.size(), std::nullopt);
}

void Recordset::edit() {
    impl_->requireOpen();
    if (!impl_->isTable) throw DbError(impl_->file(), "a query cannot be edited");
    if (impl_->conn->isJet()) throw DbError(impl_->file(), translate("Store", kJetReadOnly));
    if (!impl_->pos) throw DbError(impl_->file(), "no current record to edit");
    impl_->mode = Impl::Mode::Edit;
    impl_->pending.assign(impl_->names.size(), std::nullopt);
}

void Recordset::setField(std::string_view name, Value v) {
    impl_->requireOpen();
    if (impl_->mode == Impl::Mode::None) throw DbError(impl_->file(), "set a field only after add or edit");
    impl_->pending[impl_->index(name)] = std::move(v);
}

void Recordset::update() {
    auto& m = *impl_;
    m.requireOpen();
    if (m.mode == Impl::Mode::None) throw DbError(m.file(), "update without add or edit");
    // A pending read would hold the file; the walk restarts from the current row.
    m.releaseCursor();
    std::vector<std::size_t> set;
    for (std::size_t i = 0; i < m.pending.size(); ++i)
        if (m.pending[i]) set.push_back(i);
    const std::string table = jet::quoteIdent(m.table.schema) + "." + jet::quoteIdent(m.table.name);
    std::string sql;
    if (m.mode == Impl::Mode::Add) {
        if (set.empty()) {
            sql = "INSERT INTO " + table + " DEFAULT VALUES";
        } else {
            std::string cols, params;
            for (std::size_t k = 0; k < set.size(); ++k) {
                cols += (k ? ", " : "") + jet::quoteIdent(m.names[set[k]]);
                params += (k ? ", ?" : "?") + std::to_string(k + 1);
            }
            sql = "INSERT INTO " + table + " (" + cols + ") VALUES (" + params + ")";
        }
    } else {
        if (set.empty()) {
            m.mode = Impl::Mode::None;
            return;
        }
        std::string assigns;
        for (std::size_t k = 0; k < set.size(); ++k)
            assigns += (k ? ", " : "") + jet::quoteIdent(m.names[set[k]]) + " = ?" + std::to_string(k + 1);
        sql = "UPDATE " + table + " SET " + assigns + " WHERE rowid = ?" + std::to_string(set.size() + 1);
    }
    Stmt st(m.conn->prepare(sql));
    for (std::size_t k = 0; k < set.size(); ++k) bindValue(st.get(), static_cast<int>(k + 1), *m.pending[set[k]]);
    if (m.mode == Impl::Mode::Edit) sqlite3_bind_int64(st.get(), static_cast<int>(set.size() + 1), *m.pos);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE) m.conn->fail(rc, withArgs(translate("Store", "cannot save the record in table \"%1\""), {m.table.name}));
    if (m.mode == Impl::Mode::Edit) {
        for (auto i : set) m.values[i] = *m.pending[i];
    }
    m.mode = Impl::Mode::None;
    m.pending.clear();
}

void Recordset::close() {
    if (!impl_) return;
    impl_->releaseCursor();
    impl_->conn.reset();
}

}  // namespace zt::store
