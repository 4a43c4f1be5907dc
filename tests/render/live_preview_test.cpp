#include "render/live_preview.h"
#include "render/rich_formats.h"
#include "render_fixture.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::RenderFixture;
using testing::RunWith;

// The resume of the fixture, rendered, with a preview over it.
struct PreviewFixture : RenderFixture {
    PreviewFixture() {
        AddHeader("Experience");
        AddSLField("Phone", "555 0100");
        RenderText(kRendererRtf);
        rendered = view.ExportRtf();
        stored = tree;
    }

    // The view still shows the stored resume, and the tree is as it was.
    void ExpectUntouched() const {
        EXPECT_EQ(view.ExportRtf(), rendered);
        EXPECT_EQ(static_cast<const NodeTables&>(tree), stored);
    }

    LivePreview preview{tree, view};
    std::string rendered;
    NodeTables stored;
};

TEST(LivePreview, ShowsPendingValuesWithoutStoringThem) {
    PreviewFixture f;
    const int header = f.preview.AddLayer([](NodeTree& copy) { copy.headers[0].header = "Work"; });
    EXPECT_EQ(f.view.ExportText(), "Experience\r\n\r\nPhone: 555 0100"); // nothing until shown
    ASSERT_TRUE(f.preview.Show());
    EXPECT_TRUE(f.preview.Showing());
    EXPECT_EQ(f.view.ExportText(), "Work\r\n\r\nPhone: 555 0100");
    EXPECT_EQ(f.tree.headers[0].header, "Experience");

    // Layers stack: an inner dialog's values come on top of the outer one's.
    const int field =
        f.preview.AddLayer([](NodeTree& copy) { copy.slFields[0].fieldData = "555 0199"; });
    ASSERT_TRUE(f.preview.Show());
    EXPECT_EQ(f.view.ExportText(), "Work\r\n\r\nPhone: 555 0199");

    // The inner dialog goes: the outer one's values stay on screen.
    f.preview.RemoveLayer(field);
    EXPECT_EQ(f.view.ExportText(), "Work\r\n\r\nPhone: 555 0100");
    // The last goes: the stored resume is back, exactly as rendered before.
    f.preview.RemoveLayer(header);
    EXPECT_FALSE(f.preview.Showing());
    f.ExpectUntouched();
}

TEST(LivePreview, ATextPreviewLeavesTheViewsDefaultFormatAlone) {
    PreviewFixture f;
    f.view.SetDefaultCharFormat(ToRichCharFormat(RenderFixture::Format("Georgia", 360)));
    const RichCharFormat before = f.view.DefaultCharFormat();
    const int layer = f.preview.AddLayer([](NodeTree& copy) {
        copy.renderer = kRendererTxt;
        copy.resume->renderer = kRendererTxt;
    });
    ASSERT_TRUE(f.preview.Show());
    EXPECT_EQ(RunWith(f.view.Buffer().Document(), U"Experience").format.faceName, "Arial");
    EXPECT_EQ(f.view.DefaultCharFormat(), before);
    EXPECT_EQ(f.tree.renderer, kRendererRtf);
    f.preview.RemoveLayer(layer);
    EXPECT_EQ(RunWith(f.view.Buffer().Document(), U"Experience").format.faceName, "Georgia");
}

TEST(LivePreview, WhatWasStoredMeanwhileIsWhatComesBack) {
    PreviewFixture f;
    const int layer = f.preview.AddLayer([](NodeTree& copy) { copy.headers[0].header = "Work"; });
    ASSERT_TRUE(f.preview.Show());
    // A command of the dialog writes the record at once (a preset, a character format).
    f.tree.headers[0].header = "Career";
    f.preview.RemoveLayer(layer);
    EXPECT_EQ(f.view.ExportText(), "Career\r\n\r\nPhone: 555 0100");
}

TEST(LivePreview, NothingIsShownOrRestoredOutsideTheNodes) {
    PreviewFixture f;
    // Removing a layer that never reached the screen leaves the view alone.
    f.view.Buffer().InsertText(std::string_view("typed"));
    const std::string typed = f.view.ExportRtf();
    f.preview.RemoveLayer(f.preview.AddLayer([](NodeTree& copy) { copy.headers.clear(); }));
    EXPECT_EQ(f.view.ExportRtf(), typed);

    // In the Resume View the text is the resume: a preview would throw it away.
    f.tree.dataSource = kDataSourceViewRtf;
    const int layer = f.preview.AddLayer([](NodeTree& copy) { copy.headers[0].header = "x"; });
    EXPECT_FALSE(f.preview.Show());
    EXPECT_FALSE(f.preview.Showing());
    f.preview.Restore();
    f.preview.RemoveLayer(layer);
    EXPECT_EQ(f.view.ExportRtf(), typed);
}

} // namespace
} // namespace trellic
