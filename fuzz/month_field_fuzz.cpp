// The month-field number reader parseNumber, with the Italian separators, the C ones
// and a locale that groups with a narrow no-break space, and zt::val. What must hold
// for any text:
//  - parseNumber never throws; a value it gives is finite;
//  - what the grid writes reads back: formatPlain and formatMoney of a value read are
//    read as that value again (to their 15 digits, or to the cent);
//  - val throws nothing but overflow_error and gives a finite number.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/numfmt.h"
#include "common/text.h"

namespace {

[[noreturn]] void broken(const char* what, std::string_view text) {
    std::fprintf(stderr, "month_field_fuzz: %s: %.*s\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

void checkWith(std::string_view text, const zt::Separators& sep) {
    const auto v = zt::parseNumber(text, sep);
    if (!v) return;
    if (!std::isfinite(*v)) broken("not a finite value", text);

    const std::string plain = zt::formatPlain(*v, sep);
    const auto again = zt::parseNumber(plain, sep);
    if (!again) broken("formatPlain of a value read is not read back", plain);
    if (zt::formatPlain(*again, sep) != plain) broken("formatPlain does not read back as itself", plain);

    if (std::fabs(*v) < 1e13) {
        const std::string money = zt::formatMoney(*v, sep);
        const auto cents = zt::parseNumber(money, sep);
        if (!cents) broken("formatMoney of a value read is not read back", money);
        if (zt::formatMoney(*cents, sep) != money) broken("formatMoney does not read back as itself", money);
        if (std::fabs(*cents - *v) > 0.005 + std::fabs(*v) * 1e-14) broken("formatMoney moved the value", money);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkWith(text, zt::Separators{",", "."});
    checkWith(text, zt::Separators{".", ","});
    checkWith(text, zt::Separators{",", "\u202F"});
    try {
        const double v = zt::val(text);
        if (!std::isfinite(v)) broken("val gave a value that is not finite", text);
    } catch (const std::overflow_error&) {
    }
    return 0;
}
