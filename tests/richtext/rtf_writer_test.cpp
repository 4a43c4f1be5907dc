#include "richtext/rtf_writer.h"
#include "test_documents.h"

#include <gtest/gtest.h>
#include <memory>

namespace trellic {
namespace {

using testing::Font;

RichDocument OneParagraph(std::u32string text, RichCharFormat format = Font("Arial")) {
    RichDocument document;
    document.paragraphs[0].format = PlainParaFormat();
    document.paragraphs[0].markFormat = format;
    document.paragraphs[0].runs.push_back({std::move(text), std::move(format)});
    return document;
}

bool Contains(const std::string& haystack, std::string_view needle) {
    return haystack.find(needle) != std::string::npos;
}

TEST(RtfWriter, HeaderInTheControlsDialect) {
    const std::string rtf = WriteRtf(OneParagraph(U"x"));
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u);
    EXPECT_TRUE(Contains(rtf, "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"));
    EXPECT_TRUE(Contains(rtf, "\\viewkind4\\uc1"));
    EXPECT_FALSE(Contains(rtf, "colortbl")); // only automatic colour
    EXPECT_TRUE(Contains(rtf, "\\f0\\fs24 x\\par"));
}

TEST(RtfWriter, TextEscapes) {
    const std::string rtf =
        WriteRtf(OneParagraph(U"a\\{}\t\u00E9\u2019\u2014\u20AC\u4E2D\U0001F600 1"));
    // The Chinese character goes into a font of the Chinese character set.
    EXPECT_TRUE(Contains(rtf, "a\\\\\\{\\}\\tab\\'e9\\rquote\\emdash\\'80\\f1\\u20013?"
                              "\\f0\\u-10179?\\u-8704? 1"));
}

TEST(RtfWriter, SoftLineBreakIsALineControlWord) {
    const std::string rtf = WriteRtf(OneParagraph(U"Jane Doe\u2028London"));
    EXPECT_TRUE(Contains(rtf, "Jane Doe\\line London\\par"));
    EXPECT_FALSE(Contains(rtf, "\\u8232"));
}

TEST(RtfWriter, FormatsAreWrittenAsChanges) {
    RichDocument document = OneParagraph(U"plain");
    RichCharFormat format = Font("Arial");
    format.effects = kCfeBold | kCfeUnderline | kCfeSuperscript;
    format.underlineType = kCfuDotted;
    format.color = 0x0000FF; // red
    document.paragraphs[0].runs.push_back({U"fancy", format});
    format.effects = kCfeStrikeout | kCfeSubscript | kCfeAutoColor;
    format.height = 480;
    document.paragraphs[0].runs.push_back({U"other", format});
    const std::string rtf = WriteRtf(document);
    EXPECT_TRUE(Contains(rtf, "{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(Contains(rtf, "plain\\cf1\\b\\uld\\super fancy"));
    EXPECT_TRUE(Contains(rtf, "fancy\\fs48\\cf0\\b0\\strike\\ulnone\\sub other"));
    EXPECT_TRUE(Contains(rtf, "other\\fs24\\strike0\\nosupersub\\par"));
}

TEST(RtfWriter, ParagraphFormatsAndRepeatedPard) {
    RichDocument document = OneParagraph(U"one");
    document.paragraphs[0].format.alignment = kPfaCenter;
    document.paragraphs[0].format.lineSpacingRule = kLineSpacingOneAndHalf;
    document.paragraphs.push_back(document.paragraphs[0]); // same format: no new \pard
    document.paragraphs.push_back(document.paragraphs[0]);
    document.paragraphs[2].format.alignment = kPfaJustify;
    document.paragraphs[2].format.lineSpacingRule = kLineSpacingDouble;
    document.paragraphs[2].format.startIndent = 720;
    document.paragraphs[2].format.offset = -360;
    const std::string rtf = WriteRtf(document);
    EXPECT_TRUE(Contains(rtf, "\\pard\\sl360\\slmult1\\qc\\f0\\fs24 one\\par\r\none\\par"));
    EXPECT_TRUE(Contains(rtf, "\\pard\\fi360\\li360\\sl480\\slmult1\\qj one"));
}

TEST(RtfWriter, ListsInBothStyles) {
    RichDocument document = OneParagraph(U"first");
    RichParaFormat& format = document.paragraphs[0].format;
    format.numbering = kPfnUpperRoman;
    format.numberingStart = 3;
    format.numberingStyle = kPfnsPeriod;
    document.paragraphs.push_back(document.paragraphs[0]);
    document.paragraphs[1].runs[0].text = U"second";
    document.paragraphs.push_back(document.paragraphs[0]);
    document.paragraphs[2].format.numbering = kPfnBullet;
    const std::string rtf = WriteRtf(document);
    EXPECT_TRUE(Contains(rtf, "{\\pntext\\f0 III.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0"
                              "\\pnstart3\\pnucrm{\\pntxta.}}\\ls1"));
    EXPECT_TRUE(Contains(rtf, "{\\pntext\\f0 IV.\\tab}second"));
    EXPECT_TRUE(Contains(rtf, "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1"));
    EXPECT_TRUE(Contains(rtf, "{\\f1\\fnil\\fcharset2 Symbol;}"));
    EXPECT_TRUE(Contains(rtf, "\\levelnfc1\\levelnfcn1\\leveljc0\\levelfollow0\\levelstartat3"
                              "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}"));
    EXPECT_TRUE(Contains(rtf, "\\levelnfc23"));
    EXPECT_TRUE(Contains(rtf, "{\\listoverride\\listid1001\\listoverridecount0\\ls2}"));
}

TEST(RtfWriter, ListLabelsCount) {
    const struct {
        uint16_t numbering;
        uint16_t style;
        uint16_t start;
        const char* label;
    } rows[] = {{kPfnArabic, kPfnsParen, 9, "10)"},
                {kPfnLowerLetter, kPfnsParens, 26, "(aa)"},
                {kPfnUpperLetter, kPfnsPlain, 1, "B"},
                {kPfnLowerRoman, kPfnsPeriod, 3, "iv."},
                {kPfnUpperRoman, kPfnsPeriod, 1999, "MM."}};
    for (const auto& row : rows) {
        RichDocument document = OneParagraph(U"x");
        document.paragraphs[0].format.numbering = row.numbering;
        document.paragraphs[0].format.numberingStyle = row.style;
        document.paragraphs[0].format.numberingStart = row.start;
        document.paragraphs.push_back(document.paragraphs[0]);
        EXPECT_TRUE(Contains(WriteRtf(document), std::string(" ") + row.label + "\\tab}"))
            << row.label;
    }
}

TEST(RtfWriter, SymbolFontBytes) {
    RichCharFormat wingdings = Font("Wingdings", 240);
    wingdings.charSet = kSymbolCharSet;
    const std::string rtf = WriteRtf(OneParagraph(U"\u00FC \u006C", wingdings));
    EXPECT_TRUE(Contains(rtf, "{\\f0\\fswiss\\fcharset2 Wingdings;}"));
    EXPECT_TRUE(Contains(rtf, "\\f0\\fs24\\'fc l\\par"));
}

TEST(RtfWriter, WordProcessorAttributesInTheWordsWordProcessorsRead) {
    RichDocument document = OneParagraph(U"plain");
    RichCharFormat format = Font("Arial");
    format.backColor = 0x00FFFF; // yellow
    format.effects |= kCfeAllCaps | kCfeSmallCaps | kCfeHidden | kCfeSuperscript;
    format.offset = 60;
    document.paragraphs[0].runs.push_back({U"marked", format});
    format.effects = kCfeAutoColor | kCfeSubscript;
    format.offset = -40;
    format.backColor.reset();
    document.paragraphs[0].runs.push_back({U"low", format});
    RichParaFormat& paragraph = document.paragraphs[0].format;
    paragraph.tabCount = 3;
    paragraph.tabs[0] = MakeTab(720, kTabBar);
    paragraph.tabs[1] = MakeTab(4320, kTabDecimal, kLeaderHyphens);
    paragraph.tabs[2] = MakeTab(9360, kTabRight, kLeaderDots);
    const std::string rtf = WriteRtf(document);
    EXPECT_TRUE(Contains(rtf, "{\\colortbl ;\\red255\\green255\\blue0;}"));
    EXPECT_TRUE(Contains(rtf, "\\tb720\\tlhyph\\tqdec\\tx4320\\tldot\\tqr\\tx9360"));
    EXPECT_TRUE(Contains(rtf, "plain\\caps\\scaps\\v\\highlight1\\up6 marked"));
    EXPECT_TRUE(Contains(rtf, "marked\\caps0\\scaps0\\v0\\highlight0\\dn4 low"));
}

TEST(RtfWriter, PicturesAsTheyCameWithTheirDataInHexadecimal) {
    auto picture = std::make_shared<RichPicture>();
    picture->typeWord = "wmetafile8";
    picture->otherWords = "\\picbmp\\bliptag-5";
    picture->data = std::string("\x01\xAB", 2);
    picture->width = 2540;
    picture->goalWidth = 1440;
    picture->scaleY = 50;
    RichCharFormat format = Font("Arial");
    format.picture = PictureRef(picture);
    RichDocument document = OneParagraph(U"see");
    document.paragraphs[0].runs.push_back({std::u32string(2, kObjectCharacter), format});
    const std::string group = "{\\pict\\wmetafile8\\picbmp\\bliptag-5\\picw2540\\picwgoal1440"
                              "\\picscaley50\r\n01ab}";
    EXPECT_TRUE(Contains(WriteRtf(document), "see" + group + group + "\\par"));
}

TEST(RtfWriter, WordProcessorBulletsInTheirFont) {
    RichDocument document = OneParagraph(U"item");
    RichParaFormat& format = document.paragraphs[0].format;
    format.numbering = kPfnBullet;
    format.bulletSymbol = 0xA7;
    format.bulletFace = "Wingdings";
    format.bulletCharSet = kSymbolCharSet;
    const std::string rtf = WriteRtf(document);
    EXPECT_TRUE(Contains(rtf, "{\\f1\\fnil\\fcharset2 Wingdings;}"));
    EXPECT_TRUE(Contains(rtf, "{\\leveltext\\'01\\u-3929?;}{\\levelnumbers;}\\f1"));
    EXPECT_TRUE(Contains(rtf, "{\\pntext\\f1\\'a7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0"
                              "{\\pntxtb\\'a7}}"));
}

} // namespace
} // namespace trellic
