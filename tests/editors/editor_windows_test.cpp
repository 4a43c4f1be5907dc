#include "editors_fixture.h"
#include "engine/prompter.h"
#include "shell/qt_prompter.h"
#include "shell_fixture.h"

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
