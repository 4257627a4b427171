#pragma once
// Turns a parsed Jet SQL tree into SQLite SQL, or PostgreSQL SQL for the figure server,
// with Jet's semantics:
// - a text compared with a number compares as numbers (a text that is not a number
//   matches nothing);
// - Left$, Mid$, Right$, Instr, Val, Trim$, Len, UCase$, LCase$, Nz, IIf, CStr, CDbl;
// - "Table In 'other.mdb'" reads that file of the working folder;
// - "Left$(Field,6) = '201403'" is written as a range over the field, so that an
//   index on the field serves it;
// - texts compare, sort and group without regard to case (store/jet_text.h), and an
//   equality of an indexed text field with a text still seeks the index.
// Every table and field is looked up in the file's schema first, so a missing one is
// an error that names it.
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "store/dialect/jet_sql.h"

namespace zt::store::jet {

// Static type of a value, from the declared type of a column (its SQLite affinity)
// or from the operation that makes it.
enum class Type { Unknown, Text, Number };

struct ColumnInfo {
    std::string name;
    Type type = Type::Unknown;
};

struct TableInfo {
    std::string schema;   // SQLite schema name: "main" or an attached file's name;
                          // empty on PostgreSQL (the connection's own schema)
    std::string name;     // the table's name as the file spells it
    std::vector<ColumnInfo> columns;
};

// Where the emitter learns tables and their columns (the open connection).
class SchemaSource {
public:
    virtual ~SchemaSource() = default;
    // The table `name` of the open file, or of the file `inFile` of the working folder.
    // Throws ResolveError when the file or the table is missing.
    virtual TableInfo table(const std::string& name, const std::optional<std::string>& inFile) = 0;
    // The indexes of a table (of `table.schema`, named `table.name`) that compare their
    // keys byte by byte: for each, the names of its leading key columns. Asked only for
    // a condition that compares a text field with a text that has letters.
    virtual std::vector<std::vector<std::string>> indexes(const TableInfo& table) {
        (void)table;
        return {};
    }
    // The spellings of `text` (same text without regard to case) that `column` of the
    // table holds in the rows where each `fixed` field equals its value (an SQL
    // literal), found along such an index; nullopt when they cannot be found that way.
    virtual std::optional<std::vector<std::string>> spellings(
        const TableInfo& table, const std::string& column,
        const std::vector<std::pair<std::string, std::string>>& fixed, const std::string& text) {
        (void)table, (void)column, (void)fixed, (void)text;
        return std::nullopt;
    }
};

// A table or field that does not exist, or a construct the dialect does not support.
class ResolveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The SQL of a query recordset: the query's columns followed by the column "zt_pos",
// which numbers the rows in the query's order, and rows in that order.
struct EmittedQuery {
    std::string sql;
    // PostgreSQL: the values written in the query, in text form, bound as $1, $2, …
    // (the SQL holds none of them). Empty for SQLite, which is written with the values.
    std::vector<std::string> params;
    std::vector<ColumnInfo> columns;  // without zt_pos
    // A sum without GROUP BY: at most one row, with zt_pos 1 and no ORDER BY, so a
    // reader need not sort it either.
    bool singleRow = false;
};

// The SQL the query is written in. The rules of Jet's meaning are the same for both;
// only how each is spelled differs (docs/JET_SQL.md, "On the figure server").
// Runs fn; the dialect's errors (a syntax error, a name the tables do not hold) come out
// as the error `error(message)` makes, which names the file or the server they came from.
template <class MakeError, class Fn>
auto dialectErrorsAs(MakeError&& error, Fn&& fn) -> decltype(fn()) {
    try {
        return fn();
    } catch (const SyntaxError& e) {
        throw error(e.what());
    } catch (const ResolveError& e) {
        throw error(e.what());
    }
}

enum class Dialect { Sqlite, Postgres };

// The SQL functions and the collation that the SQLite dialect calls, registered on every
// connection under these names (sqlite/dialect_functions.h).
namespace sqlite_fn {
inline constexpr const char* kNum = "zt_num";        // zt_num(x): x as Jet compares it with a number
inline constexpr const char* kVal = "zt_val";        // zt_val(x), zt_val(x, n): Val(x), Val(Left$(x, n))
inline constexpr const char* kRight = "zt_right";    // zt_right(x, n): Right$
inline constexpr const char* kInstr = "zt_instr";    // zt_instr(start, text, sought): Instr
inline constexpr const char* kFold = "zt_fold";      // zt_fold(x): foldText (jet_text.h)
inline constexpr const char* kCollation = "zt_jet";  // the collation: compareText (jet_text.h)
// The functions, for a connection that registers stand-ins.
inline constexpr const char* kFunctions[] = {kNum, kVal, kRight, kInstr, kFold};
}  // namespace sqlite_fn

EmittedQuery emitQuery(const Select& select, SchemaSource& schema, Dialect dialect = Dialect::Sqlite);

// A criterion over the fields of a table, whose rows are aliased as `alias` in the
// statement that uses it.
std::string emitTableCondition(const Expr& condition, const TableInfo& table, const std::string& alias,
                               SchemaSource& schema);

// A criterion over the columns of a query recordset (referenced by name, unqualified).
std::string emitColumnsCondition(const Expr& condition, const std::vector<ColumnInfo>& columns,
                                 SchemaSource& schema);

// A text expression of PostgreSQL folded by Jet's text rule (jet_text.h), as the
// emitter writes it for the figure server: the server's indexes of folded fields are
// written with it, so that its equalities seek them.
std::string pgFoldSql(const std::string& text);

// An SQLite identifier in double quotes, inner quotes doubled.
std::string quoteIdent(const std::string& name);

}  // namespace zt::store::jet
