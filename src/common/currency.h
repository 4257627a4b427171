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
    // The nearest amount with four decimals (halves away from zero). nullopt when the
    // value is not finite or does not fit.
    static std::optional<Currency> fromDouble(double value);
    // Exact reading of a decimal text such as "1234.5", "-0.0001", "12": optional sign,
    // digits, optional "." and at most four decimals. Anything else (blanks, grouping,
    // more decimals, no digits, overflow) gives nullopt: no guessing.
    static std::optional<Currency> parse(std::string_view text);

    constexpr std::int64_t tenThousandths() const { return units_; }
    double toDouble() const;
    // Plain decimal text with "." and the decimals it needs: "1234.5", "-3", "0.0001".
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
