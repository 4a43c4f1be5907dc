#include "formats/file_content.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace trellic {
namespace {

using namespace std::string_literals;

TEST(LooksLikeText, TextInEitherEncodingPasses) {
    EXPECT_TRUE(LooksLikeText(""));
    EXPECT_TRUE(LooksLikeText("Line one\r\n\tCaf\xE9 \x93quoted\x94\f\x1A"));
    EXPECT_TRUE(LooksLikeText("\xEF\xBB\xBF"
                              "Fran\xC3\xA7ois \xE2\x80\x94 \xC3\x81gnes"));
    EXPECT_TRUE(LooksLikeText("\x1B[1mbold\x1B[0m"));
}

TEST(LooksLikeText, BinaryDataFails) {
    EXPECT_FALSE(LooksLikeText("text\0more"s));
    EXPECT_FALSE(LooksLikeText("\x7F"
                               "ELF\x02\x01\x01"));
    EXPECT_FALSE(LooksLikeText("PK\x03\x04\x14"));
    EXPECT_FALSE(LooksLikeText("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00"s));
    // Undefined in Windows-1252 and broken as UTF-8 (0x9D cannot start a sequence).
    EXPECT_FALSE(LooksLikeText("abc \x9D def"));
    // 0x81 is a fine UTF-8 continuation, so only a stray one is refused.
    EXPECT_TRUE(LooksLikeText("\xC3\x81"));
    EXPECT_FALSE(LooksLikeText("\x81\xC3"));

    std::mt19937 random(7);
    std::string noise(1 << 16, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    EXPECT_FALSE(LooksLikeText(noise));
}

TEST(LooksLikeRtf, OnlyTheRichTextOpeningCounts) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi Hello}"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(LooksLikeRtf("Plain text"));
    EXPECT_FALSE(LooksLikeRtf("\x7F"
                              "ELF{\\rtf"));
}

} // namespace
} // namespace trellic
