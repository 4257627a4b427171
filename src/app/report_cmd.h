#pragma once
// The report file from the command line: `zentoria print` prints it as the print menu
// does, `zentoria export-csv` writes its CSV file. Both honour the management password
// (checkPasswordForCommand, with the option string of hotel 1, as the print menu reads
// it) and never throw: they return 0 when done, 1 when the operation failed (message on
// `err`), 2 when the arguments are wrong.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zt::app {

// `zentoria print [--destination NAME] [--compressed] [--landscape] [--duplex] [--pdf FILE]`:
// the archive copy under "doc" (a failure is a warning on `err`), then the report file
// printed to the destination NAME of "Stampanti.mdb" (default: the first), with the
// page lengths of hotel 1, raw or through QPrinter as the destination's codes say;
// --pdf FILE prints through QPrinter into the PDF file FILE instead (relative to the
// current folder). Prints on `out` where the report went: the device path, the
// printer's name (or "(default printer)"), or the PDF file. No report file: status 1.
int cmdPrint(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

// `zentoria export-csv`: writes the CSV file of the report file and prints its path.
int cmdExportCsv(const std::filesystem::path& workDir, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

}  // namespace zt::app
