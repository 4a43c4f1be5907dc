#include "render/render_driver.h"
#include "render/rich_formats.h"
#include "render_fixture.h"

#include <gtest/gtest.h>
#include <limits>

namespace trellic {
namespace {

using testing::RenderFixture;
using testing::RunWith;

TEST(RenderResume, OnlyTheResumeEntryRendersAnEmptyView) {
    RenderFixture f;
    f.view.Buffer().InsertText(std::string_view("old text"));
    EXPECT_EQ(f.RenderText(kRendererRtf), "");
    EXPECT_EQ(f.RenderText(kRendererTxt), "");
    EXPECT_EQ(f.view.DefaultCharFormat().faceName, "Arial");
    EXPECT_EQ(f.view.DefaultCharFormat().height, 240);
}

TEST(RenderResume, TxtRendererIgnoresNodeFormats) {
    RenderFixture f;
    f.tree.resume->style.headerStyle.paraFormat.alignment = 3;
    f.AddHeader("Centred in RTF");
    f.RenderText(kRendererTxt);
    const auto run = RunWith(f.view.Buffer().Document(), U"Centred");
    EXPECT_EQ(run.format.faceName, "Arial");
    EXPECT_EQ(run.format.height, 240);
    EXPECT_FALSE(run.format.Has(kCfeBold));
    EXPECT_EQ(run.paragraph.alignment, kPfaLeft);

    const auto rich = RunWith(f.RenderRich(), U"Centred");
    EXPECT_EQ(rich.paragraph.alignment, kPfaCenter);
}

TEST(RenderResume, ListNumbersCountNumberedNodesAcrossTheStack) {
    RenderFixture f;
    f.AddSection("plain before", ""); // unnumbered, before any numbered node: 0
    f.AddHeader("one", false);
    f.tree.headers[0].style.paraFormat.numbering = 2;
    f.AddHeader("not numbered", false);
    f.AddTXTOutput("counted though not shown", true);
    f.tree.txtOutputs[0].paraFormat.numbering = 1;
    f.AddHeader("three", false);
    f.tree.headers[2].style.paraFormat.numbering = 5;

    const RichDocument& doc = f.RenderRich();
    const auto before = RunWith(doc, U"plain before").paragraph;
    EXPECT_EQ(before.numbering, kPfnNone);
    const auto one = RunWith(doc, U"one").paragraph;
    EXPECT_EQ(one.numbering, kPfnArabic);
    EXPECT_EQ(one.numberingStart, 1);
    const auto unnumbered = RunWith(doc, U"not numbered").paragraph;
    EXPECT_EQ(unnumbered.numbering, kPfnNone); // receives 1 but asks for none
    const auto three = RunWith(doc, U"three").paragraph;
    EXPECT_EQ(three.numbering, kPfnLowerRoman);
    EXPECT_EQ(three.numberingStart, 3);
}

TEST(RenderResume, DamagedEntriesWriteNothingButStillCountAsPreviousKind) {
    RenderFixture f;
    f.AddSLField("A", "a");
    f.Push({7, kKindSLField}); // no such record
    f.Push({0, NodeKind{99}}); // no such kind
    f.Push(kResumeEntry);      // the resume again
    f.Push({-1, kKindHeader});
    f.AddSLField("B", "b");
    // The field follows a header entry that wrote nothing: two breaks, as after a header.
    EXPECT_EQ(f.RenderText(kRendererTxt), "A: a\r\n\r\nB: b");
}

TEST(RenderResume, AbsurdSpacingIsBounded) {
    RenderFixture f;
    f.AddMLField("M", "x");
    f.tree.mlFields[0].fieldData.spacing = std::numeric_limits<int32_t>::max();
    f.tree.mlFields[0].style.paraFormat.indent = std::numeric_limits<int32_t>::max();
    f.tree.mlFields[0].inheritStyle = false;
    const std::string text = f.RenderText(kRendererTxt);
    EXPECT_LT(text.size(), 100000U);
}

TEST(RenderResume, RtfLineBreaksLeaveDefaultFormattedPlainLines) {
    RenderFixture f;
    f.tree.resume->style.headerStyle.paraFormat.alignment = 3;
    f.AddHeader("Title");
    f.AddHeader("Next");
    const RichDocument& doc = f.RenderRich();
    ASSERT_EQ(doc.paragraphs.size(), 4U);
    EXPECT_EQ(doc.paragraphs[0].format.alignment, kPfaCenter);
    for (const std::size_t empty : {1U, 2U}) {
        EXPECT_TRUE(doc.paragraphs[empty].runs.empty());
        EXPECT_EQ(doc.paragraphs[empty].format.alignment, kPfaLeft);
        EXPECT_EQ(doc.paragraphs[empty].markFormat.faceName, "Times New Roman");
    }
}

TEST(RenderResume, KeepsTheSelectionAndLeavesNothingToUndo) {
    RenderFixture f;
    f.AddHeader("Experience");
    f.RenderRich();
    f.view.SetSelection({2, 5});
    f.view.SetModified(true);
    f.tree.headers[0].header = "Work";
    f.RenderRich();
    EXPECT_EQ(f.view.Selection(), (TextRange{2, 4})); // as far as the new text reaches
    EXPECT_FALSE(f.view.IsModified());
    EXPECT_GE(f.view.UndoResets(), 1);
    EXPECT_EQ(f.view.ContentReplacements(), 2);
}

TEST(RenderResume, ResumeViewPathsKeepWordsAndSelection) {
    RenderFixture f;
    f.tree.dataSource = kDataSourceViewRtf;
    f.tree.renderer = kRendererRtf;
    auto& buffer = f.view.Buffer();
    RichCharFormat bold;
    bold.mask = kCfmBold;
    bold.Set(kCfeBold, true);
    buffer.SetSelectionCharFormat(bold);
    buffer.InsertText(std::string_view("Bold words\r\nsecond"));
    f.view.SetSelection({3, 8});
    RenderResume(f.tree, f.view);
    EXPECT_EQ(f.view.ExportText(), "Bold words\r\nsecond");
    EXPECT_TRUE(RunWith(buffer.Document(), U"Bold").format.Has(kCfeBold));
    EXPECT_EQ(f.view.Selection(), (TextRange{3, 8}));
    EXPECT_EQ(f.view.DefaultCharFormat().faceName, "Arial");

    f.tree.dataSource = kDataSourceViewTxt;
    f.tree.renderer = kRendererTxt;
    RenderResume(f.tree, f.view);
    EXPECT_EQ(f.view.ExportText(), "Bold words\r\nsecond");
    EXPECT_FALSE(RunWith(buffer.Document(), U"Bold").format.Has(kCfeBold));
    EXPECT_EQ(f.view.Selection(), (TextRange{3, 8}));
}

TEST(RenderResume, PlainTextResumeViewComesBackPlainInEveryParagraph) {
    // A rich Resume View switched to plain formatting: the first paragraph's bullet, centring,
    // spacing and indent must not spread over the rest, wherever the insertion point stands.
    RenderFixture f;
    auto& buffer = f.view.Buffer();
    buffer.InsertText(std::string_view("first\r\nsecond\r\nthird"));
    RichParaFormat fancy;
    fancy.mask = kPfmNumbering | kPfmAlignment | kPfmLineSpacing | kPfmStartIndent;
    fancy.numbering = kPfnBullet;
    fancy.alignment = kPfaCenter;
    fancy.lineSpacingRule = kLineSpacingDouble;
    fancy.startIndent = 720;
    f.view.SetSelection({0, 0});
    f.view.SetSelectionParaFormat(fancy);
    f.view.SetSelection({16, 16});

    f.tree.dataSource = kDataSourceViewTxt;
    f.tree.renderer = kRendererTxt;
    RenderResume(f.tree, f.view);
    EXPECT_EQ(f.view.ExportText(), "first\r\nsecond\r\nthird");
    for (const RichParagraph& paragraph : buffer.Document().paragraphs) {
        EXPECT_EQ(paragraph.format, PlainParaFormat());
    }
    EXPECT_EQ(f.view.Selection(), (TextRange{16, 16}));
}

TEST(RenderResume, MismatchedDataSourceAndRendererChangeNothing) {
    const std::pair<DataSource, Renderer> combinations[] = {{kDataSourceViewRtf, kRendererTxt},
                                                            {kDataSourceViewTxt, kRendererRtf},
                                                            {DataSource{7}, kRendererRtf}};
    for (const auto& [source, renderer] : combinations) {
        RenderFixture f;
        f.tree.dataSource = source;
        f.tree.renderer = renderer;
        RichCharFormat italic;
        italic.mask = kCfmItalic;
        italic.Set(kCfeItalic, true);
        f.view.Buffer().SetSelectionCharFormat(italic);
        f.view.Buffer().InsertText(std::string_view("keep me"));
        const RichDocument before = f.view.Buffer().Document();
        f.view.SetModified(true);
        RenderResume(f.tree, f.view);
        EXPECT_EQ(f.view.Buffer().Document(), before);
        EXPECT_TRUE(f.view.IsModified());
    }
}

TEST(ResetViewFormatting, PlainDefaultAndParagraph) {
    HeadlessResumeView view;
    RichParaFormat centred;
    centred.mask = kPfmAlignment | kPfmNumbering;
    centred.alignment = kPfaCenter;
    centred.numbering = kPfnBullet;
    view.SetSelectionParaFormat(centred);
    view.SetModified(true);
    ResetViewFormatting(view);
    const RichCharFormat plain = view.DefaultCharFormat();
    EXPECT_EQ(plain.faceName, "Arial");
    EXPECT_EQ(plain.height, 240);
    EXPECT_EQ(plain.color, 0U);
    EXPECT_FALSE(plain.Has(kCfeAutoColor));
    const RichParaFormat para = view.EndParagraphFormat();
    EXPECT_EQ(para.alignment, kPfaLeft);
    EXPECT_EQ(para.numbering, kPfnNone);
    EXPECT_FALSE(view.IsModified());
    EXPECT_EQ(view.UndoResets(), 1);
}

} // namespace
} // namespace trellic
