#pragma once
// The chain table: for one statistic, detail and year, one row per hotel of the registry
// with its twelve months (each as that hotel's grid shows it) and its year total, the
// chain's total row, and each hotel's change against the year before in %, as the report
// computes it. The figures come from one grouped query over `Dettaglio` (the figure files
// or the figure server), not from a grid per hotel.
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/numfmt.h"
#include "common/state.h"

namespace zt::desktop {

// A choice the lists do not offer (unknown statistic, detail, year); the message is in
// Italian and names the choices.
class ChainChoiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ChainRow {
    std::int64_t hotel = 0;         // 0 for the total row
    std::string name;               // the hotel list's item ("  1 Hotel Bellavista"); "Totale catena"
    std::array<std::optional<double>, 12> months{};  // nullopt: no figure (the grid shows "0")
    double total = 0;               // the sum of the twelve months
    double previousTotal = 0;       // the year before's sum
    float increase = 0;             // the change against the year before in %, by the report's rule
};

struct ChainTable {
    std::string statistic;
    std::string detail;             // the detail item as the lists show it
    std::string year;
    bool money = false;             // the months shown as money ("###,###,##0.00")
    std::vector<ChainRow> rows;     // one per hotel of the registry, in registry order
    ChainRow totalRow;
};

// The hotels of the registry numbered above 0, as the hotel list shows them (number
// padded to three, a blank, the name), in registry order.
std::vector<std::string> registryHotels(const std::filesystem::path& workDir);

// The detail item of `statistic` matching `detail` (the item's text, or its code as the
// grid derives it) in the detail list of any hotel of the registry; ChainChoiceError
// when the statistic or detail is not offered.
std::string chainDetailItem(const ProgramState& state, const std::string& statistic, const std::string& detail);

// The chain table. `year` must be four digits. `state` holds the working folder and the
// figure files' paths (after start-up); the figure server is used while it is set.
ChainTable chainTable(const ProgramState& state, const std::string& statistic, const std::string& detailItem,
                      const std::string& year);

// A month's text as the grid writes it ("0" when there is no figure).
std::string chainCell(const ChainTable& t, const std::optional<double>& v, const Separators& sep);
// A total as the grid writes a month with a figure.
std::string chainAmount(const ChainTable& t, double v, const Separators& sep);
// The change in % as the report writes it ("12,34").
std::string chainPercent(float increase);

// The column headings: "Albergo", the twelve months, "Totale", "% su <year before>".
std::vector<std::string> chainHeadings(const ChainTable& t);
// One row's cells under those headings, in the grid's number format.
std::vector<std::string> chainCells(const ChainTable& t, const ChainRow& row, const Separators& sep);

// The table as text: the headings and one line a row (the total row last), cells
// separated by a tab, numbers as the grid writes them.
std::string chainText(const ChainTable& t, const Separators& sep);
// The table as CSV with `fieldSeparator` (SeparatoreXLS.txt's), UTF-8, CR LF; a cell
// holding the separator, a double quote or a line end is quoted with its quotes doubled.
std::string chainCsv(const ChainTable& t, const std::string& fieldSeparator, const Separators& sep);

}  // namespace zt::desktop
