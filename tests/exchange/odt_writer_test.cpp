#include "exchange/odt_writer.h"
#include "office_package.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Count;
using testing::Font;
using testing::Part;
using testing::ReadZip;

RichParagraph Paragraph(std::u32string text, const RichCharFormat& format = Font("Arial", 200)) {
    RichParagraph paragraph;
    paragraph.format = PlainParaFormat();
    paragraph.markFormat = format;
    if (!text.empty()) {
        paragraph.runs.push_back({std::move(text), format});
    }
    return paragraph;
}

RichDocument Document(std::vector<RichParagraph> paragraphs) {
    RichDocument document;
    document.paragraphs = std::move(paragraphs);
    return document;
}

ExportResult Odt(const RichDocument& document, const DocumentProperties& properties = {}) {
    return WriteOdt(document, properties, RtfPage{});
}

TEST(OdtWriter, PackageStartsWithItsStoredMimeTypeAndListsItsParts) {
    const ExportResult result = Odt(Document({Paragraph(U"Hello")}));
    ASSERT_TRUE(result.ok) << result.error;
    const auto entries = ReadZip(result.bytes);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "mimetype");
    EXPECT_TRUE(entries[0].stored);
    EXPECT_EQ(entries[0].bytes, "application/vnd.oasis.opendocument.text");
    // Readers find the type at a fixed place: right after the first local header's name.
    EXPECT_EQ(result.bytes.substr(30, 8), "mimetype");
    EXPECT_EQ(result.bytes.substr(38, 39), "application/vnd.oasis.opendocument.text");
    const std::string manifest = Part(result, "META-INF/manifest.xml");
    for (const char* part : {"content.xml", "styles.xml", "meta.xml"}) {
        EXPECT_NE(manifest.find(std::string("manifest:full-path=\"") + part + "\""),
                  std::string::npos);
    }
}

TEST(OdtWriter, SpacesThatOdfWouldCollapseAreMarked) {
    const std::string content = Part(Odt(Document({Paragraph(U" a  b c\t d ")})), "content.xml");
    EXPECT_NE(content.find("<text:s/>a<text:s/><text:s/>b c<text:tab/><text:s/>d<text:s/>"),
              std::string::npos)
        << content;
}

TEST(OdtWriter, RunsAndParagraphsTakeStylesOfTheirOwn) {
    RichCharFormat bold = Font("Liberation Sans", 210);
    bold.effects = kCfeBold | kCfeUnderline | kCfeAutoColor;
    bold.underlineType = kCfuDotted;
    bold.pitchAndFamily = 0x22;
    RichCharFormat plain = Font("Liberation Sans", 210);
    plain.effects = 0;
    plain.color = 0x00336699;
    RichParagraph centred = Paragraph(U"", bold);
    centred.runs = {{U"Bold", bold}, {U" plain", plain}, {U" bold again", bold}};
    centred.format.alignment = kPfaCenter;
    centred.format.lineSpacingRule = kLineSpacingOneAndHalf;
    centred.format.spaceAfter = 120;
    const std::string content = Part(Odt(Document({centred})), "content.xml");
    // One text style per format, used wherever the format is.
    EXPECT_EQ(Count(content, "<style:style style:name=\"T"), 2u);
    EXPECT_EQ(Count(content, "text:style-name=\"T1\""), 2u);
    EXPECT_NE(content.find("fo:font-size=\"10.5pt\""), std::string::npos);
    EXPECT_NE(content.find("fo:font-weight=\"bold\""), std::string::npos);
    EXPECT_NE(content.find("style:use-window-font-color=\"true\""), std::string::npos);
    EXPECT_NE(content.find("style:text-underline-style=\"dotted\""), std::string::npos);
    EXPECT_NE(content.find("fo:color=\"#996633\""), std::string::npos);
    EXPECT_NE(content.find("fo:text-align=\"center\""), std::string::npos);
    EXPECT_NE(content.find("fo:margin-bottom=\"6pt\" fo:line-height=\"150%\""), std::string::npos);
    EXPECT_NE(content.find("<style:font-face style:name=\"Liberation Sans\" "
                           "svg:font-family=\"'Liberation Sans'\" "
                           "style:font-family-generic=\"swiss\" style:font-pitch=\"variable\"/>"),
              std::string::npos)
        << content;

    // What word processors' files bring: capitals, hidden text, a colour behind the text, tab
    // stops with their alignment and leader.
    RichCharFormat marked = plain;
    marked.effects = kCfeAllCaps | kCfeHidden;
    marked.backColor = 0x0000FFFF;
    RichParagraph dated = Paragraph(U"", plain);
    dated.runs = {{U"Analyst\t2020", plain}, {U"keywords", marked}};
    dated.format.tabCount = 2;
    dated.format.tabs[0] = MakeTab(300, kTabBar);
    dated.format.tabs[1] = MakeTab(9360, kTabRight, kLeaderDots);
    const std::string marks = Part(Odt(Document({dated})), "content.xml");
    EXPECT_NE(marks.find("fo:font-variant=\"normal\" fo:text-transform=\"uppercase\" "
                         "fo:background-color=\"#ffff00\" text:display=\"none\""),
              std::string::npos)
        << marks;
    EXPECT_NE(marks.find("<style:tab-stops><style:tab-stop style:position=\"468pt\" "
                         "style:type=\"right\" style:leader-style=\"dotted\" "
                         "style:leader-type=\"single\" style:leader-text=\".\"/>"
                         "</style:tab-stops>"),
              std::string::npos)
        << marks;
}

TEST(OdtWriter, ListsAndRulesAreListsAndBorders) {
    RichParagraph first = Paragraph(U"Senior Engineer");
    first.format.numbering = kPfnLowerRoman;
    first.format.numberingStyle = kPfnsParens;
    first.format.numberingStart = 4;
    RichParagraph second = first;
    RichParagraph bullet = Paragraph(U"Languages");
    bullet.format.numbering = kPfnBullet;
    RichCharFormat rule = Font("Arial", 320);
    rule.effects = 0;
    rule.color = 0x004F4F2F;
    const std::string content =
        Part(Odt(Document({Paragraph(U"Experience"), Paragraph(std::u32string(44, U'\u00AF'), rule),
                           first, second, bullet})),
             "content.xml");
    EXPECT_EQ(Count(content, "<text:list "), 2u);
    EXPECT_EQ(Count(content, "<text:list-item>"), 3u);
    EXPECT_NE(content.find("style:num-prefix=\"(\" style:num-suffix=\")\" style:num-format=\"i\" "
                           "text:start-value=\"4\""),
              std::string::npos)
        << content;
    EXPECT_NE(content.find("text:bullet-char=\"\xE2\x80\xA2\""), std::string::npos);
    EXPECT_NE(content.find("fo:border-bottom=\"1.1pt solid #2f4f4f\""), std::string::npos);
    EXPECT_EQ(content.find("\xC2\xAF"), std::string::npos); // no macron is written
}

TEST(OdtWriter, PageAndPropertiesAreTheDocumentsOwn) {
    DocumentProperties properties;
    properties.title = "Ann & Bo";
    properties.author = "Ann <ann@example.org>";
    properties.created = 1767225600;
    const ExportResult result = WriteOdt(Document({Paragraph(U"x")}), properties,
                                         RtfPage{11906, 16838, 2160, 2160, 1080, 1080});
    const std::string meta = Part(result, "meta.xml");
    EXPECT_NE(meta.find("<dc:title>Ann &amp; Bo</dc:title>"), std::string::npos);
    EXPECT_NE(meta.find("<meta:initial-creator>Ann &lt;ann@example.org&gt;</meta:initial-creator>"),
              std::string::npos);
    EXPECT_NE(meta.find("<meta:creation-date>2026-01-01T00:00:00Z</meta:creation-date>"),
              std::string::npos);
    const std::string styles = Part(result, "styles.xml");
    EXPECT_NE(styles.find("fo:page-width=\"595.3pt\" fo:page-height=\"841.9pt\""),
              std::string::npos)
        << styles;
    EXPECT_NE(styles.find("fo:margin-top=\"54pt\" fo:margin-bottom=\"54pt\" "
                          "fo:margin-left=\"108pt\" fo:margin-right=\"108pt\""),
              std::string::npos);
    EXPECT_NE(styles.find("style:tab-stop-distance=\"60pt\""), std::string::npos);
}

} // namespace
} // namespace trellic
