#pragma once
// Letter case as Windows file names compare it for the texts the program handles: ASCII
// letters only. Bytes of multi-byte UTF-8 sequences stay as they are, so a comparison never
// matches half a character.
#include <string>
#include <string_view>

namespace qm::paths {

inline char UpperAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool SameIgnoringAsciiCase(char a, char b) {
    return UpperAsciiLetter(a) == UpperAsciiLetter(b);
}

// The text with its ASCII letters upper-cased; other bytes stay as they are.
inline std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = UpperAsciiLetter(c);
    return upper;
}

}  // namespace qm::paths
