#include "store/access/jet_file.h"
#include "common/translate.h"

#include <mdbtools.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "common/currency.h"
#include "common/text.h"
#include "store/access/jet_guard.h"
#include "store/db_error.h"
#include "store/dialect/jet_emit.h"
#include "store/file_stamp.h"

namespace fs = std::filesystem;

namespace zt::store {

namespace {

// libmdb keeps the row offset in the low 13 bits of a row pointer.
constexpr int kOffsetMask = 0x1fff;

struct TableDefFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TableDef = std::unique_ptr<MdbTableDef, TableDefFree>;

MdbColumn* columnAt(MdbTableDef* t, unsigned i) { return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i)); }

std::string sqlTypeOf(int jetType) {
    switch (jetType) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX: return "INTEGER";
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC: return "REAL";
        case MDB_OLE:
        case MDB_BINARY: return "BLOB";
        default: return "TEXT";  // text, memo, date/time, replication id
    }
}

// A Jet date/time: days since 1899-12-30 with the time of day as the fraction. Before
// that day the whole part counts back and the fraction still runs forward (-1.25 is
// 1899-12-29 06:00). Empty for a value outside the years 100 to 9999 Jet allows.
std::string dateText(double value) {
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0) return {};
    const double whole = std::trunc(value);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(value - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    // 1899-12-30 lies 25569 days before 1970-01-01.
    const std::chrono::year_month_day ymd{std::chrono::sys_days{} + std::chrono::days{days - 25569}};
    char out[64];
    std::snprintf(out, sizeof out, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return out;
}

// A single-precision value as the double of its shortest decimal form (0.15f gives
// 0.15, not 0.150000006), as Access shows it.
double singleValue(float f) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, f).ptr;
    double d = f;
    std::from_chars(buf, end, d);
    return d;
}

// Jet 4 text that is plain ASCII, as UTF-8 without a converter: compressed (0xFF 0xFE,
// then a byte a character; a zero byte switches to two bytes a character and back) or
// UTF-16. False for anything else, which goes through libmdb and iconv.
bool asciiText(const unsigned char* p, int len, std::string& out) {
    out.clear();
    int i = 0;
    bool compressed = false;
    if (len >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        compressed = true;
        i = 2;
    }
    out.reserve(static_cast<std::size_t>(len));
    while (i < len) {
        if (compressed) {
            if (p[i] == 0 || p[i] >= 0x80) return false;
            out.push_back(static_cast<char>(p[i++]));
        } else {
            if (i + 1 >= len || p[i + 1] != 0 || p[i] == 0 || p[i] >= 0x80) return false;
            out.push_back(static_cast<char>(p[i]));
            i += 2;
        }
    }
    return true;
}

std::string takeGString(char* s) {
    std::string out = s ? s : "";
    g_free(s);
    return out;
}

bool textLike(int jetType) {
    return jetType == MDB_TEXT || jetType == MDB_MEMO || jetType == MDB_OLE || jetType == MDB_BINARY;
}

// Text in the file's encoding (Jet 3: its code page; Jet 4 and later: UTF-16, possibly
// compressed) always comes out as UTF-8, whatever the environment asks libmdb for.
void useUtf8(MdbHandle* mdb) {
    std::string from = "UTF-16LE";
    if (mdb->f->jet_version == MDB_VER_JET3)
        from = "CP" + std::to_string(mdb->f->code_page ? mdb->f->code_page : 1252);
    iconv_t in = iconv_open("UTF-8", from.c_str());
    if (in == reinterpret_cast<iconv_t>(-1) && mdb->f->jet_version == MDB_VER_JET3) in = iconv_open("UTF-8", "CP1252");
    if (in == reinterpret_cast<iconv_t>(-1)) return;  // keep libmdb's own choice
    if (mdb->iconv_in != reinterpret_cast<iconv_t>(-1)) iconv_close(mdb->iconv_in);
    mdb->iconv_in = in;
}

}  // namespace

// ---- JetFile -------------------------------------------------------------------

struct JetFile::Impl {
    fs::path path;
    MdbHandle* mdb = nullptr;
    bool catalogRead = false;
    std::uint64_t pages = 0;  // pages the file holds

    ~Impl() {
        if (mdb) mdb_close(mdb);
    }

    std::string file() const { return path.string(); }

    // ---- what the file declares, checked (docs/JET_FILES.md, "Never a partial read") ----

    [[noreturn]] void damaged(const std::string& table, const std::string& what) const {
        throw DbError(file(), withArgs(translate("Store", "this Access (Jet) file is damaged: table \"%1\": %2; copy "
                                                          "it again from a backup"),
                                       {table, what}));
    }

    std::string pageText(std::uint64_t page) const {
        return withArgs(translate("Store", "page %1"), {std::to_string(page)});
    }

    // Every page the table's map of pages lists is a data page of this table, within the
    // file. libmdb skips a page that is not, with a warning, and the table reads short.
    // Returns how many pages it lists.
    std::uint64_t checkPages(MdbTableDef* t, const std::string& name) {
        if (!t->usage_map || t->map_sz < 5) damaged(name, translate("Store", "its map of pages is missing"));
        if (t->usage_map[0] == 1) {
            // A map of type 1 lists usage-map pages (type 0x05).
            for (std::size_t at = 1; at + 4 <= t->map_sz; at += 4) {
                const guint32 p = mdb_get_int32(t->usage_map, static_cast<int>(at));
                if (p == 0) continue;
                if (p >= pages)
                    damaged(name, withArgs(translate("Store", "its map of pages lies on %1, beyond the end of the "
                                                              "file: the file is cut short"),
                                           {pageText(p)}));
                if (mdb_read_alt_pg(mdb, p) != mdb->fmt->pg_size || mdb->alt_pg_buf[0] != 0x05)
                    damaged(name, withArgs(translate("Store", "%1, which should hold its map of pages, does not"), {pageText(p)}));
            }
        } else if (t->usage_map[0] != 0) {
            damaged(name, withArgs(translate("Store", "its map of pages is of an unknown kind (%1)"),
                                   {std::to_string(t->usage_map[0])}));
        }
        const auto owner = static_cast<guint32>(t->entry->table_pg);
        guint32 cur = 0;
        std::uint64_t seen = 0;
        for (;;) {
            const gint32 next = mdb_map_find_next(mdb, t->usage_map, t->map_sz, cur);
            if (next == 0) break;
            if (next < 0) damaged(name, translate("Store", "its map of pages cannot be read"));
            const auto p = static_cast<guint32>(next);
            if (p <= cur || ++seen > pages) damaged(name, translate("Store", "its map of pages runs in a circle"));
            if (p >= pages)
                damaged(name, withArgs(translate("Store", "its map of pages lists %1, beyond the end of the file (%2 "
                                                          "pages): the file is cut short"),
                                       {pageText(p), std::to_string(pages)}));
            if (mdb_read_alt_pg(mdb, p) != mdb->fmt->pg_size)
                damaged(name, withArgs(translate("Store", "%1 cannot be read"), {pageText(p)}));
            const unsigned char* b = mdb->alt_pg_buf;
            if (b[0] != 0x01 || mdb_get_int32(const_cast<unsigned char*>(b), 4) != static_cast<long>(owner))
                damaged(name, withArgs(translate("Store", "%1 of its map of pages is not one of its data pages"), {pageText(p)}));
            cur = p;
        }
        // A row takes at least a few bytes and libmdb reads at most 1,000 rows a page.
        if (t->num_rows > seen * 1000)
            damaged(name, withArgs(translate("Store", "its definition declares %1 rows, more than its %2 pages can hold"),
                                   {std::to_string(t->num_rows), std::to_string(seen)}));
        return seen;
    }

    // What a table's definition declares, within what Access allows (255 fields, 32
    // indexes): a damaged count would have libmdb read on through pages for nothing.
    void checkDefinition(MdbTableDef* t, const std::string& name) {
        if (t->num_cols == 0 || t->num_cols > 255 || t->num_var_cols > t->num_cols)
            damaged(name, withArgs(translate("Store", "its definition declares %1 fields"), {std::to_string(t->num_cols)}));
        if (t->num_idxs > 64 || t->num_real_idxs > 64)
            damaged(name, withArgs(translate("Store", "its definition declares %1 indexes"), {std::to_string(t->num_idxs)}));
    }

    // The catalog: MSysObjects on page 2, its pages and its row count as declared, at
    // least one user table, and every user table's definition readable.
    void readCatalog() {
        if (catalogRead) return;
        const std::string catalogName = "MSysObjects";
        MdbCatalogEntry self;
        std::memset(&self, 0, sizeof self);
        self.mdb = mdb;
        self.object_type = MDB_TABLE;
        self.table_pg = 2;
        std::snprintf(self.object_name, sizeof self.object_name, "%s", catalogName.c_str());
        TableDef sys(mdb_read_table(&self));
        if (sys) checkDefinition(sys.get(), catalogName);
        if (!sys || !mdb_read_columns(sys.get()))
            damaged(catalogName, translate("Store", "the definition of the list of tables cannot be read"));
        // Its pages, rows and properties (the long value libmdb gathers for each entry)
        // checked before libmdb reads it: a broken chain of long values there would have
        // it loop, allocating, until the limits stop it.
        checkPages(sys.get(), catalogName);
        unsigned long rows = 0;
        mdb_rewind_table(sys.get());
        while (rows <= sys->num_rows && mdb_fetch_row(sys.get())) {
            for (unsigned i = 0; i < sys->num_cols; ++i) {
                MdbColumn* col = columnAt(sys.get(), i);
                // LvProp, the one long value libmdb follows (the others are never read).
                if (std::strcmp(col->name, "LvProp") != 0 || col->cur_value_len <= 0) continue;
                const std::string problem = longValueProblem(col->cur_value_start, col->cur_value_len);
                if (!problem.empty())
                    damaged(catalogName, withArgs(translate("Store", "entry %1, field \"%2\": %3"),
                                                  {std::to_string(rows + 1), col->name, problem}));
            }
            ++rows;
        }
        if (rows != sys->num_rows)
            damaged(catalogName, withArgs(translate("Store", "the list of tables declares %1 entries, %2 could be read"),
                                          {std::to_string(sys->num_rows), std::to_string(rows)}));
        if (!mdb_read_catalog(mdb, MDB_ANY) || !mdb->catalog || mdb->num_catalog != rows)
            damaged(catalogName, translate("Store", "the list of tables cannot be read"));
        bool any = false;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (e->object_type != MDB_TABLE || !mdb_is_user_table(e)) continue;
            any = true;
            if (static_cast<std::uint64_t>(e->table_pg) >= pages)
                damaged(e->object_name,
                        translate("Store", "its definition lies beyond the end of the file: the file is cut short"));
            TableDef t(mdb_read_table(e));
            if (t) checkDefinition(t.get(), e->object_name);
            if (!t || !mdb_read_columns(t.get())) damaged(e->object_name, translate("Store", "its definition cannot be read"));
        }
        if (!any)
            throw DbError(file(), translate("Store", "this Access (Jet) file lists no tables: its list of tables is "
                                                     "empty or damaged; copy it again from a backup"));
        catalogRead = true;
    }

    // A long value (memo, OLE object) lies where its 12 bytes in the row say, whole:
    // in the row, in one row of a page of long values, or in a chain of them. libmdb
    // gives an empty or shortened value for one that does not. Returns what is wrong, or
    // nothing.
    std::string longValueProblem(int start, int len) {
        unsigned char* pg = mdb->pg_buf;
        if (len < MDB_MEMO_OVERHEAD) return translate("Store", "its long value is cut short");
        const auto head = static_cast<guint32>(mdb_get_int32(pg, start));
        const guint32 size = head & 0x3fffffffu;
        // The row of a page of long values; what is wrong with it, or nothing.
        auto longRow = [&](guint32 pgRow, int& rowStart, std::size_t& rowLen) -> std::string {
            const guint32 p = pgRow >> 8;
            if (p == 0 || p >= pages)
                return withArgs(translate("Store", "its long value refers to %1, beyond the end of the file: the file is cut "
                                                   "short"),
                                {pageText(p)});
            void* buf = nullptr;
            if (mdb_find_pg_row(mdb, static_cast<int>(pgRow), &buf, &rowStart, &rowLen) != 0)
                return withArgs(translate("Store", "its long value on %1 cannot be found"), {pageText(p)});
            const unsigned char* b = mdb->alt_pg_buf;
            if (b[0] != 0x01 || std::memcmp(b + 4, "LVAL", 4) != 0)
                return withArgs(translate("Store", "%1, which should hold its long value, does not"), {pageText(p)});
            return {};
        };
        const std::string notAsLong = translate("Store", "its long value is not as long as it says");
        if ((head & 0xc0000000u) == 0x80000000u)
            return static_cast<guint32>(len - MDB_MEMO_OVERHEAD) == size ? std::string() : notAsLong;
        if ((head & 0xc0000000u) == 0x40000000u) {
            int rowStart = 0;
            std::size_t rowLen = 0;
            std::string problem = longRow(static_cast<guint32>(mdb_get_int32(pg, start + 4)), rowStart, rowLen);
            if (problem.empty() && rowLen != size) problem = notAsLong;
            return problem;
        }
        if ((head & 0xc0000000u) != 0) return translate("Store", "its long value is of an unknown kind");
        std::uint64_t total = 0, steps = 0;
        auto pgRow = static_cast<guint32>(mdb_get_int32(pg, start + 4));
        while (pgRow != 0) {
            int rowStart = 0;
            std::size_t rowLen = 0;
            if (std::string problem = longRow(pgRow, rowStart, rowLen); !problem.empty()) return problem;
            if (rowLen < 4 || ++steps > pages) return translate("Store", "its long value's chain of pages is broken");
            total += rowLen - 4;
            pgRow = static_cast<guint32>(mdb_get_int32(mdb->alt_pg_buf, rowStart));
        }
        return total == size ? std::string() : notAsLong;
    }

    void checkLongValue(MdbColumn* col, int start, int len) {
        const std::string problem = longValueProblem(start, len);
        if (!problem.empty())
            throw DbError(file(), withArgs(translate("Store", "field \"%1\": %2: the file is damaged; copy it again "
                                                              "from a backup"),
                                           {col->name, problem}));
    }

    std::vector<MdbCatalogEntry*> userTables() {
        readCatalog();
        std::vector<MdbCatalogEntry*> out;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (e->object_type == MDB_TABLE && mdb_is_user_table(e)) out.push_back(e);
        }
        return out;
    }

    TableDef table(const std::string& name) {
        const auto tables = userTables();
        auto it = std::find_if(tables.begin(), tables.end(), [&](auto* e) { return name == e->object_name; });
        if (it == tables.end())
            it = std::find_if(tables.begin(), tables.end(), [&](auto* e) { return equalsNoCase(name, e->object_name); });
        if (it == tables.end())
            throw DbError(file(), withArgs(translate("Store", "table \"%1\" not found"), {name}));
        TableDef t(mdb_read_table(*it));
        if (t) checkDefinition(t.get(), name);
        if (!t || !mdb_read_columns(t.get())) throw DbError(file(), withArgs(translate("Store", "cannot read the fields of table \"%1\""), {name}));
        return t;
    }

    // The value of column `col` of the row libmdb has just fetched.
    JetCell value(MdbColumn* col) {
        const int start = col->cur_value_start;
        const int len = col->cur_value_len;
        unsigned char* pg = mdb->pg_buf;
        if (col->col_type == MDB_BOOL) return std::int64_t{len == 0 ? -1 : 0};  // the null bit holds it
        if (len == 0) return {};
        if (start < 0 || len < 0 || static_cast<long long>(start) + len > mdb->fmt->pg_size)
            throw DbError(file(), withArgs(translate("Store", "field \"%1\" holds a value that lies outside its page: "
                                                              "the file is damaged"),
                                           {col->name}));
        const int need = col->col_type == MDB_BYTE                                        ? 1
                         : col->col_type == MDB_INT                                       ? 2
                         : col->col_type == MDB_LONGINT || col->col_type == MDB_FLOAT ? 4
                         : col->col_type == MDB_MONEY || col->col_type == MDB_DOUBLE || col->col_type == MDB_DATETIME
                             ? 8
                             : 0;
        if (len < need)
            throw DbError(file(), withArgs(translate("Store", "field \"%1\" holds a value shorter than its type: the "
                                                              "file is damaged"),
                                           {col->name}));
        switch (col->col_type) {
            case MDB_BYTE: return std::int64_t{mdb_get_byte(pg, start)};
            case MDB_INT: return std::int64_t{static_cast<std::int16_t>(mdb_get_int16(pg, start))};
            case MDB_LONGINT:
            case MDB_COMPLEX: return std::int64_t{static_cast<std::int32_t>(mdb_get_int32(pg, start))};
            case MDB_FLOAT: return singleValue(mdb_get_single(pg, start));
            case MDB_DOUBLE: return mdb_get_double(pg, start);
            case MDB_DATETIME: {
                std::string t = dateText(mdb_get_double(pg, start));
                if (t.empty()) return {};
                return t;
            }
            case MDB_MONEY: {
                // A signed 64-bit count of ten-thousandths, little-endian: read directly
                // (libmdb's text of it costs more than the rest of the reading together).
                std::uint64_t units = 0;
                for (int i = 7; i >= 0; --i) units = (units << 8) | pg[start + i];
                return Currency::fromTenThousandths(static_cast<std::int64_t>(units)).toDouble();
            }
            case MDB_NUMERIC: {
                const std::string text = takeGString(mdb_numeric_to_string(mdb, start, col->col_scale, col->col_prec));
                double d = 0;
                const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
                if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return text;
                return d;
            }
            case MDB_TEXT: {
                if (std::string ascii; mdb->f->jet_version != MDB_VER_JET3 && asciiText(pg + start, len, ascii))
                    return ascii;
                std::string out(3 * static_cast<std::size_t>(len) + 16, '\0');
                const int n = mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(pg) + start, len, out.data(), out.size() - 1);
                out.resize(static_cast<std::size_t>(std::max(n, 0)));
                return out;
            }
            case MDB_MEMO: {
                checkLongValue(col, start, len);
                // libmdb converts a memo into a buffer of its bind size: make room for all of it.
                const std::size_t stored = len >= MDB_MEMO_OVERHEAD ? (mdb_get_int32(pg, start) & 0x3fffffff) : 0;
                const std::size_t saved = mdb->bind_size;
                mdb->bind_size = std::max(saved, 3 * (stored + static_cast<std::size_t>(mdb->fmt->pg_size)) + 64);
                std::string out = takeGString(mdb_col_to_string(mdb, pg, start, MDB_MEMO, len));
                mdb->bind_size = saved;
                return out;
            }
            case MDB_OLE:
                checkLongValue(col, start, len);
                return oleValue(col);
            case MDB_BINARY: return Blob(pg + start, pg + start + len);
            case MDB_REPID: return takeGString(mdb_col_to_string(mdb, pg, start, MDB_REPID, len));
            default: return {};
        }
    }

    // A long binary value (OLE object) gathered from its pages.
    Blob oleValue(MdbColumn* col) {
        if (col->cur_value_len < MDB_MEMO_OVERHEAD) return {};
        unsigned char head[MDB_MEMO_OVERHEAD];
        std::memcpy(head, mdb->pg_buf + col->cur_value_start, MDB_MEMO_OVERHEAD);
        std::vector<unsigned char> chunk(2 * static_cast<std::size_t>(std::max<ssize_t>(mdb->fmt->pg_size, 4096)));
        Blob out;
        col->bind_ptr = chunk.data();
        std::size_t n = mdb_ole_read(mdb, col, head, chunk.size());
        while (n > 0 && n <= chunk.size()) {
            out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<long>(n));
            n = mdb_ole_read_next(mdb, col, head);
        }
        col->bind_ptr = nullptr;
        return out;
    }

    // Which fields of the row just fetched are null: libmdb gives an empty text and a
    // null the same length, so the row is read once more for its null bits.
    void markEmptyTexts(MdbTableDef* t, std::vector<JetCell>& row) {
        int start = 0;
        std::size_t size = 0;
        if (t->cur_row == 0 || mdb_find_row(mdb, static_cast<int>(t->cur_row) - 1, &start, &size) != 0) return;
        std::vector<MdbField> fields(t->num_cols);
        const int n = mdb_crack_row(t, start & kOffsetMask, size, fields.data());
        for (int i = 0; i < n && i < static_cast<int>(t->num_cols); ++i) {
            const auto c = static_cast<std::size_t>(fields[static_cast<std::size_t>(i)].colnum);
            if (c >= row.size() || fields[static_cast<std::size_t>(i)].is_null) continue;
            const int type = columnAt(t, static_cast<unsigned>(c))->col_type;
            if (!std::holds_alternative<std::monostate>(row[c])) continue;
            if (type == MDB_TEXT || type == MDB_MEMO) row[c] = std::string();
            else if (type == MDB_OLE || type == MDB_BINARY) row[c] = Blob();
        }
    }
};

JetFile::JetFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
JetFile::JetFile(JetFile&&) noexcept = default;
JetFile& JetFile::operator=(JetFile&&) noexcept = default;
JetFile::~JetFile() = default;

JetFile JetFile::open(const fs::path& file) {
    const FileKind kind = fileKind(file);
    if (kind == FileKind::Missing) throw DbError(file.string(), translate("Store", "file not found"));
    if (!isJetKind(kind)) throw DbError(file.string(), translate("Store", "this is not an Access (Jet) file"));
    auto impl = std::make_unique<Impl>();
    impl->path = file;
    impl->mdb = mdb_open(file.string().c_str(), MDB_NOFLAGS);
    if (!impl->mdb) {
        if (kind == FileKind::Ace)
            throw DbError(file.string(),
                          translate("Store", "this Access 2007 or later file (ACE format) cannot be read here; save "
                                             "it from Access in the Access 2000 format (.mdb) and try again"));
        throw DbError(file.string(), translate("Store", "cannot read this Access (Jet) file: it is damaged or of an "
                                                        "unknown version"));
    }
    useUtf8(impl->mdb);
    std::error_code ec;
    const std::uint64_t size = fs::file_size(file, ec);
    if (ec) throw DbError(file.string(), withArgs(translate("Store", "cannot read the file: %1"), {systemErrorText(ec)}));
    const auto pageSize = static_cast<std::uint64_t>(impl->mdb->fmt->pg_size);
    impl->pages = (size + pageSize - 1) / pageSize;
    return JetFile(std::move(impl));
}

const fs::path& JetFile::path() const { return impl_->path; }

std::vector<std::string> JetFile::tableNames() {
    std::vector<std::string> out;
    for (auto* e : impl_->userTables()) out.emplace_back(e->object_name);
    return out;
}

std::vector<JetColumn> JetFile::columns(const std::string& table) {
    TableDef t = impl_->table(table);
    std::vector<JetColumn> out;
    for (unsigned i = 0; i < t->num_cols; ++i) {
        MdbColumn* c = columnAt(t.get(), i);
        out.push_back({c->name, c->col_type, sqlTypeOf(c->col_type)});
    }
    return out;
}

std::vector<JetIndex> JetFile::indexes(const std::string& table) {
    TableDef t = impl_->table(table);
    std::vector<JetIndex> out;
    mdb_read_indices(t.get());  // fills t->indices (its return value is not to be relied on)
    for (unsigned i = 0; i < t->num_idxs && t->indices; ++i) {
        auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(t->indices, i));
        if (!idx || idx->index_type == 2) continue;  // a relationship's entry, no index of its own
        JetIndex index;
        index.name = idx->name;
        index.unique = (idx->flags & MDB_IDX_UNIQUE) != 0 || idx->index_type == 1;
        for (unsigned k = 0; k < idx->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
            const int col = idx->key_col_num[k];
            if (col < 1 || static_cast<unsigned>(col) > t->num_cols) {
                index.columns.clear();
                break;
            }
            index.columns.emplace_back(columnAt(t.get(), static_cast<unsigned>(col - 1))->name);
            index.descending.push_back(idx->key_col_order[k] == MDB_DESC);
        }
        if (!index.columns.empty()) out.push_back(std::move(index));
    }
    return out;
}

long JetFile::readRows(const std::string& table, const std::function<void(const std::vector<JetCell>&)>& sink) {
    TableDef t = impl_->table(table);
    impl_->checkPages(t.get(), t->entry->object_name);
    const unsigned ncols = t->num_cols;
    std::vector<JetCell> row(ncols);
    long count = 0;
    mdb_rewind_table(t.get());
    bool more = false;
    while (mdb_fetch_row(t.get())) {
        if (static_cast<unsigned long>(count) >= t->num_rows) {
            more = true;  // more rows than declared: refused below, without reading on
            break;
        }
        bool emptyText = false;
        for (unsigned i = 0; i < ncols; ++i) {
            MdbColumn* col = columnAt(t.get(), i);
            try {
                row[i] = impl_->value(col);
            } catch (const DbError& e) {
                throw DbError(e.file(), withArgs(translate("Store", "table \"%1\", row %2: %3"),
                                                 {table, std::to_string(count + 1), e.message()}));
            }
            if (textLike(col->col_type) && std::holds_alternative<std::monostate>(row[i])) emptyText = true;
        }
        if (emptyText) impl_->markEmptyTexts(t.get(), row);
        sink(row);
        ++count;
    }
    // libmdb passes over a row it cannot read without a word: the count tells.
    if (more || static_cast<unsigned long>(count) != t->num_rows)
        impl_->damaged(t->entry->object_name,
                       more ? withArgs(translate("Store", "its definition declares %1 rows, it holds more"),
                                       {std::to_string(t->num_rows)})
                            : withArgs(translate("Store", "its definition declares %1 rows, %2 could be read"),
                                       {std::to_string(t->num_rows), std::to_string(count)}));
    return count;
}

}  // namespace zt::store
