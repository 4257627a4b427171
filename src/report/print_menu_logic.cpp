#include "report/print_menu_logic.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "common/env.h"
#include "common/text.h"
#include "report/report_file.h"
#include "store/database.h"

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
            throw std::runtime_error("Il codice " + std::to_string(i + 1) + " (" + std::to_string(code) +
                                     ") di Compresso per TipoStampa " + std::to_string(tipoStampa) +
                                     " in " + kPrinters + " non è un byte (da 0 a 255).");
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

std::string foldAccents(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    for (const char c : line) {
        switch (static_cast<unsigned char>(c)) {
            case 0xE0: out += "a'"; break;  // à
            case 0xE8:                      // è
            case 0xE9: out += "e'"; break;  // é
            case 0xEC: out += "i'"; break;  // ì
            case 0xF9: out += "u'"; break;  // ù
            case 0xF2: out += "o'"; break;  // ò
            case 0xB4: out += '|'; break;   // ´
            default: out += c; break;
        }
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
    writeBytes(device, bytes, false, "Impossibile aprire il dispositivo di stampa " + device.string() + ".",
               "Impossibile scrivere sul dispositivo di stampa " + device.string() + ".");
}

std::filesystem::path archiveCopyPath(const std::filesystem::path& workDir, const Stamp& when) {
    const std::string stamp = std::to_string(when.year) + twoDigits(when.month) + twoDigits(when.day) +
                              twoDigits(when.hour) + twoDigits(when.minute);
    return workDir / "doc" / (workstationPrefix() + "fd" + stamp + ".doc");
}

std::filesystem::path makeArchiveCopy(const std::filesystem::path& workDir, const Stamp& when) {
    const auto target = archiveCopyPath(workDir, when);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec)
        throw std::runtime_error("Impossibile creare la cartella " + target.parent_path().string() + ": " +
                                 ec.message() + ".");
    const auto source = reportFilePath(workDir);
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        throw std::runtime_error("Impossibile copiare " + source.string() + " in " + target.string() + ": " +
                                 ec.message() + ".");
    return target;
}

std::filesystem::path pdfBesideArchive(const std::filesystem::path& archive) {
    std::filesystem::path p = archive;
    p.replace_extension(".pdf");
    return p;
}

PrintMenuLogic::PrintMenuLogic(std::filesystem::path workDir, int hotelNumber, std::function<Stamp()> clock)
    : workDir_(std::move(workDir)), hotelNumber_(hotelNumber == 0 ? 1 : hotelNumber), clock_(std::move(clock)) {}

void PrintMenuLogic::load() {
    const Stamp when = clock_ ? clock_() : localStamp();
    archivePath_ = archiveCopyPath(workDir_, when);
    archiveError_.reset();
    try {
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
