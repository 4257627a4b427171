#include "store/postgres/server_admin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <set>

#include "common/cp1252.h"
#include "common/text.h"
#include "common/translate.h"
#include "store/sqlite/database.h"
#include "store/dialect/jet_emit.h"

namespace zt::store {

namespace {

// A text field as the key of `Zentoria` and the index of the sums hold it: folded by
// Jet's text rule (jet_text.h), written as the emitter writes a folded field
// (pgFoldSql), so that the key refuses "Generale" beside "generale" and the equalities
// the emitter writes seek them.
std::string folded(std::string_view field) { return "(" + jet::pgFoldSql(pgIdent(field)) + ")"; }

}  // namespace

std::string zentoriaKey() {
    return pgIdent(field::kHotel) + ", " + folded(field::kTipo) + ", " + folded(field::kDettaglio) + ", " +
           folded(field::kAnnoMese);
}

namespace {

// Texts compare and sort byte by byte (COLLATE "C"), as the SQLite files do, so a range
// on a date text means the same on both. `Valore` is an unconstrained numeric: a
// Currency ("&Aggiorna") keeps its four decimals and a double ("&Registra") the decimal
// that reads back to it, both exactly, and sums are exact.
std::string createTable(const FigureTable& t) {
    return "CREATE TABLE IF NOT EXISTS " + pgIdent(t.table) + " (" + pgIdent(field::kHotel) + " integer, " +
           pgIdent(field::kTipo) + " text COLLATE \"C\", " + pgIdent(field::kDettaglio) + " text COLLATE \"C\", " +
           pgIdent(t.periodField) + " text COLLATE \"C\", " + pgIdent(field::kValore) + " numeric)";
}

// The unique key of `Zentoria` (null fields count as equal, so it holds for them too),
// and the index of the sums of `Dettaglio`: hotel, statistic, then a range of dates,
// carrying the detail and the value so that a sum reads the index alone. Both hold the
// texts folded (folded()).

bool isSummary(const FigureTable& t) { return t.table == kSummaryTable.table; }

std::string indexName(const FigureTable& t) { return isSummary(t) ? "Zentoria_chiave" : "Dettaglio_somme"; }

std::string createIndex(const FigureTable& t) {
    if (isSummary(t))
        return "CREATE UNIQUE INDEX IF NOT EXISTS " + pgIdent(indexName(t)) + " ON " + pgIdent(t.table) + " (" +
               zentoriaKey() + ") NULLS NOT DISTINCT";
    return "CREATE INDEX IF NOT EXISTS " + pgIdent(indexName(t)) + " ON " + pgIdent(t.table) + " (" +
           pgIdent(field::kHotel) + ", " + folded(field::kTipo) + ", " + pgIdent(field::kDataInserimento) + ", " +
           folded(field::kDettaglio) + ") INCLUDE (" + pgIdent(field::kValore) + ")";
}

// A key or index made by an earlier version, which compared texts exactly: made again.
void replaceExactIndex(PgConnection& c, const FigureTable& t) {
    const PgResult r = c.exec("SELECT indexdef FROM pg_indexes WHERE schemaname = current_schema() AND indexname = $1",
                              {indexName(t)});
    if (r.rows() == 1 && r.text(0, 0).find("translate(") == std::string::npos)
        c.exec("DROP INDEX " + pgIdent(indexName(t)));
}

bool tableExists(PgConnection& c, std::string_view table) {
    return !c.exec("SELECT to_regclass($1)", {pgIdent(table)}).isNull(0, 0);
}

// The fields of the table that are missing on the server, joined by ", ".
std::string missingFields(PgConnection& c, const FigureTable& t) {
    const PgResult r = c.exec(
        "SELECT column_name FROM information_schema.columns WHERE table_schema = current_schema() AND table_name = $1",
        {std::string(t.table)});
    std::string missing;
    for (const auto& f : fieldsOf(t)) {
        bool found = false;
        for (int i = 0; i < r.rows() && !found; ++i) found = r.text(i, 0) == f;
        if (!found) missing += (missing.empty() ? "" : ", ") + f;
    }
    return missing;
}

void requireSchema(PgConnection& c) {
    for (const auto& t : kFigureTables) {
        if (!tableExists(c, t.table))
            throw c.error(withArgs(translate("Server", "the table %1 is not on the server: create the figure tables "
                                                       "with \"zentoria figures init\""),
                                   {std::string(t.table)}));
        if (const auto missing = missingFields(c, t); !missing.empty())
            throw c.error(withArgs(translate("Server", "the table %1 on the server lacks the fields %2: add them, or "
                                                       "create the figure tables again with \"zentoria figures init\" "
                                                       "on an empty database"),
                                   {std::string(t.table), missing}));
    }
}

std::string hotelText(std::optional<std::int64_t> hotel) {
    return hotel ? withArgs(translate("Server", "hotel %1"), {std::to_string(*hotel)})
                 : translate("Server", "the rows without a hotel number");
}

// "NumeroHotel = $1" or "NumeroHotel IS NULL", so that the index is sought.
std::string hotelCondition(std::optional<std::int64_t> hotel) {
    return pgIdent(field::kHotel) + (hotel ? " = $1" : " IS NULL");
}
std::vector<PgParam> hotelParams(std::optional<std::int64_t> hotel) {
    if (hotel) return {PgParam(*hotel)};
    return {};
}

// The hotel number of a row of a figure file: a whole number, or nullopt for a null.
std::optional<std::int64_t> hotelOf(const Value& v, const std::string& file) {
    if (v.isNull()) return std::nullopt;
    if (v.isInteger()) return std::get<std::int64_t>(v.raw());
    if (v.isDouble()) {
        const double d = std::get<double>(v.raw());
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.2e18) return static_cast<std::int64_t>(d);
    } else {
        const std::string t = trim(v.toText());
        std::int64_t n = 0;
        const auto res = std::from_chars(t.data(), t.data() + t.size(), n);
        if (!t.empty() && res.ec == std::errc() && res.ptr == t.data() + t.size()) return n;
    }
    throw DbError(file, withArgs(translate("Server", "NumeroHotel \"%1\" is not a hotel number; correct it in the "
                                                    "file, then copy again"),
                                 {v.toText()}));
}

// The count of one hotel's rows as one side gives them, and the sum of their `Valore`.
struct HotelRows {
    long long count = 0;
    double sum = 0;
    double magnitude = 0;  // the sum of the values' sizes, for the check's tolerance
    bool anyValue = false;
};

void addValue(HotelRows& h, const Value& v) {
    if (v.isNull()) return;
    const double d = v.toDouble();
    h.sum += d;
    h.magnitude += std::fabs(d);
    h.anyValue = true;
}

// Whether the server's sum (exact decimal text) is the file's sum, up to the rounding of
// the file's double arithmetic.
bool sameSum(const HotelRows& h, const PgResult& r, int column) {
    if (r.isNull(0, column)) return !h.anyValue;
    if (!h.anyValue) return false;
    const double server = r.value(0, column).toDouble();
    return std::fabs(server - h.sum) <= 1e-9 * std::max(1.0, h.magnitude);
}

std::string plainNumber(double d) { return PgParam(d).text(); }

// A decimal number exactly, as digits and a scale: value = digits × 10^-scale.
struct ExactDecimal {
    bool negative = false;
    std::string digits = "0";  // no leading zeros
    int scale = 0;
};

std::string stripZeros(std::string d) {
    const std::size_t first = d.find_first_not_of('0');
    return first == std::string::npos ? "0" : d.substr(first);
}

// "123", "-1.25", "1e+308", "2.5E-3": nullopt for anything else.
std::optional<ExactDecimal> parseDecimal(std::string_view t) {
    ExactDecimal d;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) d.negative = t[i++] == '-';
    std::string digits;
    int scale = 0;
    bool any = false, dot = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            any = true;
            if (dot) ++scale;
        } else if (c == '.' && !dot) {
            dot = true;
        } else {
            break;
        }
    }
    if (!any) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        int exponent = 0;
        const char* begin = t.data() + i + 1;
        if (begin < t.data() + t.size() && *begin == '+') ++begin;
        const auto res = std::from_chars(begin, t.data() + t.size(), exponent);
        if (res.ec != std::errc() || res.ptr != t.data() + t.size() || exponent > 400 || exponent < -400)
            return std::nullopt;
        scale -= exponent;
    } else if (i != t.size()) {
        return std::nullopt;
    }
    if (scale < 0) {
        digits.append(static_cast<std::size_t>(-scale), '0');
        scale = 0;
    }
    d.digits = stripZeros(digits);
    d.scale = scale;
    if (d.digits == "0") d.negative = false;
    return d;
}

std::string addDigits(const std::string& a, const std::string& b) {
    std::string out;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        const int x = i < a.size() ? a[a.size() - 1 - i] - '0' : 0;
        const int y = i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
        const int v = x + y + carry;
        out += static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    std::reverse(out.begin(), out.end());
    return stripZeros(out);
}
bool lessDigits(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}
std::string subDigits(const std::string& a, const std::string& b) {  // a >= b
    std::string out;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int v = (a[a.size() - 1 - i] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = v < 0;
        if (v < 0) v += 10;
        out += static_cast<char>('0' + v);
    }
    std::reverse(out.begin(), out.end());
    return stripZeros(out);
}

void rescale(ExactDecimal& d, int scale) {
    if (d.scale < scale && d.digits != "0") d.digits.append(static_cast<std::size_t>(scale - d.scale), '0');
    d.scale = scale;
}

ExactDecimal addExact(ExactDecimal a, ExactDecimal b) {
    const int scale = std::max(a.scale, b.scale);
    rescale(a, scale);
    rescale(b, scale);
    ExactDecimal out;
    out.scale = scale;
    if (a.negative == b.negative) {
        out.digits = addDigits(a.digits, b.digits);
        out.negative = a.negative;
    } else if (lessDigits(a.digits, b.digits)) {
        out.digits = subDigits(b.digits, a.digits);
        out.negative = b.negative;
    } else {
        out.digits = subDigits(a.digits, b.digits);
        out.negative = a.negative;
    }
    if (out.digits == "0") out.negative = false;
    return out;
}

// The number as plain decimal text without trailing fraction zeros: one text per value.
std::string canonical(ExactDecimal d) {
    std::string digits = d.digits;
    int scale = d.scale;
    while (scale > 0 && digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    if (digits == "0") return "0";
    if (scale > 0) {
        if (static_cast<int>(digits.size()) <= scale) digits.insert(0, static_cast<std::size_t>(scale - static_cast<int>(digits.size()) + 1), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(scale), ".");
    }
    return (d.negative ? "-" : "") + digits;
}

// A row of a figure file the server cannot take as it is.
struct BadRow : DbError {
    using DbError::DbError;
};

// Checks the count and the exact sum of one hotel's rows after a push: the server's
// numeric sum against the sum of the values sent, added exactly.
void checkPush(const std::string& where, const std::function<DbError(const std::string&)>& fail, long long sentRows,
               const std::optional<ExactDecimal>& sentSum, long long rows, const PgResult& sums, int sumColumn) {
    if (rows != sentRows)
        throw fail(where + ": " + std::to_string(rows) + " rows arrived instead of " + std::to_string(sentRows) +
                   "; nothing was copied");
    const std::string expected = sentSum ? canonical(*sentSum) : "null";
    std::string server = "null";
    if (!sums.isNull(0, sumColumn)) {
        const auto parsed = parseDecimal(sums.text(0, sumColumn));
        server = parsed ? canonical(*parsed) : sums.text(0, sumColumn);
    }
    if (server != expected)
        throw fail(where + ": the sum of Valore is " + server + " instead of " + expected + "; nothing was copied");
}

// Checks the count and sum of one hotel's rows after a copy; throws when they differ.
[[maybe_unused]] void checkCopy(const std::string& where, const std::function<DbError(const std::string&)>& fail,
               const HotelRows& h, long long rows, const PgResult& sums, int sumColumn) {
    if (rows != h.count)
        throw fail(where + ": " + std::to_string(rows) + " rows arrived instead of " + std::to_string(h.count) +
                   "; nothing was copied");
    if (!sameSum(h, sums, sumColumn))
        throw fail(where + ": the sum of Valore is " + (sums.isNull(0, sumColumn) ? "null" : sums.text(0, sumColumn)) +
                   " instead of " + (h.anyValue ? plainNumber(h.sum) : "null") + "; nothing was copied");
}

// One pass over the file in hotel order: each hotel's rows stream into the server in a
// transaction of their own, so memory stays small whatever the size of the file.
std::vector<HotelCopy> pushTable(PgConnection& c, const std::filesystem::path& workDir, std::string_view dbName,
                                 const FigureTable& t, std::optional<std::int64_t> only) {
    const auto fields = fieldsOf(t);
    Database db = Database::open(workDir, dbName);
    const std::string fileName = db.fileName();
    std::string query = "Select";
    for (std::size_t i = 0; i < fields.size(); ++i) query += (i ? ", " : " ") + fields[i];
    query += " From " + std::string(t.table);
    if (only) query += " Where NumeroHotel = " + std::to_string(*only);
    query += " Order By NumeroHotel";
    Recordset rs = db.openQuery(query);
    std::vector<HotelCopy> done;
    std::set<std::optional<std::int64_t>> seen;
    while (!rs.eof()) {
        const auto hotel = hotelOf(rs.field(field::kHotel), fileName);
        if (!seen.insert(hotel).second)
            throw DbError(fileName, withArgs(translate("Server", "%1: the NumeroHotel of %2 is written in two ways (as "
                                                                 "a number and as a text); the rows of that hotel "
                                                                 "copied first are on the server, the others are not"),
                                             {std::string(t.table), hotelText(hotel)}));
        HotelCopy copy{std::string(t.table), hotel, 0, "", ""};
        const std::string where =
            withArgs(translate("Server", "%1, %2 of %3"), {std::string(t.table), hotelText(hotel), fileName});
        long long sentRows = 0;
        std::optional<ExactDecimal> sentSum;
        // One row as the server takes it, or a BadRow naming the file, table and row.
        auto rowOf = [&](std::vector<PgParam>& row) {
            row.clear();
            const std::string period(t.periodField);
            // A text as it can be shown: a NUL byte as "\0", bytes that are not UTF-8 as
            // Windows-1252.
            auto shown = [](const Value& v) {
                std::string t = v.toText(), out;
                if (!isValidUtf8(t)) t = fromCp1252(t);
                for (char c : t) out += c == '\0' ? std::string("\\0") : std::string(1, c);
                return out;
            };
            auto rowName = [&] {
                return "table " + std::string(t.table) + ", the row of " + hotelText(hotel) + ", Tipo \"" +
                       shown(rs.field(field::kTipo)) + "\", Dettaglio \"" + shown(rs.field(field::kDettaglio)) + "\", " + period +
                       " \"" + shown(rs.field(period)) + "\"";
            };
            for (const auto& f : fields) {
                const Value v = rs.field(f);
                if (f == field::kValore) {
                    if (v.isNull()) {
                        row.push_back(PgParam());
                        continue;
                    }
                    PgParam p = PgParam::of(v);
                    const auto exact = v.isDouble() && !std::isfinite(std::get<double>(v.raw()))
                                           ? std::nullopt
                                           : parseDecimal(trim(p.text()));
                    if (!exact)
                        throw BadRow(fileName, rowName() + ": Valore \"" + shown(v) +
                                                   "\" is not a number the server can hold");
                    sentSum = sentSum ? addExact(*sentSum, *exact) : *exact;
                    row.push_back(PgParam(canonical(*exact)));
                    continue;
                }
                if (v.isNull() || f == field::kHotel) {
                    row.push_back(PgParam::of(v));
                    continue;
                }
                std::string text = v.toText();
                if (text.find('\0') != std::string::npos)
                    throw BadRow(fileName, rowName() + ": " + f + " holds a NUL byte, which the server cannot store");
                // Text that is not UTF-8 is read as Windows-1252, as the Access reader does.
                if (!isValidUtf8(text)) text = fromCp1252(text);
                row.push_back(PgParam(std::move(text)));
            }
        };
        try {
            c.transaction([&] {
                // One snapshot: the check counts this copy's rows, not those another
                // workstation adds meanwhile (which stay, being newer).
                c.exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ");
                c.exec("DELETE FROM " + pgIdent(t.table) + " WHERE " + hotelCondition(hotel), hotelParams(hotel));
                c.copyRows(t.table, fields, [&](std::vector<PgParam>& row) {
                    if (rs.eof() || hotelOf(rs.field(field::kHotel), fileName) != hotel) return false;
                    rowOf(row);
                    ++sentRows;
                    rs.moveNext();
                    return true;
                });
                const PgResult sums = c.exec("SELECT count(*), sum(" + pgIdent(field::kValore) + ")::text FROM " +
                                                 pgIdent(t.table) + " WHERE " + hotelCondition(hotel),
                                             hotelParams(hotel));
                copy.rows = std::stoll(sums.text(0, 0));
                copy.sum = sums.isNull(0, 1) ? "" : canonical(*parseDecimal(sums.text(0, 1)));
                checkPush(where, [&](const std::string& m) { return c.error(m); }, sentRows, sentSum, copy.rows, sums, 1);
            });
        } catch (const BadRow& bad) {
            // That hotel stays on the server as it was; the next hotel is copied.
            copy.rows = 0;
            copy.sum.clear();
            copy.refused = bad.what();
            while (!rs.eof() && hotelOf(rs.field(field::kHotel), fileName) == hotel) rs.moveNext();
        }
        done.push_back(copy);
    }
    rs.close();
    db.close();
    return done;
}

std::vector<HotelCopy> pullTable(PgConnection& c, const std::filesystem::path& workDir, std::string_view dbName,
                                 const FigureTable& t, std::optional<std::int64_t> only) {
    Database db = Database::open(workDir, dbName);
    const std::string fileName = db.fileName();
    if (db.isReadOnlyJet())
        throw DbError(fileName, translate("Server", "this is an Access file, which this program only reads; make an "
                                                    "SQLite copy with \"zentoria convert\" and put it in its place "
                                                    "before pulling the figures"));
    std::vector<std::optional<std::int64_t>> hotels;
    if (only) {
        hotels.push_back(only);
    } else {
        const PgResult r = c.exec("SELECT DISTINCT " + pgIdent(field::kHotel) + " FROM " + pgIdent(t.table) +
                                  " ORDER BY 1 NULLS LAST");
        for (int i = 0; i < r.rows(); ++i)
            hotels.push_back(r.isNull(i, 0) ? std::nullopt : std::optional(r.value(i, 0).toInteger()));
    }
    const auto fields = fieldsOf(t);
    std::string select = "SELECT ";
    for (std::size_t i = 0; i < fields.size(); ++i) select += (i ? ", " : "") + pgIdent(fields[i]);
    select += " FROM " + pgIdent(t.table) + " WHERE ";
    std::vector<HotelCopy> done;
    for (const auto& hotel : hotels) {
        // The rows and their totals as of one moment, whatever other workstations write.
        PgResult rows, totals;
        c.transaction([&] {
            c.exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
            rows = c.exec(select + hotelCondition(hotel) + " ORDER BY 2, 3, 4", hotelParams(hotel));
            totals = c.exec("SELECT count(*), sum(" + pgIdent(field::kValore) + ") FROM " + pgIdent(t.table) + " WHERE " +
                                hotelCondition(hotel),
                            hotelParams(hotel));
        });
        if (rows.rows() == 0) continue;  // nothing of that hotel on the server: the file stays as it is
        HotelCopy copy{std::string(t.table), hotel, rows.rows(), totals.text(0, 1), ""};
        const std::string where = std::string(t.table) + ", " + hotelText(hotel) + " into " + fileName;
        db.transaction([&] {
            db.executeNative("DELETE FROM \"" + std::string(t.table) + "\" WHERE NumeroHotel" +
                             (hotel ? " = " + std::to_string(*hotel) : std::string(" IS NULL")));
            Recordset rs = db.openTable(t.table);
            for (int i = 0; i < rows.rows(); ++i) {
                rs.addNew();
                for (std::size_t f = 0; f < fields.size(); ++f) rs.setField(fields[f], rows.value(i, static_cast<int>(f)));
                rs.update();
            }
            rs.close();
            // What the file now holds against what the server gave.
            Recordset check = db.openQuery("Select Count(*) as N, Sum(Valore) as S From " + std::string(t.table) +
                                           " Where NumeroHotel" + (hotel ? " = " + std::to_string(*hotel) : " Is Null"));
            const long long fileRows = check.field("N").toInteger();
            const Value fileSum = check.field("S");
            check.close();
            if (fileRows != std::stoll(totals.text(0, 0)))
                throw DbError(fileName, withArgs(translate("Server", "%1: the file holds %2 rows instead of %3; "
                                                                     "nothing was written"),
                                                 {where, std::to_string(fileRows), totals.text(0, 0)}));
            HotelRows inFile;
            for (int i = 0; i < rows.rows(); ++i) addValue(inFile, rows.value(i, 4));  // for the tolerance
            inFile.sum = fileSum.isNull() ? 0 : fileSum.toDouble();
            inFile.anyValue = !fileSum.isNull();
            if (!sameSum(inFile, totals, 1))
                throw DbError(fileName,
                              withArgs(translate("Server", "%1: the file's sum of Valore is %2 instead of %3; nothing "
                                                           "was written"),
                                       {where, fileSum.isNull() ? "null" : plainNumber(fileSum.toDouble()),
                                        copy.sum.empty() ? "null" : copy.sum}));
        });
        done.push_back(copy);
    }
    db.close();
    return done;
}

}  // namespace

namespace {

bool passwordTableExists(PgConnection& c) { return tableExists(c, kPasswordTable); }

}  // namespace

std::optional<std::string> serverPasswordLine(PgConnection& c) {
    if (!passwordTableExists(c))
        throw c.error(withArgs(translate("Server", "the table %1 of the management password is not on the server: "
                                                   "create it with \"zentoria figures init\""),
                               {kPasswordTable}));
    const PgResult r = c.exec("SELECT " + pgIdent("Riga") + " FROM " + pgIdent(kPasswordTable) + " WHERE " +
                              pgIdent("Id") + " = 1");
    if (r.rows() == 0 || r.isNull(0, 0)) return std::nullopt;
    return r.text(0, 0);
}

void setServerPasswordLine(PgConnection& c, const std::optional<std::string>& line) {
    if (!passwordTableExists(c))
        throw c.error(withArgs(translate("Server", "the table %1 of the management password is not on the server: "
                                                   "create it with \"zentoria figures init\""),
                               {kPasswordTable}));
    if (!line) {
        c.exec("DELETE FROM " + pgIdent(kPasswordTable));
        return;
    }
    c.exec("INSERT INTO " + pgIdent(kPasswordTable) + " (" + pgIdent("Id") + ", " + pgIdent("Riga") + ", " +
               pgIdent("Errate") + ", " + pgIdent("Ultima") + ") VALUES (1, $1, 0, 0) ON CONFLICT (" + pgIdent("Id") +
               ") DO UPDATE SET " + pgIdent("Riga") + " = EXCLUDED." + pgIdent("Riga") + ", " + pgIdent("Errate") +
               " = 0, " + pgIdent("Ultima") + " = 0",
           {*line});
}

std::string grantStatements(const std::string& readRole, const std::string& writeRole) {
    const std::string z = pgIdent("Zentoria"), d = pgIdent("Dettaglio"), p = pgIdent(kPasswordTable);
    const std::string r = pgIdent(readRole), w = pgIdent(writeRole);
    return "-- Workstations that only look at the figures:\n"
           "CREATE ROLE " + r + " LOGIN;\n"
           "GRANT USAGE ON SCHEMA public TO " + r + ";\n"
           "GRANT SELECT ON " + z + ", " + d + " TO " + r + ";\n"
           "GRANT SELECT, UPDATE (" + pgIdent("Errate") + ", " + pgIdent("Ultima") + ") ON " + p + " TO " + r + ";\n"
           "-- Workstations that register, recompute and copy the figures:\n"
           "CREATE ROLE " + w + " LOGIN;\n"
           "GRANT USAGE ON SCHEMA public TO " + w + ";\n"
           "GRANT SELECT, INSERT, UPDATE, DELETE ON " + z + ", " + d + " TO " + w + ";\n"
           "GRANT SELECT, INSERT, UPDATE, DELETE ON " + p + " TO " + w + ";\n"
           "-- Give each role a password (\\password in psql) and each workstation its own role.\n";
}

std::vector<SchemaStep> initFiguresSchema(PgConnection& c) {
    std::vector<SchemaStep> steps;
    c.transaction([&] {
        // Two workstations running init at once take turns.
        c.exec("SELECT pg_advisory_xact_lock(hashtext('zentoria figures init'))");
        for (const auto& t : kFigureTables) {
            const bool existed = tableExists(c, t.table);
            if (existed) {
                if (const auto missing = missingFields(c, t); !missing.empty())
                    throw c.error(withArgs(translate("Server", "a table %1 is on the server without the fields %2; "
                                                               "it is left as it is: add the fields, or remove the "
                                                               "table and run \"zentoria figures init\" again"),
                                           {std::string(t.table), missing}));
            }
            c.execScript(createTable(t));
            replaceExactIndex(c, t);
            c.execScript(createIndex(t));
            steps.push_back({std::string(t.table), !existed});
        }
        const bool existed = passwordTableExists(c);
        c.execScript("CREATE TABLE IF NOT EXISTS " + pgIdent(kPasswordTable) + " (" + pgIdent("Id") +
                     " integer PRIMARY KEY CHECK (" + pgIdent("Id") + " = 1), " + pgIdent("Riga") + " text NOT NULL, " +
                     pgIdent("Errate") + " integer NOT NULL DEFAULT 0, " + pgIdent("Ultima") +
                     " bigint NOT NULL DEFAULT 0)");
        steps.push_back({std::string(kPasswordTable), !existed});
    });
    return steps;
}

namespace {

// Both tables copied one way (`copyTable`: pushTable or pullTable), `Zentoria` first.
template <class CopyTable>
std::vector<HotelCopy> copyBoth(PgConnection& c, const std::filesystem::path& workDir, std::string_view summaryDb,
                                std::string_view detailDb, std::optional<std::int64_t> hotel, CopyTable copyTable) {
    requireSchema(c);
    auto done = copyTable(c, workDir, summaryDb, kSummaryTable, hotel);
    auto detail = copyTable(c, workDir, detailDb, kDetailTable, hotel);
    done.insert(done.end(), detail.begin(), detail.end());
    return done;
}

}  // namespace

std::vector<HotelCopy> pushFigures(PgConnection& c, const std::filesystem::path& workDir, std::string_view summaryDb,
                                   std::string_view detailDb, std::optional<std::int64_t> hotel) {
    return copyBoth(c, workDir, summaryDb, detailDb, hotel, pushTable);
}

std::vector<HotelCopy> pullFigures(PgConnection& c, const std::filesystem::path& workDir, std::string_view summaryDb,
                                   std::string_view detailDb, std::optional<std::int64_t> hotel) {
    return copyBoth(c, workDir, summaryDb, detailDb, hotel, pullTable);
}

}  // namespace zt::store
