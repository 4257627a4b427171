#pragma once
// The report text: the boxed monthly summary of one statistic, twelve months of a year
// against the year before, written to the report file (report_file.h) for the print
// menu, the preview and the CSV export.
//
// `ScriviReport` replaces the file with the 86-column report of the selected statistic
// and detail; `ScriviReportTipoCliente` appends one 80-column block for one client type;
// `ScriviReportTipiCliente` is the client-type batch of the print button. Layout, number
// forms and the choices made where the layout gives no room: docs/REPORT.md.
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/numfmt.h"
#include "common/state.h"

namespace zt::report {

// A local date and time to the minute, as the title line prints it.
struct Stamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};
// The local date and time now.
Stamp localStamp();

struct ReportSettings {
    // Separators of money values and of fractional counts.
    Separators separators;
    // The date and time of the title line, read once per report or block; empty: local
    // time now.
    std::function<Stamp()> clock;
    // Where the report is written: the working folder's report file when empty (another
    // program's copy of the report, such as the web server's, goes to a file of its own).
    std::filesystem::path file;
};

// The year's increase over the year before in %, as the report's totals line prints it
// (before formatPercent): the sum of the month differences over the previous year's sum
// (each month taken as money, to the ten-thousandth); 100 when the previous year sums to 0
// and this one is above 0; else 0. A value too large for money is a std::runtime_error.
float yearIncrease(const std::array<double, 12>& current, const std::array<double, 12>& previous);
// The year before `year` (the year field's text), as the report's queries write it.
std::string previousYearText(std::string_view year);

// Writes the report of statistic `statisticName` and detail `detailText` (as the lists
// show them) for `year` (the year field's text) and the year before, for the current hotel
// of `state`, replacing the report file. Returns the file's path. The figures are read
// before the file is opened, so a database error leaves the previous file as it was; an
// unwritable file is a std::runtime_error naming it.
std::filesystem::path ScriviReport(const ProgramState& state, std::string_view year,
                                   std::string_view statisticName, std::string_view detailText,
                                   const ReportSettings& settings);

// Appends to the report file two empty lines and the 80-column block of statistic
// `statisticName` and client type `clientType`. Returns the file's path.
std::filesystem::path ScriviReportTipoCliente(const ProgramState& state, std::string_view year,
                                              std::string_view statisticName,
                                              std::string_view clientType,
                                              const ReportSettings& settings);

struct BatchResult {
    std::filesystem::path file;
    // The client types that got a block, in code order.
    std::vector<std::string> clientTypes;
    // The last caption the batch set; nullopt when the hotel has no client type.
    std::optional<std::string> caption;
};

// The client-type batch of the print button: replaces the report file with one empty
// line, then walks the client types of the current hotel (`CodiciVari` rows with Tipo = 6,
// in `Sigla` order) and appends the block of each whose guest nights of the year, summed
// over every hotel, are not null. `progress` receives each caption the window shows: the
// code, then the code, a blank and that sum.
BatchResult ScriviReportTipiCliente(const ProgramState& state, std::string_view year,
                                    std::string_view statisticName, const ReportSettings& settings,
                                    const std::function<void(const std::string&)>& progress = {});

}  // namespace zt::report
