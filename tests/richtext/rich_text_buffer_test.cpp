#include "richtext/rich_text_buffer.h"
#include "test_documents.h"

#include <gtest/gtest.h>
#include <memory>

namespace trellic {
namespace {

using testing::Font;
using testing::ParagraphTexts;
using testing::U;

RichCharFormat Bold(bool on) {
    RichCharFormat change;
    change.mask = kCfmBold;
    change.effects = on ? kCfeBold : 0;
    return change;
}

RichParaFormat Alignment(uint16_t alignment) {
    RichParaFormat change;
    change.mask = kPfmAlignment;
    change.alignment = alignment;
    return change;
}

// The format of the character at `position`, read the way the view would.
RichCharFormat FormatAt(RichTextBuffer& buffer, long long position) {
    const TextRange saved = buffer.GetSelection();
    buffer.SetSelection(position, position + 1);
    RichCharFormat format = buffer.GetSelectionCharFormat();
    buffer.SetSelection(static_cast<long long>(saved.min), static_cast<long long>(saved.max));
    return format;
}

TEST(RichTextBuffer, InsertedTextTakesTheTypingFormatAndLeavesTheCaretBehindIt) {
    RichTextBuffer buffer;
    buffer.InsertText("plain ");
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.InsertText("bold");
    EXPECT_EQ(buffer.GetSelection(), (TextRange{10, 10}));
    EXPECT_FALSE(FormatAt(buffer, 0).Has(kCfeBold));
    EXPECT_TRUE(FormatAt(buffer, 6).Has(kCfeBold));
    // The caret behind bold text keeps typing bold.
    buffer.InsertText("!");
    EXPECT_TRUE(FormatAt(buffer, 10).Has(kCfeBold));
}

TEST(RichTextBuffer, MovingTheCaretTakesUpTheFormatBeforeIt) {
    RichTextBuffer buffer;
    buffer.InsertText("ab");
    buffer.SetSelection(1, 2);
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.SetSelection(2, 2);
    EXPECT_TRUE(buffer.GetSelectionCharFormat().Has(kCfeBold));
    buffer.SetSelection(1, 1);
    EXPECT_FALSE(buffer.GetSelectionCharFormat().Has(kCfeBold));
    // At the start of a paragraph the first character lends its format.
    buffer.SetSelection(0, 1);
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.SetSelection(0, 0);
    EXPECT_TRUE(buffer.GetSelectionCharFormat().Has(kCfeBold));
}

TEST(RichTextBuffer, EveryLineBreakConventionBreaksTheParagraph) {
    RichTextBuffer buffer;
    buffer.InsertText("a\r\nb\rc\nd\r\n");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "a\nb\nc\nd\n");
    EXPECT_EQ(buffer.LineCount(), 5u);
    EXPECT_EQ(buffer.TextLength(), 8u); // one position per character and per break
    EXPECT_EQ(buffer.GetSelection(), (TextRange{8, 8}));
    EXPECT_EQ(buffer.ExportText(), "a\r\nb\r\nc\r\nd\r\n");
}

TEST(RichTextBuffer, InsertedBreaksKeepTheParagraphFormatOfTheInsertionPoint) {
    RichTextBuffer buffer;
    buffer.SetSelectionParaFormat(Alignment(kPfaCenter));
    buffer.InsertText(U"one\r\ntwo");
    for (const RichParagraph& paragraph : buffer.Document().paragraphs) {
        EXPECT_EQ(paragraph.format.alignment, kPfaCenter);
    }
}

// Plain text goes straight into the paragraphs; it must land exactly as the same text does
// when inserted as a document of its own, wherever the selection starts and ends: inside a
// run, between runs, on an empty paragraph, across breaks.
TEST(RichTextBuffer, PlainTextLandsAsTheSameTextInsertedAsADocument) {
    RichCharFormat bold = Font("Arial");
    bold.Set(kCfeBold, true);
    RichDocument base;
    base.paragraphs.resize(3);
    base.paragraphs[0].runs = {{U"ab", Font("Arial")}, {U"cd", bold}};
    base.paragraphs[0].markFormat = bold;
    base.paragraphs[1].format.alignment = kPfaCenter;
    base.paragraphs[1].markFormat = Font("Times");
    base.paragraphs[2].format.alignment = kPfaRight;
    base.paragraphs[2].runs = {{U"ef", Font("Times")}, {U"gh", Font("Arial")}};
    base.paragraphs[2].markFormat = Font("Arial");
    const size_t length = base.Length();
    const char* const texts[] = {"", "x", "\r\n", "x\r\ny", "\n\r\r\nz"};
    for (size_t min = 0; min <= length; ++min) {
        for (size_t max = min; max <= length; ++max) {
            for (const char* text : texts) {
                const auto start = static_cast<long long>(min);
                RichTextBuffer typed;
                typed.SetDocument(base);
                typed.SetSelection(start, static_cast<long long>(max));
                typed.InsertText(text);

                RichTextBuffer pasted;
                pasted.SetDocument(base);
                // The text takes the format of the first selected character (or of the break
                // that is selected first), at a caret the typing format.
                pasted.SetSelection(start, min == max ? start : start + 1);
                RichCharFormat format = pasted.GetSelectionCharFormat();
                format.mask = kCfmAll;
                size_t paragraph = 0;
                for (size_t from = 0; from + base.paragraphs[paragraph].Length() < min;) {
                    from += base.paragraphs[paragraph++].Length() + 1;
                }
                pasted.SetSelection(start, static_cast<long long>(max));
                pasted.InsertFragment(
                    MakeDocument(U(text), format, base.paragraphs[paragraph].format));

                const std::string where =
                    std::to_string(min) + "-" + std::to_string(max) + " " + testing::Utf8(U(text));
                ASSERT_EQ(typed.Document(), pasted.Document()) << where;
                ASSERT_EQ(typed.GetSelection(), pasted.GetSelection()) << where;
            }
        }
    }
}

TEST(RichTextBuffer, InsertionReplacesTheSelectionInTheFormatOfItsFirstCharacter) {
    RichTextBuffer buffer;
    buffer.InsertText("Hello world");
    buffer.SetSelection(6, 11);
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.InsertText("there");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "Hello there");
    EXPECT_TRUE(FormatAt(buffer, 6).Has(kCfeBold));
    EXPECT_EQ(buffer.GetSelection(), (TextRange{11, 11}));
}

TEST(RichTextBuffer, DeletingABreakJoinsIntoTheLaterParagraph) {
    RichTextBuffer buffer;
    buffer.InsertText("first\r\nsecond");
    buffer.SetSelection(7, 7);
    buffer.SetSelectionParaFormat(Alignment(kPfaRight));
    buffer.SetSelection(3, 8);
    buffer.InsertText("");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "fircond");
    EXPECT_EQ(buffer.Document().paragraphs[0].format.alignment, kPfaRight);
}

// Positions behind an edit must move with it, however many paragraphs lie in between.
TEST(RichTextBuffer, EditsInTheMiddleShiftEveryLaterPosition) {
    RichTextBuffer buffer;
    buffer.InsertText("aa\r\nbb\r\ncc\r\ndd");
    buffer.SetSelection(9, 11); // "dd"
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.SetSelection(4, 4); // inside "bb": two more paragraphs
    buffer.InsertText("x\r\ny\r\n");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "aa\nbx\ny\nb\ncc\ndd");
    EXPECT_EQ(buffer.TextLength(), 15u);
    EXPECT_TRUE(FormatAt(buffer, 13).Has(kCfeBold));
    EXPECT_FALSE(FormatAt(buffer, 11).Has(kCfeBold));
    buffer.SetSelection(1, 7); // "a\r\nbx\r\ny" goes
    buffer.InsertText("");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "a\nb\ncc\ndd");
    EXPECT_EQ(buffer.TextLength(), 9u);
    EXPECT_TRUE(FormatAt(buffer, 7).Has(kCfeBold));
    EXPECT_FALSE(FormatAt(buffer, 5).Has(kCfeBold));
    buffer.SetSelection(0, -1);
    EXPECT_EQ(buffer.GetSelection(), (TextRange{0, 9}));
}

TEST(RichTextBuffer, SelectionValuesClampAndTurnRound) {
    RichTextBuffer buffer;
    buffer.InsertText("abc\r\ndef"); // length 7
    buffer.SetSelection(0, -1);
    EXPECT_EQ(buffer.GetSelection(), (TextRange{0, 7}));
    buffer.SetSelection(5, 100);
    EXPECT_EQ(buffer.GetSelection(), (TextRange{5, 7}));
    buffer.SetSelection(6, 2);
    EXPECT_EQ(buffer.GetSelection(), (TextRange{2, 6}));
    buffer.SetSelection(-5, -7);
    EXPECT_EQ(buffer.GetSelection(), (TextRange{0, 0}));
}

TEST(RichTextBuffer, CharFormatMaskChangesOnlyTheNamedAttributes) {
    RichTextBuffer buffer;
    RichCharFormat courier = Font("Courier New", 300);
    courier.mask = kCfmAll;
    buffer.SetSelectionCharFormat(courier);
    buffer.InsertText("text");
    buffer.SetSelection(0, -1);
    RichCharFormat change = Font("Ignored", 999);
    change.mask = kCfmItalic;
    change.effects = kCfeItalic;
    buffer.SetSelectionCharFormat(change);
    const RichCharFormat after = FormatAt(buffer, 2);
    EXPECT_TRUE(after.Has(kCfeItalic));
    EXPECT_EQ(after.faceName, "Courier New");
    EXPECT_EQ(after.height, 300);
}

TEST(RichTextBuffer, FaceNamesAreCutTo31Characters) {
    RichTextBuffer buffer;
    RichCharFormat change;
    change.mask = kCfmFace;
    change.faceName = std::string(40, 'x');
    buffer.SetSelectionCharFormat(change);
    EXPECT_EQ(buffer.GetSelectionCharFormat().faceName, std::string(31, 'x'));
}

TEST(RichTextBuffer, SelectionFormatReportsOnlyUniformAttributes) {
    RichTextBuffer buffer;
    buffer.InsertText("ab");
    buffer.SetSelection(1, 2);
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.SetSelection(0, 2);
    const RichCharFormat mixed = buffer.GetSelectionCharFormat();
    EXPECT_FALSE(mixed.mask & kCfmBold);
    EXPECT_FALSE(mixed.Has(kCfeBold)); // the first character's effects
    EXPECT_TRUE(mixed.mask & kCfmFace);
    EXPECT_TRUE(mixed.mask & kCfmSize);
    EXPECT_TRUE(mixed.mask & kCfmItalic);

    buffer.SetSelection(1, 2);
    const RichCharFormat uniform = buffer.GetSelectionCharFormat();
    EXPECT_TRUE(uniform.mask & kCfmBold);
    EXPECT_TRUE(uniform.Has(kCfeBold));
}

TEST(RichTextBuffer, ParagraphFormatGoesToEveryTouchedParagraph) {
    RichTextBuffer buffer;
    buffer.InsertText("one\r\ntwo\r\nthree");
    buffer.SetSelection(2, 5); // from "one" into "two"
    buffer.SetSelectionParaFormat(Alignment(kPfaJustify));
    const auto& paragraphs = buffer.Document().paragraphs;
    EXPECT_EQ(paragraphs[0].format.alignment, kPfaJustify);
    EXPECT_EQ(paragraphs[1].format.alignment, kPfaJustify);
    EXPECT_EQ(paragraphs[2].format.alignment, kPfaLeft);

    EXPECT_TRUE(buffer.GetSelectionParaFormat().mask & kPfmAlignment);
    buffer.SetSelection(0, -1);
    const RichParaFormat mixed = buffer.GetSelectionParaFormat();
    EXPECT_FALSE(mixed.mask & kPfmAlignment);
    EXPECT_EQ(mixed.alignment, kPfaJustify);
    EXPECT_TRUE(mixed.mask & kPfmNumbering);

    // A selection ending just behind a break leaves the next paragraph alone.
    buffer.SetSelection(8, 8);
    buffer.SetSelection(4, 8);
    buffer.SetSelectionParaFormat(Alignment(kPfaRight));
    EXPECT_EQ(paragraphs[1].format.alignment, kPfaRight);
    EXPECT_EQ(paragraphs[2].format.alignment, kPfaLeft);
}

TEST(RichTextBuffer, ParaFormatMaskSetsOnlyTheNamedFields) {
    RichTextBuffer buffer;
    RichParaFormat numbered;
    numbered.mask = kPfmNumbering | kPfmNumberingStart;
    numbered.numbering = kPfnArabic;
    numbered.numberingStart = 3;
    numbered.alignment = kPfaRight; // not in the mask
    buffer.SetSelectionParaFormat(numbered);
    const RichParaFormat format = buffer.GetSelectionParaFormat();
    EXPECT_EQ(format.numbering, kPfnArabic);
    EXPECT_EQ(format.numberingStart, 3);
    EXPECT_EQ(format.alignment, kPfaLeft);

    RichParaFormat shift;
    shift.mask = kPfmOffsetIndent;
    shift.startIndent = 360;
    buffer.SetSelectionParaFormat(shift);
    buffer.SetSelectionParaFormat(shift);
    EXPECT_EQ(buffer.GetSelectionParaFormat().startIndent, 720);
}

TEST(RichTextBuffer, RichTextInsertedMidParagraphJoinsTheSurroundingText) {
    RichTextBuffer buffer;
    buffer.InsertText("Hello world");
    buffer.SetSelection(6, 6);
    const RtfReadResult read = buffer.InsertRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}"
                                                "\\pard\\qc\\f0 {\\b big}\\par\\pard\\qr tail }");
    ASSERT_TRUE(read.isRtf);
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "Hello big\ntail world");
    const auto& paragraphs = buffer.Document().paragraphs;
    // The finished paragraph brings its own format; the unfinished one keeps the old one.
    EXPECT_EQ(paragraphs[0].format.alignment, kPfaCenter);
    EXPECT_EQ(paragraphs[1].format.alignment, kPfaLeft);
    EXPECT_TRUE(FormatAt(buffer, 6).Has(kCfeBold));
    EXPECT_EQ(FormatAt(buffer, 6).faceName, "Times");
    EXPECT_EQ(FormatAt(buffer, 0).faceName, "Arial");
    EXPECT_EQ(buffer.GetSelection(), (TextRange{15, 15}));
}

TEST(RichTextBuffer, RichTextWithoutBreaksStaysInline) {
    RichTextBuffer buffer;
    buffer.InsertText("ac");
    buffer.SetSelection(1, 1);
    buffer.InsertRtf("{\\rtf1 {\\i b}}");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "abc");
    EXPECT_TRUE(FormatAt(buffer, 1).Has(kCfeItalic));
    EXPECT_FALSE(FormatAt(buffer, 2).Has(kCfeItalic));
    EXPECT_EQ(buffer.LineCount(), 1u);
}

TEST(RichTextBuffer, TextThatIsNotRtfIsInsertedAsPlainText) {
    RichTextBuffer buffer;
    const RtfReadResult read = buffer.InsertRtf("just {text}\r\nhere");
    EXPECT_FALSE(read.isRtf);
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "just {text}\nhere");
    buffer.ImportRtf("plain again");
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "plain again");
}

TEST(RichTextBuffer, SymbolFontTextKeepsItsBytes) {
    RichTextBuffer buffer;
    RichCharFormat wingdings = Font("Wingdings");
    wingdings.charSet = kSymbolCharSet;
    buffer.SetSelectionCharFormat(wingdings);
    buffer.InsertText("\xC3\xBC ");
    EXPECT_EQ(buffer.Text(), U"\u00FC ");
    EXPECT_EQ(buffer.ExportText(), "\xC3\xBC ");
    const std::string rtf = buffer.ExportRtf();
    EXPECT_NE(rtf.find("\\fcharset2 Wingdings;"), std::string::npos);
    EXPECT_NE(rtf.find("\\'fc"), std::string::npos);
    // The same character in a text font is itself; in the symbol font, its code page byte.
    buffer.InsertText("\xE2\x82\xAC");
    buffer.SetSelectionCharFormat(Font("Arial"));
    buffer.InsertText("\xE2\x82\xAC");
    EXPECT_EQ(buffer.Text(), U"\u00FC \u0080\u20AC");
}

TEST(RichTextBuffer, TypingBesideABulletSymbolTakesTheParagraphsTextFont) {
    // A rendered bullet paragraph: the symbol and its space in Wingdings, then the title.
    RichTextBuffer buffer;
    RichCharFormat wingdings = Font("Wingdings");
    wingdings.charSet = kSymbolCharSet;
    buffer.SetSelectionCharFormat(wingdings);
    buffer.InsertText("\xC3\xBC ");
    buffer.SetSelectionCharFormat(Font("Georgia"));
    buffer.InsertText("Title\r\n");
    buffer.SetSelectionCharFormat(wingdings);
    buffer.InsertText("\xC3\xBC"); // a paragraph of nothing but a symbol

    for (long long at : {0LL, 1LL, 2LL}) {
        buffer.SetSelection(at, at);
        EXPECT_EQ(buffer.GetSelectionCharFormat().faceName, "Georgia") << at;
    }
    buffer.SetSelection(2, 2);
    buffer.InsertText("My ");
    EXPECT_EQ(FormatAt(buffer, 2).faceName, "Georgia");
    EXPECT_EQ(FormatAt(buffer, 2).charSet, kAnsiCharSet);

    // With no text font in the paragraph, the mark's or the default format is written in.
    const auto end = static_cast<long long>(buffer.TextLength());
    buffer.SetSelection(end, end);
    EXPECT_NE(buffer.GetSelectionCharFormat().charSet, kSymbolCharSet);

    // A symbol font chosen on purpose at the insertion point stays for what is typed next.
    buffer.SetSelection(0, 0);
    buffer.SetSelectionCharFormat(wingdings);
    buffer.InsertText("\xC3\xBB");
    buffer.InsertText("\xC3\xBB");
    EXPECT_EQ(FormatAt(buffer, 1).charSet, kSymbolCharSet);
}

TEST(RichTextBuffer, ClearAndDefaultFormat) {
    RichTextBuffer buffer;
    buffer.InsertText("some text");
    RichCharFormat big = Font("Georgia", 480);
    big.mask = kCfmFace | kCfmSize;
    // A buffer with text keeps its text's format.
    buffer.SetDefaultCharFormat(big);
    EXPECT_EQ(FormatAt(buffer, 0).faceName, "Arial");
    buffer.Clear();
    EXPECT_EQ(buffer.TextLength(), 0u);
    EXPECT_EQ(buffer.LineCount(), 1u);
    buffer.InsertText("new");
    EXPECT_EQ(FormatAt(buffer, 0).faceName, "Georgia");

    buffer.Clear();
    RichCharFormat times = Font("Times New Roman");
    times.mask = kCfmFace;
    buffer.SetDefaultCharFormat(times);
    buffer.InsertText("x");
    EXPECT_EQ(FormatAt(buffer, 0).faceName, "Times New Roman");
    EXPECT_EQ(FormatAt(buffer, 0).height, 480);
}

TEST(RichTextBuffer, EmptyParagraphsFollowTheTypingFormat) {
    // How the renderer writes blank lines: one break in the old format, then the new format,
    // then further breaks.
    RichTextBuffer buffer;
    buffer.SetSelectionCharFormat(Bold(true));
    buffer.InsertText("Title");
    buffer.InsertText("\r\n");
    buffer.SetSelectionCharFormat(Bold(false));
    buffer.InsertText("\r\n\r\n");
    const auto& paragraphs = buffer.Document().paragraphs;
    ASSERT_EQ(paragraphs.size(), 4u);
    EXPECT_TRUE(paragraphs[0].markFormat.Has(kCfeBold));
    for (size_t i = 1; i < paragraphs.size(); ++i) {
        EXPECT_FALSE(paragraphs[i].markFormat.Has(kCfeBold)) << i;
    }
}

TEST(RichTextBuffer, ExportAndImportKeepTheContent) {
    RichTextBuffer buffer;
    buffer.SetSelectionParaFormat(Alignment(kPfaCenter));
    buffer.InsertText(U"Caf\u00E9 \u4E2D\r\nline");
    buffer.SetSelection(0, 4);
    buffer.SetSelectionCharFormat(Bold(true));
    const std::string rtf = buffer.ExportRtf();

    RichTextBuffer other;
    const RtfReadResult read = other.ImportRtf(rtf);
    EXPECT_TRUE(read.isRtf && read.complete);
    // The Chinese character comes back in a font of the Chinese character set, which tells
    // word processors to show it with a font that has it; nothing else differs.
    RichDocument expected = buffer.Document();
    ASSERT_EQ(other.Document().paragraphs[0].runs.size(), 3U);
    EXPECT_EQ(other.Document().paragraphs[0].runs[2].text, U"\u4E2D");
    EXPECT_EQ(other.Document().paragraphs[0].runs[2].format.charSet, 134);
    expected.paragraphs[0].runs[1].text = U" ";
    RichRun chinese = expected.paragraphs[0].runs[1];
    chinese.text = U"\u4E2D";
    chinese.format.charSet = 134;
    expected.paragraphs[0].runs.push_back(chinese);
    EXPECT_EQ(other.Document(), expected);
    EXPECT_EQ(other.ExportText(), "Caf\xC3\xA9 \xE4\xB8\xAD\r\nline");

    other.ImportText("one\rtwo");
    EXPECT_EQ(ParagraphTexts(other.Document()), "one\ntwo");
    EXPECT_EQ(other.GetSelection(), (TextRange{0, 0}));
}

TEST(RichTextBuffer, PlainTextComesBackInTheDefaultFormat) {
    // The plain-text Resume View re-render: text out, default format reset, text back in.
    RichTextBuffer buffer;
    RichCharFormat fancy = Font("Times New Roman", 480);
    fancy.effects = kCfeBold | kCfeUnderline;
    buffer.SetSelectionCharFormat(fancy);
    buffer.InsertText("one\r\ntwo");
    const std::string text = buffer.ExportText();
    RichCharFormat arial = Font("Arial", 240);
    arial.effects = 0;
    buffer.SetDefaultCharFormat(arial);
    buffer.ImportText(text);
    EXPECT_EQ(buffer.ExportText(), text);
    for (const RichParagraph& paragraph : buffer.Document().paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            EXPECT_EQ(run.format.faceName, "Arial");
            EXPECT_EQ(run.format.height, 240);
            EXPECT_FALSE(run.format.Has(kCfeBold));
        }
    }
}

TEST(RichTextBuffer, ModifiedFlagFollowsChanges) {
    RichTextBuffer buffer;
    EXPECT_FALSE(buffer.IsModified());
    buffer.InsertText("x");
    EXPECT_TRUE(buffer.IsModified());
    buffer.SetModified(false);
    buffer.SetSelection(0, 1);
    EXPECT_FALSE(buffer.IsModified());
    buffer.SetSelectionCharFormat(Bold(true));
    EXPECT_TRUE(buffer.IsModified());
    buffer.SetModified(false);
    buffer.ImportText("y");
    EXPECT_TRUE(buffer.IsModified());
}

// A document of one paragraph: "ab", a picture, "cd".
RichTextBuffer BufferWithPicture() {
    auto picture = std::make_shared<RichPicture>();
    picture->typeWord = "pngblip";
    picture->data = "data";
    RichCharFormat pictureFormat = Font("Arial");
    pictureFormat.picture = PictureRef(picture);
    RichDocument document;
    document.paragraphs[0].format = PlainParaFormat();
    document.paragraphs[0].markFormat = Font("Arial");
    document.paragraphs[0].runs = {{U"ab", Font("Arial")},
                                   {std::u32string(1, kObjectCharacter), pictureFormat},
                                   {U"cd", Font("Arial")}};
    RichTextBuffer buffer;
    buffer.SetDocument(document);
    return buffer;
}

TEST(RichTextBuffer, TextTypedBesideOrOverAPictureIsText) {
    RichTextBuffer buffer = BufferWithPicture();
    buffer.SetSelection(3, 3); // behind the picture
    EXPECT_FALSE(buffer.GetSelectionCharFormat().picture);
    buffer.InsertText("x");
    buffer.SetSelection(2, 3); // the picture itself
    buffer.SetSelectionCharFormat(Bold(true));
    EXPECT_TRUE(buffer.GetSelectionCharFormat().picture) << "format commands keep the picture";
    EXPECT_TRUE(buffer.GetSelectionCharFormat().Has(kCfeBold));
    buffer.InsertText("y"); // replaces the picture
    const auto& runs = buffer.Document().paragraphs[0].runs;
    for (const RichRun& run : runs) {
        EXPECT_FALSE(run.format.picture) << testing::Utf8(run.text);
    }
    EXPECT_EQ(ParagraphTexts(buffer.Document()), "abyxcd");
}

TEST(RichTextBuffer, PlainTextLeavesOutHiddenTextAndPictures) {
    RichTextBuffer buffer = BufferWithPicture();
    buffer.SetSelection(0, 1);
    RichCharFormat hide;
    hide.mask = kCfmHidden;
    hide.effects = kCfeHidden;
    buffer.SetSelectionCharFormat(hide);
    EXPECT_EQ(buffer.ExportText(), "bcd");
    EXPECT_EQ(buffer.TextLength(), 5u) << "hidden text still counts";
    buffer.SetSelection(1, 1);
    buffer.InsertText("typed");
    EXPECT_EQ(buffer.ExportText(), "typedbcd") << "what is typed beside hidden text shows";
}

} // namespace
} // namespace trellic
