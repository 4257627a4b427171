#include "report/print_menu_logic.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "common/env.h"
#include "common/text.h"
#include "common/translate.h"
#include "report/report_file.h"
#include "store/sqlite/database.h"
#include "store/file_names.h"

namespace zt::report {

namespace {

constexpr const char* kPrinters = "Stampanti.mdb";
constexpr const char* kCounters = "Contatori.mdb";
constexpr const char* kRegistry = "AnagraficaHotels.mdb";
constexpr const char* kCrLf = "\r\n";

int fieldInt(const store::Recordset& rs, std::string_view name) {
    return static_cast<int>(rs.field(name).toInteger());
}

}  // namespace

PrintCodes parsePrintCodes(std::string_view field) {
    PrintCodes codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::string code = mid(field, static_cast<long>(i * 3 + 1), 3);
        codes[i] = static_cast<int>(val(code));
    }
    return codes;
}

int PrintSetup::physicalLength(bool compressed) const {
    if (!hasCodes) return 66;
    return compressed ? grassetto[6] : grassetto[7];
}

int PrintSetup::fontSize(bool compressed) const {
    const int size = compressed ? compresso[0] : compresso[6];
    return size > 0 ? size : 10;
}

std::string PrintSetup::setupBytes(bool compressed) const {
    std::string bytes;
    const std::size_t first = compressed ? 0 : 6;
    for (std::size_t i = first; i < first + 5; ++i) {
        const int code = compresso[i];
        if (code < 0 || code > 255)
            throw std::runtime_error(withArgs(translate("PrintMenu",
                                                        "Il codice %1 (%2) di Compresso per TipoStampa %3 in %4 non "
                                                        "è un byte (da 0 a 255)."),
                                              {std::to_string(i + 1), std::to_string(code), std::to_string(tipoStampa),
                                               kPrinters}));
        bytes += static_cast<char>(static_cast<unsigned char>(code));
    }
    return bytes;
}

std::string readFontName(const std::filesystem::path& workDir) {
    const std::string line = trim(firstLineOf(workDir, "FontStp.txt"));
    return line.empty() ? std::string(kDefaultPrintFont) : line;
}

std::string readPrintOptions(const std::filesystem::path& workDir) {
    auto db = store::Database::open(workDir, kRegistry);
    auto rs = db.openTable("AnagraficaHotels");
    rs.findFirst("Numero = 1");
    return rs.noMatch() ? std::string() : rs.field("CodiceAssistenza").toText();
}

std::vector<std::string> readDestinations(const std::filesystem::path& workDir) {
    std::vector<std::string> out;
    auto db = store::Database::open(workDir, kPrinters);
    auto rs = db.openTable("Stampanti");
    const std::string criterion = "NumeroHotel = 1";
    for (rs.findFirst(criterion); !rs.noMatch(); rs.findNext(criterion)) out.push_back(rs.field("Destinazione").toText());
    return out;
}

PrintSetup readPrintSetup(const std::filesystem::path& workDir, const std::string& destination, int hotelNumber) {
    PrintSetup s;
    s.destination = destination;
    s.fontName = readFontName(workDir);
    {
        auto db = store::Database::open(workDir, kCounters);
        auto rs = db.openTable("Contatori");
        rs.findFirst("NumeroHotel = " + std::to_string(hotelNumber == 0 ? 1 : hotelNumber));
        if (!rs.noMatch()) {
            s.hasCounters = true;
            s.pageLengthCompressed = fieldInt(rs, "LungPagComp");
            s.pageLengthNormal = fieldInt(rs, "LungPagNoComp");
        }
    }
    auto db = store::Database::open(workDir, kPrinters);
    {
        auto rs = db.openTable("Stampanti");
        rs.findFirst("Destinazione = " + sqlText(destination));
        if (rs.noMatch()) return s;
        s.tipoStampa = static_cast<int>(val(rs.field("TipoStampa").toText()));
        s.linea = rs.field("Linea").toText();
    }
    auto rs = db.openTable("SetStampa");
    rs.findFirst("TipoStampa = " + std::to_string(s.tipoStampa));
    if (!rs.noMatch()) {
        s.hasCodes = true;
        s.compresso = parsePrintCodes(rs.field("Compresso").toText());
        s.grassetto = parsePrintCodes(rs.field("Grassetto").toText());
    }
    return s;
}

std::optional<std::string> lastPdfDestination(const std::vector<std::string>& destinations) {
    std::optional<std::string> last;
    for (const auto& d : destinations)
        if (d.find("PDF") != std::string::npos) last = d;
    return last;
}

std::string chooseDevice(const PrintSetup& setup, std::string_view printerChoice) {
    std::string device = setup.linea;
    if (const auto v = envValueNoCase(setup.destination); v && !v->empty()) device = *v;
    if (!trim(printerChoice).empty() && printerChoice != kNoPrinter) device = std::string(printerChoice);
    return device;
}

PrintRoute choosePrintRoute(const PrintSetup& setup, const std::string& device,
                            const std::vector<std::string>& installedPrinters) {
    if (!setup.throughPrinter()) return PrintRoute::Raw;
    if (std::find(installedPrinters.begin(), installedPrinters.end(), device) != installedPrinters.end())
        return PrintRoute::Printer;
    if (device.find("PDF") != std::string::npos) return PrintRoute::PdfFile;
    return PrintRoute::DefaultPrinter;
}

std::filesystem::path devicePath(const std::filesystem::path& workDir, const std::string& device) {
    const std::filesystem::path p(device);
    return p.is_absolute() ? p : workDir / p;
}

bool isFormFeedLine(std::string_view line) { return line == "\f"; }

namespace {

// The bytes that draw the box (report_file.h): the borders folding keeps in place.
bool isBoxByte(char c) {
    switch (c) {
        case box::kTopLeft: case box::kTopRight: case box::kBottomLeft: case box::kBottomRight:
        case box::kHorizontal: case box::kVertical: case box::kLeftTee: case box::kRightTee:
        case box::kTopTee: case box::kBottomTee: case box::kCross:
            return true;
        default:
            return false;
    }
}

// The bare letter of an accented one, 0 for any other byte.
char accentLetter(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 0xE0: return 'a';  // à
        case 0xE8:              // è
        case 0xE9: return 'e';  // é
        case 0xEC: return 'i';  // ì
        case 0xF9: return 'u';  // ù
        case 0xF2: return 'o';  // ò
        default: return 0;
    }
}

// One cell of a line (the bytes between two box bytes). Each accented letter becomes the
// letter and an apostrophe; a cell closed by a border then gives back one blank per
// apostrophe, taken from its longest run of blanks (the rightmost of equal runs), which
// keeps at least one blank. When the runs cannot give them all, the cell's accented
// letters become their bare letters, so the cell keeps its width either way.
std::string foldCell(std::string_view cell, bool closed) {
    std::string longForm, shortForm;
    int extra = 0;
    for (const char c : cell) {
        if (const char letter = accentLetter(c)) {
            longForm += letter;
            longForm += '\'';
            shortForm += letter;
            ++extra;
        } else {
            longForm += c;
            shortForm += c;
        }
    }
    if (!closed || extra == 0) return longForm;
    struct Run {
        std::size_t at, length;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < longForm.size();) {
        if (longForm[i] != ' ') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < longForm.size() && longForm[j] == ' ') ++j;
        runs.push_back({i, j - i});
        i = j;
    }
    std::vector<std::size_t> keep(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) keep[r] = runs[r].length;
    for (int n = 0; n < extra; ++n) {
        std::size_t best = runs.size();
        for (std::size_t r = 0; r < runs.size(); ++r)
            if (keep[r] >= 2 && (best == runs.size() || keep[r] >= keep[best])) best = r;
        if (best == runs.size()) return shortForm;
        --keep[best];
    }
    std::string out;
    std::size_t from = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        out.append(longForm, from, runs[r].at - from);
        out.append(keep[r], ' ');
        from = runs[r].at + runs[r].length;
    }
    out.append(longForm, from, std::string::npos);
    return out;
}

}  // namespace

std::string foldAccents(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = start;
        while (end < line.size() && !isBoxByte(line[end])) ++end;
        const bool closed = end < line.size();
        out += foldCell(line.substr(start, end - start), closed);
        if (closed) out += line[end];  // a box byte is never folded (0xB4 is the right-hand tee)
        start = end + 1;
    }
    return out;
}

std::vector<std::vector<std::string>> paginate(const std::vector<std::string>& lines, int pageLength) {
    std::vector<std::vector<std::string>> pages;
    std::vector<std::string> page;
    for (const auto& line : lines) {
        if (isFormFeedLine(line)) {
            if (!page.empty()) pages.push_back(std::move(page));
            page.clear();
            continue;
        }
        page.push_back(line);
        if (pageLength > 0 && page.size() == static_cast<std::size_t>(pageLength)) {
            pages.push_back(std::move(page));
            page.clear();
        }
    }
    if (!page.empty()) pages.push_back(std::move(page));
    return pages;
}

std::string rawPrintBytes(const std::vector<std::string>& lines, const PrintSetup& setup,
                          const PrintOptions& options, std::string_view hotelOptions) {
    const bool fold = !contains(hotelOptions, "K");
    const bool pad = contains(hotelOptions, "U");
    const int margin = std::max(0, setup.topMargin());
    const int physical = setup.physicalLength(options.compressed);

    const auto topMargin = [&](std::string& out) {
        for (int i = 0; i < margin; ++i) out += std::string(" ") + kCrLf;
    };
    std::string out = setup.setupBytes(options.compressed);
    topMargin(out);
    for (const auto& page : paginate(lines, setup.pageLength(options.compressed))) {
        for (const auto& line : page) out += (fold ? foldAccents(line) : line) + kCrLf;
        if (pad) {
            for (long n = margin + static_cast<long>(page.size()); n < physical; ++n) out += kCrLf;
        } else {
            out += '\f';
        }
        topMargin(out);  // the next page's, after the last page too
    }
    return out;
}

void writeDevice(const std::filesystem::path& device, const std::string& bytes) {
    writeBytes(device, bytes, false,
               withArgs(translate("PrintMenu", "Impossibile aprire il dispositivo di stampa %1."), {device.string()}),
               withArgs(translate("PrintMenu", "Impossibile scrivere sul dispositivo di stampa %1."), {device.string()}));
}

std::filesystem::path archiveCopyPath(const std::filesystem::path& workDir, const Stamp& when) {
    const std::string stamp = std::to_string(when.year) + twoDigits(when.month) + twoDigits(when.day) +
                              twoDigits(when.hour) + twoDigits(when.minute);
    return store::findFile(workDir, "doc/" + workstationPrefix() + "fd" + stamp + ".doc");
}

std::filesystem::path makeArchiveCopy(const std::filesystem::path& workDir, const Stamp& when) {
    const auto target = archiveCopyPath(workDir, when);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec)
        throw std::runtime_error(withArgs(translate("PrintMenu", "Impossibile creare la cartella %1: %2."),
                                          {target.parent_path().string(), systemErrorText(ec)}));
    const auto source = reportFilePath(workDir);
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        throw std::runtime_error(withArgs(translate("PrintMenu", "Impossibile copiare %1 in %2: %3."),
                                          {source.string(), target.string(), systemErrorText(ec)}));
    return target;
}

std::filesystem::path pdfBesideArchive(const std::filesystem::path& archive) {
    std::filesystem::path p = archive;
    p.replace_extension(".pdf");
    return store::findFile(p.parent_path(), p.filename().string());
}

PrintMenuLogic::PrintMenuLogic(std::filesystem::path workDir, int hotelNumber, std::function<Stamp()> clock)
    : workDir_(std::move(workDir)), hotelNumber_(hotelNumber == 0 ? 1 : hotelNumber), clock_(std::move(clock)) {}

void PrintMenuLogic::load() {
    const Stamp when = clock_ ? clock_() : localStamp();
    archiveError_.reset();
    try {
        archivePath_ = archiveCopyPath(workDir_, when);
        makeArchiveCopy(workDir_, when);
    } catch (const std::exception& e) {
        archiveError_ = e.what();
    }
}

bool PrintMenuLogic::activate() {
    destinations_.clear();
    hotelOptions_ = readPrintOptions(workDir_);
    destinations_ = readDestinations(workDir_);
    return !destinations_.empty();
}

PrintSetup PrintMenuLogic::setup(const std::string& destination) const {
    return readPrintSetup(workDir_, destination, hotelNumber_);
}

}  // namespace zt::report
