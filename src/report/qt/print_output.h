#pragma once
// Printing the report file as the print menu does: raw to a device, through an
// installed printer with QPrinter, or into a PDF file with QPrinter's PDF output.
// docs/PRINTING.md describes the rules.
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/print_menu_logic.h"

namespace zt::report {

// The device names of the installed printers (QPrinterInfo).
std::vector<std::string> installedPrinters();

// Makes sure a Qt GUI application object exists, as QPrinter needs one: when there is
// no application object yet, one is created for the rest of the process, on the
// "offscreen" platform unless QT_QPA_PLATFORM names another. An application object
// without GUI is a std::runtime_error.
void ensureGuiApplication();

// Prints `lines` (report lines, Windows-1252 bytes) through QPrinter: to the installed
// printer `printerName` (the system's default printer when empty) or, when `pdfFile`
// is not empty, into that PDF file. Font `setup.fontName` at the size of the check box,
// the top margin as blank lines, `setup.pageLength()` lines a page, form-feed lines
// starting a new page, a page also ending where the paper ends; accents folded unless
// `hotelOptions` contains "K". Returns the number of pages (0 for no lines: nothing is
// printed). A printer that cannot be started is a std::runtime_error naming it.
int printThroughPrinter(const std::vector<std::string>& lines, const PrintSetup& setup, const PrintOptions& options,
                        std::string_view hotelOptions, const QString& printerName, const QString& pdfFile = {});

struct PrintRequest {
    std::filesystem::path workDir;
    PrintSetup setup;
    PrintOptions options;
    std::string hotelOptions;
    std::string printerChoice;                      // the installed printer chosen in the menu; "" none
    std::filesystem::path archivePath;              // the archive copy; a PDF goes beside it
    std::optional<std::filesystem::path> forcePdf;  // print into this PDF file, whatever the route
};

struct PrintOutcome {
    bool printed = false;  // false: there is no report file, nothing was printed
    PrintRoute route = PrintRoute::Raw;
    std::string target;    // the device path, the printer's name ("" default) or the PDF file
    int pages = 0;
};

// Prints the report file (reportFilePath) of the request's working folder: the device
// by chooseDevice, the route by choosePrintRoute over `installed`. A raw destination
// without a device, a printer route without any installed printer, an unwritable
// device and an unreadable report file are std::runtime_errors saying so.
PrintOutcome printReport(const PrintRequest& request, const std::vector<std::string>& installed);

}  // namespace zt::report
