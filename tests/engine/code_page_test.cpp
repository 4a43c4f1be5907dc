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
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
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
    EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\x80"
                           "b"),
              "a?b"); // a CJK character
    EXPECT_EQ(Utf8ToCp1252Exact("a\xE4\xB8\x80"
                                "b"),
              std::nullopt);
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");           // cut sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");       // overlong
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80x"), "?x"); // surrogate
    EXPECT_EQ(Utf8ToCp1252Exact("\xFF"), std::nullopt);
    EXPECT_EQ(DecodeUtf8("\xE2\x82\xAC\xC3"), (std::u32string{U'\u20AC', U'\uFFFD'}));
}

} // namespace
} // namespace trellic
