#include "settings/registry_text.h"

#include <cstddef>

#include "platform/utf8.h"

namespace qm::settings {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void PutUnit(std::vector<std::uint8_t>& out, char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> ToRegistryText(std::string_view utf8) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size() * 2);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // A malformed sequence becomes U+FFFD, as the wide-character conversion makes it.
        char32_t code = platform::DecodeUtf8(utf8, pos);
        if (code == platform::kMalformedUtf8) code = kReplacement;
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            PutUnit(out, 0xD800 + (offset >> 10));
            PutUnit(out, 0xDC00 + (offset & 0x3FF));
        } else {
            PutUnit(out, code);
        }
    }
    return out;
}

std::string FromRegistryText(std::span<const std::uint8_t> bytes) {
    const std::size_t units = bytes.size() / 2;
    auto unit_at = [&](std::size_t i) -> char32_t {
        return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unit_at(i);
        if (unit == 0) break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char32_t low = unit_at(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                platform::AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
                ++i;
                continue;
            }
        }
        platform::AppendUtf8((unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit, out);
    }
    return out;
}

}  // namespace qm::settings
