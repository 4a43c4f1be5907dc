#include "engine/text_file.h"
#include "render/node_renderers.h"
#include "render/rich_formats.h"
#include "render_fixture.h"
#include "richtext/rtf_reader.h"
#include "world_texts.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::RenderFixture;
using testing::RunWith;
using testing::U32;

// The resume of the worked example: a ruled header, an inheriting section with an indent and a
// plus bullet, and a single line field.
RenderFixture WorkedExample() {
    RenderFixture f;
    f.tree.resume->style.sectionStyle.paraFormat.indent = 1;
    f.tree.resume->style.sectionBullet = 15;
    f.AddHeader("EDUCATION", false);
    f.tree.headers[0].underline = true;
    f.AddSection("University", "BSc\r\nMajor: Science");
    f.AddSLField("Town", "Riverton", false);
    return f;
}

TEST(NodeRenderers, WorkedExampleUnderTheTxtRendererByteForByte) {
    RenderFixture f = WorkedExample();
    // As a .txt file holds it: the rule's macrons are Windows-1252 bytes, as they always were.
    EXPECT_EQ(EncodeTextFile(f.RenderText(kRendererTxt)),
              "EDUCATION\r\n" + std::string(58, '\xAF') +
                  "\r\n\r\n\r\n\t+ University\r\n"
                  "\t\tBSc\r\n\t\tMajor: Science\r\n\r\n"
                  "Town: Riverton");
}

TEST(NodeRenderers, WorkedExampleUnderTheRtfRendererRunByRun) {
    RenderFixture f = WorkedExample();
    const RichDocument& doc = f.RenderRich();
    ASSERT_EQ(doc.paragraphs.size(), 9U);

    const auto header = RunWith(doc, U"EDUCATION");
    EXPECT_EQ(header.format.faceName, "Own Header");
    EXPECT_EQ(header.format.height, 300);

    const auto rule = RunWith(doc, U"\u00AF\u00AF");
    EXPECT_EQ(rule.text, std::u32string(44, U'\u00AF'));
    EXPECT_EQ(rule.format.faceName, "Arial");
    EXPECT_EQ(rule.format.height, 320);
    EXPECT_TRUE(rule.format.Has(kCfeBold));

    // The two empty lines are in the resume's default format.
    EXPECT_EQ(doc.paragraphs[2].markFormat.faceName, "Times New Roman");
    EXPECT_EQ(doc.paragraphs[3].markFormat.faceName, "Times New Roman");

    const auto plus = RunWith(doc, U"+ ");
    EXPECT_EQ(plus.format.faceName, "Verdana");
    const auto title = RunWith(doc, U"University");
    EXPECT_TRUE(title.format.Has(kCfeBold)); // bold although the section style is not
    EXPECT_EQ(title.format.faceName, "Verdana");
    EXPECT_EQ(doc.paragraphs[4].Text(), U"\t+ University");

    // Inherited section data takes the multiple line field style, never bold.
    const auto data = RunWith(doc, U"BSc");
    EXPECT_EQ(data.format.faceName, "Calibri");
    EXPECT_FALSE(data.format.Has(kCfeBold));
    EXPECT_EQ(doc.paragraphs[5].Text(), U"\t\tBSc");
    EXPECT_EQ(doc.paragraphs[6].Text(), U"\t\tMajor: Science");

    const auto name = RunWith(doc, U"Town: ");
    EXPECT_TRUE(name.format.Has(kCfeBold));
    const auto value = RunWith(doc, U"Riverton");
    EXPECT_FALSE(value.format.Has(kCfeBold));
    EXPECT_EQ(value.format.faceName, "Own Line");
}

TEST(NodeRenderers, LeadingBreaksByPreviousKind) {
    struct Row {
        const char* name;
        int32_t kind;
        int afterResume, afterBlock, afterLine, afterOutput;
    };
    const Row rows[] = {
        {"header", kKindHeader, 0, 3, 3, 3},
        {"section", kKindResumeSection, 0, 3, 3, 3},
        {"single line field", kKindSLField, 0, 2, 1, 1},
        {"multiple line field", kKindMLField, 0, 2, 2, 1},
    };
    // What the node writes under the TXT renderer, and how to put it on the stack.
    auto add = [](RenderFixture& f, int32_t kind) -> std::string {
        switch (kind) {
        case kKindHeader:
            f.AddHeader("H");
            return "H";
        case kKindResumeSection:
            f.AddSection("S", "");
            return "S";
        case kKindSLField:
            f.AddSLField("L", "l");
            return "L: l";
        case kKindMLField:
            f.AddMLField("M", "");
            return "M:\r\n";
        case kKindTXTOutput:
            f.AddTXTOutput("T", false);
            return "T";
        default:
            f.AddRTFOutput("R", false); // writes nothing under the TXT renderer
            return "";
        }
    };
    const int32_t blocks[] = {kKindHeader, kKindMLField, kKindResumeSection};
    const int32_t outputs[] = {kKindTXTOutput, kKindRTFOutput};
    for (const Row& row : rows) {
        {
            RenderFixture f;
            const std::string text = add(f, row.kind);
            EXPECT_EQ(f.RenderText(kRendererTxt), text) << row.name << " first";
        }
        auto check = [&](int32_t previous, int breaks) {
            RenderFixture f;
            const std::string before = add(f, previous);
            const std::string text = add(f, row.kind);
            std::string expected = before;
            for (int i = 0; i < breaks; ++i) {
                expected += "\r\n";
            }
            EXPECT_EQ(f.RenderText(kRendererTxt), expected + text)
                << row.name << " after kind " << previous;
        };
        for (const int32_t previous : blocks) {
            check(previous, row.afterBlock);
        }
        check(kKindSLField, row.afterLine);
        for (const int32_t previous : outputs) {
            check(previous, row.afterOutput);
        }
    }
}

TEST(NodeRenderers, OutputsTakeTheirOwnSpacingExceptFirst) {
    RenderFixture first;
    first.AddTXTOutput("Text", false, 2);
    EXPECT_EQ(first.RenderText(kRendererTxt), "Text");

    RenderFixture second;
    second.AddHeader("H");
    second.AddTXTOutput("Text", false, 2);
    second.AddTXTOutput("More", false, 0);
    EXPECT_EQ(second.RenderText(kRendererTxt), "H\r\n\r\nTextMore");
}

TEST(NodeRenderers, IndentedMultiLineData) {
    RenderFixture f;
    f.AddMLField("Skills", "C++\r\nQt", false);
    f.tree.mlFields[0].style.paraFormat.indent = 2;
    f.tree.mlFields[0].fieldData.spacing = 2;
    f.AddSection("Job", "Led\r\nShipped", false);
    f.tree.resumeSections[0].style.paraFormat.indent = 1;
    f.AddTXTOutput("a\r\nb", false);
    f.tree.txtOutputs[0].paraFormat.indent = 3; // ignored without Use Formatting
    f.AddTXTOutput("c\r\nd", true);
    f.tree.txtOutputs[1].paraFormat.indent = 1;
    EXPECT_EQ(f.RenderText(kRendererTxt), "\t\tSkills:\r\n\r\n\r\n\t\tC++\r\n\t\tQt"
                                          "\r\n\r\n\r\n\tJob\r\n\t\tLed\r\n\t\tShipped"
                                          "a\r\nb"
                                          "\tc\r\n\td");
}

TEST(NodeRenderers, InheritOrOwnStyleForEveryKind) {
    for (const bool inherit : {true, false}) {
        RenderFixture f;
        f.AddHeader("Head", inherit);
        f.AddSection("Sect", "data", inherit);
        f.AddSLField("Line", "value", inherit);
        f.AddMLField("Lines", "more", inherit);
        const RichDocument& doc = f.RenderRich();
        EXPECT_EQ(RunWith(doc, U"Head").format.faceName, inherit ? "Georgia" : "Own Header");
        EXPECT_EQ(RunWith(doc, U"Sect").format.faceName, inherit ? "Verdana" : "Own Section");
        EXPECT_EQ(RunWith(doc, U"data").format.faceName, inherit ? "Calibri" : "Own Section");
        EXPECT_EQ(RunWith(doc, U"Line: ").format.faceName, inherit ? "Tahoma" : "Own Line");
        EXPECT_EQ(RunWith(doc, U"Lines:").format.faceName, inherit ? "Calibri" : "Own Lines");
        EXPECT_EQ(RunWith(doc, U"more").format.faceName, inherit ? "Calibri" : "Own Lines");
    }
}

TEST(NodeRenderers, BodyTextIsNeverBoldUnderlinedOrStruck) {
    RenderFixture f;
    auto& style = f.tree.resume->style.mlFieldStyle.charFormat;
    style.bold = style.underline = style.strikeout = true;
    f.tree.resume->style.slFieldStyle.charFormat.bold = true;
    f.AddMLField("Skills", "C++");
    f.AddSLField("Town", "Riverton");
    const RichDocument& doc = f.RenderRich();
    const auto data = RunWith(doc, U"C++");
    EXPECT_FALSE(data.format.Has(kCfeBold) || data.format.Has(kCfeUnderline) ||
                 data.format.Has(kCfeStrikeout));
    EXPECT_FALSE(RunWith(doc, U"Riverton").format.Has(kCfeBold));
    EXPECT_TRUE(RunWith(doc, U"Skills:").format.Has(kCfeUnderline));
}

TEST(NodeRenderers, IndentTabsOfAnUnderlinedHeaderAreNotUnderlined) {
    RenderFixture f;
    f.tree.resume->style.headerStyle.charFormat.underline = true;
    f.tree.resume->style.headerStyle.paraFormat.indent = 2;
    f.AddHeader("Profile");
    const RichDocument& doc = f.RenderRich();
    EXPECT_EQ(doc.paragraphs[0].Text(), U"\t\tProfile");
    EXPECT_FALSE(RunWith(doc, U"\t\t").format.Has(kCfeUnderline));
    EXPECT_TRUE(RunWith(doc, U"Profile").format.Has(kCfeUnderline));
}

TEST(NodeRenderers, BulletsByRenderer) {
    RenderFixture f;
    f.tree.resume->style.slFieldStyle.charFormat.color = 0x00336699;
    f.tree.resume->style.slFieldBullet = 13; // Tick
    f.AddSLField("A", "a");
    const RichDocument& doc = f.RenderRich();
    const auto tick = RunWith(doc, U"\u00FC ");
    EXPECT_EQ(tick.format.faceName, "Wingdings");
    EXPECT_EQ(tick.format.charSet, kSymbolCharSet);
    EXPECT_EQ(tick.format.height, 240);
    EXPECT_EQ(tick.format.color, 0x00336699U);
    EXPECT_EQ(RunWith(doc, U"A: ").format.faceName, "Tahoma");

    EXPECT_EQ(f.RenderText(kRendererTxt), "A: a");
    f.tree.resume->style.slFieldBullet = 15;
    EXPECT_EQ(f.RenderText(kRendererTxt), "+ A: a");
    EXPECT_EQ(RunWith(f.RenderRich(), U"+ ").format.faceName, "Tahoma");
    for (const int32_t outside : {-1, 17, 1000}) {
        f.tree.resume->style.slFieldBullet = outside;
        EXPECT_EQ(f.RenderText(kRendererTxt), "A: a");
    }
}

TEST(NodeRenderers, RtfOutputWithAndWithoutFormatting) {
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs20 "
                            "Signed\\par}";
    RenderFixture plain;
    plain.tree.rtfOutputs.clear();
    plain.AddRTFOutput(rtf, false);
    const auto inserted = RunWith(plain.RenderRich(), U"Signed");
    EXPECT_EQ(inserted.text.find(U"rtf1"), std::u32string::npos);
    EXPECT_EQ(inserted.format.faceName, "Courier New");

    RenderFixture literal;
    literal.AddRTFOutput(rtf, true);
    const RichDocument& doc = literal.RenderRich();
    EXPECT_EQ(doc.paragraphs[0].Text(), U32(rtf));
    EXPECT_EQ(literal.RenderText(kRendererTxt), "");
}

TEST(NodeRenderers, EveryKindShowsEveryScriptUnderBothRenderers) {
    for (const auto& world : testing::WorldTexts()) {
        SCOPED_TRACE(world.language);
        RenderFixture f;
        f.AddHeader(world.name, false);
        f.AddSection(world.name, world.sentence);
        f.AddSLField(world.name, world.sentence);
        f.AddMLField(world.name, world.sentence);
        f.AddRTFOutput(world.sentence, true);
        // A node's RTF is UTF-8 too: its raw characters are themselves.
        f.AddRTFOutput("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + world.name + "}", false);
        f.AddTXTOutput(world.sentence, false);

        const std::string txt = f.RenderText(kRendererTxt);
        EXPECT_NE(txt.find(world.name + ": " + world.sentence), std::string::npos);
        EXPECT_EQ(txt.find('?'), std::string::npos);

        f.RenderRich();
        const std::string text = f.view.ExportText();
        std::size_t names = 0;
        for (std::size_t at = text.find(world.name); at != std::string::npos;
             at = text.find(world.name, at + 1)) {
            ++names;
        }
        EXPECT_EQ(names, 5U) << text;
        // The view's RTF carries them as \\uN in fonts of their script and reads back whole.
        const std::string rtf = f.view.ExportRtf();
        EXPECT_NE(rtf.find("\\u"), std::string::npos);
        EXPECT_EQ(ReadRtf(rtf).document.Text(), f.view.Buffer().Document().Text());
    }
}

TEST(NodeRenderers, EffectiveNumberingFollowsInheritanceAndUseFormatting) {
    RenderFixture f;
    f.tree.resume->style.headerStyle.paraFormat.numbering = 2;
    const auto inherited = f.AddHeader("A");
    const auto own = f.AddHeader("B", false);
    const auto output = f.AddTXTOutput("x", false);
    f.tree.txtOutputs[0].paraFormat.numbering = 3;
    EXPECT_EQ(EffectiveNumbering(f.tree, inherited), 2);
    EXPECT_EQ(EffectiveNumbering(f.tree, own), 0);
    EXPECT_EQ(EffectiveNumbering(f.tree, output), 0);
    f.tree.txtOutputs[0].useFormatting = true;
    EXPECT_EQ(EffectiveNumbering(f.tree, output), 3);
    EXPECT_EQ(EffectiveNumbering(f.tree, {5, kKindHeader}), 0);
}

} // namespace
} // namespace trellic
