#pragma once
// Windows-1252, the ANSI code page of a Western European or American Windows, as the real
// conversion calls apply it: strict both ways, never a look-alike letter. Standalone, so that
// the profile walk's fuzzer can convert with it too.
#include <string>
#include <string_view>

namespace qm::sim {

// False when the text is not well-formed UTF-8 or holds a character the code page lacks.
bool Utf8ToWindows1252(std::string_view utf8, std::string& ansi);
// Always true: every byte is a character. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as
// Windows maps them.
bool Windows1252ToUtf8(std::string_view ansi, std::string& utf8);

}  // namespace qm::sim
