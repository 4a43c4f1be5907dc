// Names and sentences in the scripts of the world, typed into the editors as a user would, down
// to the saved file and back.

#include "editors/resume_explorer.h"
#include "editors_fixture.h"
#include "model/tlx_file.h"
#include "temp_dir.h"
#include "world_texts.h"

#include <QInputMethodEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace trellic {
namespace {

using testing::EditorBench;
using testing::WorldTexts;

// The user replaces the pane's text line by line, each line committed by the input method as
// a keyboard for the script (or a CJK input method) does, Enter between them.
void TypeLines(QPlainTextEdit* pane, const QStringList& lines) {
    pane->selectAll();
    QTest::keyClick(pane, Qt::Key_Delete);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(pane, Qt::Key_Return);
        }
        QInputMethodEvent commit;
        commit.setCommitString(lines[i]);
        QApplication::sendEvent(pane, &commit);
    }
}

TEST(WorldTextEditors, ExplorerToTreeToTlxAndBack) {
    for (const auto& world : WorldTexts()) {
        SCOPED_TRACE(world.language);
        EditorBench bench;
        testing::TempDir temp;
        const std::string path = temp.File(world.name + ".tlx");
        bench.AddHeader("Name");
        bench.tree.headers.back().help.helpText = "Your name.";
        MLFieldNode& field = bench.tree.mlFields.emplace_back();
        field.fieldName = "Summary";
        field.help.helpText = "A sentence.";
        bench.Push({0, kKindMLField}, true);
        const QString name = QString::fromStdString(world.name);
        const QString sentence = QString::fromStdString(world.sentence);

        CResumeExplorerDlg d(bench.context);
        TypeLines(d.ContentPane(), {name});
        d.NodeList()->setCurrentRow(1);
        TypeLines(d.ContentPane(), {sentence, name});
        d.NodeList()->setCurrentRow(0);
        // The list, the tree and the view hold the name as typed.
        EXPECT_EQ(d.NodeList()->item(0)->text(), name);
        EXPECT_EQ(bench.tree.headers[0].header, world.name);
        EXPECT_EQ(bench.tree.mlFields[0].fieldData.text, world.sentence + "\r\n" + world.name);
        EXPECT_NE(bench.ViewText().find(world.name), std::string::npos);
        EXPECT_EQ(d.ContentPane()->toPlainText(), name);

        bench.prompter.files.push_back(path);
        d.SaveResumeButton()->click();
        NodeTree reopened{std::string()};
        ResetNodeTree(reopened, {});
        const std::string bytes = testing::ReadFileBytes(path);
        Archive ar = Archive::ForLoading(bytes);
        ASSERT_EQ(ReadTLX(ar, reopened, bench.prompter), TlxReadStatus::Loaded);
        EXPECT_EQ(reopened.headers[0].header, world.name);
        EXPECT_EQ(reopened.mlFields[0].fieldData, bench.tree.mlFields[0].fieldData);
    }
}

} // namespace
} // namespace trellic
