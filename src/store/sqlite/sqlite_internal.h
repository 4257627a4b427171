#pragma once
// Owners of SQLite handles and the opening of a connection, shared by the files of the
// store that speak to SQLite directly.
#include <sqlite3.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "common/translate.h"
#include "store/db_error.h"

namespace zt::store {

// A prepared statement, finalized when it goes.
class Stmt {
public:
    explicit Stmt(sqlite3_stmt* s = nullptr) : s_(s) {}
    Stmt(Stmt&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    Stmt& operator=(Stmt&& o) noexcept {
        if (this != &o) {
            sqlite3_finalize(s_);
            s_ = std::exchange(o.s_, nullptr);
        }
        return *this;
    }
    ~Stmt() { sqlite3_finalize(s_); }
    sqlite3_stmt* get() const { return s_; }
    explicit operator bool() const { return s_ != nullptr; }

private:
    sqlite3_stmt* s_;
};

// The names of a database's own tables (not SQLite's), in the order they were made.
inline constexpr const char* kUserTablesSql =
    "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid";

// Opens the database at `path` with `flags`. When SQLite cannot, what it left is closed
// and the DbError names `file`: "<what>: <the engine's message>".
// A path longer than the engine takes (512 bytes, with the folders it names and the
// journal's "-journal") is refused with that reason, not with the engine's "unable to
// open database file".
inline sqlite3* openSqlite(const std::string& path, int flags, const std::string& file, const std::string& what) {
    if (path != ":memory:" && !path.empty()) {
        const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        std::string full = path;
        if (path[0] != '/') {
            char cwd[4096];
            if (::getcwd(cwd, sizeof cwd) != nullptr) full = std::string(cwd) + "/" + path;
        }
        const std::size_t limit = vfs ? static_cast<std::size_t>(vfs->mxPathname) : 512;
        if (full.size() + sizeof "-journal" > limit)
            throw DbError(file, what + ": " +
                                    withArgs(translate("Store", "the file's full path is %1 characters long, and the "
                                                                "database engine (SQLite) takes paths of at most %2: "
                                                                "move the working folder to a shorter path"),
                                             {std::to_string(full.size()), std::to_string(limit - sizeof "-journal")}));
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK) return db;
    const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    throw DbError(file, what + ": " + msg);
}

}  // namespace zt::store
