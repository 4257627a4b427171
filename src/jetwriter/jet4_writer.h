#pragma once
// A writer of Access 2000 (Jet 4) files, for the demo installation, the tests and the
// benchmarks. The program's database layer only reads Access files; this library is
// linked by `zentoria demo --access`, the tests and bench/, never by the store.
//
// It writes what Access itself writes for a database without indexes, relationships or
// forms: the header page, the system catalog (MSysObjects, with the "Tables",
// "Databases" and "Relationships" containers), and for each table its definition page,
// its data pages, its usage maps (kept in the row when the table's pages lie within 512
// pages of each other, otherwise on usage-map pages of their own, "map type 1") and
// its long values (memo text longer than 64 bytes on long-value pages, one page or a
// chain of pages). Text and memo are stored in Jet 4's compressed Unicode when that is
// shorter. A table may have any number of rows: rows are written out page by page as
// they come, and only the page numbers of a table are held in memory.
//
// The file is created exclusively (never over an existing file or through a link);
// if writing fails the caller removes it. See docs/JET_FILES.md, "Writing Jet 4 files".
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace zt::jetwrite {

enum class Jet4Type {
    YesNo,     // -1 (true) or 0 (false) in Access; any non-zero number is true
    Byte,      // 0..255
    Integer,   // 16 bits
    Long,      // 32 bits
    Currency,  // given as a double, kept to four decimals
    Double,
    DateTime,  // given as a double (days since 1899-12-30) or a text "YYYY-MM-DD[ HH:MM:SS]"
    Text,      // up to `size` characters (at most 255), given as UTF-8
    Memo,      // any length, given as UTF-8
};

struct Jet4Column {
    std::string name;
    Jet4Type type = Jet4Type::Text;
    int size = 255;  // Text only: the most characters a value may have
};

// A value: null, a whole number, a double or a UTF-8 text.
using Jet4Value = std::variant<std::monostate, std::int64_t, double, std::string>;
using Jet4Row = std::vector<Jet4Value>;

struct Jet4Table {
    std::string name;
    std::vector<Jet4Column> columns;
    std::vector<Jet4Row> rows;
};

// Writes one Access file. beginTable, addRow for each row, then the next beginTable or
// finish. Every failure (a value of the wrong kind, text too long, a row wider than a
// page, a write error) is a std::runtime_error naming the file and, where it belongs
// to one, the table and the column.
class Jet4Writer {
public:
    explicit Jet4Writer(const std::filesystem::path& file);
    ~Jet4Writer();
    Jet4Writer(const Jet4Writer&) = delete;
    Jet4Writer& operator=(const Jet4Writer&) = delete;

    void beginTable(const std::string& name, const std::vector<Jet4Column>& columns);
    void addRow(const Jet4Row& row);
    // Writes the catalog and the header and closes the file.
    void finish();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The whole file at once.
void writeJet4File(const std::filesystem::path& file, const std::vector<Jet4Table>& tables);

// A Jet date/time (days since 1899-12-30, the time as the fraction) from
// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "YYYYMMDD"; false when the text is none of them.
bool jetDateFromText(const std::string& text, double& days);

}  // namespace zt::jetwrite
