#include "engine/code_page.h"
#include "richtext/plain_text_codec.h"
#include "richtext/rich_document.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::U;

TEST(PlainTextCodec, ReadsUtf8WithEveryBreakConvention) {
    const RichDocument document = ReadPlainText("caf\xC3\xA9 \xE2\x82\xAC\r\nb\rc\n\nd",
                                                PlainCharFormat(), PlainParaFormat());
    EXPECT_EQ(document.Text(), U"caf\u00E9 \u20AC\rb\rc\r\rd");
    EXPECT_EQ(document.paragraphs.size(), 5u);
}

TEST(PlainTextCodec, ReadsLineByLineAsTheWholeTextWouldSplit) {
    // Broken sequences just before a break, breaks at both ends, CR LF against LF CR, and a
    // symbol font's byte mapping.
    RichCharFormat symbol = PlainCharFormat();
    symbol.charSet = kSymbolCharSet;
    for (const std::string_view text : {"\r\n", "\n\r", "\r\r\n\n", "a\xC3\r\nb\xE2\x82\n\xF0",
                                        "\xE2\x82\xAC\r", "\n\xC3\xA9\n", "x\xFF\ry\x80"}) {
        for (const RichCharFormat& format : {PlainCharFormat(), symbol}) {
            SCOPED_TRACE(testing::Utf8(DecodeUtf8(text)));
            EXPECT_EQ(
                ReadPlainText(text, format, PlainParaFormat()),
                MakeDocument(DecodeNodeText(text, format.charSet), format, PlainParaFormat()));
        }
    }
}

TEST(PlainTextCodec, EmptyInputIsOneEmptyParagraph) {
    const RichDocument document = ReadPlainText("", PlainCharFormat(), PlainParaFormat());
    EXPECT_TRUE(document.IsEmpty());
    EXPECT_EQ(WritePlainText(document), "");
}

TEST(PlainTextCodec, WritesCrLfBetweenParagraphsAndEveryCharacterAsUtf8) {
    RichDocument document = ReadPlainText("x", PlainCharFormat(), PlainParaFormat());
    document.paragraphs[0].runs[0].text = U"\u4E2D\u00E9\u2019\U0001F600";
    document.paragraphs.push_back(document.paragraphs[0]);
    document.paragraphs[1].runs.clear();
    EXPECT_EQ(WritePlainText(document), "\xE4\xB8\xAD\xC3\xA9\xE2\x80\x99\xF0\x9F\x98\x80\r\n");
}

TEST(PlainTextCodec, SoftLineBreakIsWrittenAsALineBreak) {
    RichDocument document = ReadPlainText("x", PlainCharFormat(), PlainParaFormat());
    document.paragraphs[0].runs[0].text = U"Jane Doe\u2028London";
    EXPECT_EQ(WritePlainText(document), "Jane Doe\r\nLondon");
}

TEST(PlainTextCodec, SymbolFontTextIsWrittenAsTheCodePageCharactersOfItsBytes) {
    RichCharFormat wingdings = testing::Font("Wingdings");
    wingdings.charSet = kSymbolCharSet;
    // The euro sign is byte 0x80 in Windows-1252: a file in that code page holds FC 80.
    const RichDocument document =
        ReadPlainText("\xC3\xBC\xE2\x82\xAC", wingdings, PlainParaFormat());
    EXPECT_EQ(document.Text(), U"\u00FC\u0080");
    EXPECT_EQ(WritePlainText(document), "\xC3\xBC\xE2\x82\xAC");
}

} // namespace
} // namespace trellic
