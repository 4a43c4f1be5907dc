#include "richtext/plain_text_codec.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::U;

TEST(PlainTextCodec, ReadsWindows1252WithEveryBreakConvention) {
    const RichDocument document =
        ReadPlainText("caf\xE9 \x80\r\nb\rc\n\nd", PlainCharFormat(), PlainParaFormat());
    EXPECT_EQ(document.Text(), U"caf\u00E9 \u20AC\rb\rc\r\rd");
    EXPECT_EQ(document.paragraphs.size(), 5u);
}

TEST(PlainTextCodec, EmptyInputIsOneEmptyParagraph) {
    const RichDocument document = ReadPlainText("", PlainCharFormat(), PlainParaFormat());
    EXPECT_TRUE(document.IsEmpty());
    EXPECT_EQ(WritePlainText(document), "");
}

TEST(PlainTextCodec, WritesCrLfBetweenParagraphsAndQuestionMarksOutsideTheCodePage) {
    RichDocument document = ReadPlainText("x", PlainCharFormat(), PlainParaFormat());
    document.paragraphs[0].runs[0].text = U"\u4E2D\u00E9\u2019\U0001F600";
    document.paragraphs.push_back(document.paragraphs[0]);
    document.paragraphs[1].runs.clear();
    EXPECT_EQ(WritePlainText(document), "?\xE9\x92?\r\n");
}

TEST(PlainTextCodec, SoftLineBreakIsWrittenAsALineBreak) {
    RichDocument document = ReadPlainText("x", PlainCharFormat(), PlainParaFormat());
    document.paragraphs[0].runs[0].text = U"Jane Doe\u2028London";
    EXPECT_EQ(WritePlainText(document), "Jane Doe\r\nLondon");
}

TEST(PlainTextCodec, SymbolFontTextIsWrittenAsItsBytes) {
    RichCharFormat wingdings = testing::Font("Wingdings");
    wingdings.charSet = kSymbolCharSet;
    const RichDocument document = ReadPlainText("\xFC\x80", wingdings, PlainParaFormat());
    EXPECT_EQ(document.Text(), U"\u00FC\u0080");
    EXPECT_EQ(WritePlainText(document), "\xFC\x80");
}

} // namespace
} // namespace trellic
