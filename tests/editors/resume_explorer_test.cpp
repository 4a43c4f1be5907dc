#include "editors/resume_explorer.h"
#include "editors_fixture.h"
#include "temp_dir.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::EditorBench;
using testing::OnNextModal;

NodeHelp Help(const char* text, const char* url = "") {
    return {text, url};
}

StackEntry AddHeader(EditorBench& bench, const char* text, NodeHelp help, bool active = true) {
    const StackEntry entry = bench.AddHeader(text, active);
    bench.tree.headers.back().help = std::move(help);
    return entry;
}

StackEntry AddSection(EditorBench& bench, const char* title, const char* data, NodeHelp help) {
    ResumeSectionNode& node = bench.tree.resumeSections.emplace_back();
    node.title = title;
    node.data.text = data;
    node.inheritStyle = true;
    node.help = std::move(help);
    return bench.Push(
        {static_cast<int32_t>(bench.tree.resumeSections.size() - 1), kKindResumeSection}, true);
}

StackEntry AddSLField(EditorBench& bench, const char* name, const char* data, NodeHelp help) {
    SLFieldNode& node = bench.tree.slFields.emplace_back();
    node.fieldName = name;
    node.fieldData = data;
    node.inheritStyle = true;
    node.help = std::move(help);
    return bench.Push({static_cast<int32_t>(bench.tree.slFields.size() - 1), kKindSLField}, true);
}

StackEntry AddMLField(EditorBench& bench, const char* name, const char* data, NodeHelp help) {
    MLFieldNode& node = bench.tree.mlFields.emplace_back();
    node.fieldName = name;
    node.fieldData.text = data;
    node.inheritStyle = true;
    node.help = std::move(help);
    return bench.Push({static_cast<int32_t>(bench.tree.mlFields.size() - 1), kKindMLField}, true);
}

template <typename Output>
StackEntry AddOutput(EditorBench& bench, std::vector<Output>& table, NodeKind kind,
                     const char* name, const char* text, NodeHelp help) {
    Output& node = table.emplace_back();
    node.name = name;
    node.output.text = text;
    node.help = std::move(help);
    return bench.Push({static_cast<int32_t>(table.size() - 1), kind}, true);
}

QStringList Lines(const CResumeExplorerDlg& d) {
    QStringList lines;
    for (int i = 0; i < d.NodeList()->count(); ++i) {
        lines << d.NodeList()->item(i)->text();
    }
    return lines;
}

int Selected(const CResumeExplorerDlg& d) {
    const auto items = d.NodeList()->selectedItems();
    return items.isEmpty() ? -1 : d.NodeList()->row(items.front());
}

// The user replaces the pane's text by typing the lines, Enter between them.
void TypeLines(QPlainTextEdit* pane, const QStringList& lines) {
    pane->selectAll();
    QTest::keyClick(pane, Qt::Key_Delete);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(pane, Qt::Key_Return);
        }
        QTest::keyClicks(pane, lines[i]);
    }
}

// Runs the explorer modally; act works on it while it is open and must close it.
int RunExplorer(EditorBench& bench, const std::function<void(CResumeExplorerDlg&)>& act) {
    CResumeExplorerDlg explorer(bench.context);
    OnNextModal([&](QWidget*) { act(explorer); });
    return explorer.exec();
}

TEST(ResumeExplorer, ListsTheActiveNodesWithTheirHelp) {
    EditorBench bench;
    const StackEntry experience =
        AddHeader(bench, "Experience", Help("Your jobs.\r\nNewest first."));
    AddHeader(bench, "No help", Help(""));
    AddSection(bench, "Skills", "C++", Help("What you can do."));
    AddHeader(bench, "Hobbies", Help("Pastimes."), false);
    bench.Push(experience, true);
    CResumeExplorerDlg d(bench.context);
    EXPECT_EQ(d.windowTitle(), "Resume Explorer");
    // The resume and the inactive node stay out; a twice-active node is listed twice.
    EXPECT_EQ(Lines(d), (QStringList{"Experience", "No help", "Skills", "Experience"}));
    EXPECT_EQ(Selected(d), 0);
    EXPECT_EQ(d.ContentPane()->toPlainText(), "Experience");
    EXPECT_EQ(d.HelpPane()->toPlainText(), "Your jobs.\nNewest first.");
    EXPECT_TRUE(d.HelpPane()->isReadOnly());
    EXPECT_FALSE(d.ContentPane()->isReadOnly());
    EXPECT_TRUE(d.SaveResumeButton()->isDefault());
    EXPECT_EQ(d.MoreHelpButton()->text(), "More Help...");
    EXPECT_EQ(d.SaveResumeButton()->text(), "Save Resume");

    d.NodeList()->setCurrentRow(2);
    EXPECT_EQ(d.ContentPane()->toPlainText(), "C++");
    EXPECT_EQ(d.HelpPane()->toPlainText(), "What you can do.");
}

TEST(ResumeExplorer, ANodeWithoutHelpGetsAShortAdviceOfItsKind) {
    EditorBench bench;
    bench.AddHeader("Experience");
    AddMLField(bench, "Skills", "C++", Help(""));
    CResumeExplorerDlg d(bench.context);
    EXPECT_EQ(Lines(d), (QStringList{"Experience", "Skills"}));
    EXPECT_EQ(d.HelpPane()->toPlainText(),
              "A heading of the resume. Type it as it should stand on the page.");
    d.NodeList()->setCurrentRow(1);
    EXPECT_TRUE(d.HelpPane()->toPlainText().startsWith("A field of several lines"));
    d.MoreHelpButton()->click();
    EXPECT_EQ(bench.prompter.Messages(),
              std::vector<std::string>{"There is no additional help available."});
}

TEST(ResumeExplorer, AResumeOfNoNodesOpensEmpty) {
    EditorBench bench;
    CResumeExplorerDlg d(bench.context);
    EXPECT_EQ(d.NodeList()->count(), 0);
    EXPECT_TRUE(d.ContentPane()->toPlainText().isEmpty());
    EXPECT_TRUE(d.HelpPane()->toPlainText().isEmpty());
    EXPECT_TRUE(d.TitleEdit()->isHidden());
    d.MoreHelpButton()->click();
    EXPECT_EQ(bench.prompter.Messages(),
              std::vector<std::string>{"There is no additional help available."});
}

TEST(ResumeExplorer, ThePanesSayWhatTheyEditAndTheNameIsEditedBesideTheText) {
    EditorBench bench;
    AddHeader(bench, "Experience", Help("h"));
    AddSection(bench, "Job Title, Employer (2022 - today)", "Led a team",
               Help("Job title, employer and dates on the first line; below it one line per "
                    "result."));
    AddMLField(bench, "Skills", "C++", Help("One line per group."));
    CResumeExplorerDlg d(bench.context);
    // Long names are shown whole: the list is as wide as they need, and they are tooltips too.
    const QString title = QStringLiteral("Job Title, Employer (2022 - today)");
    EXPECT_EQ(d.NodeList()->item(1)->toolTip(), title);
    EXPECT_GE(d.NodeList()->minimumWidth(), d.NodeList()->fontMetrics().horizontalAdvance(title));
    // A header's text is its name: one field.
    EXPECT_EQ(d.ContentLabel()->text(), "&Header:");
    EXPECT_TRUE(d.TitleEdit()->isHidden());
    EXPECT_EQ(d.ContentLabel()->buddy(), d.ContentPane());

    d.NodeList()->setCurrentRow(1);
    EXPECT_FALSE(d.TitleEdit()->isHidden());
    EXPECT_EQ(d.TitleLabel()->text(), "Section &Title:");
    EXPECT_EQ(d.ContentLabel()->text(), "Section &Data:");
    EXPECT_EQ(d.TitleEdit()->text(), "Job Title, Employer (2022 - today)");
    d.TitleEdit()->selectAll();
    QTest::keyClicks(d.TitleEdit(), "  Nurse, City Hospital (2021 - today) ");
    d.NodeList()->setCurrentRow(2);
    EXPECT_EQ(bench.tree.resumeSections[0].title, "Nurse, City Hospital (2021 - today)");
    EXPECT_EQ(bench.tree.resumeSections[0].data.text, "Led a team"); // untouched
    EXPECT_EQ(Lines(d)[1], "Nurse, City Hospital (2021 - today)");
    EXPECT_EQ(Selected(d), 2);
    EXPECT_NE(bench.ViewText().find("Nurse, City Hospital"), std::string::npos);

    // A field's name emptied keeps the name it had.
    EXPECT_EQ(d.TitleLabel()->text(), "Field &Name:");
    d.TitleEdit()->selectAll();
    QTest::keyClick(d.TitleEdit(), Qt::Key_Delete);
    d.NodeList()->setCurrentRow(0);
    EXPECT_EQ(bench.tree.mlFields[0].fieldName, "Skills");
}

TEST(ResumeExplorer, TheContentPaneWrapsAndTabLeavesIt) {
    EditorBench bench;
    AddSection(bench, "Skills", "C++", Help("h"));
    CResumeExplorerDlg d(bench.context);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(d.ContentPane()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    d.ContentPane()->setFocus();
    d.ContentPane()->moveCursor(QTextCursor::End);
    QTest::keyClick(d.ContentPane(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d.ContentPane()->toPlainText(), "C++\t");
    QTest::keyClick(d.ContentPane(), Qt::Key_Tab);
    EXPECT_EQ(d.ContentPane()->toPlainText(), "C++\t");
    EXPECT_NE(QApplication::focusWidget(), d.ContentPane());
    EXPECT_EQ(QApplication::focusWidget(), d.HelpPane());
}

TEST(ResumeExplorer, LeavingANodeStoresThePaneByTheRulesOfItsKind) {
    struct Row {
        const char* name;
        std::function<void(EditorBench&)> add;
        QString shown;
        QStringList typed;
        std::function<std::string(const NodeTree&)> stored;
        std::string expected;
        bool rendered;
    };
    const auto header = [](const NodeTree& t) { return t.headers[0].header; };
    const auto slField = [](const NodeTree& t) { return t.slFields[0].fieldData; };
    const auto section = [](const NodeTree& t) { return t.resumeSections[0].data.text; };
    const auto mlField = [](const NodeTree& t) { return t.mlFields[0].fieldData.text; };
    const auto addHeader = [](EditorBench& b) { AddHeader(b, "Experience", Help("h")); };
    const auto addSLField = [](EditorBench& b) { AddSLField(b, "Phone", "555", Help("h")); };
    const auto addSection = [](EditorBench& b) { AddSection(b, "Skills", "C++", Help("h")); };
    const auto addMLField = [](EditorBench& b) {
        AddMLField(b, "Address", "1 Main St\r\nTown", Help("h"));
    };
    const Row rows[] = {
        {"header takes its first line, trimmed",
         addHeader,
         "Experience",
         {"  Work History  ", "ignored"},
         header,
         "Work History",
         true},
        {"header emptied keeps its text",
         addHeader,
         "Experience",
         {"   ", "second"},
         header,
         "Experience",
         false},
        {"single line field takes its first line, trimmed",
         addSLField,
         "555",
         {" 555-0100 ", "extra"},
         slField,
         "555-0100",
         true},
        {"single line field emptied keeps its data", addSLField, "555", {}, slField, "555", false},
        {"section takes the whole text",
         addSection,
         "C++",
         {"C++", "  Qt  "},
         section,
         "C++\r\n  Qt  ",
         true},
        {"section refuses an empty first line",
         addSection,
         "C++",
         {"", "Qt"},
         section,
         "C++",
         false},
        {"multiple line field stores an emptied pane",
         addMLField,
         "1 Main St\nTown",
         {},
         mlField,
         "",
         true},
        {"rich text output takes the whole text",
         [](EditorBench& b) {
             AddOutput(b, b.tree.rtfOutputs, kKindRTFOutput, "Note", "old", Help("h"));
         },
         "old",
         {"a", "b"},
         [](const NodeTree& t) { return t.rtfOutputs[0].output.text; },
         "a\r\nb",
         true},
        {"text output takes the whole text, empty first line and all",
         [](EditorBench& b) {
             AddOutput(b, b.tree.txtOutputs, kKindTXTOutput, "Note", "old", Help("h"));
         },
         "old",
         {"", "b"},
         [](const NodeTree& t) { return t.txtOutputs[0].output.text; },
         "\r\nb",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorBench bench;
        row.add(bench);
        AddHeader(bench, "Other", Help("h"));
        CResumeExplorerDlg d(bench.context);
        ASSERT_EQ(d.ContentPane()->toPlainText(), row.shown);
        TypeLines(d.ContentPane(), row.typed);
        bench.view.ImportText("not rendered");
        d.NodeList()->setCurrentRow(1);
        EXPECT_EQ(row.stored(bench.tree), row.expected);
        EXPECT_EQ(bench.ViewText() != "not rendered", row.rendered);
        EXPECT_EQ(Selected(d), 1);
        EXPECT_EQ(d.ContentPane()->toPlainText(), "Other");
    }
}

TEST(ResumeExplorer, RenamedHeaderGetsItsNewLineAndTheNewSelectionStays) {
    EditorBench bench;
    AddHeader(bench, "Experience", Help("h"));
    AddHeader(bench, "Education", Help("h"));
    AddHeader(bench, "Hobbies", Help("h"));
    CResumeExplorerDlg d(bench.context);
    TypeLines(d.ContentPane(), {"Work"});
    d.NodeList()->setCurrentRow(2);
    EXPECT_EQ(Lines(d), (QStringList{"Work", "Education", "Hobbies"}));
    EXPECT_EQ(Selected(d), 2);
    EXPECT_EQ(d.ContentPane()->toPlainText(), "Hobbies");
    EXPECT_NE(bench.ViewText().find("Work"), std::string::npos);

    // Passing through a node without typing stores and renders nothing.
    bench.view.ImportText("not rendered");
    d.NodeList()->setCurrentRow(1);
    d.NodeList()->setCurrentRow(0);
    EXPECT_EQ(bench.ViewText(), "not rendered");
    EXPECT_EQ(d.ContentPane()->toPlainText(), "Work");
}

TEST(ResumeExplorer, ClickingBesideTheLinesKeepsTheShownNodeSelected) {
    EditorBench bench;
    AddHeader(bench, "Experience", Help("h"));
    AddHeader(bench, "Education", Help("h"));
    CResumeExplorerDlg d(bench.context);
    TypeLines(d.ContentPane(), {"Work"});
    d.NodeList()->clearSelection();
    EXPECT_EQ(Selected(d), 0);
    // The edit is still pending and still reaches its node.
    EXPECT_EQ(bench.tree.headers[0].header, "Experience");
    d.NodeList()->setCurrentRow(1);
    EXPECT_EQ(bench.tree.headers[0].header, "Work");
}

TEST(ResumeExplorer, APendingEditIsStoredWhenTheWindowCloses) {
    for (const bool byCloseBox : {false, true}) {
        SCOPED_TRACE(byCloseBox ? "close box" : "Esc");
        EditorBench bench;
        AddHeader(bench, "Experience", Help("h"));
        AddHeader(bench, "Education", Help("h"));
        bench.view.ImportText("not rendered");
        EXPECT_EQ(RunExplorer(bench,
                              [byCloseBox](CResumeExplorerDlg& d) {
                                  TypeLines(d.ContentPane(), {"Work"});
                                  if (byCloseBox) {
                                      d.close();
                                  } else {
                                      QTest::keyClick(&d, Qt::Key_Escape);
                                  }
                              }),
                  QDialog::Rejected);
        EXPECT_EQ(bench.tree.headers[0].header, "Work");
        EXPECT_NE(bench.ViewText().find("Work"), std::string::npos);
    }
}

TEST(ResumeExplorer, SaveResumeWritesTheNodesWithThePendingEdit) {
    EditorBench bench;
    testing::TempDir temp;
    const std::string path = temp.File("resume.tlx");
    AddHeader(bench, "Experience", Help("h"));
    bench.prompter.files.push_back(path);
    bool stayedOpen = false;
    RunExplorer(bench, [&](CResumeExplorerDlg& d) {
        TypeLines(d.ContentPane(), {"Pending"});
        d.SaveResumeButton()->click();
        stayedOpen = d.isVisible();
        EXPECT_EQ(d.NodeList()->item(0)->text(), "Pending");
        // Saved once, the resume has its file: the second save asks for no name.
        d.SaveResumeButton()->click();
        EXPECT_EQ(d.ContentPane()->toPlainText(), "Pending");
        d.reject();
    });
    EXPECT_TRUE(stayedOpen);
    int asked = 0;
    for (const auto& event : bench.prompter.events) {
        asked += event.kind == "save" ? 1 : 0;
    }
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(bench.tree.filePath, path);
    const std::string bytes = testing::ReadFileBytes(path);
    EXPECT_NE(bytes.find("Pending"), std::string::npos);
    EXPECT_EQ(bytes.find("Experience"), std::string::npos);
    EXPECT_EQ(bench.tree.headers[0].header, "Pending");
}

TEST(ResumeExplorer, SavingAsRichTextLeavesTheNodesAndClosesTheExplorer) {
    EditorBench bench;
    testing::TempDir temp;
    AddHeader(bench, "Experience", Help("h"));
    bench.prompter.files.push_back(temp.File("resume.rtf"));
    bench.prompter.answers = {true}; // convert to the Resume View
    bool closedItself = false;
    const int result = RunExplorer(bench, [&](CResumeExplorerDlg& d) {
        d.SaveResumeButton()->click();
        closedItself = !d.isVisible();
        if (!closedItself) {
            d.reject();
        }
    });
    EXPECT_TRUE(closedItself);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(bench.tree.dataSource, kDataSourceViewRtf);
}

TEST(ResumeExplorer, MoreHelpOpensTheNodesAddressOrSaysThereIsNone) {
    EditorBench bench;
    AddHeader(bench, "Experience", Help("h", "help/experience.html"));
    AddHeader(bench, "Education", Help("h"));
    CResumeExplorerDlg d(bench.context);
    d.MoreHelpButton()->click();
    d.NodeList()->setCurrentRow(1);
    d.MoreHelpButton()->click();
    ASSERT_EQ(bench.prompter.events.size(), 2U);
    EXPECT_EQ(bench.prompter.events[0].kind, "address");
    EXPECT_EQ(bench.prompter.events[0].text, "help/experience.html");
    EXPECT_EQ(bench.prompter.events[1].kind, "message");
    EXPECT_EQ(bench.prompter.events[1].text, "There is no additional help available.");
    EXPECT_EQ(bench.prompter.events[1].icon, MessageIcon::Information);
}

TEST(ResumeExplorer, EnterInTheContentPaneStartsALineInsteadOfSaving) {
    EditorBench bench;
    AddSection(bench, "Skills", "C++", Help("h"));
    RunExplorer(bench, [&](CResumeExplorerDlg& d) {
        d.ContentPane()->setFocus();
        d.ContentPane()->moveCursor(QTextCursor::End);
        QTest::keyClick(d.ContentPane(), Qt::Key_Return);
        QTest::keyClicks(d.ContentPane(), "Qt");
        EXPECT_EQ(d.ContentPane()->toPlainText(), "C++\nQt");
        EXPECT_TRUE(bench.prompter.events.empty());
        // Elsewhere Enter presses the default button, Save Resume (cancelled here).
        d.NodeList()->setFocus();
        QTest::keyClick(d.NodeList(), Qt::Key_Return);
        ASSERT_EQ(bench.prompter.events.size(), 1U);
        EXPECT_EQ(bench.prompter.events[0].kind, "save");
        d.reject();
    });
}

} // namespace
} // namespace trellic
