#include "richtext/plain_text_codec.h"
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
