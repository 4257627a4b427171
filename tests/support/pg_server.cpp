#include "support/pg_server.h"

#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace zt::test {

namespace {

constexpr const char* kUser = "zentoria";

fs::path serverBinaries() {
    if (const char* env = std::getenv("ZENTORIA_PG_BINDIR"); env && *env) return env;
    fs::path best;
    int bestVersion = -1;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::string name = entry.path().filename().string();
        const int version = std::atoi(name.c_str());
        if (version > bestVersion && fs::exists(entry.path() / "bin" / "postgres")) {
            bestVersion = version;
            best = entry.path() / "bin";
        }
    }
    if (best.empty())
        throw std::runtime_error("no PostgreSQL server found in /usr/lib/postgresql (scripts/setup.sh installs it)");
    return best;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Forks a child that becomes the server's user, dies with this process, writes its
// output to `log` and runs the program.
pid_t spawn(const std::vector<std::string>& argv, const fs::path& cwd, const fs::path& log, bool switchUser,
            uid_t uid, gid_t gid, int deathSignal) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid > 0) return pid;
    // Child: only async-signal-safe calls until exec.
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
    }
    const int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    if (switchUser && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(126);
    // After the change of user: a change of user clears the parent-death signal.
    prctl(PR_SET_PDEATHSIG, deathSignal);
    if (getppid() != parent) _exit(125);
    if (chdir(cwd.c_str()) != 0) _exit(124);
    execv(args[0], args.data());
    _exit(127);
}

int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// A watchdog process that removes the folder once this process is gone (killed,
// crashed) and the server with it; in a normal end the destructor has removed it
// already. It is a shell reading a pipe whose write end only this process holds: the
// end of the pipe is the end of this process. (Only exec after fork: this process may
// have threads.)
void watchFolder(const fs::path& dir) {
    const std::string script =
        "cat >/dev/null; i=0; while [ -e \"$1/data/postmaster.pid\" ] && [ $i -lt 600 ]; do sleep 0.1; "
        "i=$((i+1)); done; rm -rf \"$1\"";
    const std::string self = dir.string();
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), "sh", self.c_str(), nullptr};
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (pid == 0) {
        dup2(fds[0], 0);
        for (int fd = 3; fd < 1024; ++fd) close(fd);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        setsid();  // not in the test program's process group: a Ctrl-C there leaves it to clean up
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    close(fds[0]);  // the write end stays open, unused, until this process ends
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
}

PgServer* sharedServer = nullptr;

struct PqDeleter {
    void operator()(PGconn* c) const { PQfinish(c); }
    void operator()(PGresult* r) const { PQclear(r); }
};

}  // namespace

PgServer::PgServer() : bin_(serverBinaries()) {
    std::string tmpl = "/tmp/zentoria-pg-XXXXXX";  // short: a socket path holds 107 bytes
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    dir_ = tmpl;
    if (geteuid() == 0) {
        const passwd* pw = getpwnam("nobody");
        if (!pw) throw std::runtime_error("running as root, and there is no user nobody to run PostgreSQL");
        uid_ = pw->pw_uid;
        gid_ = pw->pw_gid;
        switchUser_ = true;
        if (chown(dir_.c_str(), uid_, gid_) != 0) throw std::runtime_error("cannot give the folder to nobody");
    }
    watchFolder(dir_);
    const pid_t init = spawn({(bin_ / "initdb").string(), "-D", (dir_ / "data").string(), "-U", kUser, "-A", "trust",
                              "-E", "UTF8", "--locale=C", "--no-sync", "--no-instructions"},
                             dir_, dir_ / "initdb.log", switchUser_, uid_, gid_, SIGKILL);
    const int status = waitFor(init);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("initdb failed:\n" + readFile(dir_ / "initdb.log"));
    start();
}

PgServer::~PgServer() {
    try {
        stop();
    } catch (...) {
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

PgServer& PgServer::shared() {
    if (!sharedServer) sharedServer = new PgServer();
    return *sharedServer;
}

void PgServer::stopShared() {
    delete sharedServer;
    sharedServer = nullptr;
}

void PgServer::start() {
    if (pid_ > 0) return;
    // SIGQUIT on the death of the test program: immediate shutdown, children included.
    pid_ = spawn({(bin_ / "postgres").string(), "-D", (dir_ / "data").string(), "-k", dir_.string(), "-c",
                  "listen_addresses=", "-c", "fsync=off", "-c", "synchronous_commit=off", "-c",
                  "full_page_writes=off", "-c", "max_connections=40", "-c", "shared_buffers=16MB"},
                 dir_, dir_ / "server.log", switchUser_, uid_, gid_, SIGQUIT);
    // Wait until it answers; a server that stops instead is reported with its log.
    const std::string ping = conninfo("postgres");
    for (int attempt = 0;; ++attempt) {
        if (PQping(ping.c_str()) == PQPING_OK) return;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the PostgreSQL server did not start:\n" + readFile(dir_ / "server.log"));
        }
        if (attempt > 6000) {  // ten minutes: a server that hangs, not a slow machine
            stop();
            throw std::runtime_error("the PostgreSQL server does not answer:\n" + readFile(dir_ / "server.log"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void PgServer::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGINT);  // fast shutdown
    waitFor(pid_);
    pid_ = -1;
}

std::string PgServer::conninfo(const std::string& db) const {
    return "host=" + dir_.string() + " port=5432 user=" + kUser + " dbname=" + db;
}

std::string PgServer::createDatabase(const std::string& db) {
    exec("postgres", "CREATE DATABASE \"" + db + "\"");
    return conninfo(db);
}

void PgServer::exec(const std::string& db, const std::string& sql) const { query(db, sql); }

std::string PgServer::query(const std::string& db, const std::string& sql) const {
    std::unique_ptr<PGconn, PqDeleter> conn(PQconnectdb(conninfo(db).c_str()));
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw std::runtime_error(std::string("cannot connect to the test server: ") + PQerrorMessage(conn.get()));
    std::unique_ptr<PGresult, PqDeleter> r(PQexec(conn.get(), sql.c_str()));
    const auto status = PQresultStatus(r.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error("SQL failed on the test server: " + std::string(PQresultErrorMessage(r.get())));
    std::string out;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        if (row) out += "|";
        for (int col = 0; col < PQnfields(r.get()); ++col) {
            if (col) out += ",";
            out += PQgetisnull(r.get(), row, col) ? "NULL" : PQgetvalue(r.get(), row, col);
        }
    }
    return out;
}

}  // namespace zt::test
