#include "editors/char_format_editor.h"
#include "editors_fixture.h"
#include "engine/prompter.h"
#include "shell/qt_prompter.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"

#include <QComboBox>
#include <QFontDialog>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::OnNextModal;
using testing::StartedApp;

TEST(NodeEditorWindows, MainWindowRunsEachEditorModallyOverItself) {
    StartedApp run;
    ASSERT_TRUE(run.started);
    for (const auto& [editor, caption] : {std::pair{NodeEditor::Designer, "Resume Designer"},
                                          std::pair{NodeEditor::Explorer, "Resume Explorer"}}) {
        QString seen;
        QWidget* parent = nullptr;
        OnNextModal([&](QWidget* window) {
            seen = window->windowTitle();
            parent = window->parentWidget();
            window->close();
        });
        run.Frame().OpenNodeEditor(editor);
        EXPECT_EQ(seen, caption);
        EXPECT_EQ(parent, &run.Frame());
    }
}

TEST(NodeEditorWindows, FormatFontSetsFaceEffectsAndColourOnTheSelectionInOneStep) {
    StartedApp run;
    ASSERT_TRUE(run.started);
    // Only the Resume View's text takes formats; a rendering of nodes is read-only.
    run.prompter.answers.push_back(true);
    run.Trigger("dataSourceView");
    CTLXView& view = *run.Frame().View();
    view.ImportText("Plain words");
    view.selectAll();
    OnNextModal([](QWidget* window) {
        auto* dialog = qobject_cast<CCharFormatDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        QFont font(QStringLiteral("Liberation Serif"), 14);
        font.setWeight(QFont::Bold);
        font.setItalic(true);
        dialog->FontChooser()->setCurrentFont(font);
        dialog->ColorBox()->setCurrentIndex(dialog->ColorBox()->findText("Red"));
        dialog->accept();
    });
    run.Trigger("formatFont");
    const RichCharFormat chosen = view.SelectionCharFormat();
    EXPECT_EQ(chosen.faceName, "Liberation Serif");
    EXPECT_EQ(chosen.height, 280);
    EXPECT_EQ(chosen.color, 0x0000FFU);
    EXPECT_TRUE(chosen.effects & kCfeBold);
    EXPECT_TRUE(chosen.effects & kCfeItalic);
    EXPECT_FALSE(chosen.effects & kCfeAutoColor);
    view.undo();
    EXPECT_NE(view.SelectionCharFormat().faceName, "Liberation Serif");

    // Cancel leaves the text alone.
    view.selectAll();
    const RichCharFormat before = view.SelectionCharFormat();
    OnNextModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    run.Trigger("formatFont");
    EXPECT_EQ(view.SelectionCharFormat(), before);
}

TEST(NodeEditorWindows, DesktopPrompterHandsEditorsToTheMainWindow) {
    QtPrompter prompter(TRELLIC_BIN_DIR);
    // Before the main window exists there is nobody to open an editor.
    prompter.OpenNodeEditor(NodeEditor::Designer);
    std::vector<NodeEditor> opened;
    prompter.SetNodeEditorOpener([&](NodeEditor editor) { opened.push_back(editor); });
    prompter.OpenNodeEditor(NodeEditor::Explorer);
    prompter.OpenNodeEditor(NodeEditor::Designer);
    EXPECT_EQ(opened, (std::vector{NodeEditor::Explorer, NodeEditor::Designer}));
}

} // namespace
} // namespace trellic
