#include "update/version_number.h"

namespace qm::update {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::int16_t> VersionNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() &&
           (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    // Far beyond the range is as bad as just beyond it: stop counting there.
    constexpr std::int64_t kBeyond = 1'000'000;
    std::int64_t whole = 0;
    while (at < text.size() && IsDigit(text[at])) {
        if (whole < kBeyond) whole = whole * 10 + (text[at] - '0');
        ++at;
    }
    // The fraction decides only the rounding: above, below or exactly one half.
    if (at < text.size() && text[at] == '.' && at + 1 < text.size() && IsDigit(text[at + 1])) {
        const char first = text[++at];
        bool beyond_half = false;
        while (++at < text.size() && IsDigit(text[at]))
            if (text[at] != '0') beyond_half = true;
        if (first > '5' || (first == '5' && (beyond_half || whole % 2 == 1))) ++whole;
    }
    const std::int64_t number = negative ? -whole : whole;
    if (number < -32768 || number > 32767) return std::nullopt;
    return static_cast<std::int16_t>(number);
}

}  // namespace qm::update
