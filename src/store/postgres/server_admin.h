#pragma once
// The two figure tables, `Zentoria` and `Dettaglio`, on a PostgreSQL server: their
// schema, and the copies between an installation's figure files and the server
// (described in docs/FIGURES_SERVER.md).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/figure_tables.h"
#include "store/postgres/pg_connection.h"

namespace zt::store {

// The unique key of `Zentoria` as the server's index and the writers' ON CONFLICT name
// it: the hotel, then the statistic, the detail and the month folded by Jet's text rule.
std::string zentoriaKey();

// What `figures init` found for a table.
struct SchemaStep {
    std::string table;
    bool created = false;  // false: it was there already, with the expected fields
};

// Creates both tables when missing, with the fields of the figure files, the unique key
// of `Zentoria` on (NumeroHotel, Tipo, Dettaglio, AnnoMese) and the index the sums of
// `Dettaglio` seek; leaves them as they are when present. A table of that name with
// other fields is a DbError naming them, and nothing is changed. One transaction.
std::vector<SchemaStep> initFiguresSchema(PgConnection& c);

// ---- the management password on the server ---------------------------------------
//
// While a server holds the figures, the management password lives there too, in the
// table "Direzione" that `figures init` creates: one row ("Id" 1) holding the line of
// "Security.pwd" ("Riga"), and the count of wrong passwords in a row ("Errate") with the
// time of the last one ("Ultima", seconds since 1970).
inline constexpr const char* kPasswordTable = "Direzione";
// The line; nullopt when no password is set. A DbError when the table is not there.
std::optional<std::string> serverPasswordLine(PgConnection& c);
// Sets the line (nullopt: removes the password). The count starts again.
void setServerPasswordLine(PgConnection& c, const std::optional<std::string>& line);
// The GRANT statements for a role that only reads the figures and one that reads and
// writes them (`figures init --grants`).
std::string grantStatements(const std::string& readRole, const std::string& writeRole);

// The rows of one hotel (nullopt: the rows without a hotel number) of one table, copied
// in one transaction: how many, and the sum of `Valore` as the server holds it.
struct HotelCopy {
    std::string table;
    std::optional<std::int64_t> hotel;
    long long rows = 0;
    std::string sum;  // exact decimal text ("" when every Valore is null)
    std::string refused;  // a push that refused this hotel: why (its file, table and row)
};

// Copies the figure files `summaryDb` (table `Zentoria`) and `detailDb` (`Dettaglio`),
// names as Database::open takes them, from SQLite or Access, into the server: every
// hotel found in a file, or only `hotel`. Each hotel and table in one transaction that
// replaces that hotel's rows on the server, then checks the server's row count and sum
// of `Valore` against the file's before it commits; the sums are compared exactly (the
// server's numeric against the file's values added as decimals). A hotel a file does not
// hold leaves the server's rows of that hotel as they are. A row the server cannot take
// (a NUL byte in a text, a Valore that is no number) refuses its hotel, with the file,
// table and row in `refused`, and the next hotel is copied; a text that is not UTF-8 is
// copied as Windows-1252.
std::vector<HotelCopy> pushFigures(PgConnection& c, const std::filesystem::path& workDir,
                                   std::string_view summaryDb, std::string_view detailDb,
                                   std::optional<std::int64_t> hotel);

// The reverse: replaces the rows of each hotel the server holds (or only `hotel`) in the
// SQLite figure files with the server's, one transaction per hotel and table, checked
// the same way. An Access file is refused (this program only reads those). Running it
// again gives the same files.
std::vector<HotelCopy> pullFigures(PgConnection& c, const std::filesystem::path& workDir,
                                   std::string_view summaryDb, std::string_view detailDb,
                                   std::optional<std::int64_t> hotel);

}  // namespace zt::store
