#include "report/report_text.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "common/cp1252.h"
#include "common/currency.h"
#include "common/text.h"
#include "common/translate.h"
#include "report/report_file.h"
#include "store/figures/catalogue.h"
#include "store/sqlite/database.h"
#include "store/figures/operations.h"

namespace zt::report {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The two layouts: cell widths, total width, title field.
struct Layout {
    std::array<std::size_t, 6> widths;
    std::size_t lineWidth;
    std::size_t titleWidth;
};
constexpr Layout kReportLayout{{23, 12, 12, 12, 10, 10}, 86, 68};
constexpr Layout kBlockLayout{{23, 10, 10, 10, 10, 10}, 80, 62};
constexpr std::size_t kPercentWidth = 9;
constexpr std::size_t kMonthNameWidth = 22;

// Everything below works on Windows-1252 bytes, one byte a character.
std::string bytesOf(std::string_view utf8) {
    std::string s(utf8);
    // A narrow no-break space (a group separator of some locales) has no place in the
    // code page; the no-break space has.
    for (std::size_t p; (p = s.find("\u202F")) != std::string::npos;) s.replace(p, 3, "\u00A0");
    return toCp1252(s);
}

// A cell's text: trimmed, then preceded by blanks up to the width. A wider text is kept
// whole and widens its line.
std::string alignRight(std::string_view s, std::size_t width) {
    std::string t = trim(s);
    if (t.size() < width) t.insert(0, width - t.size(), ' ');
    return t;
}

std::string alignLeft(std::string_view s, std::size_t width) {
    std::string t(s);
    if (t.size() < width) t.append(width - t.size(), ' ');
    return t;
}

std::string rule(const Layout& l, char first, char between, char last) {
    std::string s(1, first);
    for (std::size_t i = 0; i < l.widths.size(); ++i) {
        if (i > 0) s += between;
        s.append(l.widths[i], box::kHorizontal);
    }
    s += last;
    return s;
}

std::string fourDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

// V, a blank, the date, the title in its field, the time, V.
std::string titleLine(const Layout& l, const Stamp& now, std::string_view statisticName,
                      std::string_view detail) {
    std::string title = bytesOf(" Zentoria su " + std::string(statisticName) + "-" + std::string(detail));
    if (title.size() > l.titleWidth) title.resize(l.titleWidth);
    std::string s(1, box::kVertical);
    s += " " + twoDigits(now.day) + "/" + twoDigits(now.month) + "/" + fourDigits(now.year);
    s += alignLeft(title, l.titleWidth);
    s += twoDigits(now.hour) + ":" + twoDigits(now.minute);
    s += box::kVertical;
    return s;
}

std::string joinCells(const std::array<std::string, 6>& cells) {
    std::string s(1, box::kVertical);
    for (const auto& c : cells) {
        s += c;
        s += box::kVertical;
    }
    return s;
}

// The figures of one report or block, read before anything is written.
struct Figures {
    std::array<double, 12> current{};
    std::array<double, 12> previous{};
};

Figures readFigures(const ProgramState& state, const store::DetailKey& key, std::string_view year,
                    const std::string& previousYear) {
    Figures f;
    for (int m = 1; m <= 12; ++m) {
        f.current[m - 1] = store::sumMonth(state, key, year, m).value_or(0.0);
        f.previous[m - 1] = store::sumMonth(state, key, previousYear, m).value_or(0.0);
    }
    return f;
}

Currency toCurrency(double v) {
    if (auto c = Currency::fromDouble(v)) return *c;
    throw std::runtime_error(
        withArgs(translate("Store", "the report cannot total the value %1"), {formatPlain(v, Separators{})}));
}

std::string percentCell(double value) {
    return alignRight(bytesOf(formatPercent(value)), kPercentWidth) + "%";
}

// The text lines of one report or block, without line ends.
std::vector<std::string> renderBlock(const Layout& l, bool reportForm, const ProgramState& state,
                                     const Stamp& now, std::string_view year,
                                     const std::string& previousYear, std::string_view statisticName,
                                     std::string_view detail, bool money, const Figures& f,
                                     const Separators& sep) {
    auto value = [&](double v) {
        return bytesOf(money ? formatMoney(v, sep) : formatPlain(v, sep));
    };
    auto monthCell = [&](std::string_view name) { return " " + alignLeft(bytesOf(name), kMonthNameWidth); };

    const std::string top =
        std::string(1, box::kTopLeft) + std::string(l.lineWidth - 2, box::kHorizontal) + box::kTopRight;
    const std::string head = rule(l, box::kLeftTee, box::kTopTee, box::kRightTee);
    const std::string bottom = rule(l, box::kBottomLeft, box::kBottomTee, box::kBottomRight);
    const std::string inner = rule(l, box::kLeftTee, box::kCross, box::kRightTee);

    std::string columns(1, box::kVertical);
    columns += " Mese                  ";
    columns += box::kVertical;
    if (reportForm) {
        columns += "    " + bytesOf(year) + "    ";
        columns += box::kVertical;
        columns += "    " + bytesOf(previousYear) + "    ";
        columns += box::kVertical;
        columns += "Differenza  ";
    } else {
        columns += " Valore   ";
        columns += box::kVertical;
        columns += " Anno Prec";
        columns += box::kVertical;
        columns += "Differenza";
    }
    columns += box::kVertical;
    columns += "% Increm. ";
    columns += box::kVertical;
    columns += "% su Anno ";
    columns += box::kVertical;

    Currency total;  // the year total T, the divisor of every share
    for (double c : f.current) total += toCurrency(c);
    const double totalValue = total.toDouble();

    std::vector<std::string> lines{top, titleLine(l, now, statisticName, detail), head, columns, inner};
    Currency sumCurrent, sumPrevious, sumDifference;
    for (int m = 0; m < 12; ++m) {
        const double c = f.current[m];
        const double p = f.previous[m];
        const double d = c - p;
        const double share = total != Currency() ? c / totalValue * 100.0 : 0.0;
        const double increase = p != 0.0 ? d / p * 100.0 : (c > 0.0 ? 100.0 : 0.0);
        sumCurrent += toCurrency(c);
        sumPrevious += toCurrency(p);
        sumDifference += toCurrency(d);
        const std::string& name =
            state.monthNames[m].empty() ? std::string(kMonthNames[m]) : state.monthNames[m];
        lines.push_back(joinCells({monthCell(name), alignRight(value(c), l.widths[1]),
                                   alignRight(value(p), l.widths[2]), alignRight(value(d), l.widths[3]),
                                   percentCell(increase), percentCell(share)}));
    }
    lines.push_back(inner);

    const float totalIncrease = yearIncrease(f.current, f.previous);
    lines.push_back(joinCells({monthCell("Totali"), alignRight(value(sumCurrent.toDouble()), l.widths[1]),
                               alignRight(value(sumPrevious.toDouble()), l.widths[2]),
                               alignRight(value(sumDifference.toDouble()), l.widths[3]),
                               percentCell(totalIncrease), "      100%"}));
    lines.push_back(bottom);
    return lines;
}

bool isMoneyCode(std::string_view tipo) {
    return tipo == "Produzione" || tipo == "Cassa" || tipo == "Fatturato";
}


Stamp stampNow(const ReportSettings& settings) { return settings.clock ? settings.clock() : localStamp(); }

// The file the report is written to.
std::filesystem::path reportFileOf(const ProgramState& state, const ReportSettings& settings) {
    return settings.file.empty() ? reportFilePath(state.workDir) : settings.file;
}

// Writes the report file, replacing it or after its content; its errors name it.
void writeFile(const std::filesystem::path& file, const std::string& bytes, bool append) {
    writeFolderFile(file, bytes, append,
                    withArgs(translate("Store", "cannot open the report file %1 for writing"), {file.string()}),
                    withArgs(translate("Store", "cannot write the report file %1"), {file.string()}));
}

std::string withLineEnds(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l;
        bytes += kCrLf;
    }
    return bytes;
}

std::vector<std::string> blockLines(const Layout& l, bool reportForm, const store::DetailKey& key,
                                    const ProgramState& state, std::string_view year,
                                    std::string_view statisticName, std::string_view detail,
                                    const ReportSettings& settings) {
    const Stamp now = stampNow(settings);
    const std::string previousYear = previousYearText(year);
    const Figures f = readFigures(state, key, year, previousYear);
    return renderBlock(l, reportForm, state, now, year, previousYear, statisticName, detail,
                       isMoneyCode(key.tipo), f, settings.separators);
}

// Appends to `file`, the report file already found, two empty lines and the block of
// client type `clientType`. The figures are read before the file is opened.
void appendClientTypeBlock(const std::filesystem::path& file, const ProgramState& state,
                           std::string_view year, std::string_view statisticName,
                           std::string_view clientType, const ReportSettings& settings) {
    auto lines = blockLines(kBlockLayout, false, store::reportClientTypeKey(statisticName, clientType),
                            state, year, statisticName, clientType, settings);
    lines.insert(lines.begin(), 2, std::string());
    writeFile(file, withLineEnds(lines), true);
}

}  // namespace

float yearIncrease(const std::array<double, 12>& current, const std::array<double, 12>& previous) {
    // The year's increase over the year before, by the month lines' rule, on the sums the
    // totals line prints.
    Currency sumCurrent, sumPrevious, sumDifference;
    for (std::size_t m = 0; m < 12; ++m) {
        sumCurrent += toCurrency(current[m]);
        sumPrevious += toCurrency(previous[m]);
        sumDifference += toCurrency(current[m] - previous[m]);
    }
    if (sumPrevious != Currency())
        return static_cast<float>(sumDifference.toDouble() / sumPrevious.toDouble() * 100.0);
    return sumCurrent > Currency() ? 100.0f : 0.0f;
}

std::string previousYearText(std::string_view year) {
    return formatPlain(val(year) - 1.0, Separators{".", ""});
}

Stamp localStamp() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

std::filesystem::path ScriviReport(const ProgramState& state, std::string_view year,
                                   std::string_view statisticName, std::string_view detailText,
                                   const ReportSettings& settings) {
    const auto lines = blockLines(kReportLayout, true, store::reportKey(statisticName, detailText), state,
                                  year, statisticName, detailText, settings);
    const auto file = reportFileOf(state, settings);
    writeFile(file, withLineEnds(lines), false);
    return file;
}

std::filesystem::path ScriviReportTipoCliente(const ProgramState& state, std::string_view year,
                                              std::string_view statisticName,
                                              std::string_view clientType,
                                              const ReportSettings& settings) {
    const auto file = reportFileOf(state, settings);
    appendClientTypeBlock(file, state, year, statisticName, clientType, settings);
    return file;
}

BatchResult ScriviReportTipiCliente(const ProgramState& state, std::string_view year,
                                    std::string_view statisticName, const ReportSettings& settings,
                                    const std::function<void(const std::string&)>& progress) {
    BatchResult result;
    result.file = reportFileOf(state, settings);
    writeFile(result.file, std::string(kCrLf), false);

    // The client types of the current hotel, in code order.
    std::vector<std::string> codes;
    {
        const std::string hotel = std::to_string(state.hotelNumber);
        store::Database db = store::Database::open(state.workDir, "CodiciVari.mdb");
        store::Recordset rs =
            db.openQuery("Select * From CodiciVari Where Tipo = 6 and NumeroHotel = " + hotel +
                         " Order by Sigla;");
        for (; !rs.eof(); rs.moveNext()) codes.push_back(rs.field("Sigla").toText());
        rs.close();
        db.close();
    }

    auto show = [&](std::string caption) {
        if (progress) progress(caption);
        result.caption = std::move(caption);
    };
    for (const auto& code : codes) {
        show(code);
        const auto sum = store::sumClientTypeYearAllHotels(state, year, code);
        if (!sum) continue;
        show(code + " " + formatPlain(*sum, settings.separators));
        appendClientTypeBlock(result.file, state, year, statisticName, code, settings);
        result.clientTypes.push_back(code);
    }
    return result;
}

}  // namespace zt::report
