#pragma once
// Version numbers as the site publishes them and the settings keep them: whole numbers in the
// 16-bit signed range, read from the start of a text.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qm::update {

// The text's leading number (blanks, tabs and line ends before it skipped; an optional sign,
// digits, an optional decimal fraction) rounded to the nearest whole number, halves to the
// even neighbour: "6\r\n" is 6, "5.5" is 6, "4.5" is 4, "7 beta" is 7, and a text that does
// not begin with a number is 0. Nothing when the number lies outside -32768..32767: such a
// version cannot be compared with anything.
std::optional<std::int16_t> VersionNumber(std::string_view text);

}  // namespace qm::update
