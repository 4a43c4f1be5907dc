#include "richtext/rtf_reader.h"
#include "temp_dir.h"
#include "test_documents.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

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

TEST(RtfReader, BytesFollowEveryChangeOfFontDefaultFontAndFontTable) {
    // Switching back and forth between code pages.
    EXPECT_EQ(Read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}"
                   "{\\f2\\fcharset238 Arial CE;}}\\f1\\'c0\\f2\\'b9\\f1\\'c0\\f2\\'b9}")
                  .Text(),
              U"\u0410\u0105\u0410\u0105");
    // Text in no font of its own takes the default font as it stands.
    const RichDocument byDefault =
        Read("{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
             "\\'c0\\deff1 \\'c0\\f0 \\'c0\\plain\\'c0}");
    EXPECT_EQ(byDefault.Text(), U"\u00C0\u0410\u00C0\u0410");
    EXPECT_EQ(RunWith(byDefault, U"\u0410").format.faceName, "Arial Cyr");
    // A font table late in the text redefines the font in use.
    const RichDocument redefined =
        Read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f1 \\'c0"
             "{\\fonttbl{\\f1\\fcharset238 Arial CE;}}\\'b9}");
    EXPECT_EQ(redefined.Text(), U"\u0410\u0105");
    EXPECT_EQ(RunWith(redefined, U"\u0105").format.faceName, "Arial CE");
}

TEST(RtfReader, RunsSplitWhereTheFormatChangesAndNowhereElse) {
    // Groups and words that leave the format as it was continue the run.
    const RichDocument document =
        Read("{\\rtf1 a{\\b}b{\\b c}d\\b0 e{\\pict\\pngblip 89504e47}f\\par g{\\i}h\\page i\\par}");
    ASSERT_EQ(document.paragraphs.size(), 3u);
    std::vector<std::u32string> texts;
    for (const RichRun& run : document.paragraphs[0].runs) {
        texts.push_back(run.text);
    }
    EXPECT_EQ(texts, (std::vector<std::u32string>{U"ab", U"c", U"de", U"\uFFFC", U"f"}));
    ASSERT_EQ(document.paragraphs[1].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[1].runs[0].text, U"gh");
    EXPECT_EQ(ParagraphTexts(document), "abcde\uFFFCf\ngh\ni");
}

TEST(RtfReader, SectionBreaksEndTheParagraphTheyClose) {
    // The last paragraph of a section ends with the section break, not a paragraph mark.
    EXPECT_EQ(ParagraphTexts(Read("{\\rtf1 one\\sect\\sectd two\\par\\sect three}")),
              "one\ntwo\nthree");
}

TEST(RtfReader, ControlWordsAreKnownOnlyWhole) {
    // Longer, capitalised or extended forms of a known word are other, unknown words.
    EXPECT_EQ(Read("{\\rtf1 a\\emdashaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa b\\EMDASH c"
                   "\\bulletx d\\tabs e}")
                  .Text(),
              U"abcde");
    EXPECT_EQ(Read("{\\rtf1 \\emdash\\bullet\\tab\\ulnone\\uc1\\u8364?\\b1 x}").Text(),
              U"\u2014\u2022\t\u20ACx");
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
    // A picture stands in the text as one object character; its data, binary or not, is no text.
    EXPECT_EQ(document.Text(), U"a\uFFFCb\uFFFCclinkshown");
}

TEST(RtfReader, SpecialCharactersAndBreaks) {
    const RichDocument document =
        Read("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~\\{\\}\\\\"
             "\\tab x\\line y\\\r\nz\\par}");
    // \\line breaks the line, not the paragraph.
    EXPECT_EQ(document.Text(),
              U"\u2014\u2013\u2018\u2019\u201C\u201D\u2022\u00A0{}\\\tx\u2028y\rz");
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
    // Each cell starts at the right edge of the one before it.
    const RichParaFormat& row = document.paragraphs[0].format;
    ASSERT_EQ(row.tabCount, 2);
    EXPECT_EQ(row.tabs[0], MakeTab(100));
    EXPECT_EQ(row.tabs[1], MakeTab(200));
    EXPECT_EQ(document.paragraphs[1].format.tabCount, 0) << "a row without cell edges";
    EXPECT_EQ(document.paragraphs[2].format.tabCount, 0);
}

TEST(RtfReader, TabStopsKeepTheirAlignmentAndLeader) {
    const struct {
        const char* words;
        int32_t position;
        uint8_t alignment;
        uint8_t leader;
    } rows[] = {
        {"\\tqr\\tldot\\tx9360", 9360, kTabRight, kLeaderDots},
        {"\\tldot\\tqr\\tx9360", 9360, kTabRight, kLeaderDots},
        {"\\tqc\\tlhyph\\tx4320", 4320, kTabCenter, kLeaderHyphens},
        {"\\tqdec\\tlul\\tx5000", 5000, kTabDecimal, kLeaderUnderline},
        {"\\tlth\\tx100", 100, kTabLeft, kLeaderThick},
        {"\\tleq\\tx200", 200, kTabLeft, kLeaderEquals},
        {"\\tlmdot\\tx300", 300, kTabLeft, kLeaderDots},
        {"\\tb720", 720, kTabBar, kLeaderNone},
        {"\\tx-50", 0, kTabLeft, kLeaderNone},
        {"\\tx99999999", kMaxTabPosition, kTabLeft, kLeaderNone},
    };
    for (const auto& row : rows) {
        const RichParaFormat format =
            Read(std::string("{\\rtf1\\pard") + row.words + " x\\par}").paragraphs[0].format;
        ASSERT_EQ(format.tabCount, 1) << row.words;
        EXPECT_EQ(TabPosition(format.tabs[0]), row.position) << row.words;
        EXPECT_EQ(TabAlignment(format.tabs[0]), row.alignment) << row.words;
        EXPECT_EQ(TabLeader(format.tabs[0]), row.leader) << row.words;
    }
    // A kind belongs to the one stop it comes before; a stop set twice takes the later kind.
    const RichParaFormat format =
        Read("{\\rtf1\\pard\\tqr\\tldot\\tx900\\tx400\\tqc\\tx900 x\\par}").paragraphs[0].format;
    ASSERT_EQ(format.tabCount, 2);
    EXPECT_EQ(format.tabs[0], MakeTab(400));
    EXPECT_EQ(format.tabs[1], MakeTab(900, kTabCenter));
}

TEST(RtfReader, ColoursBehindTheTextNeverLeaveWhiteOnWhite) {
    const RichDocument document =
        Read("{\\rtf1{\\colortbl ;\\red255\\green255\\blue255;\\red0\\green0\\blue128;"
             "\\red255\\green255\\blue0;}"
             "{\\cf1\\highlight2 white on navy}{\\chcbpat3 shaded}{\\cb3 behind}"
             "{\\cb2\\chcbpat3\\highlight1 highlight wins}{\\highlight2\\highlight0 off}"
             "{\\highlight9 past the table}{\\plain\\highlight2\\plain plain}}");
    EXPECT_EQ(RunWith(document, U"white on navy").format.backColor, 0x800000u);
    EXPECT_EQ(RunWith(document, U"white on navy").format.color, 0xFFFFFFu);
    EXPECT_EQ(RunWith(document, U"shaded").format.backColor, 0x00FFFFu);
    EXPECT_EQ(RunWith(document, U"behind").format.backColor, 0x00FFFFu);
    EXPECT_EQ(RunWith(document, U"highlight wins").format.backColor, 0xFFFFFFu);
    for (const char32_t* none : {U"off", U"past the table", U"plain"}) {
        EXPECT_FALSE(RunWith(document, none).format.backColor) << testing::Utf8(none);
    }
    EXPECT_EQ(RunWith(ReadSample("rtfjs__colors"), U"Colored & Highlighted").format.backColor,
              0xFF0000u);
}

TEST(RtfReader, HiddenTextCapitalsAndRaisedText) {
    const RichDocument document =
        Read("{\\rtf1 {\\v hidden\\v0 shown}{\\caps caps}{\\scaps small}"
             "{\\up6 up}{\\dn4 down}{\\up raised}{\\up6\\up0 level}{\\up6\\super super}"
             "{\\dn4\\nosupersub none}{\\up6\\dn0 still up}}");
    EXPECT_TRUE(RunWith(document, U"hidden").format.Has(kCfeHidden));
    EXPECT_FALSE(RunWith(document, U"shown").format.Has(kCfeHidden));
    EXPECT_TRUE(RunWith(document, U"caps").format.Has(kCfeAllCaps));
    EXPECT_TRUE(RunWith(document, U"small").format.Has(kCfeSmallCaps));
    const struct {
        const char32_t* text;
        uint32_t script;
        int32_t offset;
    } rows[] = {
        {U"up", kCfeSuperscript, 60},       {U"down", kCfeSubscript, -40},
        {U"raised", kCfeSuperscript, 60},   {U"level", 0, 0},
        {U"super", kCfeSuperscript, 0},     {U"none", 0, 0},
        {U"still up", kCfeSuperscript, 60},
    };
    for (const auto& row : rows) {
        const RichCharFormat& format = RunWith(document, row.text).format;
        EXPECT_EQ(format.effects & (kCfeSubscript | kCfeSuperscript), row.script)
            << testing::Utf8(row.text);
        EXPECT_EQ(format.offset, row.offset) << testing::Utf8(row.text);
    }
}

TEST(RtfReader, LineBreaksStayInsideTheirParagraph) {
    const RichDocument document = Read("{\\rtf1 Jane Doe\\line London\\lbr1 UK\\par next}");
    EXPECT_EQ(ParagraphTexts(document), "Jane Doe\u2028London\u2028UK\nnext");
}

TEST(RtfReader, WordProcessorBulletsKeepTheirSymbol) {
    const std::string fonts = "{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}"
                              "{\\f2\\fcharset2 Wingdings;}{\\f3 Courier New;}"
                              "{\\f4\\fcharset2 OpenSymbol;}}";
    const struct {
        const char* name;
        std::string list;
        char32_t symbol;
        const char* face;
        uint8_t charSet;
    } rows[] = {
        {"old-style square", "{\\*\\pn\\pnlvlblt\\pnf2{\\pntxtb\\'a7}}", 0xA7, "Wingdings",
         kSymbolCharSet},
        {"old-style standard", "{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}", 0, "", 0},
        {"old-style hollow", "{\\*\\pn\\pnlvlblt\\pnf3{\\pntxtb o}}", U'o', "Courier New", 0},
        {"old-style dash", "{\\*\\pn\\pnlvlblt\\pnf0{\\pntxtb\\'96}}", 0x2013, "Arial", 0},
        {"new-style arrow", "\\ls1", 0xD8, "Wingdings", kSymbolCharSet},
        {"new-style standard", "\\ls2", 0, "", 0},
        {"new-style private use", "\\ls3", 0xE00B, "OpenSymbol", 0},
        {"undefined font", "\\ls4", 0, "", 0},
    };
    const std::string lists =
        "{\\*\\listtable"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3880 ?;}\\f2}\\listid1}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}\\f1}\\listid2}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext \\'01\\u57355 ?;}\\f4}\\listid3}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u61623 ?;}\\f14}\\listid4}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}"
        "{\\listoverride\\listid3\\ls3}{\\listoverride\\listid4\\ls4}}";
    for (const auto& row : rows) {
        const RichParaFormat format =
            Read("{\\rtf1" + fonts + lists + "\\pard" + row.list + " item\\par}")
                .paragraphs[0]
                .format;
        EXPECT_EQ(format.numbering, kPfnBullet) << row.name;
        EXPECT_EQ(format.bulletSymbol, row.symbol) << row.name;
        EXPECT_EQ(format.bulletFace, row.face) << row.name;
        EXPECT_EQ(format.bulletCharSet, row.charSet) << row.name;
    }
}

TEST(RtfReader, PicturesAreKeptWithTheirSizes) {
    // A PNG's signature and header, enough for its size: 2 x 3 pixels.
    const std::string png = "89504e470d0a1a0a0000000d49484452000000020000000308060000001f15c489";
    const RtfReadResult read =
        ReadRtf("{\\rtf1 a{\\pict\\picscalex50\\picscaley200\\piccropl0\\picw2\\pich3\\picwgoal300"
                "\\pichgoal450\\pngblip{\\*\\blipuid 0123}\r\n" +
                png.substr(0, 40) + "\r\n" + png.substr(40) +
                "}b{\\*\\shppict{\\pict\\jpegblip\\bin4 \xFF\xD8\xFF\xD9}}{\\nonshppict{\\pict"
                "\\wmetafile8 0102}}c{\\pict\\wmetafile8\\picw2540\\pich1270 01020304}"
                "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv "
                "{\\pict\\emfblip 05}}}}{\\shprslt fallback}}d}");
    EXPECT_EQ(read.document.Text(), U"a\uFFFCb\uFFFCc\uFFFC\uFFFCd");
    std::vector<const RichPicture*> pictures;
    for (const RichRun& run : read.document.paragraphs[0].runs) {
        if (run.format.picture) {
            pictures.push_back(run.format.picture.get());
        }
    }
    ASSERT_EQ(pictures.size(), 4u);
    const RichPicture& photo = *pictures[0];
    EXPECT_EQ(photo.typeWord, "pngblip");
    EXPECT_EQ(photo.otherWords, "\\piccropl0");
    EXPECT_EQ(photo.data.size(), png.size() / 2);
    EXPECT_EQ(photo.data.substr(1, 3), "PNG");
    EXPECT_TRUE(IsShowablePicture(photo));
    EXPECT_EQ(ShownPictureSize(photo).width, 150);
    EXPECT_EQ(ShownPictureSize(photo).height, 900);
    EXPECT_EQ(pictures[1]->typeWord, "jpegblip");
    EXPECT_EQ(pictures[1]->data, "\xFF\xD8\xFF\xD9");
    // Kinds the view cannot draw are kept for writing back; metafiles measure in 0.01 mm.
    EXPECT_EQ(pictures[2]->typeWord, "wmetafile8");
    EXPECT_EQ(pictures[2]->data, std::string("\x01\x02\x03\x04"));
    EXPECT_FALSE(IsShowablePicture(*pictures[2]));
    EXPECT_EQ(ShownPictureSize(*pictures[2]).width, 1440);
    EXPECT_EQ(ShownPictureSize(*pictures[2]).height, 720);
    EXPECT_EQ(pictures[3]->typeWord, "emfblip"); // a floating shape's picture, inline
    // The JPEG without a frame header cannot be shown, and the log is told so.
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.warnings[0],
              "A JPEG picture cannot be read; it is kept as it came and shows as a placeholder.");
}

TEST(RtfReader, PicturesBeyondTheLimitsAreLeftOutWithAWarning) {
    const std::string big(kMaxPictureBytes + 1, 'a');
    const RtfReadResult read =
        ReadRtf("{\\rtf1 a{\\pict\\pngblip\\bin" + std::to_string(big.size()) + " " + big +
                "}b{\\pict\\jpegblip}c{\\pict\\pngblip\\bin999999999 ab}}");
    EXPECT_EQ(read.document.Text(), U"abc");
    ASSERT_EQ(read.warnings.size(), 2u);
    EXPECT_EQ(read.warnings[0], "A PNG picture of 16 MB was left out: a picture may hold at most "
                                "16 MB, and the pictures of one text at most 64 MB.");
    EXPECT_EQ(read.warnings[1], "A JPEG picture without data was left out.");
    // Binary data runs to the end of the text at most, which leaves the picture unfinished.
    EXPECT_FALSE(read.complete);
}

// A resume written by a word processor: dates on right tabs with dotted leaders, highlights,
// capitals, hidden keywords, a table, a photo in PNG and one in JPEG.
TEST(RtfReader, AWordProcessorsResumeKeepsWhatItWrote) {
    const RichDocument document = ReadSample("libreoffice__resume");
    const auto& p = document.paragraphs;
    ASSERT_EQ(p.size(), 12u);
    EXPECT_EQ(p[3].format.tabCount, 1);
    EXPECT_EQ(p[3].format.tabs[0], MakeTab(9360, kTabRight, kLeaderDots));
    EXPECT_EQ(testing::Utf8(p[3].Text()),
              "Senior Analyst, Acme Corporation\tJan 2020 \u2013 Present");
    EXPECT_EQ(p[7].format.tabs[0], MakeTab(2880, kTabCenter, kLeaderUnderline));
    EXPECT_EQ(p[7].format.tabs[1], MakeTab(5760, kTabDecimal, kLeaderThick));
    EXPECT_TRUE(RunWith(document, U"Morgan Example").format.Has(kCfeSmallCaps));
    EXPECT_TRUE(RunWith(document, U"Experience").format.Has(kCfeAllCaps));
    EXPECT_EQ(RunWith(document, U"40 percent").format.backColor, 0x00FFFFu);
    EXPECT_EQ(RunWith(document, U"White on navy").format.backColor, 0x800000u);
    EXPECT_TRUE(RunWith(document, U"keywords").format.Has(kCfeHidden));
    EXPECT_TRUE(p[5].runs[1].format.Has(kCfeSuperscript));
    EXPECT_EQ(p[1].Text().find(U'\u2028'), 27u) << "the address's line break";
    EXPECT_EQ(p[4].format.numbering, kPfnBullet);
    EXPECT_EQ(p[4].format.bulletSymbol, 0u) << "Symbol's bullet is the standard one";
    // The table's rows: cells on one line, stops at the cells' right edges.
    EXPECT_EQ(testing::Utf8(p[9].Text()), "BSc Economics\tState University\t2012 \u2013 2016");
    ASSERT_EQ(p[9].format.tabCount, 2);
    EXPECT_EQ(p[9].format.tabs[0], MakeTab(3012));
    EXPECT_EQ(p[9].format.tabs[1], MakeTab(6132));
    // Each photo once: the metafile copy for older readers is not a second picture.
    std::vector<std::string> kinds;
    for (const RichParagraph& paragraph : p) {
        for (const RichRun& run : paragraph.runs) {
            if (run.format.picture) {
                kinds.push_back(run.format.picture->typeWord);
                EXPECT_TRUE(IsShowablePicture(*run.format.picture));
                EXPECT_EQ(run.format.picture->goalWidth, 900);
            }
        }
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"pngblip", "jpegblip"}));
}

TEST(RtfReader, AWordProcessorsOwnBulletsAndMarks) {
    const RichDocument document = ReadSample("libreoffice__lists-and-marks");
    const auto& p = document.paragraphs;
    ASSERT_EQ(p.size(), 6u);
    const char32_t symbols[] = {0xE00B, 0xE00B, 0xE009, 0xE008};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p[i + 1].format.numbering, kPfnBullet);
        EXPECT_EQ(p[i + 1].format.bulletSymbol, symbols[i]);
        EXPECT_EQ(p[i + 1].format.bulletFace, "OpenSymbol");
    }
    EXPECT_EQ(RunWith(document, U"highlighted").format.backColor, 0x00FFFFu);
    EXPECT_TRUE(RunWith(document, U"Small Caps").format.Has(kCfeSmallCaps));
    EXPECT_EQ(p[5].runs[7].format.offset, 80);
    EXPECT_EQ(p[5].runs[9].format.offset, -20);
    EXPECT_TRUE(p[5].runs[9].format.Has(kCfeSubscript));
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
