#pragma once
// Windows-1252, the code page of the files written for other programs.
#include <string>
#include <string_view>

namespace zt {

// UTF-8 to Windows-1252; a character the code page lacks becomes `replacement`.
// Invalid UTF-8 (a bad or cut-short sequence, an overlong form, a surrogate) becomes
// `replacement` for each of its bytes; decoding resumes at the next byte.
std::string toCp1252(std::string_view utf8, char replacement = '?');
// Windows-1252 to UTF-8; the five undefined bytes (0x81 0x8D 0x8F 0x90 0x9D) map to
// the C1 controls of the same value, so every byte survives a round trip.
std::string fromCp1252(std::string_view bytes);

}  // namespace zt

namespace zt {
// Whether the bytes are valid UTF-8 (no bad or cut-short sequence, overlong form or
// surrogate).
bool isValidUtf8(std::string_view bytes);
}  // namespace zt
