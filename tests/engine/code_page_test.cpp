#include "engine/code_page.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

TEST(CodePage, EveryByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252Exact(utf8), all);
    EXPECT_EQ(DecodeUtf8(utf8).size(), 256U);
}

TEST(CodePage, SpecialCharactersAndUndefinedBytes) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x95), U'\u2022');
    EXPECT_EQ(Cp1252ToUnicode(0x81), U'\u0081');
    EXPECT_EQ(Cp1252ToUnicode(0x9D), U'\u009D');
    EXPECT_EQ(UnicodeToCp1252(U'\u2014'), 0x97);
    EXPECT_EQ(UnicodeToCp1252(U'\u0080'), std::nullopt); // C1 control, not in the code page
}

TEST(CodePage, UnmappableAndMalformedInput) {
    EXPECT_EQ(Utf8ToCp1252Exact("a\xE4\xB8\x80"
                                "b"),
              std::nullopt);                                     // a CJK character
    EXPECT_EQ(Utf8ToCp1252Exact("\xC3"), std::nullopt);          // cut sequence
    EXPECT_EQ(Utf8ToCp1252Exact("\xC0\xAF"), std::nullopt);      // overlong
    EXPECT_EQ(Utf8ToCp1252Exact("\xED\xA0\x80x"), std::nullopt); // surrogate
    EXPECT_EQ(Utf8ToCp1252Exact("\xFF"), std::nullopt);
    EXPECT_EQ(DecodeUtf8("\xE2\x82\xAC\xC3"), (std::u32string{U'\u20AC', U'\uFFFD'}));
    EXPECT_EQ(DecodeUtf8("\xC0\xAFx"), (std::u32string{U'\uFFFD', U'x'}));
    EXPECT_EQ(Utf8Length("Zo\xC3\xAB \xE4\xB8\xAD\xF0\x9F\x98\x80\xFF"), 7U);
    EXPECT_EQ(Utf8Prefix("Zo\xC3\xAB \xE4\xB8\xAD", 3), "Zo\xC3\xAB");
    EXPECT_EQ(Utf8Prefix("\xE4\xB8\xAD", 9), "\xE4\xB8\xAD");
}

TEST(CodePage, Utf16BothWaysWithPairsAndStrayHalves) {
    const std::string text = "Zo\xC3\xAB \xD0\x98\xE4\xB8\xAD\xF0\x9F\x98\x80"; // Zoë И中😀
    const std::u16string units = Utf8ToUtf16(text);
    EXPECT_EQ(units,
              (std::u16string{u'Z', u'o', u'\u00EB', u' ', u'\u0418', u'\u4E2D', 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(units), text);
    // Halves without their partner, at the end, in the middle and reversed.
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD83D}), "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, u'b'}), "\xEF\xBF\xBD"
                                                         "b");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(CodePage, AsciiTestSeesAHighByteAnywhere) {
    const std::string plain(37, 'a');
    EXPECT_TRUE(IsAscii(plain));
    EXPECT_TRUE(IsAscii(""));
    for (std::size_t at = 0; at < plain.size(); ++at) {
        std::string marked = plain;
        marked[at] = '\x80';
        EXPECT_FALSE(IsAscii(marked)) << at;
    }
}

} // namespace
} // namespace trellic
