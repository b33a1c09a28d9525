#include "platform/sim/text_fold.h"

#include <cstdint>

namespace qm::sim {
namespace {

// Decodes one UTF-8 sequence at `pos`; on malformed input yields the single byte as is so that
// odd names still round-trip.
char32_t DecodeAt(std::string_view text, std::size_t& pos, bool& valid) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    valid = true;
    int extra = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        valid = false;
        ++pos;
        return lead;
    }
    if (pos + extra >= text.size()) {
        valid = false;
        ++pos;
        return lead;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            valid = false;
            ++pos;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    pos += extra + 1;
    return code;
}

void Encode(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t ToUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1 letters
    if (c >= 0x100 && c <= 0x137 && (c & 1)) return c - 1;     // Latin Extended-A pairs
    if (c >= 0x139 && c <= 0x148 && !(c & 1)) return c - 1;
    if (c >= 0x14A && c <= 0x177 && (c & 1)) return c - 1;
    if (c >= 0x179 && c <= 0x17E && !(c & 1)) return c - 1;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool valid = true;
        const char32_t code = DecodeAt(text, pos, valid);
        if (valid) {
            Encode(ToUpper(code), folded);
        } else {
            folded += static_cast<char>(code);
        }
    }
    return folded;
}

std::u32string ToCodePoints(std::string_view text) {
    std::u32string codes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool valid = true;
        codes += DecodeAt(text, pos, valid);
    }
    return codes;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return FoldCase(a) == FoldCase(b);
}

}  // namespace qm::sim
