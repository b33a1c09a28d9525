#pragma once
// UTF-8, the core's text form, taken apart and put together one code point at a time. The
// platform layer, the simulated machine and the core all meet texts from outside (registry
// data, file contents, names on disk), so the rules of what is well-formed live in one place.
#include <cstddef>
#include <string>
#include <string_view>

namespace qm::platform {

inline constexpr char32_t kMalformedUtf8 = 0xFFFFFFFF;

// The code point at text[at], moving `at` past it. A malformed sequence (a stray continuation
// byte, one cut short, an overlong form, a surrogate, anything above U+10FFFF) gives
// kMalformedUtf8 and consumes only the bytes that could belong to it, so decoding always
// makes progress and the next sequence is read whole.
inline char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kMalformedUtf8;
    }
    for (int i = 1; i < length; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
            return kMalformedUtf8;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return kMalformedUtf8;
    }
    return code;
}

inline void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace qm::platform
