#pragma once
// A PostgreSQL server of the tests' own: `initdb` into a temporary folder, listening only
// on a Unix socket in that folder (no TCP port), stopped and removed at the end.
//
// PostgreSQL refuses to run as root; when the tests run as root (CI), initdb and the
// server run as the user `nobody`, who owns the folder. The server is started with a
// parent-death signal, so it goes down with the test program even when that is killed.
// The server binaries are looked for in ZENTORIA_PG_BINDIR, else in the newest
// /usr/lib/postgresql/<version>/bin. Plain C++ and libpq: a benchmark can use it too.
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace zt::test {

class PgServer {
public:
    PgServer();  // initdb and start; std::runtime_error with the server's log on failure
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    // The one server of this test program: started at its first use, stopped by
    // stopShared() (tests/figserver registers a GoogleTest environment that calls it).
    static PgServer& shared();
    static void stopShared();

    // Stops the server (fast shutdown: every connection is ended) and waits for it.
    void stop();
    // Starts it again on the same data.
    void start();
    bool running() const { return pid_ > 0; }

    const std::filesystem::path& socketDir() const { return dir_; }
    // A connection string to the database `db` of this server.
    std::string conninfo(const std::string& db) const;
    // Creates a new empty database and returns its connection string.
    std::string createDatabase(const std::string& db);
    // Runs SQL on the database; throws std::runtime_error with the server's message.
    void exec(const std::string& db, const std::string& sql) const;
    // Runs a query and returns its rows, the columns of a row joined by "," and the rows
    // by "|" ("NULL" for a null).
    std::string query(const std::string& db, const std::string& sql) const;

private:
    std::filesystem::path dir_;
    std::filesystem::path bin_;
    uid_t uid_ = 0;  // the user the server runs as
    gid_t gid_ = 0;
    bool switchUser_ = false;
    pid_t pid_ = -1;
};

}  // namespace zt::test
