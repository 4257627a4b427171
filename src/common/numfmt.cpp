#include "common/numfmt.h"

#include <QLocale>
#include <QString>
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
