#include "common/text.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace zt {
namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the character with the given 0-based index (s.size() past the end).
std::size_t byteOffset(std::string_view s, std::size_t index) {
    std::size_t i = 0;
    for (; i < s.size(); ++i) {
        if (isContinuation(s[i])) continue;
        if (index == 0) return i;
        --index;
    }
    return s.size();
}

bool isValBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Roughly the power of ten of a number text ("[sign]digits[.digits][e[sign]digits]"):
// positive for large numbers, negative for tiny ones; tells overflow from underflow.
long decimalMagnitude(const std::string& number) {
    const auto e = number.find('e');
    const std::string mantissa = number.substr(0, e);
    long magnitude = e == std::string::npos ? 0 : std::strtol(number.c_str() + e + 1, nullptr, 10);
    magnitude = std::clamp(magnitude, -100000L, 100000L);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string::npos) return 0;
    if (firstNonZero < point) return magnitude + static_cast<long>(point - firstNonZero);
    return magnitude - static_cast<long>(firstNonZero - point - 1);
}

}  // namespace

std::size_t charCount(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if (!isContinuation(c)) ++n;
    return n;
}

std::string left(std::string_view s, long n) {
    if (n <= 0) return {};
    return std::string(s.substr(0, byteOffset(s, static_cast<std::size_t>(n))));
}

std::string right(std::string_view s, long n) {
    if (n <= 0) return {};
    const std::size_t count = charCount(s);
    if (static_cast<std::size_t>(n) >= count) return std::string(s);
    return std::string(s.substr(byteOffset(s, count - static_cast<std::size_t>(n))));
}

std::string mid(std::string_view s, long start, long len) {
    if (start < 1)
        throw std::out_of_range("mid: the start position must be 1 or more, not " +
                                std::to_string(start));
    const std::size_t from = byteOffset(s, static_cast<std::size_t>(start - 1));
    if (len < 0) return std::string(s.substr(from));
    const std::string_view rest = s.substr(from);
    return std::string(rest.substr(0, byteOffset(rest, static_cast<std::size_t>(len))));
}

std::string ltrim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string rtrim(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string trim(std::string_view s) { return ltrim(rtrim(s)); }

std::string padLeft(std::string_view s, std::size_t width) {
    const std::size_t n = charCount(s);
    return n >= width ? std::string(s) : std::string(width - n, ' ') + std::string(s);
}

std::string padRight(std::string_view s, std::size_t width) {
    const std::size_t n = charCount(s);
    return n >= width ? std::string(s) : std::string(s) + std::string(width - n, ' ');
}

double val(std::string_view s) {
    std::string t;
    for (char c : s)
        if (!isValBlank(c)) t += c;

    // The longest leading number: sign, digits, ".", digits, then an exponent that is
    // taken only when at least one digit follows its letter (and optional sign).
    std::string number;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) number += t[i++];
    bool anyDigit = false;
    while (i < t.size() && isDigit(t[i])) { number += t[i++]; anyDigit = true; }
    if (i < t.size() && t[i] == '.') {
        number += t[i++];
        while (i < t.size() && isDigit(t[i])) { number += t[i++]; anyDigit = true; }
    }
    if (!anyDigit) return 0;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exponent += t[j++];
        if (j < t.size() && isDigit(t[j])) {
            while (j < t.size() && isDigit(t[j])) exponent += t[j++];
            number += exponent;
        }
    }

    // from_chars takes no "+" and is independent of the C locale.
    const char* first = number.data();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') ++first;
    double result = 0;
    const auto res = std::from_chars(first, number.data() + number.size(), result);
    if (res.ec == std::errc::result_out_of_range && decimalMagnitude(number) > 0)
        throw std::overflow_error("Overflow: the number in \"" + std::string(s) + "\" is too large");
    if (res.ec == std::errc::result_out_of_range) result = 0;  // too small to represent
    return negative ? -result : result;
}

bool contains(std::string_view s, std::string_view c) { return s.find(c) != std::string_view::npos; }

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string sqlText(std::string_view value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

}  // namespace zt
