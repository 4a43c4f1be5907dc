#include "engine/text_file.h"
#include "world_texts.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

const std::string kCafe = "Caf\xC3\xA9"; // Café in UTF-8

TEST(DecodeTextFile, EachEncodingByItsMarkOrItsBytes) {
    struct Row {
        const char* what;
        std::string bytes;
        std::string text;
    } rows[] = {
        {"UTF-8 behind its mark", "\xEF\xBB\xBF" + kCafe, kCafe},
        {"UTF-8 without a mark", kCafe + "\r\nline", kCafe + "\r\nline"},
        {"Windows-1252", "Caf\xE9 \x80", kCafe + " \xE2\x82\xAC"},
        {"ASCII", "plain", "plain"},
        {"empty", "", ""},
        {"the mark alone", "\xEF\xBB\xBF", ""},
        {"UTF-16LE",
         std::string("\xFF\xFE"
                     "C\0a\0f\0\xE9\0",
                     10),
         kCafe},
        {"UTF-16BE with a pair", std::string("\xFE\xFF\0a\xD8\x3D\xDE\x00", 8),
         "a\xF0\x9F\x98\x80"},
        {"UTF-16 cut in half a unit",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         "a\xEF\xBF\xBD"},
        {"UTF-16 with a stray half", std::string("\xFF\xFE\x3D\xD8x\0", 6), "\xEF\xBF\xBDx"},
        // Bytes that only look like the start of UTF-8 are Windows-1252 after all.
        {"a cut UTF-8 sequence", "na\xC3", "na\xC3\x83"},
        {"an overlong form", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"an encoded surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DecodeTextFile(row.bytes), row.text) << row.what;
    }
}

TEST(EncodeTextFile, CodePageWhenEverythingFitsElseUtf8WithItsMark) {
    EXPECT_EQ(EncodeTextFile("plain\r\n"), "plain\r\n");
    EXPECT_EQ(EncodeTextFile(kCafe + " \xE2\x82\xAC"), "Caf\xE9 \x80");
    for (const auto& world : testing::WorldTexts()) {
        const std::string text = world.name + "\r\n" + world.sentence;
        const std::string bytes = EncodeTextFile(text);
        EXPECT_EQ(bytes, std::string(kUtf8Bom) + text) << world.language;
        EXPECT_EQ(DecodeTextFile(bytes), text) << world.language;
    }
}

TEST(EncodeTextFile, TextWhoseCodePageBytesReadAsAnotherEncodingKeepsItself) {
    // Each fits Windows-1252, but its bytes there are UTF-8, a UTF-16 mark or a UTF-8 mark.
    for (const std::string text :
         {"Caf\u00C3\u00A9", "\u00FF\u00FEab", "\u00FE\u00FFab", "\u00EF\u00BB\u00BFx"}) {
        const std::string bytes = EncodeTextFile(text);
        EXPECT_EQ(DecodeTextFile(bytes), text) << text;
        EXPECT_EQ(bytes, std::string(kUtf8Bom) + text) << text;
    }
}

TEST(EncodeTextFile, EveryCodePageByteSurvivesTheRoundTrip) {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    // Not valid UTF-8, so the whole file reads as Windows-1252 and is written back as it was.
    EXPECT_EQ(EncodeTextFile(DecodeTextFile(bytes)), bytes);
}

} // namespace
} // namespace trellic
