#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "model/node_tree.h"
#include "shell/about_dialog.h"
#include "shell/interface_images.h"
#include "shell/tlx_view.h"
#include "shell/welcome_dialog.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

const std::string kUserInterfaceError =
    "**USER INTERFACE ERROR**\r\nERROR: Trellic was unable to render GUI images.\r\nCAUSE: This "
    "problem usually occurs when the GUI images have been deleted or become corrupt.\r\n"
    "SOLUTION: Use Trellic's 'Automatic Software Repair' feature. You can find information on how "
    "to do this in the Trellic Documentation under 'Troubleshooting'.\r\nIMPACT: GUI images are "
    "not displayed. All other program operations remain unaffected.\r\n\r\n";

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(Welcome, PaintsItsPictureAndRecordsTheLoad) {
    EngineLog log;
    ScriptedPrompter prompter;
    CWelcomeDlg welcome(TRELLIC_BIN_DIR, log, prompter);
    EXPECT_TRUE(welcome.HasPicture());
    EXPECT_TRUE(prompter.events.empty());
    EXPECT_NE(log.Text().find(std::string("MEM: Loaded image: ") + TRELLIC_BIN_DIR +
                              "/media/welcome.jpg\r\n\r\n"),
              std::string::npos);
    EXPECT_TRUE(welcome.windowFlags() & Qt::FramelessWindowHint);

    // The picture is dark where the standard dialog background is light.
    const QImage shot = welcome.grab().toImage();
    EXPECT_LT(qGray(shot.pixel(10, 10)), 128);
}

TEST(Welcome, MissingPictureIsReportedAndTheButtonsStillWork) {
    TempDir empty;
    EngineLog log;
    ScriptedPrompter prompter;
    CWelcomeDlg welcome(empty.Path(), log, prompter);
    EXPECT_FALSE(welcome.HasPicture());
    EXPECT_NE(log.Text().find(kUserInterfaceError), std::string::npos);
    EXPECT_EQ(log.Text().find("MEM: Loaded image"), std::string::npos);
    ASSERT_EQ(prompter.events.size(), 2u);
    EXPECT_EQ(prompter.events[0].text,
              "An error occurred. Details will be posted to the TLX Engine window.");
    EXPECT_EQ(prompter.events[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.events[1].kind, "engine window");

    welcome.show();
    welcome.HelpButton()->click();
    EXPECT_TRUE(welcome.isVisible());
    EXPECT_EQ(prompter.events.back().text, "docs/index.html");
    welcome.NewButton()->click();
    EXPECT_FALSE(welcome.isVisible());
    EXPECT_EQ(welcome.result(), CWelcomeDlg::NewResume);
    welcome.show();
    welcome.OpenButton()->click();
    EXPECT_EQ(welcome.result(), CWelcomeDlg::OpenResume);
    welcome.show();
    QTest::keyClick(&welcome, Qt::Key_Escape);
    EXPECT_EQ(welcome.result(), QDialog::Rejected);
}

TEST(Welcome, NewResumeAnsweredNoOpensTheDesigner) {
    StartedApp s;
    s.Trigger("rendererTxt");
    s.prompter.events.clear();
    s.prompter.saveChoices.push_back(SaveChoice::Discard); // the renderer switch is a change
    s.Frame().CarryOutWelcomeChoice(CWelcomeDlg::NewResume);
    EXPECT_EQ(s.EventKinds(), (std::vector<std::string>{"save question", "question", "designer"}));
    EXPECT_EQ(s.prompter.events[1].text, "Would you like to base the resume on a template?");
    // A second reset puts the marks and the view's formatting back.
    EXPECT_EQ(s.app.Tree().resetCount, 2);
    EXPECT_TRUE(s.Frame().Action(QStringLiteral("rendererRtf"))->isChecked());
    EXPECT_TRUE(s.Frame().View()->toPlainText().isEmpty());
}

TEST(Welcome, NewResumeAnsweredYesRunsTheTemplateCommand) {
    StartedApp s;
    s.prompter.answers = {true, true};
    s.Frame().CarryOutWelcomeChoice(CWelcomeDlg::NewResume);
    const std::vector<std::string> kinds = s.EventKinds();
    ASSERT_GE(kinds.size(), 3u);
    EXPECT_EQ(kinds[1], "question");
    EXPECT_EQ(kinds[2], "open"); // the template command's file dialog
    EXPECT_EQ(s.prompter.events[2].options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/templates");
}

TEST(Welcome, NewResumeAsksBeforeReplacingTheOpenResume) {
    StartedApp s;
    s.app.Tree().resume->name = "Work in progress";
    s.Frame().CarryOutWelcomeChoice(CWelcomeDlg::NewResume); // Cancel
    EXPECT_EQ(s.EventKinds(), std::vector<std::string>{"save question"});
    EXPECT_EQ(s.app.Tree().resume->name, "Work in progress");
    EXPECT_EQ(s.app.Tree().resetCount, 1);

    s.prompter.saveChoices.push_back(SaveChoice::Discard);
    s.Frame().CarryOutWelcomeChoice(CWelcomeDlg::NewResume);
    EXPECT_EQ(s.app.Tree().resetCount, 2);
    EXPECT_NE(s.app.Tree().resume->name, "Work in progress");
}

TEST(Welcome, OpenResumeFromTheModalWindowRunsOpen) {
    StartedApp s;
    WhenModal([](QWidget* modal) {
        auto* welcome = qobject_cast<CWelcomeDlg*>(modal);
        ASSERT_NE(welcome, nullptr);
        welcome->OpenButton()->click();
    });
    s.Frame().ShowWelcomeWindow();
    ASSERT_EQ(s.EventKinds(), (std::vector<std::string>{"open"}));
    // As File > Open: among the user's documents, never the program's folders.
    EXPECT_FALSE(s.prompter.events[0].options.initialFolder.empty());
    EXPECT_EQ(s.prompter.events[0].options.initialFolder.rfind(TRELLIC_BIN_DIR, 0),
              std::string::npos);
}

TEST(About, EachOpeningLoadsThePictureAgain) {
    StartedApp s;
    for (int i = 0; i < 3; ++i) {
        WhenModal([](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle(), "About Trellic");
            modal->close();
        });
        s.Trigger("helpAbout");
    }
    const std::string line =
        std::string("MEM: Loaded image: ") + TRELLIC_BIN_DIR + "/media/about.gif\r\n\r\n";
    EXPECT_EQ(Count(s.app.Log().Text(), line), 3u);
    EXPECT_TRUE(s.prompter.events.empty());
}

TEST(About, EnterAndEscClose) {
    EngineLog log;
    ScriptedPrompter prompter;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        CAboutDlg about(TRELLIC_BIN_DIR, log, prompter);
        EXPECT_TRUE(about.HasPicture());
        about.show();
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

TEST(About, MissingPictureStillOpens) {
    TempDir empty;
    EngineLog log;
    ScriptedPrompter prompter;
    CAboutDlg about(empty.Path(), log, prompter);
    EXPECT_FALSE(about.HasPicture());
    EXPECT_NE(log.Text().find(kUserInterfaceError), std::string::npos);
    EXPECT_EQ(prompter.events.size(), 2u);
    EXPECT_EQ(InterfaceImagePath(empty.Path(), "about.gif"), empty.Path() + "/media/about.gif");
}

} // namespace
} // namespace trellic::testing
