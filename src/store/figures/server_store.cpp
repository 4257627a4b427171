// The figure tables on the figure server: the back end of figure_store.h over libpq.
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "common/text.h"
#include "common/translate.h"
#include "store/figures/server_store.h"
#include "store/query_cache.h"
#include "store/postgres/server_admin.h"
#include "store/dialect/jet_sql.h"

namespace zt::store {

namespace {

// ---- The server's tables as the emitter needs them ------------------------------------

jet::Type pgType(const std::string& formatted) {
    static const char* const numbers[] = {"integer", "bigint", "smallint", "numeric", "double precision", "real"};
    for (const char* n : numbers)
        if (formatted.rfind(n, 0) == 0) return jet::Type::Number;
    if (formatted == "text" || formatted.rfind("character", 0) == 0) return jet::Type::Text;
    return jet::Type::Unknown;
}

// The tables' fields are read from the catalogue once per server and table: each grid
// load runs twelve sums, and a catalogue query costs as much as one of them. A statement
// that fails forgets them (a table changed by `figures init` is read again).
std::mutex& tablesMutex() {
    static std::mutex m;
    return m;
}
std::map<std::string, jet::TableInfo>& knownTables() {
    static std::map<std::string, jet::TableInfo> tables;
    return tables;
}

QueryCache<jet::EmittedQuery>& emittedQueries();

void forgetTables(const std::string& server) {
    std::lock_guard lock(tablesMutex());
    auto& tables = knownTables();
    for (auto it = tables.lower_bound(server + "\n"); it != tables.end() && it->first.rfind(server + "\n", 0) == 0;)
        it = tables.erase(it);
    emittedQueries().forget(server + "\n");
}

class ServerSchema : public jet::SchemaSource {
public:
    explicit ServerSchema(PgConnection& c) : c_(c) {}

    jet::TableInfo table(const std::string& name, const std::optional<std::string>& inFile) override {
        if (inFile)
            throw jet::ResolveError("\"In '" + *inFile + "'\" names a file: the figure server holds only the figure tables");
        const std::string key = c_.server() + "\n" + upperAscii(name);
        {
            std::lock_guard lock(tablesMutex());
            if (auto it = knownTables().find(key); it != knownTables().end()) return it->second;
        }
        // The table of the connection's schema whose name matches without regard to case
        // (the one spelled exactly, when there are several), and its fields in order.
        const PgResult r = c_.exec(
            "SELECT c.relname, a.attname, format_type(a.atttypid, NULL) FROM pg_class c "
            "JOIN pg_attribute a ON a.attrelid = c.oid "
            "WHERE c.relnamespace = (SELECT oid FROM pg_namespace WHERE nspname = current_schema()) "
            "AND c.relkind IN ('r', 'v', 'm', 'p', 'f') AND lower(c.relname) = lower($1) "
            "AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY c.relname = $1 DESC, c.relname, a.attnum",
            {name});
        if (r.rows() == 0)
            throw jet::ResolveError(withArgs(translate("Server", "table \"%1\" not found on the figure server: create "
                                                                 "the figure tables with \"zentoria figures init\""),
                                             {name}));
        jet::TableInfo info;
        info.name = r.text(0, 0);
        for (int i = 0; i < r.rows() && r.text(i, 0) == info.name; ++i)
            info.columns.push_back({r.text(i, 1), pgType(r.text(i, 2))});
        std::lock_guard lock(tablesMutex());
        knownTables()[key] = info;
        return info;
    }

private:
    PgConnection& c_;
};

// ---- The kept connections -------------------------------------------------------------

// Connections free for the next lease, by connection string. At most kKeptPerServer are
// kept: more are opened only while that many leases are held at once, and closed after.
constexpr std::size_t kKeptPerServer = 4;

struct KeptConnections {
    std::mutex mutex;
    std::map<std::string, std::vector<std::unique_ptr<PgConnection>>> free;
};

KeptConnections& kept() {
    static KeptConnections k;
    return k;
}

void dropKeptConnections(const std::string& conninfo) {
    KeptConnections& k = kept();
    std::lock_guard lock(k.mutex);
    k.free.erase(conninfo);
}

// The statement that adds a month's row of `Zentoria`, or replaces the one of its key
// (whatever the case of its codes, as the file's writer finds it; the codes are then
// written as given): one statement, so two workstations writing the same month at once
// leave one row, holding one of the two writes whole.
const std::string& upsertSql() {
    static const std::string sql = [] {
        const auto fields = fieldsOf(kSummaryTable);  // the hotel first, then what a write replaces
        std::string names, set;
        for (const auto& f : fields) {
            names += (names.empty() ? "" : ", ") + pgIdent(f);
            if (f != field::kHotel) set += (set.empty() ? "" : ", ") + pgIdent(f) + " = EXCLUDED." + pgIdent(f);
        }
        return "INSERT INTO " + pgIdent(kSummaryTable.table) + " (" + names +
               ") VALUES ($1, $2, $3, $4, $5) ON CONFLICT (" + zentoriaKey() + ") DO UPDATE SET " + set;
    }();
    return sql;
}

class ServerFigureStore : public FigureStore {
public:
    explicit ServerFigureStore(std::string conninfo) : conninfo_(std::move(conninfo)) {}

    std::vector<FigureRow> rows(std::string_view table, std::string_view periodField, const std::string& criterion,
                                bool firstOnly) override {
        const std::string jet = "Select " + std::string(firstOnly ? "Top 1 " : "") + std::string(periodField) +
                                ", Valore From " + std::string(table) + " Where " + criterion;
        return onServer([&](PgConnection& c) {
            std::vector<FigureRow> rows;
            for (auto& row : queryServer(c, jet).rows) rows.push_back({row.at(0).toText(), std::move(row.at(1))});
            return rows;
        });
    }

    std::optional<double> sum(const std::string& jetQuery) override {
        return onServer([&](PgConnection& c) -> std::optional<double> {
            const ServerRows r = queryServer(c, jetQuery);
            if (r.rows.empty() || r.rows[0].empty() || r.rows[0][0].isNull()) return std::nullopt;
            return r.rows[0][0].toDouble();
        });
    }

    std::vector<std::vector<Value>> groupedSums(const std::string& jetQuery) override {
        return onServer([&](PgConnection& c) { return queryServer(c, jetQuery).rows; });
    }

    void writeMonths(std::int64_t hotel, std::string_view tipo, std::string_view detail,
                     const std::vector<MonthValue>& months,
                     const std::function<void(std::size_t index)>& beforeMonth) override {
        onServer([&](PgConnection& c) {
            auto write = [&] {
                for (std::size_t i = 0; i < months.size(); ++i) {
                    if (beforeMonth) beforeMonth(i);
                    c.execPrepared(upsertSql(), {PgParam(hotel), PgParam(std::string(tipo)), PgParam(std::string(detail)),
                                         PgParam(months[i].annoMese), PgParam::of(months[i].valore)});
                }
            };
            if (months.size() == 1)
                write();  // one statement is a transaction of its own
            else
                c.transaction(write);
            return 0;
        });
    }

private:
    // Runs an operation over a connection of the server. When it is found lost (the server
    // restarted since the last operation), the other kept ones are dropped too, as they
    // went with it, and the operation runs once more on a new connection: every
    // operation here reads, or writes whole rows by their key, so running it again gives
    // the same rows. Any other failure, or a second loss, is reported.
    template <class Fn>
    auto onServer(Fn&& fn) -> decltype(fn(std::declval<PgConnection&>())) {
        for (int attempt = 0;; ++attempt) {
            ServerConnection c(conninfo_);
            try {
                return fn(*c);
            } catch (const DbError&) {
                forgetTables(c->server());
                if (!c->lost() || c->timedOut() || attempt > 0) throw;
                dropKeptConnections(conninfo_);  // this one the lease drops
            }
        }
    }

    std::string conninfo_;
};

}  // namespace

ServerConnection::ServerConnection(const std::string& conninfo) : conninfo_(conninfo) {
    {
        KeptConnections& k = kept();
        std::lock_guard lock(k.mutex);
        auto& free = k.free[conninfo];
        while (!free.empty() && !connection_) {
            connection_ = std::move(free.back());
            free.pop_back();
            if (connection_->lost()) connection_.reset();
        }
    }
    if (!connection_) connection_ = std::make_unique<PgConnection>(PgConnection::open(conninfo));
}

ServerConnection::ServerConnection(ServerConnection&& other) noexcept
    : conninfo_(std::move(other.conninfo_)), connection_(std::move(other.connection_)) {}

ServerConnection::~ServerConnection() {
    if (!connection_ || connection_->lost()) return;
    KeptConnections& k = kept();
    std::lock_guard lock(k.mutex);
    std::erase_if(k.free, [&](const auto& e) { return e.first != conninfo_; });  // the setting changed
    auto& free = k.free[conninfo_];
    if (free.size() < kKeptPerServer) free.push_back(std::move(connection_));
}

namespace {

// What a query's text becomes depends only on the text and the server's tables, so it is
// written once per server and text and kept (at most 256), as the file layer keeps its
// own; a failed statement forgets the server's (with its tables).
QueryCache<jet::EmittedQuery>& emittedQueries() {
    static QueryCache<jet::EmittedQuery> queries;
    return queries;
}

jet::EmittedQuery emitForServer(PgConnection& c, std::string_view jetSql) {
    const std::string key = c.server() + "\n" + std::string(jetSql);
    if (auto known = emittedQueries().find(key)) return *known;
    jet::EmittedQuery emitted = jet::dialectErrorsAs([&](const std::string& message) { return c.error(message); }, [&] {
        ServerSchema schema(c);
        return jet::emitQuery(*jet::parseQuery(jetSql), schema, jet::Dialect::Postgres);
    });
    emittedQueries().put(key, emitted);
    return emitted;
}

}  // namespace

ServerRows queryServer(PgConnection& c, std::string_view jetSql) {
    const jet::EmittedQuery emitted = emitForServer(c, jetSql);
    std::vector<PgParam> params(emitted.params.begin(), emitted.params.end());
    PgResult r;
    try {
        r = c.execPrepared(emitted.sql, params);
    } catch (const DbError&) {
        forgetTables(c.server());
        throw;
    }
    ServerRows out;
    out.columns = emitted.columns;
    const int width = static_cast<int>(out.columns.size());
    out.rows.reserve(static_cast<std::size_t>(r.rows()));
    for (int i = 0; i < r.rows(); ++i) {
        std::vector<Value> row;
        row.reserve(out.columns.size());
        for (int k = 0; k < width; ++k) row.push_back(r.value(i, k));
        out.rows.push_back(std::move(row));
    }
    return out;
}

std::unique_ptr<FigureStore> serverFigureStore(const std::string& conninfo) {
    return std::make_unique<ServerFigureStore>(conninfo);
}

}  // namespace zt::store
