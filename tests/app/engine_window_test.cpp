#include "engine/engine_log.h"
#include "scripted_prompter.h"
#include "shell/engine_window.h"
#include "temp_dir.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

struct EngineWindowFixture : ::testing::Test {
    EngineLog log;
    ScriptedPrompter prompter;
    CEngineDlg window{log, prompter};

    QString Shown() const { return window.TextBox()->toPlainText(); }
};

TEST_F(EngineWindowFixture, MirrorsTheLogAndShowsItFromTheTop) {
    QString banner = QString::fromStdString(EngineLog::Banner());
    banner.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(Shown(), banner);
    EXPECT_EQ(window.windowTitle(), "TLX Engine");
    EXPECT_TRUE(window.TextBox()->isReadOnly());

    window.show();
    for (int i = 0; i < 40; ++i) {
        log.AppendLog("INFO: Line " + std::to_string(i) + "\r\n\r\n");
    }
    EXPECT_TRUE(Shown().endsWith(QStringLiteral("INFO: Line 39\n\n")));
    const QScrollBar* scroll = window.TextBox()->verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), 0);

    // The log holds UTF-8, as every engine text does.
    log.AppendLog("INFO: R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC\r\n");
    EXPECT_TRUE(Shown().endsWith(QString::fromUtf8("INFO: R\u00e9sum\u00e9 \u20ac\n")));
}

TEST_F(EngineWindowFixture, ClearEmptiesTheLogAlsoByEnter) {
    window.ClearButton()->click();
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(Shown(), "");

    log.AppendLog("EXEC: Again.\r\n\r\n");
    window.show();
    window.TextBox()->setFocus();
    QTest::keyClick(window.TextBox(), Qt::Key_Return);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(EngineWindowFixture, EscAndCloseOnlyMinimise) {
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(window.isHidden());

    window.ShowNormal();
    EXPECT_FALSE(window.isMinimized());
    window.close();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(window.isHidden());
    EXPECT_EQ(Shown().toStdString().rfind("Trellic 5.0", 0), 0u);
}

TEST_F(EngineWindowFixture, SaveWritesTheLogBytes) {
    TempDir dir;
    const std::string full = dir.File("log.txt");
    const std::string empty = dir.File("empty.txt");
    prompter.files = {full, empty};
    window.SaveButton()->click();
    EXPECT_EQ(ReadFileBytes(full), log.Text());
    ASSERT_EQ(prompter.events.size(), 1u);
    EXPECT_EQ(prompter.events[0].options.filter, "Text Files (*.txt)|*.txt||");
    EXPECT_TRUE(prompter.events[0].options.overwritePrompt);

    window.ClearButton()->click();
    window.SaveButton()->click();
    EXPECT_EQ(ReadFileBytes(empty), "");
}

TEST_F(EngineWindowFixture, HelpOpensTheTroubleshootingPage) {
    window.HelpButton()->click();
    ASSERT_EQ(prompter.events.size(), 1u);
    EXPECT_EQ(prompter.events[0].kind, "address");
    EXPECT_EQ(prompter.events[0].text, "docs/troubleshooting.html");
}

TEST(EngineWindow, LogOutlivesTheWindow) {
    EngineLog log;
    ScriptedPrompter prompter;
    { CEngineDlg window(log, prompter); }
    log.AppendLog("EXEC: Still writable.\r\n\r\n");
    EXPECT_NE(log.Text().find("Still writable"), std::string::npos);
}

} // namespace
} // namespace trellic::testing
