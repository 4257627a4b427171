#pragma once
// The SQL functions and the collation that the SQL written for SQLite calls (the
// emitter's SQLite dialect, dialect/jet_emit.h): Jet's conversions of text to number
// (`zt_num`, `zt_val`), `Right$` and `Instr` counting characters, and Jet's text rule
// (`zt_fold`, the collation `zt_jet`, dialect/jet_text.h). Registered on every connection
// the store opens, so SQLite files and Access images compare alike.
struct sqlite3;

namespace zt::store {

void registerDialectFunctions(sqlite3* db);

}  // namespace zt::store
