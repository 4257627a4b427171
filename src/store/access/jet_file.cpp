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

    ~Impl() {
        if (mdb) mdb_close(mdb);
    }

    std::string file() const { return path.string(); }

    void readCatalog() {
        if (catalogRead) return;
        if (!mdb_read_catalog(mdb, MDB_TABLE)) throw DbError(file(), "cannot read the list of tables of this Access file");
        catalogRead = true;
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
        if (!t || !mdb_read_columns(t.get())) throw DbError(file(), "cannot read the fields of table \"" + name + "\"");
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
            throw DbError(file(), "field \"" + std::string(col->name) +
                                      "\" holds a value that lies outside its page: the file is damaged");
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
                const std::string text = takeGString(mdb_money_to_string(mdb, start));
                const auto c = Currency::parse(text);
                if (!c)
                    throw DbError(file(), "field \"" + std::string(col->name) + "\" holds a currency value \"" + text +
                                              "\" that cannot be read exactly");
                return c->toDouble();
            }
            case MDB_NUMERIC: {
                const std::string text = takeGString(mdb_numeric_to_string(mdb, start, col->col_scale, col->col_prec));
                double d = 0;
                const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
                if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return text;
                return d;
            }
            case MDB_TEXT: {
                std::string out(3 * static_cast<std::size_t>(len) + 16, '\0');
                const int n = mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(pg) + start, len, out.data(), out.size() - 1);
                out.resize(static_cast<std::size_t>(std::max(n, 0)));
                return out;
            }
            case MDB_MEMO: {
                // libmdb converts a memo into a buffer of its bind size: make room for all of it.
                const std::size_t stored = len >= MDB_MEMO_OVERHEAD ? (mdb_get_int32(pg, start) & 0x3fffffff) : 0;
                const std::size_t saved = mdb->bind_size;
                mdb->bind_size = std::max(saved, 3 * (stored + static_cast<std::size_t>(mdb->fmt->pg_size)) + 64);
                std::string out = takeGString(mdb_col_to_string(mdb, pg, start, MDB_MEMO, len));
                mdb->bind_size = saved;
                return out;
            }
            case MDB_OLE: return oleValue(col);
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
    if (!isJetKind(kind)) throw DbError(file.string(), "this is not an Access (Jet) file");
    auto impl = std::make_unique<Impl>();
    impl->path = file;
    impl->mdb = mdb_open(file.string().c_str(), MDB_NOFLAGS);
    if (!impl->mdb) {
        if (kind == FileKind::Ace)
            throw DbError(file.string(),
                          "this Access 2007 or later file (ACE format) cannot be read here; save it from Access in the "
                          "Access 2000 format (.mdb) and try again");
        throw DbError(file.string(), "cannot read this Access (Jet) file: it is damaged or of an unknown version");
    }
    useUtf8(impl->mdb);
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
    const unsigned ncols = t->num_cols;
    std::vector<JetCell> row(ncols);
    long count = 0;
    mdb_rewind_table(t.get());
    while (mdb_fetch_row(t.get())) {
        bool emptyText = false;
        for (unsigned i = 0; i < ncols; ++i) {
            MdbColumn* col = columnAt(t.get(), i);
            try {
                row[i] = impl_->value(col);
            } catch (const DbError& e) {
                throw DbError(e.file(), "table \"" + table + "\", row " + std::to_string(count + 1) + ": " + e.message());
            }
            if (textLike(col->col_type) && std::holds_alternative<std::monostate>(row[i])) emptyText = true;
        }
        if (emptyText) impl_->markEmptyTexts(t.get(), row);
        sink(row);
        ++count;
    }
    return count;
}

}  // namespace zt::store
