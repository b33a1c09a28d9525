#include "sysinfo/number_text.h"

#include <array>
#include <charconv>

namespace qm::sysinfo {

std::string DoubleText(double value) {
    // to_chars is locale-independent, so a German or French desktop still gets "." here.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    if (text == "-0") text = "0";
    return text;
}

std::uint64_t RoundedKilobytes(std::uint64_t bytes) {
    const std::uint64_t whole = bytes / 1024;
    const std::uint64_t rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && (whole % 2) == 1)) return whole + 1;
    return whole;
}

}  // namespace qm::sysinfo
