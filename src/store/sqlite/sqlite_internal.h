#pragma once
// Owners of SQLite handles and the opening of a connection, shared by the files of the
// store that speak to SQLite directly.
#include <sqlite3.h>

#include <string>
#include <utility>

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
inline sqlite3* openSqlite(const std::string& path, int flags, const std::string& file, const std::string& what) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK) return db;
    const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    throw DbError(file, what + ": " + msg);
}

}  // namespace zt::store
