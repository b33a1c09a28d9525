#include "settings/registry_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace qm::settings {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RegistryText, EncodesEveryPlaneAndDecodesBack) {
    EXPECT_EQ(ToRegistryText("A\xC3\xA9\xE2\x82\xAC"), (Bytes{0x41, 0, 0xE9, 0, 0xAC, 0x20}));
    EXPECT_EQ(ToRegistryText("\xF0\x9F\x98\x80"), (Bytes{0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(FromRegistryText(Bytes{0x41, 0, 0xFF, 0xFF, 0x3D, 0xD8, 0x00, 0xDE}),
              "A\xEF\xBF\xBF\xF0\x9F\x98\x80");
}

TEST(RegistryText, ReadsUpToTheFirstNulUnit) {
    EXPECT_EQ(FromRegistryText(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
    // A NUL byte inside a unit is not a NUL unit.
    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0x4E}), "\xE4\xB8\x80");
    // A pair cut after its first half at the very end, an odd byte after it.
    EXPECT_EQ(FromRegistryText(Bytes{'a', 0, 0x3D, 0xD8, 0x00}), "a\uFFFD");
}

TEST(RegistryText, MalformedInputBecomesReplacementCharacters) {
    // A stray continuation, an overlong "/", an encoded surrogate, past U+10FFFF.
    for (const std::string bad : {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"})
        EXPECT_EQ(ToRegistryText(bad), (Bytes{0xFD, 0xFF})) << bad.size();
    // A cut-off sequence does not swallow the next character.
    EXPECT_EQ(ToRegistryText("\xE2\x82x"), (Bytes{0xFD, 0xFF, 'x', 0}));
    // A lone low surrogate, then a high one followed by no low one.
    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0xDC, 0x00, 0xD8, 'a', 0}), "\uFFFD\uFFFDa");
}

TEST(RegistryText, HostileBytesNeverBreakTheConversion) {
    std::mt19937 random(20240229);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string junk(static_cast<std::size_t>(byte(random) % 65), '\0');
        for (char& c : junk) c = static_cast<char>(byte(random));
        // Whatever came in, what comes out is clean: converting it again changes nothing, up
        // to the first NUL where reading stops.
        const Bytes encoded = ToRegistryText(junk);
        const Bytes again = ToRegistryText(FromRegistryText(encoded));
        ASSERT_TRUE(encoded.size() % 2 == 0 && again.size() <= encoded.size());
        EXPECT_TRUE(std::equal(again.begin(), again.end(), encoded.begin()));
        const std::string from_raw = FromRegistryText(Bytes(junk.begin(), junk.end()));
        EXPECT_EQ(FromRegistryText(ToRegistryText(from_raw)), from_raw);
    }
}

}  // namespace
}  // namespace qm::settings
