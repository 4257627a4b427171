#pragma once
// Number formatting for the patterns the program shows and prints. The separators
// are parameters, so callers choose the user's locale and tests pin them.
#include <optional>
#include <string>
#include <string_view>

namespace zt {

struct Separators {
    std::string decimal = ".";
    std::string group = ",";
};

// Separators of the user's locale as Qt reads it from LC_ALL, LC_NUMERIC or LANG
// (LANG=it_IT.UTF-8 gives "," and "." even where that locale is not generated; C and
// POSIX give "." and ","). Qt reads the environment once, at the first use of the
// system locale in the process. The group separator may be more than one byte
// (a no-break space in some locales).
Separators localeSeparators();

// Pattern "###,###,##0.00" (and "###,##0.00", which formats the same): grouped
// thousands, exactly two decimals, at least one integer digit, halves rounded away
// from zero on the value's 15-significant-digit decimal form.
// 1234.5 -> "1,234.50" (C) or "1.234,50" (Italian); -0.001 -> "0.00".
std::string formatMoney(double value, const Separators& sep);

// Plain shortest decimal text (up to 15 significant digits, no grouping, no leading
// blank): 12 -> "12", 1234.5 -> "1234.5" (decimal separator from sep), -0 -> "0",
// 0.1 + 0.2 -> "0.3". Never an exponent: 1e20 -> "100000000000000000000",
// 1e-5 -> "0.00001".
//
// All three formatters print a value that is not finite as "NaN", "Inf" or "-Inf".
std::string formatPlain(double value, const Separators& sep);

// A percentage as the report prints it: rounded half away from zero to a whole
// number (on the 15-significant-digit form), no grouping: 12.6 -> "13", 0 -> "0",
// -4.4 -> "-4", -0.4 -> "0", 2.5 -> "3", -2.5 -> "-3".
std::string formatPercent(double value);

}  // namespace zt

namespace zt {

// Reads a number typed in a month field: the form the grid writes (the locale's
// grouping and decimal separators, "1.234,50" in Italian), or a plain "1234.56" with
// "." as decimal point. Blanks around it are ignored; an optional "-" or "+" leads.
// An empty text is 0. Anything else is nullopt: no guessing. Where both readings
// apply, the locale's wins ("1.234" in Italian is 1234).
std::optional<double> parseNumber(std::string_view text, const Separators& sep);

}  // namespace zt
