#include "exchange/docx_writer.h"
#include "office_package.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Count;
using testing::Font;
using testing::Part;
using testing::ReadZip;

RichDocument OneParagraph(std::vector<RichRun> runs) {
    RichDocument document;
    document.paragraphs[0].format = PlainParaFormat();
    document.paragraphs[0].markFormat = PlainCharFormat();
    document.paragraphs[0].runs = std::move(runs);
    return document;
}

ExportResult Docx(const RichDocument& document, const DocumentProperties& properties = {}) {
    return WriteDocx(document, properties, RtfPage{});
}

TEST(DocxWriter, PackageHoldsEveryPartWithItsTypeAndRelationship) {
    const ExportResult result = Docx(OneParagraph({{U"Hello", Font("Arial")}}));
    ASSERT_TRUE(result.ok) << result.error;
    std::vector<std::string> names;
    for (const auto& entry : ReadZip(result.bytes)) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "[Content_Types].xml", "_rels/.rels", "word/document.xml",
                         "word/styles.xml", "word/numbering.xml", "word/settings.xml",
                         "word/_rels/document.xml.rels", "docProps/core.xml", "docProps/app.xml"}));
    const std::string types = Part(result, "[Content_Types].xml");
    for (const char* part : {"/word/document.xml", "/word/styles.xml", "/word/numbering.xml",
                             "/word/settings.xml", "/docProps/core.xml", "/docProps/app.xml"}) {
        EXPECT_NE(types.find(std::string("PartName=\"") + part + "\""), std::string::npos) << part;
    }
    const std::string rels = Part(result, "word/_rels/document.xml.rels");
    for (const char* target : {"styles.xml", "numbering.xml", "settings.xml"}) {
        EXPECT_NE(rels.find(std::string("Target=\"") + target + "\""), std::string::npos);
    }
}

TEST(DocxWriter, RunsCarryTheirFontsSizesEffectsAndColours) {
    RichCharFormat all = Font("Times New Roman", 210);
    all.effects = kCfeBold | kCfeItalic | kCfeStrikeout | kCfeUnderline | kCfeSuperscript;
    all.underlineType = kCfuDouble;
    all.color = 0x00336699;
    RichCharFormat words = Font("Arial", 200);
    words.effects = kCfeUnderline | kCfeSubscript | kCfeAutoColor;
    words.underlineType = kCfuWord;
    const std::string document =
        Part(Docx(OneParagraph({{U"all", all}, {U"words", words}})), "word/document.xml");
    EXPECT_NE(document.find("<w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New "
                            "Roman\" w:cs=\"Times New Roman\" w:eastAsia=\"Times New Roman\"/>"
                            "<w:b/><w:bCs/><w:i/><w:iCs/><w:strike/><w:color w:val=\"996633\"/>"
                            "<w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/><w:u w:val=\"double\"/>"
                            "<w:vertAlign w:val=\"superscript\"/></w:rPr>"
                            "<w:t xml:space=\"preserve\">all</w:t>"),
              std::string::npos)
        << document;
    EXPECT_NE(document.find("<w:color w:val=\"auto\"/><w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/>"
                            "<w:u w:val=\"words\"/><w:vertAlign w:val=\"subscript\"/>"),
              std::string::npos);

    // What word processors' files bring: capitals, hidden text, a colour behind the text.
    RichCharFormat marked = Font("Arial", 200);
    marked.effects = kCfeAllCaps | kCfeSmallCaps | kCfeHidden | kCfeAutoColor;
    marked.backColor = 0x0000FFFF;
    EXPECT_NE(Part(Docx(OneParagraph({{U"keywords", marked}})), "word/document.xml")
                  .find("<w:caps/><w:smallCaps/><w:vanish/><w:color w:val=\"auto\"/>"
                        "<w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/>"
                        "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"FFFF00\"/></w:rPr>"),
              std::string::npos);
}

TEST(DocxWriter, ParagraphFormatsBecomeSpacingIndentsAlignmentAndStops) {
    RichDocument document = OneParagraph({{U"Text", Font("Arial")}});
    RichParaFormat& format = document.paragraphs[0].format;
    format.alignment = kPfaJustify;
    format.startIndent = 720;
    format.offset = 360;
    format.rightIndent = 100;
    format.spaceBefore = 120;
    format.spaceAfter = 240;
    format.lineSpacingRule = kLineSpacingExactly;
    format.lineSpacing = 300;
    format.tabCount = 2;
    format.tabs[0] = 1440;
    format.tabs[1] = 2880;
    const std::string xml = Part(Docx(document), "word/document.xml");
    EXPECT_NE(xml.find("<w:tabs><w:tab w:val=\"left\" w:pos=\"1440\"/><w:tab w:val=\"left\" "
                       "w:pos=\"2880\"/></w:tabs><w:spacing w:before=\"120\" w:after=\"240\" "
                       "w:line=\"300\" w:lineRule=\"exact\"/><w:ind w:left=\"1080\" "
                       "w:right=\"100\" w:hanging=\"360\"/><w:jc w:val=\"both\"/>"),
              std::string::npos)
        << xml;
    format.tabCount = 3;
    format.tabs[0] = MakeTab(1440, kTabCenter, kLeaderHyphens);
    format.tabs[1] = MakeTab(2880, kTabDecimal);
    format.tabs[2] = MakeTab(9360, kTabRight, kLeaderDots);
    EXPECT_NE(Part(Docx(document), "word/document.xml")
                  .find("<w:tabs><w:tab w:val=\"center\" w:leader=\"hyphen\" w:pos=\"1440\"/>"
                        "<w:tab w:val=\"decimal\" w:pos=\"2880\"/><w:tab w:val=\"right\" "
                        "w:leader=\"dot\" w:pos=\"9360\"/></w:tabs>"),
              std::string::npos);

    for (const auto& [rule, spacing, expected] :
         {std::tuple{kLineSpacingOneAndHalf, 0, "w:line=\"360\" w:lineRule=\"auto\""},
          std::tuple{kLineSpacingDouble, 0, "w:line=\"480\" w:lineRule=\"auto\""},
          std::tuple{kLineSpacingAtLeast, 280, "w:line=\"280\" w:lineRule=\"atLeast\""},
          std::tuple{kLineSpacingMultiple, 30, "w:line=\"360\" w:lineRule=\"auto\""},
          std::tuple{kLineSpacingExactly, 0, "w:line=\"240\" w:lineRule=\"auto\""}}) {
        format.lineSpacingRule = rule;
        format.lineSpacing = spacing;
        EXPECT_NE(Part(Docx(document), "word/document.xml").find(expected), std::string::npos)
            << expected;
    }
}

TEST(DocxWriter, NumberedParagraphsAreListsThatStartWhereTheViewStartsThem) {
    RichDocument document;
    document.paragraphs.clear();
    const std::tuple<uint16_t, uint16_t, uint16_t> kinds[] = {
        {kPfnArabic, kPfnsParen, 1},      {kPfnArabic, kPfnsParen, 1},
        {kPfnUpperRoman, kPfnsPeriod, 3}, {kPfnLowerLetter, kPfnsParens, 2},
        {kPfnBullet, kPfnsPlain, 0},      {kPfnUpperLetter, kPfnsPlain, 7},
    };
    for (const auto& [numbering, style, start] : kinds) {
        RichParagraph paragraph;
        paragraph.format = PlainParaFormat();
        paragraph.format.numbering = numbering;
        paragraph.format.numberingStyle = style;
        paragraph.format.numberingStart = start;
        paragraph.runs.push_back({U"item", Font("Arial")});
        document.paragraphs.push_back(paragraph);
    }
    const ExportResult result = Docx(document);
    const std::string numbering = Part(result, "word/numbering.xml");
    EXPECT_EQ(Count(numbering, "<w:abstractNum "), 5u);
    for (const char* level :
         {"<w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1)\"/>",
          "<w:start w:val=\"3\"/><w:numFmt w:val=\"upperRoman\"/><w:lvlText w:val=\"%1.\"/>",
          "<w:start w:val=\"2\"/><w:numFmt w:val=\"lowerLetter\"/><w:lvlText w:val=\"(%1)\"/>",
          "<w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"\xE2\x80\xA2\"/>",
          "<w:start w:val=\"7\"/><w:numFmt w:val=\"upperLetter\"/><w:lvlText w:val=\"%1\"/>"}) {
        EXPECT_NE(numbering.find(level), std::string::npos) << level;
    }
    const std::string xml = Part(result, "word/document.xml");
    // The first two paragraphs are one list; the others each start their own.
    EXPECT_EQ(Count(xml, "<w:numId w:val=\"1\"/>"), 2u);
    for (int id = 2; id <= 5; ++id) {
        EXPECT_EQ(Count(xml, "<w:numId w:val=\"" + std::to_string(id) + "\"/>"), 1u) << id;
    }
}

TEST(DocxWriter, TextIsEscapedWithBreaksTabsAndSymbolsAsWordWritesThem) {
    RichCharFormat wingdings = Font("Wingdings", 240);
    wingdings.charSet = kSymbolCharSet;
    const std::string xml =
        Part(Docx(OneParagraph({{U"R&D <team>\tnext\u2028line\x01 \U0001F600", Font("Arial")},
                                {{0xFC, U' ', 0x30}, wingdings}})),
             "word/document.xml");
    EXPECT_NE(xml.find("w:ascii=\"Segoe UI Symbol\""), std::string::npos);
    EXPECT_NE(xml.find("<w:t xml:space=\"preserve\">\xE2\x9C\x94 </w:t>"), std::string::npos);
    // A byte that stands for no character keeps its font.
    EXPECT_NE(xml.find("w:ascii=\"Wingdings\""), std::string::npos);
    EXPECT_NE(xml.find("<w:t xml:space=\"preserve\">\xEF\x80\xB0</w:t>"), std::string::npos);
    EXPECT_NE(xml.find("<w:t xml:space=\"preserve\">R&amp;D &lt;team&gt;</w:t><w:tab/>"
                       "<w:t xml:space=\"preserve\">next</w:t><w:br/>"
                       "<w:t xml:space=\"preserve\">line \xF0\x9F\x98\x80</w:t>"),
              std::string::npos)
        << xml;
}

TEST(DocxWriter, PageAndPropertiesAreTheDocumentsOwn) {
    DocumentProperties properties;
    properties.title = "Ann & Bo's <CV>";
    properties.author = "Ann \xC3\x85str\xC3\xB6m";
    properties.subject = "Resume";
    properties.created = 1767225600; // 2026-01-01
    RtfPage a4{11906, 16838, 2160, 2160, 1080, 1080};
    const ExportResult result = WriteDocx(OneParagraph({{U"x", Font("Arial")}}), properties, a4);
    const std::string core = Part(result, "docProps/core.xml");
    EXPECT_NE(core.find("<dc:title>Ann &amp; Bo's &lt;CV&gt;</dc:title>"), std::string::npos);
    EXPECT_NE(core.find("<dc:creator>Ann \xC3\x85str\xC3\xB6m</dc:creator>"), std::string::npos);
    EXPECT_NE(core.find("<dc:subject>Resume</dc:subject>"), std::string::npos);
    EXPECT_NE(core.find(">2026-01-01T00:00:00Z</dcterms:created>"), std::string::npos);
    EXPECT_NE(Part(result, "docProps/app.xml").find("<Application>Trellic"), std::string::npos);
    const std::string xml = Part(result, "word/document.xml");
    EXPECT_NE(xml.find("<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1080\" "
                       "w:right=\"2160\" w:bottom=\"1080\" w:left=\"2160\""),
              std::string::npos)
        << xml;

    a4.left = 10000;
    const ExportResult refused = WriteDocx(OneParagraph({}), properties, a4);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.bytes.empty());
    EXPECT_EQ(refused.error, "the page margins leave no room for text");
}

} // namespace
} // namespace trellic
