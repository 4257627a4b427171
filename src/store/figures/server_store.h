#pragma once
// The figure tables on the figure server: the connections kept to it, and Jet SQL
// queries run there (the back end of figure_store.h over libpq, server_store.cpp).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/dialect/jet_emit.h"
#include "store/figures/figure_store.h"
#include "store/postgres/pg_connection.h"
#include "store/value.h"

namespace zt::store {

// A connection to the figure server named by `conninfo`, held for one operation (a grid
// load's twelve sums, a write, a password check): one the process kept from an earlier
// operation when one is free, else a new one. When the lease ends the connection is kept
// for the next operations, unless it was lost (the next one connects again). A
// connection serves one lease at a time, so threads that read the figures at once (the
// web server's) each have their own; the window, one operation at a time, keeps one.
class ServerConnection {
public:
    explicit ServerConnection(const std::string& conninfo);
    ServerConnection(ServerConnection&&) noexcept;
    ServerConnection& operator=(ServerConnection&&) = delete;
    ServerConnection(const ServerConnection&) = delete;
    ~ServerConnection();
    PgConnection& operator*() const { return *connection_; }
    PgConnection* operator->() const { return connection_.get(); }

private:
    std::string conninfo_;
    std::unique_ptr<PgConnection> connection_;
};
inline ServerConnection figureServerConnection(const std::string& conninfo) { return ServerConnection(conninfo); }

// The rows of a Jet SQL query on the server: its columns and their values, rows in the
// query's order. The query is parsed and written for PostgreSQL (jet::Dialect::Postgres)
// with its values bound; texts, numbers and sums as over the figure files.
struct ServerRows {
    std::vector<jet::ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
};
ServerRows queryServer(PgConnection& c, std::string_view jetSql);

}  // namespace zt::store
