#include "report/csv_export.h"

#include <vector>

#include "common/cp1252.h"
#include "common/translate.h"
#include "report/report_file.h"

namespace zt::report {

namespace {

// One cell in Windows-1252, quoted when it would otherwise break its row. A cell holding
// any character of the separator is quoted: with a separator of several characters ("::")
// a cell ending in part of it ("Giugno:") would otherwise be split at the wrong place.
std::string csvCell(const std::string& utf8, const std::string& separator) {
    const std::string bytes = toCp1252(utf8);
    const bool quote = bytes.find_first_of(separator) != std::string::npos ||
                       bytes.find_first_of("\"\r\n") != std::string::npos;
    if (!quote) return bytes;
    std::string out = "\"";
    for (char c : bytes) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

template <class Cells>
std::string csvRow(const Cells& cells, const std::string& separator) {
    std::string row;
    bool first = true;
    for (const auto& c : cells) {
        if (!first) row += separator;
        row += csvCell(c, separator);
        first = false;
    }
    return row + "\r\n";
}

}  // namespace

std::string csvSeparator(const std::filesystem::path& workDir) {
    const std::string line = firstLineOf(workDir, "SeparatoreXLS.txt");
    return line.empty() ? ";" : line;
}

std::string csvOf(const std::filesystem::path& reportFile, const std::string& sep) {
    const ReportFile report = ReportFile::read(reportFile);
    std::string bytes;
    for (const auto& block : report.blocks()) {
        bytes += csvRow(std::vector<std::string>{block.title, block.date, block.time}, sep);
        if (block.header) bytes += csvRow(*block.header, sep);
        for (const auto& row : block.rows) bytes += csvRow(row, sep);
    }
    return bytes;
}

std::filesystem::path exportCsv(const std::filesystem::path& workDir) {
    const std::string bytes = csvOf(reportFilePath(workDir), csvSeparator(workDir));
    const auto file = csvFilePath(workDir);
    writeFolderFile(file, bytes, false,
                    withArgs(translate("Store", "cannot open the CSV file %1 for writing"), {file.string()}),
                    withArgs(translate("Store", "cannot write the CSV file %1"), {file.string()}));
    return file;
}

}  // namespace zt::report
