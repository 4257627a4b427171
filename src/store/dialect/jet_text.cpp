#include "store/dialect/jet_text.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace zt::store::jet {

using namespace std::literals;

namespace {

// A byte that does not start a valid UTF-8 character stands for itself, beyond every
// code point, so that two different texts never fold to the same one by accident.
constexpr char32_t kRawByte = 0x110000;

struct Decoded {
    char32_t cp;
    std::size_t len;
};

Decoded decode(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {b0, 1};
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) len = 2, cp = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF) len = 3, cp = b0 & 0x0F;
    else if (b0 >= 0xF0 && b0 <= 0xF4) len = 4, cp = b0 & 0x07;
    else return {kRawByte + b0, 1};
    if (i + len > s.size()) return {kRawByte + b0, 1};
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return {kRawByte + b0, 1};
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not characters.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return {kRawByte + b0, 1};
    return {cp, len};
}

void encode(char32_t cp, std::string& out) {
    if (cp >= kRawByte) {
        out += static_cast<char>(cp - kRawByte);
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Simple case folding (one character to one character, as Unicode's CaseFolding.txt
// gives it with status C and S) of the Latin letters of ASCII, Latin-1 and Latin
// Extended-A, of Greek and of Cyrillic. Other characters fold to themselves.
char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c == 0xB5) return 0x3BC;                                      // micro sign
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;         // À..Þ
    if (c < 0x100) return c;
    if (c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;  // İ ı ĸ ŉ
        if (c == 0x178) return 0xFF;                                   // Ÿ
        if (c == 0x17F) return 's';                                    // long s
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper) return (c % 2 == 1) ? c + 1 : c;
        return (c % 2 == 0) ? c + 1 : c;
    }
    if (c >= 0x370 && c <= 0x3FF) {                                   // Greek
        if (c == 0x386) return 0x3AC;
        if (c >= 0x388 && c <= 0x38A) return c + 37;
        if (c == 0x38C) return 0x3CC;
        if (c == 0x38E || c == 0x38F) return c + 63;
        if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 0x20;
        if (c == 0x3C2) return 0x3C3;                                  // final sigma
        return c;
    }
    if (c >= 0x400 && c <= 0x4FF) {                                   // Cyrillic
        if (c <= 0x40F) return c + 0x50;
        if (c <= 0x42F) return c + 0x20;
        if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF))
            return (c % 2 == 0) ? c + 1 : c;
        if (c == 0x4C0) return 0x4CF;
        if (c >= 0x4C1 && c <= 0x4CE) return (c % 2 == 1) ? c + 1 : c;
        return c;
    }
    if (c == 0x1E9E) return 0xDF;   // capital sharp s
    if (c == 0x212A) return 'k';    // Kelvin sign
    if (c == 0x212B) return 0xE5;   // Angstrom sign
    return c;
}

// The plain letter an accented Latin letter (already folded) sorts beside; the letter
// itself for any other character.
char32_t base(char32_t c) {
    if (c < 0xE0 || c > 0x17F) return c;
    // Latin-1 small letters à..ÿ; '\0' keeps the letter itself (æ ð ÷ ø þ).
    static constexpr std::string_view kLatin1 = "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y"sv;
    if (c <= 0xFF) {
        const char b = kLatin1[c - 0xE0];
        return b ? static_cast<char32_t>(b) : c;
    }
    // Latin Extended-A, one entry per pair (capital, small) from U+0100.
    static constexpr std::string_view kExtA =
        "aaaccccddeeeeegggghhiiiii\0jk"sv;  // U+0100..U+0137 (ĳ kept)
    if (c <= 0x137) {
        const char b = kExtA[(c - 0x100) / 2];
        return b ? static_cast<char32_t>(b) : c;
    }
    if (c == 0x138) return c;
    if (c <= 0x142) return 'l';
    if (c <= 0x149) return 'n';
    if (c <= 0x14B) return c;  // ŋ
    if (c <= 0x151) return 'o';
    if (c <= 0x153) return c;  // œ
    if (c <= 0x159) return 'r';
    if (c <= 0x161) return 's';
    if (c <= 0x167) return 't';
    if (c <= 0x173) return 'u';
    if (c <= 0x175) return 'w';
    if (c <= 0x178) return 'y';
    if (c <= 0x17E) return 'z';
    return c;
}

// Every character that folds to each folded character, for the characters fold
// changes; a character missing here has no other spelling.
const std::map<char32_t, std::vector<char32_t>>& spellings() {
    static const auto table = [] {
        std::map<char32_t, std::vector<char32_t>> t;
        auto add = [&](char32_t c) {
            const char32_t f = fold(c);
            if (f == c) return;
            auto& v = t[f];
            if (v.empty()) v.push_back(f);
            v.push_back(c);
        };
        for (char32_t c = 0; c < 0x500; ++c) add(c);
        for (char32_t c : {char32_t{0x1E9E}, char32_t{0x212A}, char32_t{0x212B}}) add(c);
        for (auto& [f, v] : t) std::sort(v.begin(), v.end());  // code point order is byte order
        return t;
    }();
    return table;
}

// The spellings of each character of a text, each as UTF-8, in byte order.
std::vector<std::vector<std::string>> choices(std::string_view utf8) {
    std::vector<std::vector<std::string>> out;
    const auto& table = spellings();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto d = decode(utf8, i);
        std::vector<std::string> options;
        if (auto it = table.find(fold(d.cp)); it != table.end()) {
            for (char32_t c : it->second) encode(c, options.emplace_back());
        } else {
            options.emplace_back(utf8.substr(i, d.len));
        }
        out.push_back(std::move(options));
        i += d.len;
    }
    return out;
}

}  // namespace

const CharacterMaps& characterMaps() {
    static const CharacterMaps maps = [] {
        CharacterMaps m;
        auto add = [&](char32_t c) {
            const char32_t f = fold(c), k = base(f);
            if (f != c) encode(c, m.foldFrom), encode(f, m.foldTo);
            if (k != c) encode(c, m.keyFrom), encode(k, m.keyTo);
        };
        for (char32_t c = 1; c < 0x500; ++c) add(c);
        for (char32_t c : {char32_t{0x1E9E}, char32_t{0x212A}, char32_t{0x212B}}) add(c);
        return m;
    }();
    return maps;
}

std::string foldText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto d = decode(utf8, i);
        const char32_t f = fold(d.cp);
        if (f == d.cp) out.append(utf8.substr(i, d.len));
        else encode(f, out);
        i += d.len;
    }
    return out;
}

int compareText(std::string_view a, std::string_view b) {
    // A common beginning compares equal in both passes below, so the texts compare as
    // what follows it (from the start of the character where they part). Where that is
    // a character without case or accent on both sides (a digit, a blank, punctuation),
    // its byte decides at once: month keys, dates and codes of digits, which the
    // recompute groups by the hundred thousand, never reach the passes.
    std::size_t p = 0;
    const std::size_t common = std::min(a.size(), b.size());
    while (p < common && a[p] == b[p]) ++p;
    const auto continues = [](std::string_view s, std::size_t at) {
        return at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80;
    };
    while (p > 0 && (continues(a, p) || continues(b, p))) --p;
    if (p == a.size() || p == b.size()) return a.size() == b.size() ? 0 : (p == a.size() ? -1 : 1);
    const auto plain = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x80 && !((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'));
    };
    if (a[p] != b[p] && plain(a[p]) && plain(b[p]))
        return static_cast<unsigned char>(a[p]) < static_cast<unsigned char>(b[p]) ? -1 : 1;
    a.remove_prefix(p);
    b.remove_prefix(p);
    // First the letters without case and accent, then with their accents.
    for (const bool accents : {false, true}) {
        std::size_t i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            const auto da = decode(a, i), db = decode(b, j);
            char32_t ka = fold(da.cp), kb = fold(db.cp);
            if (!accents) ka = base(ka), kb = base(kb);
            if (ka != kb) return ka < kb ? -1 : 1;
            i += da.len;
            j += db.len;
        }
        if (i < a.size()) return 1;
        if (j < b.size()) return -1;
    }
    return 0;
}

bool isCaseless(std::string_view utf8) {
    const auto& table = spellings();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto d = decode(utf8, i);
        if (table.count(fold(d.cp))) return false;
        i += d.len;
    }
    return true;
}

bool sortsBelowLetters(std::string_view utf8) {
    return std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 'A'; });
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto d = decode(s, i);
        if (d.cp >= kRawByte) return false;
        i += d.len;
    }
    return true;
}

std::string firstSpelling(std::string_view utf8) {
    std::string out;
    for (const auto& c : choices(utf8)) out += c.front();
    return out;
}

std::string lastSpelling(std::string_view utf8) {
    std::string out;
    for (const auto& c : choices(utf8)) out += c.back();
    return out;
}

std::optional<std::string> nextSpelling(std::string_view after, std::string_view utf8) {
    const auto options = choices(utf8);
    const std::size_t n = options.size();
    // How many leading characters of `after` are spellings of those of the text, and
    // where each of them starts.
    std::vector<std::size_t> at{0};
    for (std::size_t k = 0; k < n; ++k) {
        const std::string_view rest = after.substr(at.back());
        const auto& opts = options[k];
        const auto hit = std::find_if(opts.begin(), opts.end(), [&](const std::string& o) { return rest.starts_with(o); });
        if (hit == opts.end()) break;
        at.push_back(at.back() + hit->size());
    }
    // Keep as many of them as possible and put, at the next character, the smallest
    // spelling greater than what `after` has there; the smallest spellings after it.
    if (n == 0) return std::nullopt;
    for (std::size_t keep = std::min(at.size() - 1, n - 1) + 1; keep-- > 0;) {
        const std::string_view rest = after.substr(at[keep]);
        const auto& opts = options[keep];
        const auto bigger = std::find_if(opts.begin(), opts.end(), [&](const std::string& o) { return o > rest; });
        if (bigger == opts.end()) continue;
        std::string out(after.substr(0, at[keep]));
        out += *bigger;
        for (std::size_t k = keep + 1; k < n; ++k) out += options[k].front();
        return out;
    }
    return std::nullopt;
}

}  // namespace zt::store::jet
