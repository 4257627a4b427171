#pragma once
// Text routines in the manner of the original platform's string functions.
// Strings are UTF-8; every count and position is in characters, not bytes
// ("Età" is three characters long).
#include <string>
#include <string_view>

namespace zt {

// Number of characters (code points) in a UTF-8 string.
std::size_t charCount(std::string_view s);

// The first n characters (all of s when it is shorter; "" for n <= 0).
std::string left(std::string_view s, long n);
// The last n characters.
std::string right(std::string_view s, long n);
// Characters from position start (1-based) on, at most len of them (len < 0: to the end);
// "" when start lies past the end. A start below 1 throws std::out_of_range, as the
// platform's Mid$ raises an error for it.
std::string mid(std::string_view s, long start, long len = -1);

// Blanks (' ') removed at both ends / at the start / at the end.
std::string trim(std::string_view s);
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);

// s preceded by blanks up to width characters (right-aligned); s itself when wider.
std::string padLeft(std::string_view s, std::size_t width);
// s followed by blanks up to width characters (left-aligned); s itself when wider.
std::string padRight(std::string_view s, std::size_t width);

// The numeric value of a text read the way the platform's Val reads it: blanks,
// tabs, carriage returns and line feeds are skipped anywhere, then the longest leading
// decimal number is taken: optional sign, digits, optional "." and digits, optional
// exponent (E, e, D or d, optional sign, digits; a letter without digits ends the
// number). 0 when the text does not begin with a number ("12abc" gives 12, "abc" gives
// 0, " 1 2" gives 12, "1.234,56" gives 1.234). The "&H" and "&O" prefixes are not
// read ("&H1F" gives 0). Independent of the C locale. A number too large for a double
// throws std::overflow_error, as the platform raises Overflow; one too small gives 0.
double val(std::string_view s);

// Whether s contains the character(s) c, as the option-string tests do (a plain
// substring test; an empty c is always contained).
bool contains(std::string_view s, std::string_view c);

// ASCII-only case-insensitive comparison, for field, table and variable names.
bool equalsNoCase(std::string_view a, std::string_view b);

// The text with its ASCII letters in upper case (keywords, function names, declared
// types); other bytes as they are.
std::string upperAscii(std::string_view s);

// A text value as an SQL string literal: enclosed in single quotes, every single
// quote inside doubled. Every value that is put into a criterion or a query text
// goes through this one helper, so that a value cannot change the query.
std::string sqlText(std::string_view value);

}  // namespace zt
