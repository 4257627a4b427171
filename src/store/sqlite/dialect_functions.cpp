#include "store/sqlite/dialect_functions.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "common/text.h"
#include "store/dialect/jet_emit.h"
#include "store/dialect/jet_text.h"

namespace zt::store {

namespace {

// ---- SQL functions that give the dialect Jet's meaning -------------------------

// A value as a number the way Jet converts a text for a comparison: blanks around it
// are allowed, anything else that is not a number gives null (matches nothing).
void fnNum(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0])); return;
        case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
        case SQLITE_TEXT: {
            // from_chars reads the same whatever the process's locale is.
            std::string t = trim(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
            if (!t.empty() && t[0] == '+') t.erase(0, 1);
            if (t.empty()) break;
            const char* first = t.data();
            const char* last = t.data() + t.size();
            long long i = 0;
            if (auto [end, ec] = std::from_chars(first, last, i); ec == std::errc() && end == last) {
                sqlite3_result_int64(ctx, i);
                return;
            }
            double d = 0;
            if (auto [end, ec] = std::from_chars(first, last, d, std::chars_format::general);
                ec == std::errc() && end == last && std::isfinite(d)) {
                sqlite3_result_double(ctx, d);
                return;
            }
            break;
        }
        default: break;
    }
    sqlite3_result_null(ctx);
}

// Val's result: a whole number as an integer.
void resultVal(sqlite3_context* ctx, double d) {
    if (d == std::floor(d) && std::fabs(d) < 9e15) sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
    else sqlite3_result_double(ctx, d);
}

// Val: the leading number of a text, 0 when there is none; a number stays itself.
void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0])); return;
        case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(argv[0])); return;
        case SQLITE_NULL: sqlite3_result_null(ctx); return;
        default: break;
    }
    resultVal(ctx, val(reinterpret_cast<const char*>(sqlite3_value_text(argv[0]))));
}

// Val(Left$(x, n)) in one call: Val of what substr(x, 1, n) gives, cut the way substr
// cuts: characters of the text (of a number's text), up to a NUL; bytes of a blob.
void fnValLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const sqlite3_int64 n = std::max<sqlite3_int64>(0, sqlite3_value_int64(argv[1]));
    if (type == SQLITE_BLOB) {
        const auto* bytes = static_cast<const char*>(sqlite3_value_blob(argv[0]));
        if (!bytes) return sqlite3_result_null(ctx);  // an empty blob, which substr makes null
        const auto size = static_cast<sqlite3_int64>(sqlite3_value_bytes(argv[0]));
        const std::string cut(bytes, static_cast<std::size_t>(std::min(size, n)));
        return resultVal(ctx, val(cut.c_str()));  // up to a NUL, as the text of a blob is read
    }
    const auto* text = sqlite3_value_text(argv[0]);
    if (!text) return sqlite3_result_null(ctx);
    const unsigned char* p = text;
    for (sqlite3_int64 k = 0; k < n && *p; ++k)
        if (*p++ >= 0xC0)
            while ((*p & 0xC0) == 0x80) ++p;
    resultVal(ctx, val(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(p - text))));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const std::string s = right(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), sqlite3_value_int(argv[1]));
    sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

// Instr(start, text, sought): 1-based position at or after start, 0 when absent.
void fnInstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const long start = std::max(1, sqlite3_value_int(argv[0]));
    const std::string hay = mid(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), start);
    const std::string needle = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
    const auto at = hay.find(needle);
    if (at == std::string::npos) return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(start - 1 + charCount(std::string_view(hay).substr(0, at)) + 1));
}

// ---- Jet's text rule (store/jet_text.h) ---------------------------------------------

int collateJet(void*, int na, const void* a, int nb, const void* b) {
    return jet::compareText(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                            std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

std::string_view textOf(sqlite3_value* v) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return t ? std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

// zt_fold(x): a text folded; any other value as it is.
void fnFold(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) return sqlite3_result_value(ctx, argv[0]);
    const std::string f = jet::foldText(textOf(argv[0]));
    sqlite3_result_text(ctx, f.data(), static_cast<int>(f.size()), SQLITE_TRANSIENT);
}

}  // namespace

void registerDialectFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, jet::sqlite_fn::kNum, 1, flags, nullptr, fnNum, nullptr, nullptr);
    sqlite3_create_function(db, jet::sqlite_fn::kVal, 1, flags, nullptr, fnVal, nullptr, nullptr);
    sqlite3_create_function(db, jet::sqlite_fn::kVal, 2, flags, nullptr, fnValLeft, nullptr, nullptr);
    sqlite3_create_function(db, jet::sqlite_fn::kRight, 2, flags, nullptr, fnRight, nullptr, nullptr);
    sqlite3_create_function(db, jet::sqlite_fn::kInstr, 3, flags, nullptr, fnInstr, nullptr, nullptr);
    sqlite3_create_function(db, jet::sqlite_fn::kFold, 1, flags, nullptr, fnFold, nullptr, nullptr);
    sqlite3_create_collation(db, jet::sqlite_fn::kCollation, SQLITE_UTF8, nullptr, collateJet);
}

}  // namespace zt::store
