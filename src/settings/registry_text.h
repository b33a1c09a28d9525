#pragma once
// Texts as the registry holds them: UTF-16LE code units, written without a terminating NUL
// and read back up to the first NUL. The core works in UTF-8; these two functions are the
// only crossing point, so hostile or damaged registry data is dealt with here.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm::settings {

// UTF-8 to the bytes of a REG_SZ value: two bytes per UTF-16 unit, no terminating NUL.
// Malformed UTF-8 (stray continuation bytes, overlong forms, encoded surrogates, code points
// beyond U+10FFFF, cut-off sequences) becomes U+FFFD, one per bad sequence.
std::vector<std::uint8_t> ToRegistryText(std::string_view utf8);

// The bytes of a registry value read as UTF-16LE text, up to the first NUL unit; an odd
// trailing byte is dropped and unpaired surrogates become U+FFFD.
std::string FromRegistryText(std::span<const std::uint8_t> bytes);

}  // namespace qm::settings
