#include "richtext/rtf_reader.h"
#include "temp_dir.h"
#include "test_documents.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ParagraphTexts;
using testing::U;

RichDocument Read(std::string_view rtf) {
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_TRUE(result.isRtf);
    return result.document;
}

RichDocument ReadSample(const std::string& name) {
    const auto path = std::filesystem::path(TRELLIC_TEST_DATA) / "rtf" / name / "input.rtf";
    return Read(testing::ReadFileBytes(path.string()));
}

const RichRun& RunWith(const RichDocument& document, std::u32string_view text) {
    for (const RichParagraph& paragraph : document.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            if (run.text.find(text) != std::u32string::npos) {
                return run;
            }
        }
    }
    static const RichRun kNone;
    ADD_FAILURE() << "no run holds " << testing::Utf8(text);
    return kNone;
}

TEST(RtfReader, BytesAreReadInTheCodePageOfTheirFont) {
    const RichDocument document =
        Read("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}"
             "{\\f1\\fcharset204 Arial Cyr;}{\\f2\\fcharset238 Arial CE;}"
             "{\\f3\\fcharset2 Wingdings;}}"
             "\\f0 \\'e9 \\f1 \\'c0\\'e1 \\f2 \\'b9 \\f3 \\'fc\\u-3844?}");
    EXPECT_EQ(document.Text(), U"\u00E9 \u0410\u0431 \u0105 \u00FC\u00FC");
    EXPECT_EQ(RunWith(document, U"\u00FC").format.charSet, kSymbolCharSet);

    const RichDocument cp1250 = Read("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\'b9}");
    EXPECT_EQ(cp1250.Text(), U"\u0105");
    EXPECT_EQ(ReadSample("rtfparserkit__testMultiByteHex").Text(), U("お元気ですか？"));
}

TEST(RtfReader, SymbolFontsWrittenAsAnsiFontsKeepTheirBytes) {
    // How LibreOffice writes a Wingdings tick and its space.
    const RichDocument document = Read("{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset0 Wingdings;}"
                                       "{\\f1 Arial;}}\\f0\\u61692\\'fc\\u61472\\'20\\f1 Tick}");
    EXPECT_EQ(document.Text(), U"\u00FC Tick");
    EXPECT_EQ(RunWith(document, U"\u00FC").format.charSet, kSymbolCharSet);
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallbacks) {
    EXPECT_EQ(Read("{\\rtf1\\uc1 a\\u8364?b}").Text(), U"a\u20ACb");
    EXPECT_EQ(Read("{\\rtf1\\uc2 a\\u8364\\'80\\'80b}").Text(), U"a\u20ACb");
    EXPECT_EQ(Read("{\\rtf1\\uc0 a\\u8364 b}").Text(), U"a\u20ACb");
    EXPECT_EQ(Read("{\\rtf1 \\u-4064?}").Text(), U"\uF020");
    EXPECT_EQ(Read("{\\rtf1 \\u-10179?\\u-8704?}").Text(), U"\U0001F600");
    // A fallback never outlives its group.
    EXPECT_EQ(Read("{\\rtf1\\uc3 {\\u8364}xyz}").Text(), U"\u20ACxyz");
}

TEST(RtfReader, DestinationsThatAreNotTextAreSkipped) {
    const RichDocument document =
        Read("{\\rtf1{\\info{\\title T}{\\author A}}{\\*\\generator G;}{\\stylesheet{\\s0 Normal;}}"
             "{\\*\\unknownthing hidden}{\\header H}a{\\pict\\pngblip 89504e47}b"
             "{\\pict\\bin4 }}}}}c{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"
             "{\\object\\objemb{\\*\\objdata 0102}{\\result shown}}}");
    EXPECT_EQ(document.Text(), U"abclinkshown");
}

TEST(RtfReader, SpecialCharactersAndBreaks) {
    const RichDocument document =
        Read("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~\\{\\}\\\\"
             "\\tab x\\line y\\\r\nz\\par}");
    EXPECT_EQ(document.Text(), U"\u2014\u2013\u2018\u2019\u201C\u201D\u2022\u00A0{}\\\tx\ry\rz");
}

TEST(RtfReader, CharacterFormatting) {
    const RichDocument document =
        Read("{\\rtf1{\\fonttbl{\\f0\\fswiss\\fprq2 Arial;}{\\f1\\froman Times;}}"
             "{\\colortbl ;\\red255\\green0\\blue0;}"
             "\\f0\\fs20 plain {\\b\\i bi}{\\ul solid}{\\uld dot\\ulnone off}{\\strike struck}"
             "{\\super up\\nosupersub down}{\\sub low}{\\cf1 red\\cf0 auto}{\\f1\\fs48 big}}");
    EXPECT_EQ(RunWith(document, U"plain").format.faceName, "Arial");
    EXPECT_EQ(RunWith(document, U"plain").format.pitchAndFamily, 0x22);
    EXPECT_EQ(RunWith(document, U"plain").format.height, 200);
    EXPECT_EQ(RunWith(document, U"bi").format.effects & 3u, kCfeBold | kCfeItalic);
    EXPECT_EQ(RunWith(document, U"solid").format.underlineType, kCfuSolid);
    EXPECT_EQ(RunWith(document, U"dot").format.underlineType, kCfuDotted);
    EXPECT_FALSE(RunWith(document, U"off").format.Has(kCfeUnderline));
    EXPECT_TRUE(RunWith(document, U"struck").format.Has(kCfeStrikeout));
    EXPECT_TRUE(RunWith(document, U"up").format.Has(kCfeSuperscript));
    EXPECT_FALSE(RunWith(document, U"down").format.Has(kCfeSuperscript));
    EXPECT_TRUE(RunWith(document, U"low").format.Has(kCfeSubscript));
    EXPECT_EQ(RunWith(document, U"red").format.color, 0x0000FFu);
    EXPECT_FALSE(RunWith(document, U"red").format.Has(kCfeAutoColor));
    EXPECT_TRUE(RunWith(document, U"auto").format.Has(kCfeAutoColor));
    EXPECT_EQ(RunWith(document, U"big").format.faceName, "Times");
    EXPECT_EQ(RunWith(document, U"big").format.height, 480);
}

TEST(RtfReader, ParagraphFormatting) {
    const RichDocument document =
        Read("{\\rtf1\\pard\\qc\\sl360\\slmult1 a\\par\\pard\\qr\\sl480\\slmult1 b\\par"
             "\\pard\\qj\\fi-360\\li720\\ri100\\sb120\\sa240\\tx1440\\tx720 c\\par"
             "\\pard\\sl-300\\slmult0 d\\par}");
    const auto& p = document.paragraphs;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].format.alignment, kPfaCenter);
    EXPECT_EQ(p[0].format.lineSpacingRule, kLineSpacingOneAndHalf);
    EXPECT_EQ(p[1].format.alignment, kPfaRight);
    EXPECT_EQ(p[1].format.lineSpacingRule, kLineSpacingDouble);
    EXPECT_EQ(p[2].format.alignment, kPfaJustify);
    EXPECT_EQ(p[2].format.startIndent, 360);
    EXPECT_EQ(p[2].format.offset, 360);
    EXPECT_EQ(p[2].format.rightIndent, 100);
    EXPECT_EQ(p[2].format.spaceBefore, 120);
    EXPECT_EQ(p[2].format.spaceAfter, 240);
    ASSERT_EQ(p[2].format.tabCount, 2);
    EXPECT_EQ(p[2].format.tabs[0], 720);
    EXPECT_EQ(p[2].format.tabs[1], 1440);
    EXPECT_EQ(p[3].format.alignment, kPfaLeft);
    EXPECT_EQ(p[3].format.lineSpacingRule, kLineSpacingExactly);
    EXPECT_EQ(p[3].format.lineSpacing, 300);
}

TEST(RtfReader, OldStyleListsFromTheControl) {
    const RichDocument document = ReadSample("rtfpipe__List");
    ASSERT_EQ(ParagraphTexts(document), "Paragraph\nBullet\nBullet 2\nParagraph 2\nList 1\nList 2");
    const auto& p = document.paragraphs;
    EXPECT_EQ(p[0].format.numbering, kPfnNone);
    EXPECT_EQ(p[1].format.numbering, kPfnBullet);
    EXPECT_EQ(p[2].format.numbering, kPfnBullet); // carried over: no new \pard
    EXPECT_EQ(p[3].format.numbering, kPfnNone);
    for (size_t i : {4u, 5u}) {
        EXPECT_EQ(p[i].format.numbering, kPfnArabic);
        EXPECT_EQ(p[i].format.numberingStart, 1);
        EXPECT_EQ(p[i].format.numberingStyle, kPfnsPeriod);
    }
}

TEST(RtfReader, OldStyleNumberFormatsAndPunctuation) {
    const struct {
        const char* pn;
        uint16_t numbering;
        uint16_t style;
        uint16_t start;
    } rows[] = {
        {"\\pnlvlbody\\pnstart3\\pnlcltr{\\pntxta)}", kPfnLowerLetter, kPfnsParen, 3},
        {"\\pnlvlbody\\pnucltr{\\pntxtb(}{\\pntxta)}", kPfnUpperLetter, kPfnsParens, 1},
        {"\\pnlvlbody\\pnstart2\\pnlcrm", kPfnLowerRoman, kPfnsPlain, 2},
        {"\\pnucrm\\pnlvlbody{\\pntxta.}", kPfnUpperRoman, kPfnsPeriod, 1},
        {"\\pnlvlblt{\\pntxtb\\'B7}", kPfnBullet, 0, 0},
    };
    for (const auto& row : rows) {
        const std::string rtf =
            std::string("{\\rtf1\\pard{\\pntext 1.\\tab}{\\*\\pn") + row.pn + "}x\\par}";
        const RichParaFormat format = Read(rtf).paragraphs[0].format;
        EXPECT_EQ(format.numbering, row.numbering) << row.pn;
        EXPECT_EQ(format.numberingStyle, row.style) << row.pn;
        EXPECT_EQ(format.numberingStart, row.start) << row.pn;
        EXPECT_EQ(Read(rtf).Text(), U"x") << "the shown label is not text";
    }
}

TEST(RtfReader, NewStyleListsCountOnAcrossInterruptions) {
    const std::string tables =
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc4\\levelstartat5"
        "{\\leveltext\\'02\\'00);}{\\levelnumbers\\'01;}}\\listid7}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid8\\ls2}{\\listoverride\\listid7\\listoverridecount1"
        "{\\lfolevel\\listoverridestartat\\levelstartat20}\\ls3}}";
    const RichDocument document =
        Read("{\\rtf1" + tables +
             "\\pard\\ls1 {\\listtext e)\\tab}a\\par b\\par\\pard plain\\par\\pard\\ls1 c\\par"
             "\\pard\\ls2 dot\\par\\pard\\ls3 restart\\par}");
    ASSERT_EQ(ParagraphTexts(document), "a\nb\nplain\nc\ndot\nrestart");
    const auto& p = document.paragraphs;
    EXPECT_EQ(p[0].format.numbering, kPfnLowerLetter);
    EXPECT_EQ(p[0].format.numberingStyle, kPfnsParen);
    EXPECT_EQ(p[0].format.numberingStart, 5);
    EXPECT_EQ(p[1].format.numberingStart, 5); // same list as the one before
    EXPECT_EQ(p[2].format.numbering, kPfnNone);
    EXPECT_EQ(p[3].format.numberingStart, 7); // a, b, then c is the third item
    EXPECT_EQ(p[4].format.numbering, kPfnBullet);
    EXPECT_EQ(p[5].format.numberingStart, 20);
}

TEST(RtfReader, WordListsAreNumberedAsWordShowsThem) {
    const RichDocument document = ReadSample("rtfpipe__ListWord");
    int numbered = 0;
    for (const RichParagraph& paragraph : document.paragraphs) {
        numbered += paragraph.format.numbering != kPfnNone;
    }
    EXPECT_GE(numbered, 4);
    EXPECT_EQ(ReadSample("rtfpipe__phprtflite_lists").paragraphs.size() > 5, true);
}

TEST(RtfReader, TablesBecomeTabsAndParagraphs) {
    const RichDocument document =
        Read("{\\rtf1\\trowd\\cellx100\\cellx200\\cellx300 \\intbl a\\cell\\cell c\\cell\\row"
             "\\trowd\\intbl d\\cell e\\cell f\\cell\\row after\\par}");
    EXPECT_EQ(ParagraphTexts(document), "a\t\tc\nd\te\tf\nafter");
}

TEST(RtfReader, FinalParagraphBreakEndsTheDocumentButStartsAFragmentLine) {
    EXPECT_EQ(Read("{\\rtf1 one\\par}").paragraphs.size(), 1u);
    EXPECT_EQ(Read("{\\rtf1 one\\par\\par}").paragraphs.size(), 2u);
    EXPECT_EQ(ReadRtfFragment("{\\rtf1 one\\par}").document.paragraphs.size(), 2u);
    EXPECT_EQ(ReadRtfFragment("{\\rtf1 one}").document.paragraphs.size(), 1u);
}

TEST(RtfReader, ColoursOfTheControlsSample) {
    const RichDocument document = ReadSample("rtfjs__colors");
    EXPECT_TRUE(RunWith(document, U"Normal Line 1").format.Has(kCfeAutoColor));
    EXPECT_EQ(RunWith(document, U"Colored Line").format.color, 0x00FF00u);
    EXPECT_EQ(RunWith(document, U"Colored & Highlighted").format.color, 0xFFFFFFu);
}

TEST(RtfReader, TextThatIsNotRtf) {
    EXPECT_FALSE(ReadRtf("").isRtf);
    EXPECT_FALSE(ReadRtf("plain text").isRtf);
    EXPECT_FALSE(ReadRtf("{\\rtx1}").isRtf);
    EXPECT_TRUE(ReadRtf("\xEF\xBB\xBF{\\rtf1 x}").isRtf);
    EXPECT_TRUE(ReadRtf("junk{\\rtf1 x}").isRtf);
}

} // namespace
} // namespace trellic
