#pragma once
// The demo installation: a complete working folder of SQLite (or Access) files with made-up but
// consistent data for two hotels and three years, so the program can be tried out and
// every command has something to show.
//
// What the folder holds:
//   - the hotel registry (hotel 1 "Hotel Bellavista", option string ""; hotel 2
//     "Albergo San Marco", option string "K"), so the figure files lie in the working
//     folder itself;
//   - every lookup table of the detail lists, for both hotels;
//   - Dettaglio.mdb with figures for all 29 statistics, several entries per month, and
//     Zentoria.mdb with their monthly totals;
//   - the operational files the recompute reads (accounts, invoices, guest cards) and
//     the printer settings.
//
// The figures come from a simulation of each hotel's bookings, day by day, from the
// 1st of January two years before the current year up to today: guest nights,
// arrivals and departures are counted from the bookings, production from the charges
// posted to the accounts, invoiced revenue from the invoices and cash from the
// payments. The operational files hold hotel 1's bookings, so recomputing hotel 1's
// "Produzione", "Fatturato", "Cassa" and "Presenze" gives the same monthly values that
// Dettaglio.mdb holds (guest nights differ only in the current month, where the guest
// cards of the guests in the house count their nights up to the planned departure).
// A fixed random seed makes the demo the same every time for the same date.
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace zt::app {

// The kind of database files the demo writes. With Access, every database file is an
// Access 2000 (Jet 4) file written by src/jetwriter, except the summary Zentoria.mdb: the
// one file the program writes stays an SQLite file, as it is in an installation after
// its summary was moved to SQLite (docs/JET_FILES.md, "The demo as Access files").
enum class DemoFiles { Sqlite, Access };

struct DemoTable {
    std::string file;   // "Dettaglio.mdb"
    std::string table;  // "Dettaglio"; empty for a text file
    long rows = 0;      // rows written (lines for a text file)
};

struct DemoSummary {
    std::filesystem::path folder;
    // Every file written with the number of rows of all its tables (lines for a text
    // file), in the order written.
    std::vector<std::pair<std::string, long>> filesAndRows;
    // Every table written, file by file.
    std::vector<DemoTable> tables;
    std::vector<std::pair<int, std::string>> hotels;  // number and name
    std::vector<int> years;                           // oldest first
    std::string lastDate;                             // YYYYMMDD: data run up to this day
    DemoFiles files = DemoFiles::Sqlite;
};

// Writes the demo installation into `folder`, creating it when it is missing, with
// data up to `today`. A folder that holds anything is refused unless `force`; with
// `force` only the files the demo writes are replaced, everything else in the folder
// stays. Each file is written completely under a temporary name and then renamed, so a
// failure never leaves half a database behind. Throws std::runtime_error with a message
// naming the folder or file on failure.
DemoSummary writeDemo(const std::filesystem::path& folder, bool force, std::chrono::year_month_day today,
                      DemoFiles files = DemoFiles::Sqlite);
// The same with today's local date.
DemoSummary writeDemo(const std::filesystem::path& folder, bool force, DemoFiles files = DemoFiles::Sqlite);

// Rewrites the SQLite database file `file` as an Access (Jet 4) file in place: every
// table with its rows, the fields typed as the demo's Access files type them (amounts
// Currency, codes Byte or Integer, other numbers Long, texts Text); no indexes. Written
// under a temporary name and renamed over the file; a std::runtime_error naming the file
// on failure, the SQLite file then left as it was. For bench/'s generator.
void rewriteAsAccess(const std::filesystem::path& file);

// What the demo holds, as text for the command line: folder, hotels, years, and every
// file and table with its row count. Lines end with "\n".
std::string formatDemoSummary(const DemoSummary& summary);

}  // namespace zt::app
