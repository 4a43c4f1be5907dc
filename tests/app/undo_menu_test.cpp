#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "engine/prompter.h"
#include "model/node_tree.h"
#include "render/render_driver.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

// A started program whose resume holds two headers, rendered.
struct UndoApp : StartedApp {
    UndoApp() {
        NodeTree& tree = app.Tree();
        for (const char* text : {"Experience", "Education"}) {
            HeaderNode& header = tree.headers.emplace_back();
            header.header = text;
            header.inheritStyle = true;
            tree.activeStack.push_back(
                {static_cast<int32_t>(tree.headers.size() - 1), kKindHeader});
        }
        RenderResume(tree, *Frame().View());
        Frame().AfterCommand();
    }
    QAction* Undo() { return Frame().Action(QStringLiteral("editUndo")); }
    QAction* Redo() { return Frame().Action(QStringLiteral("editRedo")); }
    bool Checked(const char* action) {
        return Frame().Action(QString::fromLatin1(action))->isChecked();
    }
    QString ViewText() { return Frame().View()->toPlainText(); }
};

TEST(UndoMenu, TypingIsUndoneBeforeTheCommandsAndTheItemsNameTheCommand) {
    UndoApp s;
    EXPECT_FALSE(s.Undo()->isEnabled());
    EXPECT_EQ(s.Undo()->text(), "&Undo");

    s.Trigger("rendererTxt");
    EXPECT_TRUE(s.Undo()->isEnabled());
    EXPECT_EQ(s.Undo()->text(), "&Undo Set Renderer");
    // A rendering of nodes takes no typing, so the command stays the next step to undo.
    QTest::keyClicks(s.Frame().View(), "xyz");
    EXPECT_EQ(s.Undo()->text(), "&Undo Set Renderer");

    s.Undo()->trigger();
    EXPECT_EQ(s.app.Tree().renderer, kRendererRtf);
    EXPECT_TRUE(s.Checked("rendererRtf"));
    EXPECT_FALSE(s.Undo()->isEnabled());
    EXPECT_EQ(s.Redo()->text(), "&Redo Set Renderer");

    s.Redo()->trigger();
    EXPECT_EQ(s.app.Tree().renderer, kRendererTxt);
    EXPECT_TRUE(s.Checked("rendererTxt"));

    // In the Resume View, typing after a command is newer: Undo takes it back first, and names
    // no command.
    s.prompter.answers.push_back(true);
    s.Trigger("dataSourceView");
    ASSERT_NE(s.app.Tree().dataSource, kDataSourceNodes);
    const QString converted = s.ViewText();
    QTest::keyClicks(s.Frame().View(), "xyz");
    EXPECT_EQ(s.Undo()->text(), "&Undo");
    while (s.ViewText() != converted) {
        ASSERT_TRUE(s.Undo()->isEnabled());
        ASSERT_EQ(s.Undo()->text(), "&Undo");
        s.Undo()->trigger();
    }
    EXPECT_EQ(s.Undo()->text(), "&Undo Convert to Resume View");

    // An edit in the view after an undone command: that command can no longer be redone.
    s.Trigger("rendererRtf");
    ASSERT_EQ(s.Undo()->text(), "&Undo Set Renderer");
    s.Undo()->trigger();
    ASSERT_TRUE(s.Redo()->isEnabled());
    QTest::keyClicks(s.Frame().View(), "a");
    EXPECT_FALSE(s.Frame().History().CanRedo());
    EXPECT_EQ(s.Redo()->text(), "&Redo");
}

TEST(UndoMenu, TheKeysReachTheCommandsWhileTheViewHasTheFocus) {
    UndoApp s;
    s.Frame().activateWindow();
    QApplication::setActiveWindow(&s.Frame());
    s.Trigger("rendererTxt");
    QTest::keyClick(s.Frame().View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.app.Tree().renderer, kRendererRtf);
    QTest::keyClick(s.Frame().View(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(s.app.Tree().renderer, kRendererTxt);
    QTest::keyClick(s.Frame().View(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(s.app.Tree().renderer, kRendererRtf);

    // Typing is still the view's to take back first.
    const QString rendered = s.ViewText();
    QTest::keyClicks(s.Frame().View(), "ab");
    QTest::keyClick(s.Frame().View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.ViewText(), rendered);
    EXPECT_EQ(s.app.Tree().renderer, kRendererRtf);
}

TEST(UndoMenu, ConversionIsUndoneFromTheResumeView) {
    UndoApp s;
    s.prompter.answers.push_back(true);
    s.Trigger("dataSourceView");
    ASSERT_EQ(s.app.Tree().dataSource, kDataSourceViewRtf);
    EXPECT_EQ(s.Undo()->text(), "&Undo Convert to Resume View");

    s.Undo()->trigger();
    EXPECT_EQ(s.app.Tree().dataSource, kDataSourceNodes);
    EXPECT_EQ(s.app.Tree().headers.size(), 2U);
    EXPECT_TRUE(s.Checked("dataSourceNodes"));
    EXPECT_TRUE(s.ViewText().contains("Education"));

    // Declining the question is no step.
    s.Trigger("dataSourceView");
    EXPECT_EQ(s.Undo()->text(), "&Undo");
    EXPECT_TRUE(s.Redo()->isEnabled());
}

TEST(UndoMenu, DesignerStepsReachTheMenuAndANewResumeForgetsThem) {
    UndoApp s;
    WhenModal([&s](QWidget* designer) {
        designer->findChild<QListWidget*>(QStringLiteral("nodeList"))->setCurrentRow(1);
        s.prompter.answers.push_back(true);
        designer->findChild<QAction*>(QStringLiteral("deleteNode"))->trigger();
        designer->close();
    });
    s.Frame().OpenNodeEditor(NodeEditor::Designer);
    ASSERT_EQ(s.app.Tree().headers.size(), 1U);
    EXPECT_EQ(s.Undo()->text(), "&Undo Delete Node");

    s.prompter.saveChoices.push_back(SaveChoice::Discard); // the deletion is not saved
    s.Trigger("fileNew");
    EXPECT_FALSE(s.Undo()->isEnabled());
    EXPECT_EQ(s.Undo()->text(), "&Undo");
}

} // namespace
} // namespace trellic::testing
