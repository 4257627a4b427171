#pragma once
// The CSV export of the report file, for a spreadsheet.
#include <filesystem>
#include <string>

namespace zt::report {

// The field separator: the first line of "SeparatoreXLS.txt" in the working folder
// without its line end; ";" when the file is missing or that line is empty.
std::string csvSeparator(const std::filesystem::path& workDir);

// Writes the CSV file (csvFilePath) from the report file (reportFilePath) and returns its
// path. For each boxed block of the report: a row with the title, the date and the time;
// a row with the column headings; one row a month; one row for the totals. The cells are
// those of the report, trimmed; a cell holding the separator (any of its characters, for
// a separator of several), a double quote or a line end is enclosed in double quotes with
// its double quotes doubled. Windows-1252, CR LF.
// An unreadable report file or an unwritable CSV file is a std::runtime_error naming it.
std::filesystem::path exportCsv(const std::filesystem::path& workDir);
// The same CSV, of the report file `reportFile`, as bytes.
std::string csvOf(const std::filesystem::path& reportFile, const std::string& separator);

}  // namespace zt::report
