#include "editors/resume_designer.h"
#include "editors/resume_explorer.h"
#include "editors/resume_setup_dlg.h"
#include "editors/styles_setup_dlg.h"
#include "editors_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Child;
using testing::EditorBench;
using testing::OnNextModal;

void Trigger(QWidget& window, const char* action) {
    auto* found = window.findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
}

// Takes every step back, newest first, and says which.
std::vector<std::string> UndoAll(UndoHistory& history) {
    std::vector<std::string> names;
    while (history.CanUndo()) {
        names.push_back(history.UndoName());
        history.Undo();
    }
    return names;
}

TEST(UndoSteps, EveryDesignerCommandIsOneStepAndUndoingRestoresTheTree) {
    EditorBench bench;
    bench.AddHeader("One");
    bench.AddHeader("Two");
    bench.AddHeader("Three", false);
    RenderNow(bench.context);
    const TreeState start = CaptureTree(bench.tree);
    const std::string startText = bench.ViewText();
    {
        CResumeDesignerDlg d(bench.context);
        d.NodeList()->setCurrentRow(2);
        Trigger(d, "moveNodeUp");
        Trigger(d, "duplicateNode");
        Trigger(d, "makeNodeInactive");
        bench.prompter.answers.push_back(true);
        Trigger(d, "deleteNode");
        bench.prompter.answers.push_back(false); // a declined delete is no step
        Trigger(d, "deleteNode");
        d.StackChooser()->setCurrentIndex(1);
        d.NodeList()->setCurrentRow(0);
        Trigger(d, "makeNodeActive");
        d.NodeList()->setCurrentRow(0);
        Trigger(d, "moveNodeUp"); // the first inactive line cannot go up: no step
    }
    ASSERT_NE(CaptureTree(bench.tree), start);

    EXPECT_EQ(UndoAll(bench.history),
              (std::vector<std::string>{"Make Node Active", "Delete Node", "Make Node Inactive",
                                        "Duplicate Node", "Move Node Up"}));
    EXPECT_EQ(CaptureTree(bench.tree), start);
    EXPECT_EQ(bench.ViewText(), startText);
}

TEST(UndoSteps, ResumeDialogStepsAndTheDesignersRendererFollowUp) {
    EditorBench bench;
    testing::TempDir temp;
    ResumeNode preset = *bench.tree.resume;
    preset.name = "From preset";
    preset.renderer = kRendererTxt;
    const std::string path = temp.File("plain.nod");
    bench.prompter.files.push_back(path);
    ASSERT_TRUE(SavePresetAs(PresetParts::ForResume(preset), bench.prompter));
    const ResumeNode before = *bench.tree.resume;

    CResumeDesignerDlg designer(bench.context);
    designer.NodeList()->setCurrentRow(0);
    OnNextModal([&](QWidget* dialog) {
        bench.prompter.files.push_back(path);
        Trigger(*dialog, "presetLoad");
        bench.prompter.files.push_back(temp.File("missing.nod")); // unreadable: no step
        Trigger(*dialog, "presetLoad");
        Child<QLineEdit>(dialog, "name")->setText("Typed");
        Child<QPushButton>(dialog, "okButton")->click();
    });
    Trigger(designer, "inspectNode");
    ASSERT_EQ(bench.tree.renderer, kRendererTxt);
    EXPECT_EQ(bench.history.UndoName(), "Edit Resume");

    ASSERT_TRUE(bench.history.Undo());
    EXPECT_EQ(bench.tree.resume->name, "From preset");
    EXPECT_EQ(bench.history.UndoName(), "Load Preset");
    ASSERT_TRUE(bench.history.Undo());
    EXPECT_EQ(*bench.tree.resume, before);
    EXPECT_EQ(bench.tree.renderer, kRendererRtf);
    EXPECT_EQ(bench.doc.Marks().renderer, kRendererRtf);
    EXPECT_FALSE(bench.history.CanUndo());

    // Cancel is not an undo: what the dialog wrote at once stays, as its own step.
    OnNextModal([&](QWidget* dialog) {
        bench.prompter.files.push_back(path);
        Trigger(*dialog, "presetLoad");
        Child<QPushButton>(dialog, "cancelButton")->click();
    });
    designer.NodeList()->setCurrentRow(0); // the refilled list has lost its selection
    Trigger(designer, "inspectNode");
    EXPECT_EQ(bench.tree.resume->name, "From preset");
    EXPECT_EQ(bench.history.UndoName(), "Load Preset");
}

TEST(UndoSteps, StyleDialogsRecordWhatTheyStore) {
    EditorBench bench;
    StyleNode& style = bench.tree.resume->style;
    style.headerUnderline = false;
    {
        CHeaderStylesSetupDlg d(bench.context, style);
        d.Underline()->setChecked(true);
        Child<QPushButton>(&d, "refreshRender")->click();
        Child<QPushButton>(&d, "refreshRender")->click(); // nothing new: no second step
        d.Underline()->setChecked(false);
        d.OkButton()->click();
    }
    {
        CStylesSetupDlg d(bench.context, style);
        d.AuthorEdit()->setText("Dana");
        d.OkButton()->click();
    }
    EXPECT_EQ(UndoAll(bench.history),
              (std::vector<std::string>{"Edit Style", "Edit Header Styles", "Edit Header Styles"}));
    EXPECT_FALSE(style.headerUnderline);
    EXPECT_NE(style.info.author, "Dana");
}

TEST(UndoSteps, ExplorerStoreIsAStepAndCreatedNodesGoAway) {
    EditorBench bench;
    const StackEntry entry = bench.AddHeader("Experience");
    bench.tree.headers[0].help.helpText = "Say what you did.";
    bench.AddHeader("Hobbies");
    bench.tree.headers[1].help.helpText = "Say what you like.";
    {
        CResumeExplorerDlg d(bench.context);
        d.ContentPane()->selectAll();
        QTest::keyClicks(d.ContentPane(), "Work");
        d.NodeList()->setCurrentRow(1);
    }
    ASSERT_EQ(bench.tree.headers[entry.index].header, "Work");
    EXPECT_EQ(bench.history.UndoName(), "Edit Header");

    {
        CResumeDesignerDlg d(bench.context);
        OnNextModal([](QWidget* dialog) {
            Child<QLineEdit>(dialog, "displayText")->setText("Skills");
            Child<QPushButton>(dialog, "okButton")->click();
        });
        Trigger(d, "createHeader");
    }
    ASSERT_EQ(bench.tree.headers.size(), 3U);
    EXPECT_EQ(UndoAll(bench.history), (std::vector<std::string>{"Create Header", "Edit Header"}));
    EXPECT_EQ(bench.tree.headers.size(), 2U);
    EXPECT_EQ(bench.tree.activeStack.size(), 3U);
    EXPECT_EQ(bench.tree.headers[entry.index].header, "Experience");
    EXPECT_NE(bench.ViewText().find("Experience"), std::string::npos);
}

} // namespace
} // namespace trellic
