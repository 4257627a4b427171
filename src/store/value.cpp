#include "store/value.h"

#include <cmath>
#include <limits>

#include "common/numfmt.h"
#include "common/text.h"

namespace zt::store {

double Value::toDouble() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&v_)) return *d;
    if (auto* s = std::get_if<std::string>(&v_)) return val(*s);
    return 0.0;
}

std::int64_t Value::toInteger() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    const double d = toDouble();
    if (std::isnan(d)) return 0;
    const double r = std::round(d);  // halves away from zero
    if (r >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

std::string Value::toText() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v_)) return formatPlain(*d, Separators{});
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    return {};
}

std::optional<Currency> Value::toCurrency() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) {
        if (*i > std::numeric_limits<std::int64_t>::max() / 10000 ||
            *i < std::numeric_limits<std::int64_t>::min() / 10000)
            return std::nullopt;
        return Currency::fromTenThousandths(*i * 10000);
    }
    if (auto* d = std::get_if<double>(&v_)) return Currency::fromDouble(*d);
    return std::nullopt;
}

}  // namespace zt::store
