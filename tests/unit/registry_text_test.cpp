#include "settings/registry_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace qm::settings {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RegistryText, EncodesEveryPlaneAndDecodesBack) {
    EXPECT_TRUE(ToRegistryText("").empty());
    EXPECT_EQ(ToRegistryText("A\xC3\xA9"), (Bytes{0x41, 0, 0xE9, 0}));
    EXPECT_EQ(ToRegistryText("\xE2\x82\xAC"), (Bytes{0xAC, 0x20}));
    EXPECT_EQ(ToRegistryText("\xF0\x9F\x98\x80"), (Bytes{0x3D, 0xD8, 0x00, 0xDE}));
    for (const std::string text : {"C:\\Temp", "\xC3\xA9t\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC",
                                   "\xF0\x9F\x98\x80x", "\xEF\xBF\xBF"}) {
        EXPECT_EQ(FromRegistryText(ToRegistryText(text)), text);
    }
}

TEST(RegistryText, ReadsUpToTheFirstNulAndDropsAnOddByte) {
    EXPECT_EQ(FromRegistryText(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
    EXPECT_EQ(FromRegistryText(Bytes{0, 0, 'b', 0}), "");
    EXPECT_EQ(FromRegistryText(Bytes{'a', 0, 'b'}), "a");
    EXPECT_EQ(FromRegistryText(Bytes{'a'}), "");
    EXPECT_EQ(FromRegistryText(Bytes{}), "");
    // A NUL byte inside a unit is not a NUL unit.
    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0x4E}), "\xE4\xB8\x80");
}

TEST(RegistryText, MalformedInputBecomesReplacementCharacters) {
    const Bytes kReplacement{0xFD, 0xFF};
    EXPECT_EQ(ToRegistryText("\x80"), kReplacement);              // stray continuation
    EXPECT_EQ(ToRegistryText("\xC0\xAF"), kReplacement);          // overlong "/"
    EXPECT_EQ(ToRegistryText("\xED\xA0\x80"), kReplacement);      // encoded surrogate
    EXPECT_EQ(ToRegistryText("\xF4\x90\x80\x80"), kReplacement);  // past U+10FFFF
    EXPECT_EQ(ToRegistryText("\xFF"), kReplacement);
    // A cut-off sequence does not swallow the next character.
    EXPECT_EQ(ToRegistryText("\xE2\x82x"), (Bytes{0xFD, 0xFF, 'x', 0}));

    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0xD8}), "\uFFFD");           // lone high
    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0xDC, 'a', 0}), "\uFFFDa");  // lone low
    EXPECT_EQ(FromRegistryText(Bytes{0x00, 0xD8, 'a', 0}), "\uFFFDa");  // high + BMP
}

TEST(RegistryText, HostileBytesNeverBreakTheConversion) {
    std::mt19937 random(20240229);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 64);
    for (int round = 0; round < 2000; ++round) {
        std::string junk(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : junk) c = static_cast<char>(byte(random));
        const Bytes encoded = ToRegistryText(junk);
        ASSERT_EQ(encoded.size() % 2, 0u);
        // Whatever came in, what comes out is clean: converting it again changes nothing, up
        // to the first NUL where reading stops.
        const std::string decoded = FromRegistryText(encoded);
        const Bytes again = ToRegistryText(decoded);
        ASSERT_LE(again.size(), encoded.size());
        EXPECT_TRUE(std::equal(again.begin(), again.end(), encoded.begin()));
        const std::string from_raw = FromRegistryText(Bytes(junk.begin(), junk.end()));
        EXPECT_EQ(FromRegistryText(ToRegistryText(from_raw)), from_raw);
    }
}

}  // namespace
}  // namespace qm::settings
