#pragma once
// Access (Jet) files, read through libmdb. The adapter opens a file read-only, lists
// its tables, reads a table's columns and hands its rows over with every value already
// converted once, here: text into UTF-8, whole numbers, doubles, currency exactly to
// four decimals, dates as "YYYY-MM-DD HH:MM:SS", yes/no as -1/0, null as null.
//
// The database layer reads a Jet file as an SQLite image of it (sqlite/jet_image.h).
// See docs/JET_FILES.md.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

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

}  // namespace zt::store
