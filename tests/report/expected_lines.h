#pragma once
// Expected report lines built from the layout rules of the report file, independently of
// the writer: box bytes, cell widths, right-aligned values, "%" after a 9-wide number.
#include <cstdlib>
#include <string>
#include <vector>

namespace zt::report::expect {

inline const std::string V = "\xB3";
inline const std::string H = "\xC4";

inline std::string times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}
inline std::string lpad(std::string s, std::size_t w) {
    if (s.size() < w) s.insert(0, w - s.size(), ' ');
    return s;
}
inline std::string rpad(std::string s, std::size_t w) {
    if (s.size() < w) s.append(w - s.size(), ' ');
    return s;
}

// Wide: the 86-column report (value cells of 12); otherwise the 80-column block (10).
struct Box {
    bool wide;
    int valueWidth() const { return wide ? 12 : 10; }
    int inner() const { return wide ? 84 : 78; }
    std::size_t titleField() const { return wide ? 68 : 62; }

    std::string top() const { return "\xDA" + times(H, inner()) + "\xBF"; }
    std::string rule(const std::string& l, const std::string& m, const std::string& r) const {
        const std::string v = times(H, valueWidth());
        return l + times(H, 23) + m + v + m + v + m + v + m + times(H, 10) + m + times(H, 10) + r;
    }
    std::string underTitle() const { return rule("\xC3", "\xC2", "\xB4"); }
    std::string inner_() const { return rule("\xC3", "\xC5", "\xB4"); }
    std::string bottom() const { return rule("\xC0", "\xC1", "\xD9"); }

    // `title` in Windows-1252 bytes.
    std::string titleLine(const std::string& date, std::string title, const std::string& time) const {
        if (title.size() > titleField()) title.resize(titleField());
        return V + " " + date + rpad(title, titleField()) + time + V;
    }
    std::string header(const std::string& year = "", const std::string& prev = "") const {
        if (wide)
            return V + " Mese                  " + V + "    " + year + "    " + V + "    " + prev + "    " + V +
                   "Differenza  " + V + "% Increm. " + V + "% su Anno " + V;
        return V + " Mese                  " + V + " Valore   " + V + " Anno Prec" + V + "Differenza" + V +
               "% Increm. " + V + "% su Anno " + V;
    }
    std::string line(const std::string& month, const std::string& cur, const std::string& prev,
                     const std::string& diff, const std::string& inc, const std::string& share) const {
        const auto w = static_cast<std::size_t>(valueWidth());
        return V + " " + rpad(month, 22) + V + lpad(cur, w) + V + lpad(prev, w) + V + lpad(diff, w) + V +
               lpad(inc, 9) + "%" + V + lpad(share, 9) + "%" + V;
    }
};

inline const char* const kMonths[12] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
                                        "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};

// A month line: current, previous, difference, increase, share.
struct Month {
    std::string cur, prev, diff, inc, share;
};

// The whole block: top, title, rule, header, inner rule, twelve months, inner rule,
// totals, bottom; each line followed by CR LF.
inline std::string block(const Box& b, const std::string& titleLine, const std::string& header,
                         const std::vector<Month>& months, const Month& totals) {
    std::vector<std::string> lines{b.top(), titleLine, b.underTitle(), header, b.inner_()};
    for (int m = 0; m < 12; ++m) {
        const Month& x = months.at(m);
        lines.push_back(b.line(kMonths[m], x.cur, x.prev, x.diff, x.inc, x.share));
    }
    lines.push_back(b.inner_());
    lines.push_back(b.line("Totali", totals.cur, totals.prev, totals.diff, totals.inc, totals.share));
    lines.push_back(b.bottom());
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// Twelve months of the same line.
inline std::vector<Month> allMonths(const Month& m) { return std::vector<Month>(12, m); }

// Clears every spelling of the workstation variable.
inline void clearWorkstation() {
    for (const char* n : {"PCLocal", "PcLocal", "PClocal", "pclocal", "PCLOCAL"}) unsetenv(n);
}

}  // namespace zt::report::expect
