#pragma once
// Name comparison as Windows does it for registry keys, values and file names: without regard
// to letter case. Folding covers ASCII and the common European alphabets (Latin-1, Latin
// Extended-A, Greek, Cyrillic); other characters compare exactly.
#include <string>
#include <string_view>

namespace qm::sim {

// The upper-case form used as a lookup key. Bytes that are not valid UTF-8 pass unchanged.
std::string FoldCase(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The text as code points, so that one wildcard '?' stands for one character.
std::u32string ToCodePoints(std::string_view text);

}  // namespace qm::sim
