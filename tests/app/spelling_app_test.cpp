#include "scoped_environment.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "spelling/spelling_session.h"
#include "temp_dir.h"

#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

bool AnyUnderline(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline &&
            range.start <= position - block.position() &&
            position - block.position() < range.start + range.length) {
            return true;
        }
    }
    return false;
}

TEST(SpellingInTheApplication, ChecksTheViewInTheLocalesLanguageForTheRun) {
    TempDir dir;
    ScopedEnvironment environment;
    environment.Set("XDG_DATA_HOME", dir.Path().c_str());
    environment.Set("LC_ALL", nullptr);
    environment.Set("LC_MESSAGES", nullptr);
    environment.Set("LANG", "en_GB.UTF-8");
    ScriptedPrompter prompter;
    {
        CTLXApp app(StartUpOptions{TRELLIC_BIN_DIR, &prompter, false});
        ASSERT_TRUE(app.InitInstance({QStringLiteral("trellic")}));
        ASSERT_NE(SpellingSession::Current(), nullptr);
        EXPECT_EQ(SpellingSession::Current()->Language(), QStringLiteral("en_GB"));

        CTLXView& view = *app.MainFrame()->View();
        view.ImportText("colour color");
        QCoreApplication::processEvents();
        EXPECT_FALSE(AnyUnderline(*view.document(), 0));
        EXPECT_TRUE(AnyUnderline(*view.document(), 7));

        const auto menus =
            app.MainFrame()->menuBar()->findChildren<QMenu*>(QStringLiteral("spellingLanguage"));
        ASSERT_EQ(menus.size(), 1);
        auto* edit = qobject_cast<QMenu*>(menus[0]->parent());
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->title(), QStringLiteral("&Edit"));
        EXPECT_EQ(edit->actions().back(), menus[0]->menuAction());
    }
    // The session ends with the application; boxes made later are not checked.
    EXPECT_EQ(SpellingSession::Current(), nullptr);
}

} // namespace
} // namespace trellic::testing
