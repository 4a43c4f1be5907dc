// How the office writers map the engine's paragraphs: rules, lists, tab indents and symbols.

#include "exchange/office_document.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Font;
using testing::U;
using testing::Utf8;

RichParagraph Paragraph(std::u32string text, const RichCharFormat& format = Font("Arial", 200)) {
    RichParagraph paragraph;
    paragraph.format = PlainParaFormat();
    paragraph.markFormat = format;
    if (!text.empty()) {
        paragraph.runs.push_back({std::move(text), format});
    }
    return paragraph;
}

RichParagraph Rule(uint32_t color) {
    RichCharFormat format = Font("Arial", 320);
    format.effects = kCfeBold;
    format.color = color;
    return Paragraph(std::u32string(44, U'\u00AF'), format);
}

RichDocument Document(std::vector<RichParagraph> paragraphs) {
    RichDocument document;
    document.paragraphs = std::move(paragraphs);
    return document;
}

RichCharFormat Wingdings() {
    RichCharFormat format = Font("Wingdings", 240);
    format.charSet = kSymbolCharSet;
    return format;
}

std::string RunsText(const OfficeParagraph& paragraph) {
    std::u32string text;
    for (const RichRun& run : paragraph.runs) {
        text += run.text;
    }
    return Utf8(text);
}

TEST(OfficeLayout, ARuleBordersTheHeaderAboveItAndKeepsItsRoomEmpty) {
    RichCharFormat header = Font("Arial", 440);
    header.effects = kCfeBold;
    const RichDocument document = Document({Paragraph(U"Your Name", header), Rule(0x00336699),
                                            Paragraph(U""), Paragraph(U"Phone: 555")});
    const OfficeLayout layout = LayOutParagraphs(document);
    ASSERT_EQ(layout.paragraphs.size(), 4u);
    ASSERT_TRUE(layout.paragraphs[0].border);
    EXPECT_EQ(layout.paragraphs[0].border->color, 0x336699u);
    EXPECT_FALSE(layout.paragraphs[0].border->autoColor);
    EXPECT_EQ(layout.paragraphs[0].border->width, 22); // a sixteenth of the rule's line
    EXPECT_TRUE(layout.paragraphs[1].rule);
    EXPECT_TRUE(layout.paragraphs[1].runs.empty());
    EXPECT_FALSE(layout.paragraphs[1].border);
    // The heading, its rule and the blank line under it stay with what follows.
    EXPECT_TRUE(layout.paragraphs[0].keepWithNext);
    EXPECT_TRUE(layout.paragraphs[1].keepWithNext);
    EXPECT_TRUE(layout.paragraphs[2].keepWithNext);
    EXPECT_FALSE(layout.paragraphs[3].keepWithNext);
}

TEST(OfficeLayout, ARuleWithNoTextAboveBordersItsOwnParagraph) {
    for (const RichDocument& document :
         {Document({Rule(0xFF)}), Document({Paragraph(U"  \t"), Rule(0xFF)}),
          Document({Paragraph(U"Name"), Rule(0xFF), Rule(0xFF00)})}) {
        const OfficeLayout layout = LayOutParagraphs(document);
        const OfficeParagraph& last = layout.paragraphs.back();
        ASSERT_TRUE(last.border);
        EXPECT_TRUE(last.rule);
        EXPECT_EQ(last.border->color, document.paragraphs.back().runs[0].format.color);
    }
}

TEST(OfficeLayout, ListsAreCountedAsTheViewCountsThem) {
    auto numbered = [](uint16_t numbering, uint16_t start, const char32_t* text) {
        RichParagraph paragraph = Paragraph(text);
        paragraph.format.numbering = numbering;
        paragraph.format.numberingStart = start;
        paragraph.format.numberingStyle = kPfnsPeriod;
        return paragraph;
    };
    const RichDocument document = Document({
        numbered(kPfnArabic, 1, U"one"),
        numbered(kPfnArabic, 1, U"two"),    // the same list, counted on
        numbered(kPfnArabic, 3, U"three"),  // another start: a list of its own
        Paragraph(U"between"),              // ends it
        numbered(kPfnArabic, 3, U"again"),  // so this starts again at 3
        numbered(kPfnUpperRoman, 3, U"IV"), // another kind: another list
        numbered(9, 1, U"unknown kind"),    // no list at all
    });
    const OfficeLayout layout = LayOutParagraphs(document);
    ASSERT_EQ(layout.lists.size(), 4u);
    const std::vector<int> expected = {0, 0, 1, -1, 2, 3, -1};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(layout.paragraphs[i].list, expected[i]) << i;
    }
    EXPECT_EQ(layout.lists[1].first, 2u);
    EXPECT_EQ(layout.lists[2].format.numberingStart, 3);
    EXPECT_EQ(layout.lists[3].format.numbering, kPfnUpperRoman);
    // A list item's text starts past the label's room; the label ends a gap before it.
    EXPECT_EQ(layout.paragraphs[0].left, 360);
    EXPECT_EQ(layout.paragraphs[0].firstLine, -90);
}

TEST(OfficeLayout, LeadingTabsAndBulletsBecomeIndentsSoWrappedLinesStayUnderTheText) {
    // Tabs alone: the text's indent, default stops every 1200 twips.
    OfficeLayout layout = LayOutParagraphs(Document({Paragraph(U"\t\tDesigned a thing")}));
    EXPECT_EQ(layout.paragraphs[0].left, 2400);
    EXPECT_EQ(layout.paragraphs[0].firstLine, 0);
    EXPECT_EQ(RunsText(layout.paragraphs[0]), "Designed a thing");

    // A bullet after a tab: the blank after it becomes a tab to a hanging indent, in its run.
    RichParagraph bullet = Paragraph(U"\t");
    bullet.runs.push_back({{0xFC, U' '}, Wingdings()});
    bullet.runs.push_back({U"Skills:", Font("Arial", 200)});
    layout = LayOutParagraphs(Document({bullet}));
    EXPECT_EQ(layout.paragraphs[0].left, 1200 + 270);
    EXPECT_EQ(layout.paragraphs[0].firstLine, -270);
    EXPECT_EQ(layout.paragraphs[0].tabs, std::vector<int32_t>{1470});
    ASSERT_EQ(layout.paragraphs[0].runs.size(), 2u);
    EXPECT_EQ(layout.paragraphs[0].runs[0].text, (std::u32string{0xFC, U'\t'}));
    EXPECT_EQ(layout.paragraphs[0].runs[0].format.faceName, "Wingdings");

    // The TXT renderer's plus sign is a bullet too, narrower than a symbol font's.
    layout = LayOutParagraphs(Document({Paragraph(U"+ Looking for")}));
    EXPECT_EQ(layout.paragraphs[0].left, 175);
    EXPECT_EQ(layout.paragraphs[0].firstLine, -175);
    EXPECT_EQ(RunsText(layout.paragraphs[0]), "+\tLooking for");

    // A paragraph's own stops come first.
    RichParagraph stops = Paragraph(U"\tAt the stop");
    stops.format.tabCount = 1;
    stops.format.tabs[0] = 500;
    EXPECT_EQ(LayOutParagraphs(Document({stops})).paragraphs[0].left, 500);
    // Stops from a word processor carry their alignment and leader: a bar is no stop, and the
    // position alone counts.
    stops.format.tabCount = 2;
    stops.format.tabs[0] = MakeTab(300, kTabBar);
    stops.format.tabs[1] = MakeTab(4000, kTabRight, kLeaderDots);
    layout = LayOutParagraphs(Document({stops}));
    EXPECT_EQ(layout.paragraphs[0].left, 4000);
    EXPECT_EQ(layout.paragraphs[0].tabs,
              (std::vector<int32_t>{stops.format.tabs[0], stops.format.tabs[1]}));

    // Left alone: centred text, text that is only tabs, a word that starts with a letter, and
    // a body the paragraph's own indent already passes.
    RichParagraph centred = Paragraph(U"\tCentred");
    centred.format.alignment = kPfaCenter;
    RichParagraph indented = Paragraph(U"\tDeep");
    indented.format.startIndent = 3000;
    indented.format.offset = 600;
    layout = LayOutParagraphs(
        Document({centred, Paragraph(U"\t\t"), Paragraph(U"\u00E9t\u00E9 ahead"), indented}));
    EXPECT_EQ(RunsText(layout.paragraphs[0]), "\tCentred");
    EXPECT_EQ(RunsText(layout.paragraphs[1]), "\t\t");
    EXPECT_EQ(RunsText(layout.paragraphs[2]), "\u00E9t\u00E9 ahead");
    EXPECT_EQ(layout.paragraphs[2].left, 0);
    EXPECT_EQ(RunsText(layout.paragraphs[3]), "\tDeep");
    EXPECT_EQ(layout.paragraphs[3].left, 3600);
    EXPECT_EQ(layout.paragraphs[3].firstLine, -600);
}

TEST(OfficeText, SymbolFontBytesShowAsTheCharactersTheyStandFor) {
    // Wingdings: look-alikes; a byte that stands for nothing keeps its font, in the private-use
    // block where word processors look for a symbol font's bytes.
    auto parts = ShownTextOf({{0xFC, U' ', 0xE8, 0x30}, Wingdings()});
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Utf8(parts[0].text), "\u2714 \u2794");
    EXPECT_TRUE(parts[0].symbolFont);
    EXPECT_EQ(parts[1].text, std::u32string{0xF030});
    EXPECT_FALSE(parts[1].symbolFont);

    // The Symbol font's bytes are Greek letters and signs of their own.
    RichCharFormat symbol = Wingdings();
    symbol.faceName = "Symbol";
    parts = ShownTextOf({{0x61, 0xB3}, symbol});
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Utf8(parts[0].text), "\u03B1\u2265");

    // Text fonts pass through untouched, byte values included.
    parts = ShownTextOf({U"\u00FC\u00AF", Font("Arial")});
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Utf8(parts[0].text), "\u00FC\u00AF");
    EXPECT_FALSE(parts[0].symbolFont);
}

TEST(OfficeText, LengthsColoursAndPages) {
    EXPECT_EQ(Points(200), "10pt");
    EXPECT_EQ(Points(210), "10.5pt");
    EXPECT_EQ(Points(1), "0.05pt");
    EXPECT_EQ(Points(-10), "-0.5pt");
    EXPECT_EQ(Points(-1800), "-90pt");
    EXPECT_EQ(HexColor(0x00336699, true), "996633");
    EXPECT_EQ(HexColor(0x00ABCDEF, false), "efcdab");

    EXPECT_FALSE(PageProblem(RtfPage{}));
    RtfPage tight;
    tight.left = tight.right = 6120;
    EXPECT_TRUE(PageProblem(tight));
    RtfPage nothing;
    nothing.width = 0;
    EXPECT_TRUE(PageProblem(nothing));
    RtfPage negative;
    negative.top = -1;
    EXPECT_TRUE(PageProblem(negative));
}

} // namespace
} // namespace trellic
