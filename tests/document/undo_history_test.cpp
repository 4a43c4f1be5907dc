#include "document/undo_history.h"
#include "document_fixture.h"
#include "render/render_driver.h"
#include "tree_compare.h"
#include "tree_factory.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using namespace testing;

// A resume of three active headers, rendered, with a history over it.
struct UndoFixture : DocumentFixture {
    UndoFixture() {
        for (const char* text : {"One", "Two", "Three"}) {
            HeaderNode& header = tree.headers.emplace_back();
            header.header = text;
            header.inheritStyle = true;
            tree.activeStack.push_back(
                {static_cast<int32_t>(tree.headers.size() - 1), kKindHeader});
        }
        RenderResume(tree, view);
    }

    std::vector<std::string> HeaderTexts() const {
        std::vector<std::string> texts;
        for (const HeaderNode& header : tree.headers) {
            texts.push_back(header.header);
        }
        return texts;
    }

    UndoHistory history{tree, view, doc};
};

TEST(TreeState, CarriesEveryRecordStackAndSetting) {
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        NodeTree random = TreeFactory(seed).RandomTree();
        random.dataSource = kDataSourceViewTxt;
        random.filePath = "/somewhere/cv.txt";
        NodeTree copy{std::string()};
        ApplyTree(CaptureTree(random), copy);
        ExpectSameResume(random, copy);
        EXPECT_EQ(copy.dataSource, kDataSourceViewTxt);
        EXPECT_EQ(copy.filePath, random.filePath);
        EXPECT_EQ(CaptureTree(copy), CaptureTree(random));
    }
}

TEST(UndoHistory, TreeCommandsUndoAndRedoWithTheirRendering) {
    UndoFixture f;
    const std::string threeHeaders = f.view.ExportText();
    {
        UndoScope step(&f.history, "Delete Node");
        DeleteNode(f.tree, {1, kKindHeader}, StackId::Active, 2);
        RenderResume(f.tree, f.view);
    }
    const std::string twoHeaders = f.view.ExportText();
    {
        UndoScope step(&f.history, "Make Node Inactive");
        DeactivateStackEntry(f.tree, 1);
        RenderResume(f.tree, f.view);
    }
    ASSERT_TRUE(f.history.CanUndo());
    EXPECT_EQ(f.history.UndoName(), "Make Node Inactive");
    EXPECT_FALSE(f.history.CanRedo());

    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.tree.inactiveStack.size(), 0U);
    EXPECT_EQ(f.view.ExportText(), twoHeaders); // undoing renders
    EXPECT_EQ(f.history.UndoName(), "Delete Node");
    EXPECT_EQ(f.history.RedoName(), "Make Node Inactive");

    ASSERT_TRUE(f.history.Undo());
    // The deleted record is back in its place and the renumbered entry points at it again.
    EXPECT_EQ(f.HeaderTexts(), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(f.tree.activeStack,
              (std::vector<StackEntry>{
                  kResumeEntry, {0, kKindHeader}, {1, kKindHeader}, {2, kKindHeader}}));
    EXPECT_EQ(f.view.ExportText(), threeHeaders);
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_FALSE(f.history.Undo());

    ASSERT_TRUE(f.history.Redo());
    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.HeaderTexts(), (std::vector<std::string>{"One", "Three"}));
    EXPECT_EQ(f.tree.inactiveStack, (std::vector<StackEntry>{{0, kKindHeader}}));
    EXPECT_FALSE(f.history.Redo());
}

TEST(UndoHistory, OneStepPerCommandAndNoneForNoChange) {
    UndoFixture f;
    int notices = 0;
    f.history.SetChangeListener([&notices] { ++notices; });
    {
        // A refused move re-renders but changes nothing.
        UndoScope step(&f.history, "Move Node Up");
        MoveStackEntry(f.tree, f.prompter, 1, StackId::Active, MoveDirection::Up);
        RenderResume(f.tree, f.view);
    }
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_EQ(notices, 0);
    {
        // A command that runs others (a dialog's preset load inside an inspection) is one step.
        UndoScope outer(&f.history, "Edit Header");
        f.tree.headers[0].header = "First";
        {
            UndoScope inner(&f.history, "Load Preset");
            f.tree.headers[0].underline = true;
        }
        f.tree.headers[0].inheritStyle = false;
    }
    EXPECT_EQ(f.history.UndoName(), "Edit Header");
    EXPECT_EQ(notices, 1);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_EQ(f.tree.headers[0].header, "One");
    EXPECT_FALSE(f.tree.headers[0].underline);
    EXPECT_TRUE(f.tree.headers[0].inheritStyle);

    // No history, no step, and nothing breaks.
    UndoScope nothing(nullptr, "Delete Node");
    nothing.Commit();
}

TEST(UndoHistory, NewCommandForgetsRedoAndDepthIsBounded) {
    UndoFixture f;
    UndoHistory shallow(f.tree, f.view, f.doc, 3);
    for (int i = 0; i < 5; ++i) {
        UndoScope step(&shallow, "Edit " + std::to_string(i));
        f.tree.headers[0].header = "Text " + std::to_string(i);
    }
    int undone = 0;
    while (shallow.Undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(f.tree.headers[0].header, "Text 1");

    ASSERT_TRUE(shallow.Redo());
    EXPECT_EQ(shallow.RedoName(), "Edit 3");
    {
        UndoScope step(&shallow, "Delete Node");
        DeleteNode(f.tree, {2, kKindHeader}, StackId::Active, 3);
    }
    EXPECT_FALSE(shallow.CanRedo());
    EXPECT_EQ(shallow.UndoName(), "Delete Node");

    // Typing in the view is newer than anything undone.
    ASSERT_TRUE(shallow.Undo());
    ASSERT_TRUE(shallow.CanRedo());
    shallow.ClearRedo();
    EXPECT_FALSE(shallow.CanRedo());
    EXPECT_TRUE(shallow.CanUndo());
}

TEST(UndoHistory, AReplacedResumeTakesItsHistoryAlong) {
    UndoFixture f;
    {
        UndoScope step(&f.history, "Delete Node");
        DeleteNode(f.tree, {0, kKindHeader}, StackId::Active, 1);
    }
    ASSERT_TRUE(f.history.CanUndo());
    f.prompter.saveChoices.push_back(SaveChoice::Discard); // the fixture's nodes are unsaved
    ASSERT_TRUE(f.doc.FileNew());
    // Undoing now would put the old resume's nodes into the new one.
    EXPECT_FALSE(f.history.CanUndo());
    EXPECT_EQ(f.history.UndoName(), "");
    EXPECT_FALSE(f.history.Undo());
    EXPECT_TRUE(f.tree.headers.empty());

    // The new resume has a history of its own.
    {
        UndoScope step(&f.history, "Create Header");
        f.tree.headers.emplace_back().header = "New";
        f.tree.activeStack.push_back({0, kKindHeader});
    }
    ASSERT_TRUE(f.history.Undo());
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_FALSE(f.history.CanUndo());
}

TEST(UndoHistory, ConversionToTheResumeViewIsUndoneAndRedone) {
    UndoFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    f.prompter.saveChoices.push_back(SaveChoice::Discard); // the fixture's nodes are unsaved
    ASSERT_TRUE(f.Open(path));
    const std::string rendered = f.view.ExportText();
    {
        UndoScope step(&f.history, "Convert to Resume View");
        f.prompter.answers.push_back(true);
        f.doc.SetDataSource(CTLXDoc::kSetResumeView);
    }
    ASSERT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    ASSERT_TRUE(f.tree.headers.empty());
    // The view's text is the resume now: the user edits it.
    f.view.SetSelection({0, 0});
    f.view.Buffer().InsertText("My ");
    const std::string edited = f.view.ExportText();

    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    EXPECT_EQ(f.doc.Marks().dataSource, kDataSourceNodes);
    ASSERT_EQ(f.tree.headers.size(), 1U);
    EXPECT_EQ(f.tree.headers[0].header, "Experience");
    EXPECT_EQ(f.tree.filePath, path); // Save writes the nodes back where they came from
    EXPECT_EQ(f.view.ExportText(), rendered);
    EXPECT_TRUE(f.doc.RequireNodeDataSource());

    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.doc.Marks().dataSource, kDataSourceViewRtf);
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_TRUE(f.tree.filePath.empty());
    EXPECT_EQ(f.view.ExportText(), rendered);
    EXPECT_NE(edited, rendered);
}

TEST(UndoHistory, RendererSwitchInTheResumeViewGivesItsFormattingBack) {
    UndoFixture f;
    const std::string rtf = f.dir.File("cv.rtf");
    WriteFileBytes(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  plain\\par}");
    f.prompter.saveChoices.push_back(SaveChoice::Discard); // the fixture's nodes are unsaved
    ASSERT_TRUE(f.Open(rtf));
    ASSERT_NE(f.view.ExportRtf().find("\\b "), std::string::npos);
    {
        UndoScope step(&f.history, "Set Renderer");
        f.doc.SetRenderer(kRendererTxt, true);
    }
    ASSERT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    ASSERT_EQ(f.view.ExportRtf().find("\\b "), std::string::npos);

    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.tree.renderer, kRendererRtf);
    EXPECT_EQ(f.doc.Marks().renderer, kRendererRtf);
    EXPECT_EQ(f.tree.filePath, rtf);
    EXPECT_NE(f.view.ExportRtf().find("\\b "), std::string::npos);
    EXPECT_EQ(f.view.ExportText(), "Bold plain");

    // A path chosen after the step is the user's newer choice: undoing keeps it.
    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.doc.Marks().renderer, kRendererTxt);
    f.tree.filePath = f.dir.File("elsewhere.txt");
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.tree.filePath, f.dir.File("elsewhere.txt"));
}

TEST(UndoHistory, RedoOfADialogStepBringsTheRendererAlong) {
    UndoFixture f;
    {
        // A preset loaded in the Resume dialog changes the resume's renderer; the designer
        // switches the tree's only when the dialog has closed, outside the step.
        UndoScope step(&f.history, "Load Preset");
        f.tree.resume->renderer = kRendererTxt;
    }
    f.doc.SetRenderer(kRendererTxt, true);
    ASSERT_TRUE(f.history.Undo());
    EXPECT_EQ(f.tree.renderer, kRendererRtf);
    EXPECT_EQ(f.doc.Marks().renderer, kRendererRtf);
    ASSERT_TRUE(f.history.Redo());
    EXPECT_EQ(f.tree.resume->renderer, kRendererTxt);
    EXPECT_EQ(f.tree.renderer, kRendererTxt);
    EXPECT_EQ(f.doc.Marks().renderer, kRendererTxt);
}

} // namespace
} // namespace trellic
