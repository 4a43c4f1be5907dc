#include "richtext/font_charsets.h"
#include "richtext/rich_text_buffer.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "test_documents.h"
#include "world_texts.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Font;
using testing::U;

RichDocument Paragraph(const std::string& utf8, RichCharFormat format = Font("Arial")) {
    RichDocument document;
    document.paragraphs[0].format = PlainParaFormat();
    document.paragraphs[0].markFormat = format;
    document.paragraphs[0].runs.push_back({U(utf8), std::move(format)});
    return document;
}

// The character set a font table gives the font of the run holding `text`.
int CharSetOf(const RichDocument& document, std::u32string_view text) {
    for (const RichParagraph& paragraph : document.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            if (run.text.find(text) != std::u32string::npos) {
                return run.format.charSet;
            }
        }
    }
    return -1;
}

TEST(RtfScripts, EachScriptIsWrittenInAFontOfItsCharacterSetAndReadBack) {
    const int charSets[] = {238, 238, 162, 163, 161, 204, 134, 178};
    for (std::size_t i = 0; i < testing::WorldTexts().size(); ++i) {
        const auto& world = testing::WorldTexts()[i];
        SCOPED_TRACE(world.language);
        const std::string text = world.name + ": " + world.sentence;
        const std::string rtf = WriteRtf(Paragraph(text));
        for (char c : rtf) {
            ASSERT_LT(static_cast<unsigned char>(c), 0x80);
        }
        EXPECT_NE(rtf.find("\\fcharset" + std::to_string(charSets[i]) + " Arial;"),
                  std::string::npos)
            << rtf;
        const RtfReadResult read = ReadRtf(rtf);
        ASSERT_TRUE(read.complete);
        EXPECT_EQ(testing::Utf8(read.document.Text()), text);
        EXPECT_EQ(CharSetOf(read.document, U(world.name).substr(U(world.name).size() - 1)),
                  charSets[i]);
        // Written again, the text stays in the fonts it came back in.
        EXPECT_EQ(WriteRtf(read.document), rtf);
    }
}

TEST(RtfScripts, CharactersOutsideTheCodePageCarryAQuestionMarkFallback) {
    // \uN is followed by the one character \uc1 announces, which readers without Unicode show.
    const std::string rtf = WriteRtf(Paragraph("\xC5\x81\xD0\x98\xE4\xB8\xAD")); // ŁИ中
    EXPECT_NE(rtf.find("\\u321?"), std::string::npos);
    EXPECT_NE(rtf.find("\\u1048?"), std::string::npos);
    EXPECT_NE(rtf.find("\\u20013?"), std::string::npos);
    EXPECT_NE(rtf.find("\\uc1"), std::string::npos);
}

TEST(SplitByCharSet, WordsStayWholeAndScriptsSplit) {
    struct Row {
        const char* what;
        std::string text;
        std::vector<CharSetPiece> pieces;
    } rows[] = {
        {"code page text", "Caf\xC3\xA9 \xE2\x82\xAC", {{0, 6, 0}}},
        {"a word whose letters one code page holds",
         "Anton\xC3\xADn Dvo\xC5\x99\xC3\xA1k",
         {{0, 8, 0}, {8, 14, 238}}},
        {"a name taking Turkish over Central European",
         "Ay\xC5\x9F"
         "e Y\xC4\xB1lmaz",
         {{0, 11, 162}}},
        {"letters no one code page holds", "Jo\xC3\xA3o \xC5\x81ukasz", {{0, 5, 0}, {5, 11, 238}}},
        {"Cyrillic beside Latin",
         "CV \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD 2026",
         {{0, 3, 0}, {3, 12, 204}}},
        {"traditional Chinese", "\xE5\xB1\xA5\xE6\xAD\xB7", {{0, 2, 136}}},
        {"an emoji stays in the run's own", "a\xF0\x9F\x98\x80", {{0, 2, 1}}},
    };
    for (const Row& row : rows) {
        const uint8_t charSet = row.pieces.back().charSet == 1 ? 1 : 0;
        EXPECT_EQ(SplitByCharSet(U(row.text), charSet), row.pieces) << row.what;
    }
}

TEST(RtfReader, RawTextOfANodeIsUtf8) {
    // A node's RTF is UTF-8: raw characters are themselves, whatever the code page...
    EXPECT_EQ(ReadRtf("{\\rtf1 \xC5\x81\xD0\x98\xE4\xB8\xAD}", RtfSource::Utf8).document.Text(),
              U"\u0141\u0418\u4E2D");
    // ...except that one Windows-1252 holds reads as that byte did in a single-byte file.
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi\\ansicpg1251 \xC3\xA9}", RtfSource::Utf8).document.Text(),
              U"\u0439");
    // A \u fallback of several bytes is skipped whole.
    EXPECT_EQ(ReadRtf("{\\rtf1 \\u321\xC5\x81x}", RtfSource::Utf8).document.Text(), U"\u0141x");
    // Font names come in as characters too.
    const RtfReadResult font =
        ReadRtf("{\\rtf1{\\fonttbl{\\f0 \xE5\xAE\x8B\xE4\xBD\x93;}}\\f0 x}", RtfSource::Utf8);
    EXPECT_EQ(font.document.paragraphs[0].runs[0].format.faceName, "\xE5\xAE\x8B\xE4\xBD\x93");
}

TEST(RichTextBuffer, RtfNodeTextInUtf8KeepsEveryScript) {
    RichTextBuffer buffer;
    for (const auto& world : testing::WorldTexts()) {
        buffer.InsertRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + world.name + "\\par}");
        // Text that is not RTF goes in as plain UTF-8 text.
        buffer.InsertText(world.sentence + "\r\n");
    }
    std::string expected;
    for (const auto& world : testing::WorldTexts()) {
        expected += world.name + "\r\n" + world.sentence + "\r\n";
    }
    EXPECT_EQ(buffer.ExportText(), expected);
}

} // namespace
} // namespace trellic
