#pragma once
// A connection to the PostgreSQL server that can hold the two figure tables (libpq).
//
// The server is named by a libpq connection string ("host=figures.local dbname=zentoria
// user=reception sslmode=require") or URI ("postgresql://reception@figures.local/zentoria"),
// kept in the environment variable ZENTORIA_FIGURES_DB. Passwords come from libpq's own
// means (~/.pgpass, PGPASSWORD); one written into the string works too, but no message of
// this layer ever shows it: the server is named as "host[:port]/dbname" (a Unix socket as
// "socket DIR[:port]/dbname"), and a connection string libpq cannot read is shown
// without its password.
//
// Values always travel as bound parameters, in text form: a Currency as its exact decimal
// text, a double as the shortest text that reads back to the same double. Every failure is
// a DbError whose file part is "PostgreSQL server <name>".
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/currency.h"
#include "common/env.h"
#include "store/sqlite/database.h"
#include "store/value.h"

struct pg_conn;    // libpq's PGconn
struct pg_result;  // libpq's PGresult

namespace zt::store {

// The connection string for a message: written again from the keywords libpq reads in
// it (a URI's too), all but the password. A string libpq cannot read is not shown. libpq's
// own messages are never searched and replaced for a password: they hold none unless
// the program puts one there (a string libpq cannot read, which it quotes, is the one
// case: that message is then not shown).
std::string conninfoWithoutPassword(std::string_view conninfo);

// ---- time limits -------------------------------------------------------------------
//
// Every statement has a time limit: past it the statement is cancelled (PQcancel) and
// reported naming the server; its transaction is rolled back (a server that does not
// answer the cancel within a few seconds has its connection closed, which rolls it back
// as well). Reads get kDefaultReadLimitSeconds; pushing, pulling and recomputing, while
// a ServerLongWork lives, kDefaultLongLimitSeconds. Both are set in the connection
// string's options, "options='-c zentoria.read_timeout=30 -c zentoria.write_timeout=300'"
// (seconds; "ms", "s", "min" units too; the server takes them as placeholder settings
// and ignores them), or by setStatementLimits (the settings file's figuresReadTimeout
// and figuresWriteTimeout); the connection string wins.
inline constexpr double kDefaultReadLimitSeconds = 30;
inline constexpr double kDefaultLongLimitSeconds = 300;
void setStatementLimits(double readSeconds, double longSeconds);

struct StatementLimits {
    double readSeconds = kDefaultReadLimitSeconds;
    double longSeconds = kDefaultLongLimitSeconds;
};
// The limits a connection string gives (the defaults set by setStatementLimits for
// what it does not say).
StatementLimits statementLimitsOf(std::string_view conninfo);

// Called about every 100 ms while a statement waits for the server, with the seconds
// waited so far and done = false, and once with done = true when the wait ends (however
// it ends). Returning false cancels the statement ("Annulla"): it is reported as
// cancelled by the user, and nothing of its transaction is kept. The window shows its
// progress dialog through it; "" (an empty function) when nothing is to be called.
using ServerWaitHook = std::function<bool(double waitedSeconds, bool done)>;
// Sets the hook and returns the one set before.
ServerWaitHook setServerWaitHook(ServerWaitHook hook);

// While one lives (on any thread), statements get the long limit: push, pull, recompute.
class ServerLongWork {
public:
    ServerLongWork();
    ~ServerLongWork();
    ServerLongWork(const ServerLongWork&) = delete;
    ServerLongWork& operator=(const ServerLongWork&) = delete;
};

// A SQL identifier in double quotes, so that the mixed-case names of the figure tables
// ("NumeroHotel") keep their case.
std::string pgIdent(std::string_view name);

// One bound parameter: null, text, a whole number, a double or a Currency.
class PgParam {
public:
    PgParam() = default;  // null
    PgParam(std::nullptr_t) {}
    PgParam(const char* text) : text_(text) {}
    PgParam(std::string text) : text_(std::move(text)) {}
    PgParam(std::int64_t v) : text_(std::to_string(v)) {}
    PgParam(int v) : text_(std::to_string(v)) {}
    PgParam(double v);
    PgParam(Currency c) : text_(c.toString()) {}
    // A value of the database layer, in the form its kind asks for (null stays null).
    static PgParam of(const Value& v);

    bool isNull() const { return !text_.has_value(); }
    const std::string& text() const { return *text_; }

private:
    std::optional<std::string> text_;
};

// The rows a statement returned.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* r);
    PgResult(PgResult&&) noexcept;
    PgResult& operator=(PgResult&&) noexcept;
    ~PgResult();

    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    std::string text(int row, int column) const;  // "" for a null
    // By the column's type: whole numbers as integers, float and numeric as a double,
    // everything else as text; a null as null. A number beyond the range of a double
    // (a sum of 1e308 and 1e308), infinite or NaN is a DbError naming the server and
    // the column: never 0.
    Value value(int row, int column) const;
    // Names where the rows came from, for the errors of value().
    void setOrigin(std::string origin) { origin_ = std::move(origin); }
    // A numeric value exactly, when it has at most four decimals and fits; nullopt otherwise.
    std::optional<Currency> currency(int row, int column) const;
    // Rows changed by an INSERT, UPDATE or DELETE.
    long long affected() const;
    // The command the server says it ran ("COMMIT", or "ROLLBACK" for a COMMIT of a
    // transaction that had failed).
    std::string command() const;

private:
    pg_result* r_ = nullptr;
    std::string origin_ = "PostgreSQL server";
};

class PgConnection {
public:
    // Connects. A string libpq cannot read, a server that does not answer or refuses
    // the login is a DbError naming the server (never the password).
    static PgConnection open(std::string_view conninfo);

    PgConnection(PgConnection&&) noexcept;
    PgConnection& operator=(PgConnection&&) noexcept;
    ~PgConnection();

    // "host[:port]/dbname" or "socket DIR[:port]/dbname", for messages.
    const std::string& server() const { return server_; }
    bool isOpen() const { return conn_ != nullptr; }
    // Whether the connection to the server was lost (a new one is needed).
    bool lost() const;
    // Whether the last failure was a statement past its limit (then it is not run again).
    bool timedOut() const { return timedOut_; }
    const StatementLimits& limits() const { return limits_; }

    // One statement with its parameters ($1, $2, ...), bound. A failure is a DbError;
    // a connection that is lost says so.
    PgResult exec(std::string_view sql, const std::vector<PgParam>& params = {});
    // The same for a statement the program runs again and again with other values (a
    // month's sum): prepared on this connection at its first use, then only executed,
    // so the server parses and plans it once.
    PgResult execPrepared(const std::string& sql, const std::vector<PgParam>& params);
    // Several statements of the program's own (schema), without parameters.
    void execScript(std::string_view sql);
    // Copies rows into a table with COPY ... FROM STDIN; the values travel as data.
    // `next` fills the next row and returns true, or returns false at the end; the rows
    // stream to the server, so any number of them takes little memory.
    void copyRows(std::string_view table, const std::vector<std::string>& columns,
                  const std::function<bool(std::vector<PgParam>& row)>& next);
    void copyRows(std::string_view table, const std::vector<std::string>& columns,
                  const std::vector<std::vector<PgParam>>& rows);
    // Runs fn inside one transaction: everything it writes, or nothing. A transaction
    // the server gave up (a failed statement whose error fn caught) is a DbError too.
    template <class Fn> void transaction(Fn&& fn);

    void close();

    // The DbError of this server with a message (its file part names the server).
    DbError error(const std::string& message) const;

private:
    PgConnection(pg_conn* conn, std::string conninfo, std::string server);
    // The DbError for libpq's last failure on this connection, with `what` before it.
    DbError failure(const std::string& what, pg_result* r = nullptr) const;
    // The result of a statement, or its DbError (the result freed).
    PgResult checked(pg_result* r) const;
    void rollbackQuietly() noexcept;
    // Waits for the results of the statement sent, within the limit (seconds); the last
    // result, or the first that failed, or the one that starts a COPY. Past the limit the
    // statement is cancelled and a DbError thrown.
    pg_result* awaitResult(double limitSeconds);
    double currentLimit() const;
    // Cancels the running statement; closes the connection when the server does not
    // answer the cancel.
    void cancelRunning();
    [[noreturn]] void throwTimedOut(double limitSeconds);
    [[noreturn]] void throwCancelledByUser();
    // Sends what libpq holds, within the deadline (non-blocking mode, for COPY).
    bool flushWithin(double deadline);

    pg_conn* conn_ = nullptr;
    StatementLimits limits_;
    bool timedOut_ = false;
    std::string conninfo_;  // kept only to clean libpq's messages of its password
    std::string server_;
    std::map<std::string, std::string> prepared_;  // statement -> its name on the server
};

template <class Fn>
void PgConnection::transaction(Fn&& fn) {
    exec("BEGIN");
    try {
        fn();
    } catch (...) {
        rollbackQuietly();
        throw;
    }
    if (exec("COMMIT").command() != "COMMIT")
        throw error("a statement of the transaction failed, so the server rolled it back; nothing of it was kept");
}

}  // namespace zt::store
