#pragma once
// Money as a fixed-point value: a 64-bit count of ten-thousandths (four decimals),
// with exact addition and subtraction.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zt {

class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency fromTenThousandths(std::int64_t units) { return Currency(units); }
    // The nearest amount with four decimals, halves away from zero, rounded on the
    // value's 15-significant-digit decimal form (0.1 + 0.2 gives 0.3). nullopt when
    // the value is not finite or does not fit.
    static std::optional<Currency> fromDouble(double value);
    // Exact reading of a decimal text such as "1234.5", "-0.0001", "12", "12.3400":
    // optional "-", digits, optional "." and at most four decimals ("12." and ".5" are
    // read too). Anything else ("+", blanks, grouping, more decimals, an exponent, no
    // digits, overflow) gives nullopt: no guessing.
    static std::optional<Currency> parse(std::string_view text);

    constexpr std::int64_t tenThousandths() const { return units_; }
    double toDouble() const;
    // Plain decimal text with "." and the decimals it needs: "1234.5", "-3", "0.0001",
    // "-0.5". parse() reads it back to the same amount.
    std::string toString() const;

    constexpr Currency operator-() const { return Currency(-units_); }
    constexpr Currency operator+(Currency o) const { return Currency(units_ + o.units_); }
    constexpr Currency operator-(Currency o) const { return Currency(units_ - o.units_); }
    constexpr Currency operator*(std::int64_t k) const { return Currency(units_ * k); }
    constexpr Currency& operator+=(Currency o) { units_ += o.units_; return *this; }
    constexpr Currency& operator-=(Currency o) { units_ -= o.units_; return *this; }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

}  // namespace zt
