#include "platform/sim/windows_1252.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/utf8.h"

namespace qm::sim {

namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the code point of its own value.
constexpr std::array<char32_t, 32> kBytes80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharacterOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kBytes80To9F[byte - 0x80] : byte;
}

}  // namespace

bool Utf8ToWindows1252(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = platform::DecodeUtf8(utf8, at);
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            ansi.push_back(static_cast<char>(code));
            continue;
        }
        const auto place = std::find(kBytes80To9F.begin(), kBytes80To9F.end(), code);
        if (place == kBytes80To9F.end()) return false;
        ansi.push_back(static_cast<char>(0x80 + (place - kBytes80To9F.begin())));
    }
    return true;
}

bool Windows1252ToUtf8(std::string_view ansi, std::string& utf8) {
    utf8.clear();
    for (const char byte : ansi)
        platform::AppendUtf8(CharacterOf(static_cast<unsigned char>(byte)), utf8);
    return true;
}

}  // namespace qm::sim
