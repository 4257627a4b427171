#pragma once
// Access (Jet) files, read through libmdb. The adapter opens a file read-only, lists
// its tables, reads a table's columns and hands its rows over with every value already
// converted once, here: text into UTF-8, whole numbers, doubles, currency exactly to
// four decimals, dates as "YYYY-MM-DD HH:MM:SS", yes/no as -1/0, null as null.
//
// The database layer reads a Jet file as an SQLite image of it (jetImage): every table
// copied into an in-memory SQLite database, kept per process while the file's size and
// modification time stay the same. See docs/JET_FILES.md.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace zt::store {

// One field value as it comes out of a Jet file.
using Blob = std::vector<unsigned char>;
using JetCell = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;

struct JetColumn {
    std::string name;
    int jetType = 0;        // libmdb's type code
    std::string sqlType;    // the declared type of the column in SQLite: INTEGER, REAL, TEXT or BLOB
};

// An index the Jet file declares on a table: its fields in key order.
struct JetIndex {
    std::string name;
    std::vector<std::string> columns;
    std::vector<bool> descending;
    bool unique = false;
};

class JetFile {
public:
    // Opens a Jet 3, Jet 4 or ACE file read-only; a DbError naming the file when libmdb
    // cannot read it.
    static JetFile open(const std::filesystem::path& file);

    JetFile(JetFile&&) noexcept;
    JetFile& operator=(JetFile&&) noexcept;
    ~JetFile();

    const std::filesystem::path& path() const;
    // The user tables, in the order of the file's catalogue (no system tables).
    std::vector<std::string> tableNames();
    // The columns of a table, in field order; a DbError when there is no such table.
    std::vector<JetColumn> columns(const std::string& table);
    // The indexes the file declares on the table (primary keys and other indexes; not
    // the entries that only record a relationship), in the file's order.
    std::vector<JetIndex> indexes(const std::string& table);
    // Hands every row of the table to `sink`, in table order, one value per column;
    // returns the number of rows.
    long readRows(const std::string& table, const std::function<void(const std::vector<JetCell>&)>& sink);

    struct Impl;

private:
    explicit JetFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

struct TableCopy {
    std::string table;
    long rows = 0;
};

// Creates every table of the Jet file in the "main" schema of `db` (same table and
// column names, the declared types of JetColumn::sqlType), copies its rows and, with
// `withIndexes`, creates on it the indexes the Jet file declares (not unique: the copy
// only serves look-ups), all in one transaction. Returns the rows copied per table, in
// catalogue order. Refuses a table that exists already.
std::vector<TableCopy> copyJetToSqlite(JetFile& jet, sqlite3* db, bool withIndexes = true);

// Copies every table of the Jet file `source` into a new SQLite file `target`, which
// must not exist yet (a DbError naming it otherwise); on failure nothing is left at
// `target`. Returns the rows copied per table.
std::vector<TableCopy> copyJetFileToNewSqlite(const std::filesystem::path& source,
                                              const std::filesystem::path& target);

// An SQLite database image (sqlite3_serialize) of a whole Jet file.
class JetImage {
public:
    JetImage(unsigned char* data, std::int64_t size) : data_(data), size_(size) {}
    ~JetImage();
    JetImage(const JetImage&) = delete;
    JetImage& operator=(const JetImage&) = delete;
    unsigned char* data() const { return data_; }
    std::int64_t size() const { return size_; }

private:
    unsigned char* data_;
    std::int64_t size_;
};

// The image of a Jet file, made once and kept while the file's size and modification
// time stay the same; every connection reading the file shares it. A file that changes
// while it is read is read again (three tries, then "in use by another program").
std::shared_ptr<const JetImage> jetImage(const std::filesystem::path& file);

// Makes the schema `schema` of `db` (already there: "main", or attached ':memory:')
// a read-only view of the image; the image must outlive the connection.
void useJetImage(sqlite3* db, const std::string& schema, const JetImage& image, const std::string& file);

}  // namespace zt::store
