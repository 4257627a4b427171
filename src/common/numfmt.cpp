#include "common/numfmt.h"

#include <QLocale>
#include <QString>
#include <charconv>
#include <cmath>

#include "common/decimal.h"

namespace zt {
namespace {

// NaN and infinities have no pattern; they print as themselves rather than as a figure.
std::string nonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

std::string grouped(const std::string& digits, const std::string& group) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += group;
        out += digits[i];
    }
    return out;
}

}  // namespace

Separators localeSeparators() {
    const QLocale locale = QLocale::system();
    return Separators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

std::string formatMoney(double value, const Separators& sep) {
    if (!std::isfinite(value)) return nonFinite(value);
    const DecimalDigits d = roundedDecimal(value, 2);
    return (d.negative ? "-" : "") + grouped(d.integer, sep.group) + sep.decimal + d.fraction;
}

std::string formatPlain(double value, const Separators& sep) {
    if (!std::isfinite(value)) return nonFinite(value);
    const DecimalDigits d = shortestDecimal(value);
    std::string out = (d.negative ? "-" : "") + d.integer;
    if (!d.fraction.empty()) out += sep.decimal + d.fraction;
    return out;
}

std::string formatPercent(double value) {
    if (!std::isfinite(value)) return nonFinite(value);
    const DecimalDigits d = roundedDecimal(value, 0);
    return (d.negative ? "-" : "") + d.integer;
}

}  // namespace zt

namespace zt {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a number written with `group` between groups of three and `decimal`
// before the decimals; nullopt when the text is not of that form.
std::optional<std::string> canonical(std::string_view s, std::string_view group, std::string_view decimal) {
    std::string out;
    std::size_t i = 0;
    std::size_t groupDigits = 0;
    bool grouped = false;
    bool anyDigit = false;
    while (i < s.size() && isDigit(s[i])) {
        out += s[i++];
        ++groupDigits;
        anyDigit = true;
        if (!group.empty() && s.substr(i, group.size()) == group && i + group.size() < s.size() &&
            isDigit(s[i + group.size()])) {
            if (groupDigits > 3 || (grouped && groupDigits != 3)) return std::nullopt;
            grouped = true;
            groupDigits = 0;
            i += group.size();
        }
    }
    if (grouped && groupDigits != 3) return std::nullopt;
    if (i < s.size() && !decimal.empty() && s.substr(i, decimal.size()) == decimal) {
        i += decimal.size();
        out += '.';
        std::size_t decimals = 0;
        while (i < s.size() && isDigit(s[i])) {
            out += s[i++];
            ++decimals;
        }
        if (decimals == 0) return std::nullopt;
        anyDigit = true;
    }
    if (i != s.size() || !anyDigit) return std::nullopt;
    return out;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text, const Separators& sep) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return 0.0;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    auto digits = canonical(text, sep.group, sep.decimal);
    if (!digits) digits = canonical(text, "", ".");
    if (!digits) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(digits->data(), digits->data() + digits->size(), v);
    if (ec != std::errc() || end != digits->data() + digits->size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

}  // namespace zt
