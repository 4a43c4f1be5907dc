#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "model/node_tree.h"
#include "model/protected_file.h"
#include "render/render_driver.h"
#include "scripted_prompter.h"
#include "shell/engine_window.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

bool Checked(CMainFrame& frame, const char* name) {
    return frame.Action(QString::fromLatin1(name))->isChecked();
}

QString PaneText(CMainFrame& frame, CMainFrame::Pane pane) {
    return frame.IndicatorPane(pane)->text();
}

TEST(StartUp, BuildsEverythingInOrderWithOneReset) {
    StartedApp s;
    ASSERT_TRUE(s.started);
    // The banner is the log's first entry; nothing went wrong on the way.
    EXPECT_EQ(s.app.Log().Text().rfind(EngineLog::Banner(), 0), 0u);
    EXPECT_TRUE(s.prompter.events.empty());
    EXPECT_EQ(s.app.Tree().resetCount, 1);
    EXPECT_EQ(s.app.Tree().programFolder, TRELLIC_BIN_DIR);
    // The first new document formatted the view the plain way and left nothing to undo.
    CTLXView& view = *s.Frame().View();
    const RichCharFormat shown = view.DefaultCharFormat();
    const RichCharFormat plain = PlainViewCharFormat();
    EXPECT_EQ(shown.faceName, plain.faceName);
    EXPECT_EQ(shown.height, plain.height);
    EXPECT_EQ(shown.effects, plain.effects);
    EXPECT_FALSE(view.IsModified());
    EXPECT_FALSE(view.document()->isUndoAvailable());

    EXPECT_TRUE(s.Frame().isVisible());
    EXPECT_TRUE(s.Frame().windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(s.app.EngineWindow().isMinimized());
    EXPECT_EQ(s.Frame().windowTitle(), "Untitled - Quelmar | Trellic 5.0");
}

TEST(StartUp, FileOnCommandLineIsOpenedInsteadOfTheWelcomeWindow) {
    TempDir dir;
    const std::string path = dir.File("named.txt");
    WriteFileBytes(path, "Opened from the desktop");
    ScriptedPrompter prompter;
    CTLXApp app(StartUpOptions{TRELLIC_BIN_DIR, &prompter, true});
    bool welcomed = false;
    WhenModal([&welcomed](QWidget* modal) {
        welcomed = true;
        modal->close();
    });
    ASSERT_TRUE(app.InitInstance({QStringLiteral("trellic"), QString::fromStdString(path)}));
    QCoreApplication::processEvents(); // lets a stray modal check run
    EXPECT_FALSE(welcomed);
    EXPECT_EQ(app.MainFrame()->Doc().PathName(), path);
    EXPECT_EQ(app.Log().Text().find("EXEC: Trellic 'Open' command has started.\r\n\r\nINFO: "
                                    "Loading TXT file.\r\n\r\nMEM: Loaded file: " +
                                    path),
              EngineLog::Banner().size());
    EXPECT_EQ(app.MainFrame()->View()->toPlainText(), "Opened from the desktop");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "named.txt - Quelmar | Trellic 5.0");
    EXPECT_TRUE(prompter.events.empty()); // nothing to close, so no close question

    // A file that is gone gets the open's own report, and the run goes on with a new resume.
    StartedApp missing({QStringLiteral("trellic"), QString::fromStdString(dir.File("gone.tlx"))});
    ASSERT_TRUE(missing.started);
    EXPECT_NE(missing.app.Log().Text().find("**RNS ERROR**"), std::string::npos);
    EXPECT_TRUE(missing.Frame().Doc().PathName().empty());
}

TEST(StartUp, CommandLineAnswersHelpAndVersionOnly) {
    const QString program = QStringLiteral("trellic");
    EXPECT_EQ(ParseCommandLine({program, QStringLiteral("--version")}).output,
              QStringLiteral("Trellic 5.0\n"));
    const CommandLine help = ParseCommandLine({program, QStringLiteral("--help")});
    ASSERT_TRUE(help.output);
    EXPECT_TRUE(help.output->contains(QStringLiteral("--version")));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_FALSE(ParseCommandLine({program, QStringLiteral("resume.tlx")}).output);
    const CommandLine unknown = ParseCommandLine({program, QStringLiteral("--frobnicate")});
    EXPECT_TRUE(unknown.output);
    EXPECT_EQ(unknown.exitCode, 1);
}

TEST(MainFrame, NodeCommandsAreRefusedInTheResumeView) {
    StartedApp s;
    s.prompter.answers.push_back(true); // convert to the Resume View
    s.Trigger("dataSourceView");
    ASSERT_NE(s.app.Tree().dataSource, kDataSourceNodes);
    s.prompter.events.clear();
    const QString before = s.Frame().View()->toPlainText();

    for (const char* command : {"viewDesigner", "viewExplorer", "viewRefreshRender"}) {
        s.Trigger(command);
    }
    EXPECT_EQ(s.prompter.Messages(), std::vector<std::string>(3, kNodeCommandRefusal));
    for (const auto& event : s.prompter.events) {
        EXPECT_EQ(event.icon, MessageIcon::Information);
    }
    EXPECT_EQ(s.Frame().View()->toPlainText(), before);
}

TEST(MainFrame, NodeCommandsOpenTheirEditorsOnNodes) {
    StartedApp s;
    s.Trigger("viewDesigner");
    s.Trigger("viewExplorer");
    s.Trigger("viewRefreshRender");
    EXPECT_EQ(s.EventKinds(), (std::vector<std::string>{"designer", "explorer"}));
}

TEST(MainFrame, DataSourceMarksFollowTheDocumentNotTheClick) {
    StartedApp s;
    // Already nodes: nothing to say, the mark stays.
    s.Trigger("dataSourceNodes");
    EXPECT_TRUE(s.prompter.events.empty());
    EXPECT_TRUE(Checked(s.Frame(), "dataSourceNodes"));

    // Declining the conversion must take back the check Qt gave the clicked item.
    s.Trigger("dataSourceView");
    EXPECT_TRUE(Checked(s.Frame(), "dataSourceNodes"));

    s.prompter.answers.push_back(true);
    s.Trigger("dataSourceView");
    EXPECT_TRUE(Checked(s.Frame(), "dataSourceView"));
    s.prompter.events.clear();

    // There is no way back to nodes: refused, and the mark stays on Resume View.
    s.Trigger("dataSourceNodes");
    EXPECT_EQ(s.prompter.Messages(), std::vector<std::string>{kUnsupportedConversion});
    EXPECT_TRUE(Checked(s.Frame(), "dataSourceView"));
    EXPECT_FALSE(Checked(s.Frame(), "dataSourceNodes"));
}

TEST(MainFrame, RendererAndProtectionShowInMarksAndPanes) {
    StartedApp s;
    CMainFrame& frame = s.Frame();
    EXPECT_TRUE(Checked(frame, "rendererRtf"));
    EXPECT_TRUE(Checked(frame, "rnsDisabled"));
    EXPECT_TRUE(Checked(frame, "dataSourceNodes"));
    EXPECT_EQ(PaneText(frame, CMainFrame::RendererPane), "RTF");
    EXPECT_EQ(PaneText(frame, CMainFrame::ProtectionPane), "");

    s.Trigger("rendererTxt");
    EXPECT_TRUE(Checked(frame, "rendererTxt"));
    EXPECT_EQ(PaneText(frame, CMainFrame::RendererPane), "TXT");

    // A resume without a file has nothing to protect; the mark must not claim otherwise.
    s.Trigger("rnsEnabled");
    EXPECT_TRUE(Checked(frame, "rnsDisabled"));
    EXPECT_EQ(PaneText(frame, CMainFrame::ProtectionPane), "");

    TempDir dir;
    s.prompter.files.push_back(dir.File("resume.tlx"));
    s.Trigger("fileSave");
    s.Trigger("rnsEnabled");
    EXPECT_TRUE(Checked(frame, "rnsEnabled"));
    EXPECT_EQ(PaneText(frame, CMainFrame::ProtectionPane), "RNS");
    s.Trigger("rnsDisabled");
    EXPECT_TRUE(Checked(frame, "rnsDisabled"));
    EXPECT_EQ(PaneText(frame, CMainFrame::ProtectionPane), "");

    // The panes follow the tree even when something else changed it.
    s.app.Tree().renderer = kRendererRtf;
    frame.UpdateIndicators();
    EXPECT_EQ(PaneText(frame, CMainFrame::RendererPane), "RTF");
}

TEST(MainFrame, TitleNamesTheDocument) {
    StartedApp s;
    TempDir dir;
    s.prompter.files.push_back(dir.File("Jane Doe.tlx"));
    s.Trigger("fileSave");
    EXPECT_EQ(s.Frame().windowTitle(), "Jane Doe.tlx - Quelmar | Trellic 5.0");
    s.prompter.answers.push_back(true); // the close question
    s.Trigger("fileNew");
    EXPECT_EQ(s.Frame().windowTitle(), "Untitled - Quelmar | Trellic 5.0");
}

TEST(MainFrame, MenuItemsCarryTheirTextsKeysAndPrompts) {
    StartedApp s;
    struct Row {
        const char* action;
        const char* text;
        const char* keys;
        const char* prompt;
        const char* tip;
    };
    const Row rows[] = {
        {"fileNewFromTemplate", "New from &Template...", "Ctrl+T",
         "Create a new resume based on a template", nullptr},
        {"fileSaveAs", "Save &As...", "", "Save the active resume with a new name", "Save As"},
        {"dataSourceNodes", "TLX &Nodes", "", "Set the data source to TLX Nodes", nullptr},
        {"rnsEnabled", "&Enabled", "", "Enable Resume Network Security", nullptr},
        {"filePrintPreview", "Print Pre&view...", "", "Display full pages", "Print Preview"},
        {"viewWelcome", "&Welcome Window...", "F10", "Display the Welcome window", nullptr},
        {"viewToolbar", "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar"},
        {"viewRefreshRender", "Refres&h Render", "F5", "Render the resume", "Refresh Render"},
        {"helpQuelnet", "&Quelnet...", "", "Display the Quelmar website - Quelnet", nullptr},
        {"helpAbout", "&About Trellic...", "",
         "Display program information, version number and copyright", "About"},
        {"editUndo", "&Undo", "Ctrl+Z, Alt+Backspace", "Undo the last action", "Undo"},
        {"editFindNext", "F&ind Next", "F3", "Repeat the last action", "Repeat"},
        {"formatUnderlineSolid", "&Solid", "Ctrl+U", "Toggle the solid underline effect",
         "Solid Underline"},
        {"formatAlignLeft", "&Left", "Ctrl+L", "Activate left allignment", "Left Alignment"},
        {"formatNumberUpperRoman", "U&ppercase Roman Numerals", "",
         "Toggle the uppercase roman numerals bullet effect", "Uppercase Roman Numerals Bullet"},
        {"formatSpacingOneHalf", "1.5 &Lines", "Ctrl+5", "Activate 1.5 line spacing", "1.5 Lines"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        QAction* action = s.Frame().Action(QString::fromLatin1(row.action));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), row.text);
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts()) {
            keys << key.toString();
        }
        EXPECT_EQ(keys.join(QStringLiteral(", ")), row.keys);
        EXPECT_EQ(action->statusTip(), row.prompt);
        if (row.tip) {
            EXPECT_EQ(action->toolTip(), row.tip);
        }
    }
    for (QAction* action : s.Frame().Actions()) {
        EXPECT_FALSE(action->statusTip().isEmpty()) << action->objectName().toStdString();
    }
    const QStringList menus = {"&File", "&Edit", "&View", "F&ormat", "&Help"};
    QStringList titles;
    for (QAction* menu : s.Frame().menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, menus);
}

TEST(MainFrame, EveryAcceleratorKeyIsBound) {
    StartedApp s;
    const char* keys[] = {"Ctrl+C", "Ctrl+Ins",  "Ctrl+X",   "Shift+Del",
                          "Ctrl+V", "Shift+Ins", "Ctrl+Z",   "Alt+Backspace",
                          "Ctrl+Y", "Ctrl+F",    "F3",       "Ctrl+H",
                          "Ctrl+A", "Ctrl+N",    "Ctrl+O",   "Ctrl+S",
                          "Ctrl+P", "Ctrl+T",    "Ctrl+B",   "Ctrl+I",
                          "Ctrl+U", "F5",        "F10",      "F11",
                          "F12",    "F6",        "Shift+F6", "Esc"};
    for (const char* key : keys) {
        const QKeySequence sequence(QString::fromLatin1(key));
        int bound = 0;
        for (QAction* action : s.Frame().Actions()) {
            bound += action->shortcuts().contains(sequence) ? 1 : 0;
        }
        EXPECT_EQ(bound, 1) << key;
    }
}

TEST(MainFrame, FunctionKeysReachTheirCommands) {
    StartedApp s;
    s.Frame().activateWindow();
    QApplication::setActiveWindow(&s.Frame());
    QTest::keyClick(s.Frame().View(), Qt::Key_F11);
    QTest::keyClick(s.Frame().View(), Qt::Key_F12);
    EXPECT_EQ(s.EventKinds(), (std::vector<std::string>{"designer", "explorer"}));
}

TEST(MainFrame, EmbeddedObjectItemsAreShownButDisabled) {
    StartedApp s;
    for (const char* name : {"editInsertObject", "editLinks", "editObjectVerb"}) {
        QAction* action = s.Frame().Action(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr);
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    for (const char* name : {"filePrint", "filePrintPreview", "filePrintSetup"}) {
        EXPECT_TRUE(s.Frame().Action(QString::fromLatin1(name))->isEnabled()) << name;
    }
}

TEST(MainFrame, StatusBarShowsPromptsOverTheIdleText) {
    StartedApp s;
    QStatusBar* bar = s.Frame().statusBar();
    EXPECT_EQ(s.Frame().MessagePane()->text(), "TLX Engine Idle");
    EXPECT_TRUE(s.Frame().MessagePane()->isVisible());
    s.Frame().Action(QStringLiteral("fileOpen"))->showStatusText(&s.Frame());
    EXPECT_EQ(bar->currentMessage(), "Open an existing resume");
    bar->clearMessage();
    EXPECT_TRUE(s.Frame().MessagePane()->isVisible());

    // Pane order: message, renderer, CAP, NUM, SCRL, RNS, left to right.
    int left = s.Frame().MessagePane()->geometry().right();
    for (int pane = 0; pane < CMainFrame::PaneCount; ++pane) {
        const QRect geometry = s.Frame().IndicatorPane(CMainFrame::Pane(pane))->geometry();
        EXPECT_GT(geometry.left(), left) << pane;
        left = geometry.left();
    }
}

TEST(MainFrame, ToolbarAndStatusBarToggleAndKeepTheirContent) {
    StartedApp s;
    QToolBar* toolBar = s.Frame().ToolBar();
    const QList<QAction*> buttons = toolBar->actions();
    QStringList names;
    for (QAction* button : buttons) {
        names << (button->isSeparator() ? QStringLiteral("|") : button->objectName());
    }
    EXPECT_EQ(names.join(u' '), "fileNew fileOpen fileSave filePrint | editCut editCopy "
                                "editPaste | viewDesigner viewExplorer viewRefreshRender | "
                                "helpAbout");

    s.Trigger("viewToolbar");
    s.Trigger("viewStatusBar");
    EXPECT_TRUE(toolBar->isHidden());
    EXPECT_TRUE(s.Frame().statusBar()->isHidden());
    EXPECT_FALSE(Checked(s.Frame(), "viewToolbar"));
    s.Trigger("viewToolbar");
    s.Trigger("viewStatusBar");
    EXPECT_FALSE(toolBar->isHidden());
    EXPECT_FALSE(s.Frame().statusBar()->isHidden());
    EXPECT_TRUE(Checked(s.Frame(), "viewStatusBar"));
    EXPECT_EQ(toolBar->actions(), buttons);
}

TEST(MainFrame, HelpItemsOpenTheirPages) {
    StartedApp s;
    s.Trigger("helpDocumentation");
    s.Trigger("helpNodeLibrary");
    s.Trigger("helpQuelnet");
    std::vector<std::string> addresses;
    for (const auto& event : s.prompter.events) {
        addresses.push_back(event.text);
    }
    EXPECT_EQ(addresses, (std::vector<std::string>{"docs/index.html", "docs/node-library.html",
                                                   "https://quelmar.example/"}));
}

TEST(MainFrame, ClosingAsksTheCloseQuestion) {
    StartedApp s;
    EXPECT_FALSE(s.Frame().close());
    EXPECT_TRUE(s.Frame().isVisible());
    s.prompter.answers.push_back(true);
    EXPECT_TRUE(s.Frame().close());
    EXPECT_EQ(s.EventKinds(), (std::vector<std::string>{"question", "question"}));
}

TEST(MainFrame, UnsavedChangesShowInTheTitleAndAreOfferedForSaving) {
    StartedApp s;
    TempDir dir;
    const std::string path = dir.File("cv.tlx");
    s.app.Tree().resume->name = "Changed";
    s.Frame().AfterCommand();
    EXPECT_EQ(s.Frame().windowTitle(), "*Untitled - Quelmar | Trellic 5.0");

    // Closing offers the save; Save writes the file and lets the window close.
    s.prompter.saveChoices.push_back(SaveChoice::Save);
    s.prompter.files.push_back(path);
    EXPECT_TRUE(s.Frame().close());
    EXPECT_EQ(s.EventKinds(), (std::vector<std::string>{"save question", "save", "message"}));
    EXPECT_NE(ReadFileBytes(path).find("Changed"), std::string::npos);
}

TEST(MainFrame, ANodesRenderingIsReadOnlyAndSaysWhereToChangeIt) {
    StartedApp s;
    CTLXView& view = *s.Frame().View();
    view.ImportText("Rendered words"); // as a render would put them there
    const QString rendered = view.toPlainText();
    EXPECT_TRUE(view.isReadOnly());
    for (const char* name :
         {"formatBold", "formatAlignLeft", "formatFont", "editPaste", "editReplace"}) {
        EXPECT_FALSE(s.Frame().Action(QString::fromLatin1(name))->isEnabled()) << name;
    }
    for (const char* name : {"editCopy", "editFind", "editSelectAll", "filePrint"}) {
        QAction* action = s.Frame().Action(QString::fromLatin1(name));
        EXPECT_TRUE(action->isEnabled() || QString::fromLatin1(name) == "editCopy") << name;
    }
    view.setFocus();
    QTest::keyClicks(&view, QStringLiteral("typed"));
    QTest::keyClick(&view, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(view.toPlainText(), rendered);
    EXPECT_EQ(s.Frame().statusBar()->currentMessage(), CMainFrame::kNodesReadOnlyHint);
    // Selecting and copying still work.
    view.selectAll();
    EXPECT_TRUE(view.textCursor().hasSelection());

    // In the Resume View the text is the resume and takes typing and formats.
    s.prompter.answers.push_back(true);
    s.Trigger("dataSourceView");
    EXPECT_FALSE(view.isReadOnly());
    EXPECT_TRUE(s.Frame().Action(QStringLiteral("formatBold"))->isEnabled());
    EXPECT_TRUE(s.Frame().statusBar()->currentMessage().isEmpty());
    view.moveCursor(QTextCursor::End);
    QTest::keyClicks(&view, QStringLiteral("typed"));
    EXPECT_TRUE(view.toPlainText().endsWith(QStringLiteral("typed")));
}

TEST(MainFrame, ProtectionPaneAndMarkFollowTheLockThroughAFailedOpen) {
    StartedApp s;
    TempDir dir;
    s.prompter.files.push_back(dir.File("cv.tlx"));
    s.Trigger("fileSave");
    s.Trigger("rnsEnabled");
    const std::string bad = dir.File("bad.tlx");
    WriteFileBytes(bad, "\xFF\xD8\xFF\xE0 not a resume");
    s.prompter.files.push_back(bad);
    s.Trigger("fileOpen");
    EXPECT_TRUE(Checked(s.Frame(), "rnsEnabled"));
    EXPECT_EQ(PaneText(s.Frame(), CMainFrame::ProtectionPane), "RNS");
    ProtectedFile other;
    EXPECT_FALSE(other.Open(dir.File("cv.tlx")));
    EXPECT_EQ(s.Frame().windowTitle(), "cv.tlx - Quelmar | Trellic 5.0");
}

TEST(MainFrame, FollowsTheDocumentWithoutWaitingForATimer) {
    StartedApp s;
    TempDir dir;
    // Operations that do not come through a menu command still reach the marks and panes.
    s.Frame().Doc().SetRenderer(kRendererTxt, true);
    EXPECT_TRUE(Checked(s.Frame(), "rendererTxt"));
    EXPECT_EQ(PaneText(s.Frame(), CMainFrame::RendererPane), "TXT");
    EXPECT_EQ(s.Frame().windowTitle(), "*Untitled - Quelmar | Trellic 5.0");
    s.prompter.files.push_back(dir.File("cv.tlx"));
    ASSERT_TRUE(s.Frame().Doc().SaveResume(false));
    ASSERT_TRUE(s.Frame().Doc().StartRNS());
    EXPECT_EQ(s.Frame().windowTitle(), "cv.tlx - Quelmar | Trellic 5.0");
    EXPECT_EQ(PaneText(s.Frame(), CMainFrame::ProtectionPane), "RNS");
    EXPECT_TRUE(Checked(s.Frame(), "rnsEnabled"));

    // Typing in the Resume View marks the title at once.
    s.prompter.answers.push_back(true);
    s.Trigger("dataSourceView");
    s.prompter.files.push_back(dir.File("cv.txt"));
    ASSERT_TRUE(s.Frame().Doc().SaveResume(true));
    EXPECT_EQ(s.Frame().windowTitle(), "cv.txt - Quelmar | Trellic 5.0");
    CTLXView& view = *s.Frame().View();
    view.setFocus();
    QTest::keyClicks(&view, QStringLiteral("x"));
    EXPECT_EQ(s.Frame().windowTitle(), "*cv.txt - Quelmar | Trellic 5.0");
}

TEST(Exit, EndsTheRunAndLetsGoOfTheFile) {
    TempDir dir;
    const std::string path = dir.File("cv.tlx");
    {
        StartedApp s;
        s.prompter.files.push_back(path);
        s.Trigger("fileSave");
        s.Trigger("rnsEnabled");
        ASSERT_TRUE(s.Frame().Doc().IsProtected());
        QTimer::singleShot(0, [&s] {
            s.prompter.answers.push_back(true); // the close question
            s.Trigger("fileExit");
        });
        // Only a run that never ends reaches this.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(60000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(s.Frame().isVisible());
        EXPECT_FALSE(s.app.EngineWindow().isVisible());
    }
    ProtectedFile other;
    EXPECT_TRUE(other.Open(path));
}

} // namespace
} // namespace trellic::testing
