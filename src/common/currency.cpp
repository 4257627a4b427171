#include "common/currency.h"

#include <cmath>
#include <limits>

#include "common/decimal.h"

namespace zt {
namespace {

// Ten-thousandths from the digits of a non-negative amount (fraction: 0 to 4 digits);
// nullopt when it does not fit, the sign being applied afterwards.
std::optional<std::int64_t> unitsFromDigits(std::string_view integer, std::string_view fraction,
                                            bool negative) {
    std::string digits(integer);
    digits += fraction;
    digits.append(4 - fraction.size(), '0');
    // Accumulate towards the negative side, which holds one more value than the positive.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t units = 0;
    for (char c : digits) {
        const int d = c - '0';
        if (units < (kMin + d) / 10) return std::nullopt;
        units = units * 10 - d;
    }
    if (!negative) {
        if (units == kMin) return std::nullopt;
        units = -units;
    }
    return units;
}

}  // namespace

std::optional<Currency> Currency::fromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // Far beyond the range; spares building hundreds of digits.
    if (std::fabs(value) > 1e16) return std::nullopt;
    const DecimalDigits d = roundedDecimal(value, 4);
    const auto units = unitsFromDigits(d.integer, d.fraction, d.negative);
    if (!units) return std::nullopt;
    return Currency(*units);
}

std::optional<Currency> Currency::parse(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto allDigits = [](std::string_view s) {
        return s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!allDigits(integer) || !allDigits(fraction) || fraction.size() > 4) return std::nullopt;
    if (integer.empty() && fraction.empty()) return std::nullopt;
    const auto units = unitsFromDigits(integer, fraction, negative);
    if (!units) return std::nullopt;
    return Currency(*units);
}

double Currency::toDouble() const { return static_cast<double>(units_) / 10000.0; }

std::string Currency::toString() const {
    // The magnitude as unsigned, so that the most negative amount prints too.
    const std::uint64_t magnitude =
        units_ < 0 ? 0 - static_cast<std::uint64_t>(units_) : static_cast<std::uint64_t>(units_);
    std::string text = std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty()) text += "." + fraction;
    return units_ < 0 ? "-" + text : text;
}

}  // namespace zt
