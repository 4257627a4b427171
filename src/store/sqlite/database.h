#pragma once
// The database layer: databases opened by file name, tables and queries opened as
// dynasets, find-first / find-next with a criterion, field values, add or edit then
// update. Query texts and criteria are written in the Jet SQL dialect (see jet_sql.h);
// the files are plain SQLite 3 files whose tables carry the field names as columns, or
// Access (Jet) files, which are read only (see jet_file.h and docs/JET_FILES.md).
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/db_error.h"
#include "store/file_stamp.h"
#include "store/value.h"

namespace zt::store {

// Resolves a database name as the program writes it against the working folder:
// backslashes are folder separators, a relative name lies in the working folder, and a
// bare name without an extension gets ".mdb" ("VociFattura" -> VociFattura.mdb). The
// file is found whatever the case of its name on disk (findFile in file_names.h); two
// names that differ only in case are a DbError naming both.
std::filesystem::path resolveDatabasePath(const std::filesystem::path& workDir, std::string_view name);

class Connection;  // internal
class Recordset;

// While one lives on a thread, Database::open on that thread gives a connection it
// opened earlier in the same scope when the file is still in the same state (its stamp)
// and no transaction is open on it, instead of opening the file again: a page of the web
// server opens the registry and the figure files a score of times, and each opening
// costs about as much as a month's sum. For reads; the connections close when the
// outermost scope ends.
class ReusedConnections {
public:
    ReusedConnections();
    ~ReusedConnections();
    ReusedConnections(const ReusedConnections&) = delete;
    ReusedConnections& operator=(const ReusedConnections&) = delete;
};

class Database {
public:
    // Opens an existing database file. A missing file, or one that is not a database
    // this layer reads, is a DbError naming the file; no file is ever created here.
    // An Access (Jet) file opens read-only: every write is a DbError naming the file.
    static Database open(const std::filesystem::path& workDir, std::string_view name);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    // A table as an updatable dynaset, rows in table order.
    Recordset openTable(std::string_view table);
    // A query text (Jet SQL SELECT) as a read-only dynaset, rows in its ORDER BY order
    // (table order for a single-table query without one).
    Recordset openQuery(std::string_view jetSql);
    // Runs plain SQLite SQL with no result (schema set-up by this program's own tools).
    void executeNative(std::string_view sqliteSql);
    // Runs fn inside one transaction: everything it writes, or nothing.
    template <class Fn> void transaction(Fn&& fn);

    const std::filesystem::path& path() const;
    std::string fileName() const;  // for messages
    bool isOpen() const { return conn_ != nullptr; }
    // Whether the open file is an Access (Jet) file, which this layer only reads.
    bool isReadOnlyJet() const;
    void close();

    // Names of the tables of the file, in creation order.
    std::vector<std::string> tableNames();

    // internal
    void begin();
    void commit();
    void rollback();

private:
    explicit Database(std::shared_ptr<Connection> conn);
    std::shared_ptr<Connection> conn_;
};

class Recordset {
public:
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    // Number of rows of the table or query.
    long recordCount();

    // Sequential walk. After the constructor the recordset stands on its first row
    // (eof() when there is none).
    bool eof() const;
    void moveFirst();
    void moveNext();

    // Makes the first row that meets the criterion (a Jet SQL condition over the
    // recordset's fields) the current row; noMatch() tells whether there was none, and
    // then the current row is unchanged. findNext continues after the current row; a
    // walk of findFirst and repeated findNext with one criterion reads the rows once.
    void findFirst(std::string_view criterion);
    void findNext(std::string_view criterion);
    bool noMatch() const;

    // A field of the current row, by name without regard to case. A name that is not a
    // field is a DbError naming it; no current row is a DbError too.
    Value field(std::string_view name) const;
    const std::vector<std::string>& fieldNames() const;

    // Editing (table dynasets only): addNew() starts a new row, edit() the current
    // row; setField() sets a field of that row; update() saves it. A query dynaset
    // refuses editing with a DbError.
    void addNew();
    void edit();
    void setField(std::string_view name, Value v);
    void update();

    void close();

    struct Impl;

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

template <class Fn>
void Database::transaction(Fn&& fn) {
    begin();
    try {
        fn();
    } catch (...) {
        rollback();
        throw;
    }
    commit();
}

}  // namespace zt::store
