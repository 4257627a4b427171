#pragma once
// A field value as the database layer hands it over: null, whole number, double or text.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "common/currency.h"

namespace zt::store {

class Value {
public:
    Value() = default;                       // null
    Value(std::nullptr_t) {}
    Value(int v) : v_(std::int64_t{v}) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(std::string v) : v_(std::move(v)) {}
    // Currency is stored as a number with its four decimals.
    Value(Currency c) : v_(c.toDouble()) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isDouble() const { return std::holds_alternative<double>(v_); }
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }

    // Number: the value itself; text: its numeric value by the platform's Val; null: 0.
    double toDouble() const;
    // Rounded to the nearest whole number (halves away from zero), saturating.
    std::int64_t toInteger() const;
    // Number as plain text ("12", "1234.5", "." decimal point); text as is; null: "".
    std::string toText() const;
    // A number as money, exactly to four decimals; nullopt for null or text.
    std::optional<Currency> toCurrency() const;

    const std::variant<std::monostate, std::int64_t, double, std::string>& raw() const { return v_; }
    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace zt::store
