#pragma once
// The report file: its name and box bytes, shared by every writer and reader, the reader
// that the preview and the CSV export use, and the small file and text helpers the report
// writers, the CSV export and the print menu share.
//
// The file is single-byte Windows-1252 text with CR LF line ends. Its box is drawn with
// the bytes that code pages 437 and 850 show as line-graphics characters (namespace box
// below); every other byte is Windows-1252.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt::report {

// The box bytes, named by the characters code page 437 shows for them.
namespace box {
inline constexpr char kTopLeft = '\xDA';
inline constexpr char kTopRight = '\xBF';
inline constexpr char kBottomLeft = '\xC0';
inline constexpr char kBottomRight = '\xD9';
inline constexpr char kHorizontal = '\xC4';
inline constexpr char kVertical = '\xB3';
inline constexpr char kLeftTee = '\xC3';
inline constexpr char kRightTee = '\xB4';
inline constexpr char kTopTee = '\xC2';
inline constexpr char kBottomTee = '\xC1';
inline constexpr char kCross = '\xC5';
}  // namespace box

// The workstation prefix: the text of the environment variable "PCLocal" (its name
// matched without regard to case), unchanged; "" when it is not set.
std::string workstationPrefix();

// The report file: the working folder / prefix + "fd", found whatever the case of its name
// on disk (store::findFile: "3FD" is written over, not beside). Every writer and every
// reader names it through this one function, so they always meet ("3fd", "03fd", "fd").
std::filesystem::path reportFilePath(const std::filesystem::path& workDir);
// The CSV export of the report: the working folder / prefix + "fd.csv".
std::filesystem::path csvFilePath(const std::filesystem::path& workDir);

// A number written with at least two digits, a leading zero below 10 ("07", "12"), as the
// title line's date and time and the archive copy's name write it.
std::string twoDigits(int n);

// The first line of the file `name` in the working folder (found by store::findFile, so
// whatever its case on disk), cut at its first CR or LF; "" when the file is missing or
// cannot be opened. Two names differing only in case are a store::DbError naming both.
std::string firstLineOf(const std::filesystem::path& workDir, std::string_view name);

// Writes `bytes` to `file`, replacing its content or, with `append`, after it. A file
// that cannot be opened is a std::runtime_error saying `cannotOpen`, one that cannot be
// written a std::runtime_error saying `cannotWrite`.
void writeBytes(const std::filesystem::path& file, std::string_view bytes, bool append,
                const std::string& cannotOpen, const std::string& cannotWrite);
// The same for a file of the working folder (the report file, the CSV file): a link in
// its place is not followed and anything but a plain file is not written (cannotOpen,
// with the reason), so a link planted in the folder cannot make it overwrite another file.
void writeFolderFile(const std::filesystem::path& file, std::string_view bytes, bool append,
                     const std::string& cannotOpen, const std::string& cannotWrite);

// One line of the report file (bytes, without the line end) decoded to UTF-8 for the
// screen: the box bytes become the line-graphics characters they show in code page 437
// (U+250C, U+2500 ...), every other byte is read as Windows-1252.
std::string decodeReportLine(std::string_view bytes);

// The six cells of a header, month or totals line (V, six cells separated by V, V),
// each read as Windows-1252 and trimmed of blanks; nullopt for any other line.
std::optional<std::array<std::string, 6>> splitDataLine(std::string_view bytes);

// One boxed block of the report file: the report, or one client type of the batch.
struct ReportBlock {
    std::string date;   // "dd/mm/yyyy" of the title line
    std::string title;  // "Zentoria su ..." trimmed
    std::string time;   // "hh:mm"
    std::optional<std::array<std::string, 6>> header;  // the column headings
    std::vector<std::array<std::string, 6>> rows;      // the month lines, then the totals
};

class ReportFile {
public:
    // Reads the file; one that cannot be read is a std::runtime_error naming it.
    static ReportFile read(const std::filesystem::path& file);
    // Splits bytes into lines: each ends at LF, a CR before it is dropped, and the end of
    // the text after a final line end starts no further line.
    static ReportFile fromBytes(std::string bytes);

    // The lines as stored (Windows-1252 bytes without their line ends).
    const std::vector<std::string>& lines() const { return lines_; }
    // The lines decoded for the screen (decodeReportLine).
    std::vector<std::string> screenLines() const;
    // The boxed blocks in file order; lines outside a box are skipped.
    std::vector<ReportBlock> blocks() const;

private:
    std::vector<std::string> lines_;
};

}  // namespace zt::report
