#include "platform/sim/windows_1252.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

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

// The code point of the well-formed UTF-8 sequence at text[at], advancing `at`; U+FFFFFFFF
// for anything malformed (overlong forms and surrogates included).
constexpr char32_t kMalformed = 0xFFFFFFFF;
char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    std::size_t extra = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07u;
    } else {
        return kMalformed;
    }
    if (text.size() - at < extra) return kMalformed;
    for (std::size_t i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0u) != 0x80u) return kMalformed;
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return kMalformed;
    return code;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

bool Utf8ToWindows1252(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = DecodeUtf8(utf8, at);
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
    for (const char byte : ansi) AppendUtf8(CharacterOf(static_cast<unsigned char>(byte)), utf8);
    return true;
}

}  // namespace qm::sim
