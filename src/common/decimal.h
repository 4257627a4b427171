#pragma once
// A double as the decimal text that the number routines round and print: its
// 15-significant-digit form, so that 0.1 + 0.2 reads as 0.3 and 1.005 as 1.005.
#include <string>

namespace zt {

struct DecimalDigits {
    bool negative = false;   // never set for a value that is all zeros
    std::string integer;     // at least one digit, no leading zeros ("0" for none)
    std::string fraction;    // exactly the number of decimals asked for
};

// The finite value rounded to `decimals` decimals, halves away from zero, working on
// its 15-significant-digit decimal form. The value must be finite.
DecimalDigits roundedDecimal(double value, int decimals);

// The finite value's 15-significant-digit form with trailing fraction zeros dropped
// (fraction may be empty). Always plain positional digits, never an exponent.
DecimalDigits shortestDecimal(double value);

}  // namespace zt
