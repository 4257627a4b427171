#pragma once
// The figure tables on the figure server: the process's one kept connection, and Jet SQL
// queries run there (the back end of figure_store.h over libpq, server_store.cpp).
#include <string>
#include <string_view>
#include <vector>

#include "store/dialect/jet_emit.h"
#include "store/figures/figure_store.h"
#include "store/postgres/pg_connection.h"
#include "store/value.h"

namespace zt::store {

// The process's connection to the figure server named by `conninfo`: opened at the first
// use and kept for the next operations (a window's grid load is twelve sums), opened
// again when the setting changes or after the connection was lost.
PgConnection& figureServerConnection(const std::string& conninfo);
// After a failure: drops the kept connection when the server was lost, so the next
// operation connects again.
void forgetLostFigureServer();

// The rows of a Jet SQL query on the server: its columns and their values, rows in the
// query's order. The query is parsed and written for PostgreSQL (jet::Dialect::Postgres)
// with its values bound; texts, numbers and sums as over the figure files.
struct ServerRows {
    std::vector<jet::ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
};
ServerRows queryServer(PgConnection& c, std::string_view jetSql);

}  // namespace zt::store
