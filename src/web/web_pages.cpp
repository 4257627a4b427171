#include "web/web_pages.h"

#include <algorithm>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <functional>
#include <numbers>

#include "common/numfmt.h"
#include "common/state.h"
#include "common/translate.h"

namespace zt::web {

namespace {

const Separators kItalian{",", "."};

// Numbers written for machines (JSON, SVG coordinates) with "." whatever the process's
// locale (the GUI application sets the user's): the C locale for this thread meanwhile.
class CNumbers {
public:
    CNumbers() : c_(::newlocale(LC_ALL_MASK, "C", nullptr)), old_(c_ ? ::uselocale(c_) : nullptr) {}
    ~CNumbers() {
        if (c_) {
            ::uselocale(old_);
            ::freelocale(c_);
        }
    }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    locale_t c_;
    locale_t old_;
};

std::string urlEncode(std::string_view s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') out += static_cast<char>(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string number(double v) {
    if (!std::isfinite(v)) return "null";
    const CNumbers c;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

// The pages' own texts go through the translation (context "Web"), each a whole
// sentence with "%1" ... for its variable parts; only the text is the source, never the
// markup around it. The translated text is escaped as data is.
std::string layout(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" + escapeHtml(withArgs(translate("Web", "%1 - Zentoria"), {title})) +
           "</title><link rel=\"stylesheet\" href=\"/stile.css\"></head>"
           "<body><header><nav><a href=\"/grid\">" + escapeHtml(translate("Web", "Griglia")) + "</a> <a href=\"/chain\">" +
           escapeHtml(translate("Web", "Catena")) + "</a>"
           "<form method=\"post\" action=\"/logout\" class=\"esci\"><button type=\"submit\" id=\"esci\">" +
           escapeHtml(translate("Web", "Esci")) + "</button>"
           "</form></nav></header><main><h1>" + escapeHtml(title) + "</h1>" + body + "</main></body></html>\n";
}

std::string options(const std::vector<std::string>& items, const std::string& selected,
                    const std::function<std::string(const std::string&)>& valueOf) {
    std::string s;
    for (const auto& item : items)
        s += "<option value=\"" + escapeHtml(valueOf(item)) + "\"" + (item == selected ? " selected" : "") + ">" +
             escapeHtml(item) + "</option>";
    return s;
}

std::string same(const std::string& s) { return s; }

// The first `count` characters of UTF-8 `text` (a month's short name), never half of one.
std::string firstChars(const std::string& text, int count) {
    std::size_t end = 0;
    for (int n = 0; end < text.size(); ++end)
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && ++n > count) break;
    return text.substr(0, end);
}

std::string hotelValue(const std::string& item) {
    return std::to_string(static_cast<long>(std::trunc(std::atof(item.substr(0, 3).c_str()))));
}

std::string seriesTable(const Series& s, const char* id) {
    std::string t = "<table class=\"dati\" id=\"" + std::string(id) + "\"><caption>" + escapeHtml(s.title) +
                    "</caption><thead><tr><th>" + escapeHtml(translate("Web", "Mese")) + "</th>";
    for (int k = 0; k < s.sets; ++k) t += "<th>" + escapeHtml(s.legends[static_cast<std::size_t>(k)]) + "</th>";
    t += "</tr></thead><tbody>";
    for (std::size_t m = 0; m < 12; ++m) {
        t += "<tr><th>" + escapeHtml(monthText(static_cast<int>(m) + 1)) + "</th>";
        for (int k = 0; k < s.sets; ++k) t += "<td>" + escapeHtml(formatPlain(s.values[static_cast<std::size_t>(k)][m], kItalian)) + "</td>";
        t += "</tr>";
    }
    return t + "</tbody></table>";
}

std::string seriesJson(const Series& s) {
    std::string j = "{\"titolo\":" + jsonString(s.title) + ",\"serie\":[";
    for (int k = 0; k < s.sets; ++k) {
        j += std::string(k ? "," : "") + "{\"nome\":" + jsonString(s.legends[static_cast<std::size_t>(k)]) + ",\"valori\":[";
        for (std::size_t m = 0; m < 12; ++m) j += (m ? "," : "") + number(s.values[static_cast<std::size_t>(k)][m]);
        j += "]}";
    }
    return j + "]}";
}

}  // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') out += ' ';
                else out += c;
        }
    }
    return out;
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '<' || c == '>' || c == '&' || u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else out += c;
    }
    return out + "\"";
}

Series comparisonOf(const desktop::Chart& chart) {
    Series s;
    s.title = chart.title();
    s.sets = chart.numSets();
    for (int k = 1; k <= s.sets; ++k) {
        s.legends[static_cast<std::size_t>(k - 1)] =
            chart.legendText(k).empty() ? withArgs(translate("Web", "Serie %1"), {std::to_string(k)})
                                        : chart.legendText(k);
        for (int m = 1; m <= 12; ++m) s.values[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(m - 1)] = chart.value(k, m);
    }
    return s;
}

std::string chartSvg(const desktop::Chart& chart) {
    const CNumbers c;
    constexpr double W = 720, H = 360, left = 70, top = 40, bottom = 50, right = 20;
    const int sets = chart.numSets();
    const int type = chart.chartType();
    static const char* colours[] = {"#2b6cb0", "#dd6b20"};
    std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"grafico\" viewBox=\"0 0 720 360\" role=\"img\" "
                    "aria-label=\"" + escapeHtml(chart.title()) + "\"><title>" + escapeHtml(chart.title()) + "</title>"
                    "<text x=\"360\" y=\"22\" text-anchor=\"middle\" class=\"titolo\">" + escapeHtml(chart.title()) + "</text>";
    if (type == 1 || type == 2) {  // a pie of set 1
        double sum = 0;
        for (int m = 1; m <= 12; ++m) sum += std::max(0.0, chart.value(1, m));
        double angle = -std::numbers::pi / 2;
        for (int m = 1; m <= 12 && sum > 0; ++m) {
            const double v = std::max(0.0, chart.value(1, m));
            if (v <= 0) continue;
            const double next = angle + v / sum * 2 * std::numbers::pi;
            const double cx = 360, cy = 200, r = 140;
            char path[256];
            std::snprintf(path, sizeof path, "M%.1f %.1fL%.1f %.1fA%.1f %.1f 0 %d 1 %.1f %.1fZ", cx, cy,
                          cx + r * std::cos(angle), cy + r * std::sin(angle), r, r, next - angle > std::numbers::pi ? 1 : 0,
                          cx + r * std::cos(next), cy + r * std::sin(next));
            s += "<path d=\"" + std::string(path) + "\" fill=\"hsl(" + std::to_string(m * 30) + ",60%,55%)\"><title>" +
                 escapeHtml(chart.label(m)) + "</title></path>";
            angle = next;
        }
        return s + "</svg>";
    }
    double lo = 0, hi = 0;
    for (int k = 1; k <= sets; ++k)
        for (int m = 1; m <= 12; ++m) {
            lo = std::min(lo, chart.value(k, m));
            hi = std::max(hi, chart.value(k, m));
        }
    if (hi - lo <= 0) hi = lo + 1;
    const double plotW = W - left - right, plotH = H - top - bottom;
    auto y = [&](double v) { return top + (hi - v) / (hi - lo) * plotH; };
    char buf[256];
    std::snprintf(buf, sizeof buf, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"asse\"/>", left, y(0), W - right, y(0));
    s += buf;
    for (int t = 0; t <= 4; ++t) {
        const double v = lo + (hi - lo) * t / 4;
        std::snprintf(buf, sizeof buf, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\" class=\"scala\">", left - 6, y(v) + 4);
        s += buf + escapeHtml(formatPlain(std::round(v), kItalian)) + "</text>";
    }
    const bool lines = type >= 6 && type <= 9;
    const double slot = plotW / 12;
    for (int k = 1; k <= sets; ++k) {
        std::string points;
        for (int m = 1; m <= 12; ++m) {
            const double v = chart.value(k, m);
            if (lines) {
                std::snprintf(buf, sizeof buf, "%.1f,%.1f ", left + slot * (m - 0.5), y(v));
                points += buf;
            } else {
                const double bw = slot * 0.8 / sets;
                const double x = left + slot * (m - 1) + slot * 0.1 + bw * (k - 1);
                std::snprintf(buf, sizeof buf, "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\">",
                              x, std::min(y(v), y(0)), bw, std::abs(y(v) - y(0)), colours[k - 1]);
                s += buf + std::string("<title>") + escapeHtml(chart.label(m)) + ": " +
                     escapeHtml(formatPlain(v, kItalian)) + "</title></rect>";
            }
        }
        if (lines)
            s += "<polyline fill=\"none\" stroke-width=\"2\" stroke=\"" + std::string(colours[k - 1]) + "\" points=\"" +
                 points + "\"/>";
    }
    for (int m = 1; m <= 12; ++m) {
        std::snprintf(buf, sizeof buf, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" class=\"mese\">",
                      left + slot * (m - 0.5), H - bottom + 18);
        s += buf + escapeHtml(firstChars(chart.label(m), 3)) + "</text>";
    }
    if (sets > 1)
        for (int k = 1; k <= sets; ++k) {
            std::snprintf(buf, sizeof buf, "<rect x=\"%.1f\" y=\"%.1f\" width=\"12\" height=\"12\" fill=\"%s\"/>"
                          "<text x=\"%.1f\" y=\"%.1f\" class=\"legenda\">", left + 200.0 * (k - 1), H - 18, colours[k - 1],
                          left + 200.0 * (k - 1) + 16, H - 8);
            s += buf + escapeHtml(chart.legendText(k)) + "</text>";
        }
    return s + "</svg>";
}

void sortChain(ChainView& v) {
    auto& rows = v.table.rows;
    const int c = v.sortColumn;
    auto key = [&](const desktop::ChainRow& r) -> double {
        if (c >= 1 && c <= 12) return r.months[static_cast<std::size_t>(c - 1)].value_or(0.0);
        if (c == 13) return r.total;
        return r.increase;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const desktop::ChainRow& a, const desktop::ChainRow& b) {
        if (c == 0) return v.descending ? a.name > b.name : a.name < b.name;
        return v.descending ? key(a) > key(b) : key(a) < key(b);
    });
}

std::string gridPage(const GridView& v) {
    const std::string query = "hotel=" + std::to_string(v.hotel) + "&statistica=" + urlEncode(v.statistic) +
                              "&dettaglio=" + urlEncode(v.detail) + "&anno=" + urlEncode(v.year);
    std::string b = "<form method=\"get\" action=\"/grid\" class=\"scelte\">"
                    "<label>" + escapeHtml(translate("Web", "Albergo")) + " <select name=\"hotel\" id=\"hotel\">" +
                    options(v.hotels, v.hotelItem, hotelValue) +
                    "</select></label><label>" + escapeHtml(translate("Web", "Statistica")) +
                    " <select name=\"statistica\" id=\"statistica\">" + options(v.statistics, v.statistic, same) +
                    "</select></label><label>" + escapeHtml(translate("Web", "Anno")) + " <input name=\"anno\" id=\"anno\" "
                    "inputmode=\"numeric\" maxlength=\"4\" value=\"" + escapeHtml(v.year) + "\"></label>"
                    "<button type=\"submit\" id=\"mostra\">" + escapeHtml(translate("Web", "Mostra")) + "</button></form>";
    // The detail list is the chosen statistic's: it is chosen in a form of its own, as the
    // window refills the list when a statistic is chosen.
    b += "<form method=\"get\" action=\"/grid\" class=\"scelte\"><input type=\"hidden\" name=\"hotel\" value=\"" +
         std::to_string(v.hotel) + "\"><input type=\"hidden\" name=\"statistica\" value=\"" + escapeHtml(v.statistic) +
         "\"><input type=\"hidden\" name=\"anno\" value=\"" + escapeHtml(v.year) + "\"><label>" +
         escapeHtml(translate("Web", "Dettaglio")) + " <select name=\"dettaglio\" id=\"dettaglio\">" +
         options(v.details, v.detail, same) + "</select></label><button type=\"submit\" id=\"mostra-dettaglio\">" +
         escapeHtml(translate("Web", "Mostra")) + "</button></form>";
    b += "<p class=\"sel\" id=\"selezione\">" + escapeHtml(v.hotelItem) + " &middot; " + escapeHtml(v.statistic) + " &middot; " +
         escapeHtml(v.detail) + " &middot; " + escapeHtml(v.year) + "</p>";
    b += "<div class=\"griglia\"><table class=\"dati\" id=\"mesi\"><thead><tr><th>" +
         escapeHtml(translate("Web", "Mese")) + "</th><th>" + escapeHtml(translate("Web", "Valore")) + "</th></tr></thead><tbody>";
    for (std::size_t m = 0; m < 12; ++m)
        b += "<tr><th>" + escapeHtml(monthText(static_cast<int>(m) + 1)) + "</th><td id=\"m" + std::to_string(m + 1) + "\">" +
             escapeHtml(v.texts[m]) + "</td></tr>";
    b += "</tbody></table><figure>" + v.chart + "</figure></div>";
    b += "<form method=\"get\" action=\"/grid\" class=\"scelte\"><input type=\"hidden\" name=\"hotel\" value=\"" +
         std::to_string(v.hotel) + "\"><input type=\"hidden\" name=\"statistica\" value=\"" + escapeHtml(v.statistic) +
         "\"><input type=\"hidden\" name=\"dettaglio\" value=\"" + escapeHtml(v.detail) +
         "\"><input type=\"hidden\" name=\"anno\" value=\"" + escapeHtml(v.year) + "\"><label>" +
         escapeHtml(translate("Web", "Grafico")) + " <select name=\"grafico\">";
    for (int t = 1; t <= desktop::Chart::kTypes; ++t)
        b += "<option value=\"" + std::to_string(t) + "\"" + (t == v.chartType ? " selected" : "") + ">" +
             escapeHtml(translate("Chart", desktop::kChartTypeItems[static_cast<std::size_t>(t - 1)])) + "</option>";
    b += "</select></label><button type=\"submit\">" + escapeHtml(translate("Web", "Disegna")) + "</button></form>";
    b += "<p class=\"azioni\"><a id=\"report-txt\" href=\"/report?" + escapeHtml(query) + "\">" +
         escapeHtml(translate("Web", "Report")) + "</a> <a id=\"report-pdf\" href=\"/report?" + escapeHtml(query) +
         "&amp;format=pdf\">" + escapeHtml(translate("Web", "PDF")) + "</a> <a id=\"report-csv\" href=\"/report?" +
         escapeHtml(query) + "&amp;format=csv\">" + escapeHtml(translate("Web", "CSV")) + "</a> <a href=\"/api/grid?" +
         escapeHtml(query) + "\">" + escapeHtml(translate("Web", "JSON")) + "</a></p>";
    b += "<form method=\"get\" action=\"/grid\" class=\"scelte\"><input type=\"hidden\" name=\"hotel\" value=\"" +
         std::to_string(v.hotel) + "\"><input type=\"hidden\" name=\"statistica\" value=\"" + escapeHtml(v.statistic) +
         "\"><input type=\"hidden\" name=\"dettaglio\" value=\"" + escapeHtml(v.detail) +
         "\"><input type=\"hidden\" name=\"anno\" value=\"" + escapeHtml(v.year) + "\"><label>" +
         escapeHtml(translate("Web", "Differenza con")) + " <input name=\"confronto\" maxlength=\"4\" inputmode=\"numeric\" "
         "value=\"" + escapeHtml(v.compareYear) + "\"></label><button type=\"submit\">" + escapeHtml(translate("Web", "Ok")) +
         "</button></form>";
    if (!v.compareChart.empty()) b += seriesTable(v.compare, "confronto") + "<figure>" + v.compareChart + "</figure>";
    b += "<form method=\"get\" action=\"/grid\" class=\"scelte\"><input type=\"hidden\" name=\"hotel\" value=\"" +
         std::to_string(v.hotel) + "\"><input type=\"hidden\" name=\"statistica\" value=\"" + escapeHtml(v.statistic) +
         "\"><input type=\"hidden\" name=\"dettaglio\" value=\"" + escapeHtml(v.detail) +
         "\"><input type=\"hidden\" name=\"anno\" value=\"" + escapeHtml(v.year) + "\"><label>" +
         escapeHtml(translate("Web", "Rapporto con")) + " <select name=\"rapporto\">" +
         options(v.comparisons, v.ratioStatistic, same) + "</select></label>";
    if (!v.ratioDetails.empty())
        b += "<label>" + escapeHtml(translate("Web", "Dettaglio")) + " <select name=\"dettaglio2\">" +
             options(v.ratioDetails, v.ratioDetail, same) + "</select></label>";
    b += "<button type=\"submit\">" + escapeHtml(translate("Web", "Conferma")) + "</button></form>";
    if (!v.ratioChart.empty()) b += seriesTable(v.ratio, "rapporto") + "<figure>" + v.ratioChart + "</figure>";
    return layout(translate("Web", "Griglia mensile"), b);
}

std::string chainPage(const ChainView& v) {
    const auto& t = v.table;
    const std::string base = "/chain?statistica=" + urlEncode(t.statistic) + "&dettaglio=" + urlEncode(t.detail) +
                             "&anno=" + urlEncode(t.year);
    std::string b = "<form method=\"get\" action=\"/chain\" class=\"scelte\"><label>" +
                    escapeHtml(translate("Web", "Statistica")) + " <select name=\"statistica\" id=\"statistica\">" +
                    options(v.statistics, t.statistic, same) + "</select></label><label>" +
                    escapeHtml(translate("Web", "Anno")) + " <input name=\"anno\" id=\"anno\" maxlength=\"4\" value=\"" +
                    escapeHtml(t.year) + "\"></label><button type=\"submit\">" + escapeHtml(translate("Web", "Mostra")) +
                    "</button></form>";
    b += "<form method=\"get\" action=\"/chain\" class=\"scelte\"><input type=\"hidden\" name=\"statistica\" value=\"" +
         escapeHtml(t.statistic) + "\"><input type=\"hidden\" name=\"anno\" value=\"" + escapeHtml(t.year) +
         "\"><label>" + escapeHtml(translate("Web", "Dettaglio")) + " <select name=\"dettaglio\" id=\"dettaglio\">" +
         options(v.details, t.detail, same) + "</select></label><button type=\"submit\">" +
         escapeHtml(translate("Web", "Mostra")) + "</button></form>";
    b += "<div class=\"scorri\"><table class=\"dati catena\" id=\"catena\"><thead><tr>";
    const auto headings = desktop::chainHeadings(t);
    for (std::size_t c = 0; c < headings.size(); ++c) {
        const bool current = static_cast<int>(c) == v.sortColumn;
        const bool nextDown = current && !v.descending;
        b += "<th><a href=\"" + escapeHtml(base + "&ordina=" + std::to_string(c) + "&verso=" + (nextDown ? "giu" : "su")) +
             "\">" + (c >= 1 && c <= 12 ? "<abbr title=\"" + escapeHtml(headings[c]) + "\">" + escapeHtml(firstChars(headings[c], 3)) + "</abbr>"
                                         : escapeHtml(headings[c])) + (current ? (v.descending ? " &#9660;" : " &#9650;") : "") + "</a></th>";
    }
    b += "</tr></thead><tbody>";
    auto row = [&](const desktop::ChainRow& r, const char* cls) {
        std::string s = std::string("<tr class=\"") + cls + "\">";
        const auto cells = desktop::chainCells(t, r, kItalian);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c == 0 && r.hotel > 0)
                s += "<th><a href=\"/grid?hotel=" + std::to_string(r.hotel) + "&amp;statistica=" + escapeHtml(urlEncode(t.statistic)) +
                     "&amp;dettaglio=" + escapeHtml(urlEncode(t.detail)) + "&amp;anno=" + escapeHtml(t.year) + "\">" +
                     escapeHtml(cells[c]) + "</a></th>";
            else if (c == 0)
                s += "<th>" + escapeHtml(cells[c]) + "</th>";
            else
                s += "<td>" + escapeHtml(cells[c]) + (c == cells.size() - 1 ? "%" : "") + "</td>";
        }
        return s + "</tr>";
    };
    for (const auto& r : t.rows) b += row(r, "albergo");
    b += "</tbody><tfoot>" + row(t.totalRow, "totale") + "</tfoot></table></div>";
    b += "<p class=\"azioni\"><a href=\"" + escapeHtml("/api/chain?statistica=" + urlEncode(t.statistic) + "&dettaglio=" +
                                                        urlEncode(t.detail) + "&anno=" + urlEncode(t.year)) + "\">" +
         escapeHtml(translate("Web", "JSON")) + "</a></p>";
    return layout(translate("Web", "Catena"), b);
}

std::string loginPage(const std::string& message) {
    std::string b;
    if (!message.empty()) b += "<p class=\"avviso\" id=\"messaggio\">" + escapeHtml(message) + "</p>";
    b += "<form method=\"post\" action=\"/login\" class=\"accesso\"><label>" +
         escapeHtml(translate("Web", "Password di direzione")) +
         " <input type=\"password\" name=\"password\" id=\"password\" autocomplete=\"current-password\" autofocus>"
         "</label><button type=\"submit\" id=\"entra\">" + escapeHtml(translate("Web", "Entra")) + "</button></form>";
    return layout(translate("Web", "Accesso"), b);
}

std::string messagePage(const std::string& title, const std::string& message) {
    return layout(title, "<p class=\"avviso\" id=\"messaggio\">" + escapeHtml(message) + "</p>");
}

std::string gridJson(const GridView& v) {
    std::string j = "{\"albergo\":" + std::to_string(v.hotel) + ",\"nome\":" + jsonString(v.hotelItem) +
                    ",\"statistica\":" + jsonString(v.statistic) + ",\"dettaglio\":" + jsonString(v.detail) +
                    ",\"anno\":" + jsonString(v.year) + ",\"mesi\":[";
    for (std::size_t m = 0; m < 12; ++m) j += (m ? "," : "") + number(v.values[m]);
    j += "],\"testi\":[";
    for (std::size_t m = 0; m < 12; ++m) j += (m ? "," : "") + jsonString(v.texts[m]);
    j += "]";
    if (!v.compareChart.empty()) j += ",\"confronto\":" + seriesJson(v.compare);
    if (!v.ratioChart.empty()) j += ",\"rapporto\":" + seriesJson(v.ratio);
    return j + "}";
}

std::string chainJson(const ChainView& v) {
    const auto& t = v.table;
    auto row = [&](const desktop::ChainRow& r) {
        std::string s = "{\"albergo\":" + std::to_string(r.hotel) + ",\"nome\":" + jsonString(r.name) + ",\"mesi\":[";
        for (std::size_t m = 0; m < 12; ++m) s += (m ? "," : "") + (r.months[m] ? number(*r.months[m]) : std::string("null"));
        return s + "],\"totale\":" + number(r.total) + ",\"anno_precedente\":" + number(r.previousTotal) +
               ",\"variazione\":" + number(std::round(static_cast<double>(r.increase) * 100) / 100) + "}";
    };
    std::string j = "{\"statistica\":" + jsonString(t.statistic) + ",\"dettaglio\":" + jsonString(t.detail) +
                    ",\"anno\":" + jsonString(t.year) + ",\"righe\":[";
    for (std::size_t i = 0; i < t.rows.size(); ++i) j += (i ? "," : "") + row(t.rows[i]);
    return j + "],\"totale\":" + row(t.totalRow) + "}";
}

std::string errorJson(const std::string& message) { return "{\"errore\":" + jsonString(message) + "}"; }

std::string styleSheet() {
    return R"CSS(body{font-family:system-ui,sans-serif;margin:0;color:#1a202c;background:#f7fafc}
header{background:#2c5282;padding:.5em 1em}header a{color:#fff;margin-right:1em;text-decoration:none;font-weight:600}
nav{display:flex;align-items:center;flex-wrap:wrap}.esci{margin-left:auto}
main{padding:1em;max-width:1400px;margin:auto}h1{font-size:1.4em}
.scelte{display:flex;flex-wrap:wrap;gap:.5em 1em;align-items:end;margin:.5em 0}.scelte label{display:flex;flex-direction:column;font-size:.9em}
select,input,button{font:inherit;padding:.25em}
.griglia{display:flex;flex-wrap:wrap;gap:1em}figure{margin:0;flex:1;min-width:280px}svg.grafico{width:100%;height:auto;background:#fff;border:1px solid #cbd5e0}
svg .titolo{font-weight:600;font-size:14px}svg text{font-size:11px;fill:#2d3748}svg .asse{stroke:#4a5568}
table.dati{border-collapse:collapse;background:#fff}table.dati td,table.dati th{border:1px solid #cbd5e0;padding:.25em .5em}
table.dati td{text-align:right;font-variant-numeric:tabular-nums}.scorri{overflow-x:auto}
tfoot tr{font-weight:700;background:#edf2f7}table.catena{font-size:.92em}table.catena th{white-space:nowrap}abbr{text-decoration:none}th a{color:inherit}.avviso{background:#fff5f5;border:1px solid #feb2b2;padding:.5em}
@media print{header,form,.azioni{display:none}main{max-width:none}}
)CSS";
}

}  // namespace zt::web
