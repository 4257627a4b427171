#include "common/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace zt {
namespace {

constexpr int kSignificant = 15;

// The value's digits and the number of them before the decimal point, from its
// 15-significant-digit scientific form ("1.23450000000000e+03": "123450000000000", 4).
// The digit string is padded so that it covers the decimal point.
struct Digits {
    bool negative = false;
    std::string digits;
    int integerDigits = 0;
};

Digits significantDigits(double value) {
    if (!std::isfinite(value)) throw std::invalid_argument("number is not finite");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                   kSignificant - 1);
    const std::string text(buf, res.ptr);

    Digits d;
    std::size_t i = 0;
    if (text[i] == '-') {
        d.negative = true;
        ++i;
    }
    const std::size_t e = text.find('e');
    for (; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    d.integerDigits = std::atoi(text.c_str() + e + 1) + 1;

    if (d.integerDigits <= 0) {
        d.digits.insert(0, static_cast<std::size_t>(1 - d.integerDigits), '0');
        d.integerDigits = 1;
    }
    if (static_cast<int>(d.digits.size()) < d.integerDigits) d.digits.resize(d.integerDigits, '0');
    return d;
}

DecimalDigits split(const Digits& d, std::size_t fractionDigits) {
    DecimalDigits out;
    out.integer = d.digits.substr(0, d.integerDigits);
    out.fraction = d.digits.substr(d.integerDigits, fractionDigits);
    const auto firstNonZero = out.integer.find_first_not_of('0');
    out.integer.erase(0, std::min(firstNonZero, out.integer.size() - 1));
    const bool zero = out.integer == "0" && out.fraction.find_first_not_of('0') == std::string::npos;
    out.negative = d.negative && !zero;
    return out;
}

}  // namespace

DecimalDigits roundedDecimal(double value, int decimals) {
    Digits d = significantDigits(value);
    const std::size_t keep = d.integerDigits + static_cast<std::size_t>(decimals);
    if (d.digits.size() <= keep) {
        d.digits.resize(keep, '0');
        return split(d, decimals);
    }
    const bool up = d.digits[keep] >= '5';  // at or past the half: away from zero
    d.digits.resize(keep);
    if (up) {
        std::size_t i = keep;
        while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
        if (i == 0) {
            d.digits.insert(0, 1, '1');
            ++d.integerDigits;
        } else {
            ++d.digits[i - 1];
        }
    }
    return split(d, decimals);
}

DecimalDigits shortestDecimal(double value) {
    Digits d = significantDigits(value);
    const auto last = d.digits.find_last_not_of('0');
    const std::size_t end = last == std::string::npos ? 0 : last + 1;
    const std::size_t fraction = end > static_cast<std::size_t>(d.integerDigits)
                                     ? end - d.integerDigits : 0;
    return split(d, fraction);
}

}  // namespace zt
