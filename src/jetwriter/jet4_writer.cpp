#include "jetwriter/jet4_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zt::jetwrite {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kDataHeader = 14;        // type, 1, free space, owner, 4 unknown, row count
constexpr std::size_t kMaxRowsPerPage = 255;   // a row's number is one byte in page/row pointers
constexpr std::size_t kMapRow = 69;            // a usage map: type and 64 bytes (or 17 page numbers)
constexpr std::uint32_t kMap0Pages = 64 * 8;   // pages a map of type 0 covers from its first page
constexpr std::uint32_t kMap1Pages = (kPage - 4) * 8;  // pages one usage-map page (type 5) covers
constexpr std::size_t kMap1Entries = (kMapRow - 1) / 4;
constexpr std::size_t kInlineMemo = 64;        // memo bytes kept in the row itself
constexpr std::size_t kLvalChunk = kPage - kDataHeader - 2 - 4;  // bytes of a long value per chained page
constexpr std::size_t kMemoHeader = 12;
constexpr std::uint32_t kMaxPages = (std::uint32_t{1} << 31) / kPage;  // Access files end at 2 GB
constexpr std::uint32_t kTablesContainer = 0x0F000001;

// Jet's column type codes.
enum : std::uint8_t {
    kBool = 0x01, kByte = 0x02, kInt = 0x03, kLong = 0x04, kMoney = 0x05, kDouble = 0x07,
    kDate = 0x08, kBinary = 0x09, kText = 0x0A, kOle = 0x0B, kMemo = 0x0C
};

void put16(std::uint8_t* p, std::size_t at, std::uint32_t v) {
    p[at] = static_cast<std::uint8_t>(v);
    p[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put64(std::uint8_t* p, std::size_t at, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void putDouble(std::uint8_t* p, std::size_t at, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    put64(p, at, bits);
}
void append16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// UTF-8 into UTF-16 code units; false for bytes that are not UTF-8.
bool utf16(const std::string& s, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::uint32_t cp = 0;
        int extra = 0;
        if (c < 0x80) cp = c;
        else if ((c & 0xE0) == 0xC0) cp = c & 0x1F, extra = 1;
        else if ((c & 0xF0) == 0xE0) cp = c & 0x0F, extra = 2;
        else if ((c & 0xF8) == 0xF0) cp = c & 0x07, extra = 3;
        else return false;
        if (i + static_cast<std::size_t>(extra) >= s.size() + (extra ? 0 : 1)) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (cp >= 0xD800 && cp < 0xE000) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return true;
}

std::vector<std::uint8_t> ucs2(const std::u16string& s) {
    std::vector<std::uint8_t> out;
    out.reserve(2 * s.size());
    for (char16_t c : s) append16(out, c);
    return out;
}

// Jet 4's compressed form (0xFF 0xFE, then one byte per character) when every character
// is one byte wide and not zero and the result is shorter; otherwise UCS-2.
std::vector<std::uint8_t> storedText(const std::u16string& s, bool mayCompress) {
    const bool oneByte = std::all_of(s.begin(), s.end(), [](char16_t c) { return c > 0 && c < 0x100; });
    if (!mayCompress || !oneByte || s.size() + 2 >= 2 * s.size()) return ucs2(s);
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    for (char16_t c : s) out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

bool fixedType(std::uint8_t t) { return t != kText && t != kMemo && t != kBinary && t != kOle; }

std::uint16_t fixedSize(std::uint8_t t) {
    switch (t) {
        case kBool: return 0;
        case kByte: return 1;
        case kInt: return 2;
        case kLong: return 4;
        default: return 8;  // currency, double, date/time
    }
}

std::uint8_t typeCode(Jet4Type t) {
    switch (t) {
        case Jet4Type::YesNo: return kBool;
        case Jet4Type::Byte: return kByte;
        case Jet4Type::Integer: return kInt;
        case Jet4Type::Long: return kLong;
        case Jet4Type::Currency: return kMoney;
        case Jet4Type::Double: return kDouble;
        case Jet4Type::DateTime: return kDate;
        case Jet4Type::Text: return kText;
        case Jet4Type::Memo: return kMemo;
    }
    return kText;
}

// A column as it is laid out in the table definition and the rows.
struct Col {
    std::string name;
    std::uint8_t type = kText;
    std::uint16_t size = 0;     // bytes: fixed size, 2 x characters for text, 0 for memo and OLE
    std::uint16_t fixedOffset = 0;
    std::uint16_t varIndex = 0;
    int mapRow = -1;            // long-value columns: the row of their usage map
};

// A page of rows (data or long values), filled from its end.
struct RowPage {
    std::uint32_t number = 0;
    std::array<std::uint8_t, kPage> bytes{};
    std::size_t rows = 0;
    std::size_t top = kPage;  // where the last row starts

    void start(std::uint32_t pageNumber, std::uint32_t owner, bool longValues) {
        number = pageNumber;
        bytes.fill(0);
        bytes[0] = 0x01;
        bytes[1] = 0x01;
        if (longValues) std::memcpy(bytes.data() + 4, "LVAL", 4);
        else put32(bytes.data(), 4, owner);
        rows = 0;
        top = kPage;
        update();
    }
    bool open() const { return number != 0; }
    std::size_t room() const { return top - (kDataHeader + 2 * rows); }
    bool fits(std::size_t size) const { return rows < kMaxRowsPerPage && room() >= size + 2; }
    // Adds a row; returns its number on the page.
    std::size_t add(const std::uint8_t* data, std::size_t size) {
        top -= size;
        std::memcpy(bytes.data() + top, data, size);
        put16(bytes.data(), kDataHeader + 2 * rows, static_cast<std::uint32_t>(top));
        ++rows;
        update();
        return rows - 1;
    }
    void update() {
        put16(bytes.data(), 2, static_cast<std::uint32_t>(room()));
        put16(bytes.data(), 12, static_cast<std::uint32_t>(rows));
    }
};

std::uint32_t pageRow(std::uint32_t page, std::size_t row) { return (page << 8) | static_cast<std::uint32_t>(row); }

// RC4, with which Jet 4 hides part of the header page.
void rc4(const std::uint8_t* key, std::size_t keyLen, std::uint8_t* data, std::size_t len) {
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i) s[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::size_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLen]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    std::size_t a = 0, b = 0;
    for (std::size_t k = 0; k < len; ++k) {
        a = (a + 1) & 0xFF;
        b = (b + s[a]) & 0xFF;
        std::swap(s[a], s[b]);
        data[k] ^= s[(s[a] + s[b]) & 0xFF];
    }
}

double nowAsJetDate() {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    return 25569.0 + static_cast<double>(seconds) / 86400.0;
}

}  // namespace

bool jetDateFromText(const std::string& text, double& days) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    bool ok = false;
    if (text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        ok = std::sscanf(text.c_str(), "%4d%2d%2d", &y, &mo, &d) == 3;
    } else if (text.size() == 10) {
        ok = std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &mo, &d, &tail) == 3;
    } else if (text.size() == 19) {
        ok = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) == 6;
    }
    if (!ok || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0) return false;
    const std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(mo)},
                                          std::chrono::day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || y < 100 || y > 9999) return false;
    const auto day = std::chrono::sys_days{ymd}.time_since_epoch().count() + 25569;
    const double time = (h * 3600 + mi * 60 + s) / 86400.0;
    // Before 1899-12-30 the whole part counts back and the time still runs forward.
    days = day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
    return true;
}

struct Jet4Writer::Impl {
    fs::path path;
    int fd = -1;
    std::uint32_t nextPage = 4;  // 0 header, 1 global usage map, 2 catalog definition, 3 its maps
    bool finished = false;

    struct CatalogEntry {
        std::string name;
        std::uint32_t tdefPage;
    };
    std::vector<CatalogEntry> catalog;

    // The table being written.
    struct Table {
        std::string name;
        std::vector<Col> cols;  // in column order
        std::uint16_t varCount = 0;
        std::uint32_t tdefPage = 0, mapPage = 0;
        bool system = false;
        std::uint32_t rows = 0;
        RowPage data;
        std::vector<std::uint32_t> dataPages;
        // Long values, per long-value column: the page being filled and the pages made.
        std::vector<RowPage> lval;
        std::vector<std::vector<std::uint32_t>> lvalPages;
    };
    std::unique_ptr<Table> table;
    std::vector<std::uint32_t> allPages{0, 1, 2, 3};

    ~Impl() {
        if (fd >= 0) ::close(fd);
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(path.string() + ": " + what);
    }
    [[noreturn]] void failIn(const Col& col, const std::string& what) const {
        fail("table \"" + table->name + "\", field \"" + col.name + "\": " + what);
    }

    std::uint32_t allocate() {
        if (nextPage >= kMaxPages) fail("the file would be larger than the 2 GB of an Access file");
        const std::uint32_t p = nextPage++;
        allPages.push_back(p);
        return p;
    }

    void writePage(std::uint32_t number, const std::uint8_t* bytes) {
        const off_t at = static_cast<off_t>(number) * static_cast<off_t>(kPage);
        std::size_t done = 0;
        while (done < kPage) {
            const ssize_t n = ::pwrite(fd, bytes + done, kPage - done, at + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fail(std::string("cannot write: ") + std::strerror(n < 0 ? errno : EIO));
            done += static_cast<std::size_t>(n);
        }
    }

    // ---- tables ------------------------------------------------------------------

    // A new table; its definition and maps go on new pages unless given.
    void begin(const std::string& name, const std::vector<Col>& cols, bool system, std::uint32_t tdefPage = 0,
               std::uint32_t mapPage = 0) {
        endTable();
        if (name.empty() || name.size() > 64) fail("a table needs a name of 1 to 64 characters: \"" + name + "\"");
        if (cols.empty() || cols.size() > 255) fail("table \"" + name + "\" needs 1 to 255 fields");
        for (const auto& e : catalog)
            if (std::equal(e.name.begin(), e.name.end(), name.begin(), name.end(), [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); }))
                fail("table \"" + name + "\" is written twice");
        auto t = std::make_unique<Table>();
        t->name = name;
        t->system = system;
        t->cols = cols;
        std::uint16_t fixedAt = 0;
        int longCols = 0;
        for (auto& c : t->cols) {
            if (fixedType(c.type)) {
                c.fixedOffset = fixedAt;
                fixedAt = static_cast<std::uint16_t>(fixedAt + fixedSize(c.type));
                c.size = c.type == kBool ? 1 : fixedSize(c.type);
            } else {
                c.varIndex = t->varCount++;
                if (c.type == kMemo || c.type == kOle) c.mapRow = 2 + 2 * longCols++;
            }
        }
        t->lval.resize(t->cols.size());
        t->lvalPages.resize(t->cols.size());
        t->tdefPage = tdefPage ? tdefPage : allocate();
        t->mapPage = mapPage ? mapPage : allocate();
        table = std::move(t);
    }

    // Stores a long value on long-value pages; returns the 12 bytes that stand in the row.
    std::array<std::uint8_t, kMemoHeader> storeLong(std::size_t colIndex, const std::vector<std::uint8_t>& v) {
        std::array<std::uint8_t, kMemoHeader> head{};
        if (v.size() >= 0x3FFFFFFF) failIn(table->cols[colIndex], "a value of over a gigabyte");
        RowPage& page = table->lval[colIndex];
        auto& pages = table->lvalPages[colIndex];
        auto placed = [&](std::size_t size) -> RowPage& {
            if (!page.open() || !page.fits(size)) {
                if (page.open()) writePage(page.number, page.bytes.data());
                page.start(allocate(), 0, true);
                pages.push_back(page.number);
            }
            return page;
        };
        if (v.size() <= kLvalChunk + 4) {
            // One row on one page.
            RowPage& p = placed(v.size());
            const std::size_t row = p.add(v.data(), v.size());
            put32(head.data(), 0, static_cast<std::uint32_t>(v.size()) | 0x40000000u);
            put32(head.data(), 4, pageRow(p.number, row));
            return head;
        }
        // A chain of rows, each with the page/row of the next; written from the last.
        std::uint32_t next = 0;
        const std::size_t chunks = (v.size() + kLvalChunk - 1) / kLvalChunk;
        std::vector<std::uint8_t> row;
        for (std::size_t k = chunks; k-- > 0;) {
            const std::size_t from = k * kLvalChunk;
            const std::size_t len = std::min(kLvalChunk, v.size() - from);
            row.assign(4, 0);
            put32(row.data(), 0, next);
            row.insert(row.end(), v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + len));
            RowPage& p = placed(row.size());
            next = pageRow(p.number, p.add(row.data(), row.size()));
        }
        put32(head.data(), 0, static_cast<std::uint32_t>(v.size()));
        put32(head.data(), 4, next);
        return head;
    }

    void add(const Jet4Row& values) {
        if (!table) fail("a row before any table");
        Table& t = *table;
        if (values.size() != t.cols.size())
            fail("table \"" + t.name + "\": a row of " + std::to_string(values.size()) + " values for " +
                 std::to_string(t.cols.size()) + " fields");
        const std::size_t ncols = t.cols.size();
        std::vector<std::uint8_t> fixed;
        std::vector<std::uint8_t> var;
        std::vector<std::uint16_t> varStart(t.varCount + 1u, 0);
        std::vector<std::uint8_t> mask((ncols + 7) / 8, 0);
        std::size_t fixedSizeAll = 0;
        for (const auto& c : t.cols)
            if (fixedType(c.type)) fixedSizeAll = std::max<std::size_t>(fixedSizeAll, c.fixedOffset + fixedSize(c.type));
        fixed.assign(fixedSizeAll, 0);
        const std::size_t varBase = 2 + fixedSizeAll;

        for (std::size_t i = 0; i < ncols; ++i) {
            const Col& c = t.cols[i];
            const Jet4Value& v = values[i];
            const bool null = std::holds_alternative<std::monostate>(v);
            auto setBit = [&] { mask[i / 8] = static_cast<std::uint8_t>(mask[i / 8] | (1u << (i % 8))); };
            auto number = [&](double& d) {
                if (auto* n = std::get_if<std::int64_t>(&v)) d = static_cast<double>(*n);
                else if (auto* r = std::get_if<double>(&v)) d = *r;
                else failIn(c, "a number is needed");
            };
            if (!fixedType(c.type)) {
                varStart[c.varIndex] = static_cast<std::uint16_t>(varBase + var.size());
                if (null) continue;
                const auto* s = std::get_if<std::string>(&v);
                if (!s) failIn(c, "a text is needed");
                std::u16string u;
                if (!utf16(*s, u)) failIn(c, "the text is not UTF-8");
                if (c.type == kText) {
                    if (u.size() * 2 > c.size)
                        failIn(c, "the text \"" + *s + "\" is longer than the field's " + std::to_string(c.size / 2) +
                                      " characters");
                    const auto b = storedText(u, true);
                    var.insert(var.end(), b.begin(), b.end());
                } else {
                    // Access compresses a memo of at most 1024 characters only.
                    const auto b = storedText(u, u.size() <= 1024);
                    if (b.size() <= kInlineMemo) {
                        std::array<std::uint8_t, kMemoHeader> head{};
                        put32(head.data(), 0, static_cast<std::uint32_t>(b.size()) | 0x80000000u);
                        var.insert(var.end(), head.begin(), head.end());
                        var.insert(var.end(), b.begin(), b.end());
                    } else {
                        const auto head = storeLong(i, b);
                        var.insert(var.end(), head.begin(), head.end());
                    }
                }
                setBit();
                continue;
            }
            std::uint8_t* at = fixed.data() + c.fixedOffset;
            if (c.type == kBool) {
                double d = 0;
                if (!null) number(d);
                if (d != 0) setBit();  // a Yes/No field's value is its bit; it is never null
                continue;
            }
            if (null) continue;
            setBit();
            double d = 0;
            if (c.type == kDate) {
                if (auto* s = std::get_if<std::string>(&v)) {
                    if (!jetDateFromText(*s, d)) failIn(c, "\"" + *s + "\" is not a date");
                } else {
                    number(d);
                }
                putDouble(at, 0, d);
                continue;
            }
            if (c.type == kDouble) {
                number(d);
                putDouble(at, 0, d);
                continue;
            }
            if (c.type == kMoney) {
                number(d);
                const double units = std::round(d * 10000.0);
                if (!(std::fabs(units) < 9.2e18)) failIn(c, "the amount is out of range");
                put64(at, 0, static_cast<std::uint64_t>(static_cast<std::int64_t>(units)));
                continue;
            }
            const auto* n = std::get_if<std::int64_t>(&v);
            if (!n) failIn(c, "a whole number is needed");
            const std::int64_t lo = c.type == kByte ? 0 : c.type == kInt ? -32768 : INT32_MIN;
            const std::int64_t hi = c.type == kByte ? 255 : c.type == kInt ? 32767 : INT32_MAX;
            if (*n < lo || *n > hi) failIn(c, std::to_string(*n) + " does not fit the field");
            const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(*n));
            if (c.type == kByte) at[0] = static_cast<std::uint8_t>(u);
            else if (c.type == kInt) put16(at, 0, u);
            else put32(at, 0, u);
        }

        // num_cols, fixed, variable, [eod, offsets last to first, count], null mask.
        std::vector<std::uint8_t> row;
        append16(row, static_cast<std::uint32_t>(ncols));
        row.insert(row.end(), fixed.begin(), fixed.end());
        if (t.varCount > 0) {
            row.insert(row.end(), var.begin(), var.end());
            varStart[t.varCount] = static_cast<std::uint16_t>(row.size());
            append16(row, static_cast<std::uint32_t>(row.size()));  // eod
            for (std::size_t k = t.varCount; k-- > 0;) append16(row, varStart[k]);
            append16(row, t.varCount);
        }
        row.insert(row.end(), mask.begin(), mask.end());
        if (row.size() + 2 > kPage - kDataHeader)
            fail("table \"" + t.name + "\": a row of " + std::to_string(row.size()) + " bytes does not fit a page");
        if (!t.data.open() || !t.data.fits(row.size())) {
            if (t.data.open()) writePage(t.data.number, t.data.bytes.data());
            t.data.start(allocate(), t.tdefPage, false);
            t.dataPages.push_back(t.data.number);
        }
        t.data.add(row.data(), row.size());
        if (t.rows == UINT32_MAX) fail("table \"" + t.name + "\": too many rows");
        ++t.rows;
    }

    // A usage map of the pages; map type 0 when they lie within 512 pages, otherwise
    // type 1 with its usage-map pages written here.
    std::vector<std::uint8_t> usageMap(const std::vector<std::uint32_t>& pages, const std::string& owner) {
        std::vector<std::uint8_t> map(kMapRow, 0);
        if (pages.empty()) return map;
        const std::uint32_t first = *std::min_element(pages.begin(), pages.end());
        const std::uint32_t last = *std::max_element(pages.begin(), pages.end());
        if (last - first < kMap0Pages) {
            map[0] = 0;
            put32(map.data(), 1, first);
            for (std::uint32_t p : pages) map[5 + (p - first) / 8] |= static_cast<std::uint8_t>(1u << ((p - first) % 8));
            return map;
        }
        map[0] = 1;
        if (last / kMap1Pages >= kMap1Entries) fail(owner + " is too large for an Access file");
        std::vector<std::array<std::uint8_t, kPage>> bitmaps(last / kMap1Pages + 1);
        std::vector<bool> used(bitmaps.size(), false);
        for (std::uint32_t p : pages) {
            const std::size_t k = p / kMap1Pages;
            const std::uint32_t bit = p % kMap1Pages;
            if (!used[k]) {
                bitmaps[k].fill(0);
                bitmaps[k][0] = 0x05;
                bitmaps[k][1] = 0x01;
                used[k] = true;
            }
            bitmaps[k][4 + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
        }
        for (std::size_t k = 0; k < bitmaps.size(); ++k) {
            if (!used[k]) continue;
            const std::uint32_t at = allocate();
            writePage(at, bitmaps[k].data());
            put32(map.data(), 1 + 4 * k, at);
        }
        return map;
    }

    // The table's definition page (one page: up to about 120 fields with short names).
    void writeDefinition() {
        Table& t = *table;
        std::vector<std::uint8_t> d(63, 0);
        d[0] = 0x02;
        d[1] = 0x01;
        put32(d.data(), 12, 0x0659);  // as Access writes it, also before each field
        put32(d.data(), 16, t.rows);
        d[24] = 0x01;
        d[40] = t.system ? 0x53 : 0x4E;
        put16(d.data(), 41, static_cast<std::uint32_t>(t.cols.size()));
        put16(d.data(), 43, t.varCount);
        put16(d.data(), 45, static_cast<std::uint32_t>(t.cols.size()));
        put32(d.data(), 47, 0);  // no indexes
        put32(d.data(), 51, 0);
        put32(d.data(), 55, pageRow(t.mapPage, 0));
        put32(d.data(), 59, pageRow(t.mapPage, 1));
        for (std::size_t i = 0; i < t.cols.size(); ++i) {
            const Col& c = t.cols[i];
            std::array<std::uint8_t, 25> e{};
            e[0] = c.type;
            put32(e.data(), 1, 0x0659);
            put16(e.data(), 5, static_cast<std::uint32_t>(i));
            put16(e.data(), 7, c.varIndex);
            put16(e.data(), 9, static_cast<std::uint32_t>(i));
            if (c.type == kText || c.type == kMemo) put16(e.data(), 11, 0x0409);  // the General sort order
            e[15] = fixedType(c.type) ? 0x03 : 0x02;
            e[16] = (c.type == kText || c.type == kMemo) ? 0x01 : 0x00;  // compressed Unicode
            put16(e.data(), 21, c.fixedOffset);
            put16(e.data(), 23, c.size);
            d.insert(d.end(), e.begin(), e.end());
        }
        for (const Col& c : t.cols) {
            std::u16string u;
            utf16(c.name, u);
            append16(d, static_cast<std::uint32_t>(2 * u.size()));
            const auto b = ucs2(u);
            d.insert(d.end(), b.begin(), b.end());
        }
        for (std::size_t i = 0; i < t.cols.size(); ++i) {
            if (t.cols[i].mapRow < 0) continue;
            append16(d, static_cast<std::uint32_t>(i));
            append32(d, pageRow(t.mapPage, static_cast<std::size_t>(t.cols[i].mapRow)));
            append32(d, pageRow(t.mapPage, static_cast<std::size_t>(t.cols[i].mapRow + 1)));
        }
        append16(d, 0xFFFF);
        if (d.size() + 8 > kPage) fail("table \"" + t.name + "\" has too many fields for one definition page");
        put32(d.data(), 8, static_cast<std::uint32_t>(d.size()));
        put16(d.data(), 2, static_cast<std::uint32_t>(kPage - d.size() - 8));
        std::array<std::uint8_t, kPage> page{};
        std::memcpy(page.data(), d.data(), d.size());
        writePage(t.tdefPage, page.data());
    }

    void endTable() {
        if (!table) return;
        Table& t = *table;
        if (t.data.open()) writePage(t.data.number, t.data.bytes.data());
        for (auto& p : t.lval)
            if (p.open()) writePage(p.number, p.bytes.data());
        // The maps: owned pages, then pages with free space (the last one, the others are full).
        RowPage maps;
        maps.start(t.mapPage, 0, false);
        auto addMap = [&](const std::vector<std::uint32_t>& pages) {
            const std::string owner = "table \"" + t.name + "\"";
            const auto owned = usageMap(pages, owner);
            maps.add(owned.data(), owned.size());
            std::vector<std::uint32_t> last;
            if (!pages.empty()) last.push_back(pages.back());
            const auto free = usageMap(last, owner);
            maps.add(free.data(), free.size());
        };
        addMap(t.dataPages);
        for (std::size_t i = 0; i < t.cols.size(); ++i)
            if (t.cols[i].mapRow >= 0) addMap(t.lvalPages[i]);
        writePage(t.mapPage, maps.bytes.data());
        writeDefinition();
        if (!t.system) catalog.push_back({t.name, t.tdefPage});
        table.reset();
    }

    // ---- the catalog and the header ----------------------------------------------------

    static std::vector<Col> catalogColumns() {
        std::vector<Col> cols;
        auto add = [&](const char* name, std::uint8_t type, std::uint16_t size) {
            Col c;
            c.name = name;
            c.type = type;
            c.size = size;
            cols.push_back(c);
        };
        add("Id", kLong, 4);
        add("ParentId", kLong, 4);
        add("Name", kText, 510);
        add("Type", kInt, 2);
        add("DateCreate", kDate, 8);
        add("DateUpdate", kDate, 8);
        add("Owner", kBinary, 255);
        add("Flags", kLong, 4);
        add("Database", kMemo, 0);
        add("Connect", kMemo, 0);
        add("ForeignName", kText, 510);
        add("RmtInfoShort", kBinary, 255);
        add("RmtInfoLong", kOle, 0);
        add("Lv", kOle, 0);
        add("LvProp", kOle, 0);
        add("LvModule", kOle, 0);
        add("LvExtra", kOle, 0);
        return cols;
    }

    void writeCatalog() {
        const auto users = catalog;
        // The catalog's own definition lies on page 2, where every reader looks for it.
        begin("MSysObjects", catalogColumns(), true, 2, 3);
        const double now = nowAsJetDate();
        const std::int64_t system = static_cast<std::int64_t>(static_cast<std::int32_t>(0x80000000u));
        auto entry = [&](std::int64_t id, std::int64_t parent, const std::string& name, std::int64_t type,
                         std::int64_t flags) {
            add({id, parent, name, type, now, now, {}, flags, {}, {}, {}, {}, {}, {}, {}, {}, {}});
        };
        entry(kTablesContainer, 0x0F000000, "Tables", 3, system);
        entry(kTablesContainer + 1, 0x0F000000, "Databases", 3, system);
        entry(kTablesContainer + 2, 0x0F000000, "Relationships", 3, system);
        entry(2, kTablesContainer, "MSysObjects", 1, system);
        for (const auto& e : users) entry(e.tdefPage, kTablesContainer, e.name, 1, 0);
        endTable();
    }

    // Page 0: the format's name, version and code page; part of it hidden with RC4 as
    // Access does. The block from 0x3C holds the values Access 2000 writes for an empty
    // database password with its creation date.
    void writeHeader() {
        std::array<std::uint8_t, kPage> p{};
        static constexpr std::uint8_t kStart[] = {0x00, 0x01, 0x00, 0x00, 'S', 't', 'a', 'n', 'd', 'a', 'r', 'd',
                                                  ' ',  'J',  'e',  't',  ' ', 'D', 'B', 0x00, 0x01, 0x00, 0x00, 0x00};
        std::memcpy(p.data(), kStart, sizeof kStart);
        static constexpr std::uint8_t kHidden[] = {
            0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
            0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
            0x00, 0x00, 0x00, 0x00, 0xe4, 0x04, 0x00, 0x00, 0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad,
            0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad,
            0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad, 0x00, 0x00, 0xf4, 0xad,
            0x00, 0x00, 0xa6, 0x11, 0x00, 0x00, 0x09, 0x04, 0x00, 0x00, 0xa7, 0x8c, 0xa6, 0xcd, 0x94, 0xbe,
            0xe5, 0x40};
        std::memcpy(p.data() + 0x18, kHidden, sizeof kHidden);
        static constexpr std::uint8_t kKey[] = {0xC7, 0xDA, 0x39, 0x6B};
        rc4(kKey, sizeof kKey, p.data() + 0x18, 128);
        static constexpr std::uint8_t kAfter[] = {0x54, 0x06, 0x00, 0x00, '4', '.', '0', 0x00};
        std::memcpy(p.data() + 0x98, kAfter, sizeof kAfter);
        writePage(0, p.data());
    }

    // Page 1: the map of every page in use.
    void writeGlobalMap() {
        RowPage page;
        page.start(1, 0, false);
        const auto map = usageMap(allPages, "the file");
        page.add(map.data(), map.size());
        writePage(1, page.bytes.data());
    }

    void finish() {
        if (finished) return;
        endTable();
        writeCatalog();
        writeGlobalMap();
        writeHeader();
        if (::fsync(fd) != 0 || ::close(fd) != 0) {
            fd = -1;
            fail(std::string("cannot finish writing: ") + std::strerror(errno));
        }
        fd = -1;
        finished = true;
    }
};

Jet4Writer::Jet4Writer(const fs::path& file) : impl_(std::make_unique<Impl>()) {
    impl_->path = file;
    impl_->fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (impl_->fd < 0) impl_->fail(std::string("cannot create: ") + std::strerror(errno));
}

Jet4Writer::~Jet4Writer() = default;

void Jet4Writer::beginTable(const std::string& name, const std::vector<Jet4Column>& columns) {
    if (name.rfind("MSys", 0) == 0) impl_->fail("\"" + name + "\" is the name of a system table");
    std::vector<Col> cols;
    for (const auto& c : columns) {
        Col col;
        col.name = c.name;
        col.type = typeCode(c.type);
        if (c.name.empty() || c.name.size() > 64)
            impl_->fail("table \"" + name + "\": a field needs a name of 1 to 64 characters");
        if (c.type == Jet4Type::Text) {
            if (c.size < 1 || c.size > 255)
                impl_->fail("table \"" + name + "\", field \"" + c.name + "\": a text field holds 1 to 255 characters");
            col.size = static_cast<std::uint16_t>(2 * c.size);
        }
        cols.push_back(col);
    }
    impl_->begin(name, cols, false);
}

void Jet4Writer::addRow(const Jet4Row& row) { impl_->add(row); }

void Jet4Writer::finish() { impl_->finish(); }

void writeJet4File(const fs::path& file, const std::vector<Jet4Table>& tables) {
    Jet4Writer w(file);
    for (const auto& t : tables) {
        w.beginTable(t.name, t.columns);
        for (const auto& r : t.rows) w.addRow(r);
    }
    w.finish();
}

}  // namespace zt::jetwrite
