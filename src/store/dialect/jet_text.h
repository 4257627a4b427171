#pragma once
// How Jet compares texts: without regard to case, accented letters included ("À" is
// "à"), while an accent still tells letters apart ("à" is not "a"). In order, an
// accented letter sorts beside its plain one ("a" < "à" < "b"). The rule, its
// characters and its limits are described in docs/JET_SQL.md; the emitter
// (jet_emit.cpp) decides where it applies, and the database layer registers the SQL
// functions and the collation below on every connection.
#include <optional>
#include <string>
#include <string_view>

namespace zt::store::jet {

// The text with every letter replaced by its folded (lower-case) form, one character
// for one character, so character positions and counts stay the same. Bytes that are
// not UTF-8 stay as they are.
std::string foldText(std::string_view utf8);

// Jet's order of two texts: negative, 0 or positive. 0 exactly when the texts are the
// same once folded.
int compareText(std::string_view a, std::string_view b);

// Whether no character of the text has another spelling under folding (digits, blanks,
// punctuation, letters without case): such a text equals only itself.
bool isCaseless(std::string_view utf8);
// Whether every character of the text sorts below every letter (bytes below "A":
// digits, blanks, most punctuation): comparing with such a text gives the same answer
// byte by byte as in Jet's order, so an index of the plain bytes serves it.
bool sortsBelowLetters(std::string_view utf8);

// The spellings of a text that fold to the same text ("Ab": "AB", "Ab", "aB", "ab"),
// in byte order, as the emitter walks them along an index. Only for valid UTF-8.
bool isValidUtf8(std::string_view s);
std::string firstSpelling(std::string_view utf8);
std::string lastSpelling(std::string_view utf8);
// The first spelling of `utf8` that comes after `after` in byte order; none when
// `after` is its last spelling or beyond.
std::optional<std::string> nextSpelling(std::string_view after, std::string_view utf8);

// The rule as character maps, for an engine that maps a text character by character
// (PostgreSQL's translate(), on the figure server): `foldFrom` holds every character
// that folds to another and `foldTo` what each folds to, in the same order; `keyFrom`
// and `keyTo` the same for a character's key in Jet's order (its letter without case
// and accent). Comparing (key text, folded text) code point by code point is
// compareText.
struct CharacterMaps {
    std::string foldFrom, foldTo, keyFrom, keyTo;
};
const CharacterMaps& characterMaps();


}  // namespace zt::store::jet
