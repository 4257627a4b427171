#pragma once
// The print menu's logic without a screen: the archive copy, the destinations and their
// settings, the device, the pages of the report and the bytes of raw printing. The Qt
// dialog (report/qt/menu_stampa.h) and the command line drive it; docs/PRINTING.md
// describes the rules.
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_text.h"

namespace zt::report {

// What the list of installed printers shows when there is none.
inline constexpr const char* kNoPrinter = "<nessuna stampante>";
// The font of printing through an installed printer when "FontStp.txt" names none.
inline constexpr const char* kDefaultPrintFont = "Courier New";

// Twelve printer codes of a `SetStampa` field: three decimal digits each (characters
// 1-3, 4-6 ... 34-36), each read as a number; a missing or unreadable code is 0.
using PrintCodes = std::array<int, 12>;
PrintCodes parsePrintCodes(std::string_view field);

// Everything printing needs to know about one destination.
struct PrintSetup {
    std::string destination;  // `Destinazione` of `Stampanti`
    std::string linea;        // `Linea`: the device when no variable names one
    int tipoStampa = 0;       // `TipoStampa`
    bool hasCodes = false;    // a `SetStampa` record matched `TipoStampa`
    PrintCodes compresso{};   // `Compresso`
    PrintCodes grassetto{};   // `Grassetto`
    bool hasCounters = false;     // `Contatori` holds a record of the hotel
    int pageLengthCompressed = 60;  // `LungPagComp`
    int pageLengthNormal = 60;      // `LungPagNoComp`
    std::string fontName = kDefaultPrintFont;

    // Compresso code 6 = 1: the report goes through an installed printer; otherwise raw.
    bool throughPrinter() const { return compresso[5] == 1; }
    // The report lines of a page.
    int pageLength(bool compressed) const { return compressed ? pageLengthCompressed : pageLengthNormal; }
    // Lines of one blank before a page's first line (Grassetto code 6; 0 without codes).
    int topMargin() const { return hasCodes ? grassetto[5] : 0; }
    // The lines of the paper (Grassetto code 7 compressed, 8 normal; 66 without codes).
    int physicalLength(bool compressed) const;
    // The font size in points through an installed printer (Compresso code 1 compressed,
    // 7 normal); 10 when that code is 0.
    int fontSize(bool compressed) const;
    // The set-up bytes of raw printing: Compresso codes 1-5 compressed, 7-11 normal;
    // five 0 bytes without codes. A code above 255 is a std::runtime_error naming it.
    std::string setupBytes(bool compressed) const;
};

// The check boxes of the menu.
struct PrintOptions {
    bool compressed = false;  // "Stampa Compressa"
    bool landscape = false;   // "Stampa orizzontale"
    bool duplex = false;      // "Stampa fronte / retro"
};

// The first line of "FontStp.txt" in the working folder, trimmed; "Courier New" when the
// file is missing or that line is blank.
std::string readFontName(const std::filesystem::path& workDir);
// `CodiceAssistenza` of the `AnagraficaHotels` record "Numero = 1"; "" without that
// record. A registry that cannot be opened is a store::DbError.
std::string readPrintOptions(const std::filesystem::path& workDir);
// `Destinazione` of every `Stampanti` record "NumeroHotel = 1", in table order. A
// "Stampanti.mdb" that is missing or cannot be read is a store::DbError naming it.
std::vector<std::string> readDestinations(const std::filesystem::path& workDir);
// The settings of `destination` for hotel `hotelNumber` (0 counts as 1). A destination
// without a `Stampanti` record, a `TipoStampa` without `SetStampa` and a hotel without
// `Contatori` keep the defaults; a missing "Stampanti.mdb" or "Contatori.mdb" is a
// store::DbError naming it.
PrintSetup readPrintSetup(const std::filesystem::path& workDir, const std::string& destination, int hotelNumber);

// The last destination whose text contains "PDF" (case-sensitive).
std::optional<std::string> lastPdfDestination(const std::vector<std::string>& destinations);

// The device of a destination: the value of the environment variable named by the
// destination (its name matched without regard to case, as `PCLocal` is) when it is
// not empty, else `Linea`; a non-blank choice of installed
// printer (other than "<nessuna stampante>") replaces either.
std::string chooseDevice(const PrintSetup& setup, std::string_view printerChoice);

// How the report reaches the device.
enum class PrintRoute {
    Raw,             // bytes written to a file or device path
    Printer,         // the installed printer `device`
    DefaultPrinter,  // the device is no installed printer: the system's default printer
    PdfFile,         // the device is no installed printer and names a PDF printer
};
PrintRoute choosePrintRoute(const PrintSetup& setup, const std::string& device,
                            const std::vector<std::string>& installedPrinters);

// A device path as written in the settings: a relative path lies in the working folder.
std::filesystem::path devicePath(const std::filesystem::path& workDir, const std::string& device);

// Whether a report line is a form feed: the single character 12.
bool isFormFeedLine(std::string_view line);
// The accented letters of a Windows-1252 line in the forms of a printer without them,
// every border of the box left in its column: à è é ì ù ò become a' e' e' i' u' o' (the
// letter and an apostrophe), each apostrophe taking the place of a blank of its cell
// (the longest run of blanks gives them, keeping one); a cell without blanks to spare
// gets the bare letters a e e i u o instead. The box bytes are never folded: 0xB4, the
// acute accent ´ in Windows-1252, is the box's right-hand tee in the report file and
// stays 0xB4. Text after the last border, or in a line without one, keeps the
// apostrophes and grows. Every other byte stays.
std::string foldAccents(std::string_view line);
// The report lines split into pages: a page ends after `pageLength` lines (no limit
// when it is 0 or less) and at a form-feed line, which is not printed itself; a
// form-feed line on a page without lines adds no empty page. The last page holds the
// remaining lines; no lines, no page.
std::vector<std::vector<std::string>> paginate(const std::vector<std::string>& lines, int pageLength);

// The bytes of raw printing: the set-up bytes and the top margin (lines of one blank),
// then for each page its lines (accents folded unless `hotelOptions` contains "K"),
// each ending with CR LF, and the page's end: with "U" empty lines until the page holds
// the physical page length (margin included), otherwise a form feed (0x0C) alone; then
// the top margin again, after the last page too.
std::string rawPrintBytes(const std::vector<std::string>& lines, const PrintSetup& setup,
                          const PrintOptions& options, std::string_view hotelOptions);
// Writes bytes to a file or device, replacing a file's content; a std::runtime_error
// naming it when it cannot be opened or written.
void writeDevice(const std::filesystem::path& device, const std::string& bytes);

// The archive copy of the report: the working folder / "doc" / prefix + "fd" +
// yyyymmddhhmm + ".doc".
std::filesystem::path archiveCopyPath(const std::filesystem::path& workDir, const Stamp& when);
// Creates "doc" and copies the report file there (replacing a copy of the same minute).
// Returns the copy's path; a std::runtime_error saying what failed otherwise.
std::filesystem::path makeArchiveCopy(const std::filesystem::path& workDir, const Stamp& when);
// The PDF file beside an archive copy: the same name with ".pdf".
std::filesystem::path pdfBesideArchive(const std::filesystem::path& archive);

// The print menu's state from its loading to its closing, as the dialog and the command
// line use it.
class PrintMenuLogic {
public:
    // `clock`: the time of the archive copy's name; empty: local time now.
    explicit PrintMenuLogic(std::filesystem::path workDir, int hotelNumber, std::function<Stamp()> clock = {});

    // Loading: the archive copy. Its failure is kept in archiveError() (the menu goes on).
    void load();
    const std::filesystem::path& archivePath() const { return archivePath_; }
    const std::optional<std::string>& archiveError() const { return archiveError_; }

    // Activation: the option string of hotel 1 and the destinations. Returns whether
    // there is any destination (without one the menu closes).
    bool activate();
    const std::vector<std::string>& destinations() const { return destinations_; }
    const std::string& hotelOptions() const { return hotelOptions_; }

    // The settings of one destination for the menu's hotel.
    PrintSetup setup(const std::string& destination) const;

    const std::filesystem::path& workDir() const { return workDir_; }
    int hotelNumber() const { return hotelNumber_; }

private:
    std::filesystem::path workDir_;
    int hotelNumber_;
    std::function<Stamp()> clock_;
    std::filesystem::path archivePath_;
    std::optional<std::string> archiveError_;
    std::vector<std::string> destinations_;
    std::string hotelOptions_;
};

}  // namespace zt::report
