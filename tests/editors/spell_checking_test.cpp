// Spell checking in the text boxes, offscreen: the underline, the context menu and the
// language menu, over the system's en_US and en_GB dictionaries.

#include "editors/node_dialogs.h"
#include "editors/resume_explorer.h"
#include "editors_fixture.h"
#include "shell/tlx_view.h"
#include "spelling/spell_checking.h"
#include "spelling/spelling_menus.h"
#include "spelling/spelling_session.h"
#include "temp_dir.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace trellic {
namespace {

using testing::EditorBench;
using testing::ReadFileBytes;
using testing::TempDir;

// A spelling session in American English whose personal word list lies in a fresh folder.
struct SpellingBench {
    SpellingSetup Setup() const {
        return {FindDictionaries(DictionaryFolders()), WordList(), "en_US"};
    }
    std::string WordList() const { return dir.File("data/trellic/personal-dictionary.txt"); }

    TempDir dir;
    EngineLog log;
    testing::ScriptedPrompter prompter;
    SpellingSession session{log, prompter, Setup()};
};

// Whether the spell-check underline covers the text from position on for length characters.
bool Underlined(const QTextDocument& document, int position, int length) {
    const QTextBlock block = document.findBlock(position);
    const int start = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline &&
            range.start <= start && start + length <= range.start + range.length) {
            return true;
        }
    }
    return false;
}

bool Underlined(const QTextDocument& document, const QString& word) {
    return Underlined(document, static_cast<int>(document.toPlainText().indexOf(word)),
                      static_cast<int>(word.size()));
}

// Right-clicks a widget at a point and returns the menu that opened, which closing deletes.
QMenu* RightClick(QWidget* widget, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

template <typename Edit> QMenu* RightClickWord(Edit& edit, const QString& word) {
    QTextCursor cursor(edit.document());
    cursor.setPosition(static_cast<int>(edit.document()->toPlainText().indexOf(word)) + 1);
    return RightClick(edit.viewport(), edit.cursorRect(cursor).center());
}

// How much of a widget's picture is red.
int RedPixels(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > c.green() + 60 && c.red() > c.blue() + 60 ? 1 : 0;
        }
    }
    return red;
}

QAction* Entry(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

QStringList Texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    }
    return texts;
}

TEST(SpellChecking, ViewUnderlinesMisspeltWordsWithoutChangingTheDocument) {
    SpellingBench bench;
    CTLXView view;
    EnableSpellChecking(&view);
    view.ImportText("Teh quick brown fox\r\njumps over a lazzy dog");
    view.SetModified(false);
    const std::string rtf = view.ExportRtf();
    QCoreApplication::processEvents(); // the first check waits for the event loop

    QTextDocument& document = *view.document();
    EXPECT_TRUE(Underlined(document, QStringLiteral("Teh")));
    EXPECT_TRUE(Underlined(document, QStringLiteral("lazzy")));
    EXPECT_FALSE(Underlined(document, QStringLiteral("quick")));
    EXPECT_FALSE(Underlined(document, QStringLiteral("dog")));
    // Only the screen shows the line: nothing to save, undo or ask about on closing.
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_EQ(view.ExportRtf(), rtf);

    // Typing checks the paragraph typed in.
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    view.setTextCursor(end);
    QTest::keyClicks(&view, " and a cta");
    EXPECT_TRUE(Underlined(document, QStringLiteral("cta")));
    EXPECT_TRUE(Underlined(document, QStringLiteral("Teh")));
}

TEST(SpellChecking, ContextMenuOffersSuggestionsAboveTheUsualEntries) {
    SpellingBench bench;
    CTLXView view;
    view.resize(900, 400);
    EnableSpellChecking(&view);
    view.ImportText("Sofware quick fox");
    view.SetModified(false);
    QCoreApplication::processEvents();

    QMenu* menu = RightClickWord(view, QStringLiteral("Sofware"));
    ASSERT_NE(menu, nullptr);
    const QStringList texts = Texts(*menu);
    ASSERT_GE(texts.size(), 6);
    EXPECT_TRUE(texts.contains(QStringLiteral("Software")));
    const auto ignore = texts.indexOf(QStringLiteral("&Ignore All"));
    ASSERT_GT(ignore, 0);
    EXPECT_EQ(texts[ignore - 1], QStringLiteral("|"));
    EXPECT_EQ(texts[ignore + 1], QStringLiteral("&Add to Dictionary"));
    EXPECT_EQ(texts[ignore + 2], QStringLiteral("|"));
    EXPECT_GT(texts.indexOf(QRegularExpression(QStringLiteral("&Copy.*"))), ignore);
    EXPECT_EQ(texts.back(), QStringLiteral("Spellin&g Language"));

    // A suggestion replaces the word as one step of the undo history.
    Entry(*menu, QStringLiteral("Software"))->trigger();
    menu->close();
    EXPECT_EQ(view.document()->toPlainText(), QStringLiteral("Software quick fox"));
    EXPECT_TRUE(view.IsModified());
    view.document()->undo();
    EXPECT_EQ(view.document()->toPlainText(), QStringLiteral("Sofware quick fox"));

    // A correct word gets only the language menu.
    menu = RightClickWord(view, QStringLiteral("quick"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Texts(*menu).contains(QStringLiteral("&Ignore All")));
    EXPECT_EQ(Texts(*menu).back(), QStringLiteral("Spellin&g Language"));
    menu->close();

    // A rendering of nodes cannot be changed here: the suggestions are shown, but greyed.
    view.SetReadOnlyRendering(true);
    menu = RightClickWord(view, QStringLiteral("Sofware"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Entry(*menu, QStringLiteral("Software"))->isEnabled());
    EXPECT_TRUE(Entry(*menu, QStringLiteral("&Ignore All"))->isEnabled());
    menu->close();
}

TEST(SpellChecking, IgnoreAllAndAddToDictionaryReachEveryBox) {
    SpellingBench bench;
    QPlainTextEdit first;
    QPlainTextEdit second;
    for (QPlainTextEdit* edit : {&first, &second}) {
        edit->resize(600, 200);
        EnableSpellChecking(edit);
        edit->setPlainText(QStringLiteral("Zorblax met Quelmar"));
    }
    QCoreApplication::processEvents();
    ASSERT_TRUE(Underlined(*second.document(), QStringLiteral("Zorblax")));

    QMenu* menu = RightClickWord(first, QStringLiteral("Zorblax"));
    ASSERT_NE(menu, nullptr);
    Entry(*menu, QStringLiteral("&Ignore All"))->trigger();
    menu->close();
    EXPECT_FALSE(Underlined(*first.document(), QStringLiteral("Zorblax")));
    EXPECT_FALSE(Underlined(*second.document(), QStringLiteral("Zorblax")));
    EXPECT_FALSE(std::filesystem::exists(bench.WordList())); // only for the session

    menu = RightClickWord(first, QStringLiteral("Quelmar"));
    ASSERT_NE(menu, nullptr);
    Entry(*menu, QStringLiteral("&Add to Dictionary"))->trigger();
    menu->close();
    EXPECT_FALSE(Underlined(*second.document(), QStringLiteral("Quelmar")));
    EXPECT_EQ(ReadFileBytes(bench.WordList()), "Quelmar\n");
    struct stat folder {};
    ::stat(bench.dir.File("data/trellic").c_str(), &folder);
    EXPECT_EQ(folder.st_mode & 0777, 0700U);
    EXPECT_FALSE(first.document()->isModified());
    EXPECT_FALSE(first.document()->isUndoAvailable());
}

TEST(SpellChecking, ExplorerPaneAndNodeDialogFieldsAreChecked) {
    SpellingBench spelling;
    EditorBench bench;
    const StackEntry header = bench.AddHeader("Work Experiance");
    bench.tree.headers[0].help.helpText = "Name the section.";
    CResumeExplorerDlg explorer(bench.context);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Underlined(*explorer.ContentPane()->document(), QStringLiteral("Experiance")));
    EXPECT_FALSE(Underlined(*explorer.ContentPane()->document(), QStringLiteral("Work")));
    EXPECT_FALSE(explorer.ContentPane()->document()->isModified()); // nothing to store back

    // A field's name in the pane's own box: underlined, yet not an edit that would be stored.
    MLFieldNode& field = bench.tree.mlFields.emplace_back();
    field.fieldName = "Sumary";
    field.fieldData.text = "Ten years.";
    bench.Push({0, kKindMLField}, true);
    CResumeExplorerDlg named(bench.context);
    named.NodeList()->setCurrentRow(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(named.TitleEdit()->text(), QStringLiteral("Sumary"));
    named.TitleEdit()->resize(400, named.TitleEdit()->sizeHint().height());
    QCoreApplication::processEvents();
    EXPECT_GT(RedPixels(*named.TitleEdit()), 0);
    EXPECT_FALSE(named.TitleEdit()->isModified());

    CHeaderSetupDlg dialog(bench.context,
                           bench.tree.headers[static_cast<std::size_t>(header.index)]);
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("displayText"));
    ASSERT_NE(name, nullptr);
    name->resize(400, name->sizeHint().height());
    QCoreApplication::processEvents();
    // A line edit keeps its formats to itself: the red of the line shows only in its picture.
    auto redPixels = [name] { return RedPixels(*name); };
    EXPECT_GT(redPixels(), 0);

    const int middle = static_cast<int>(name->text().indexOf(QStringLiteral("Experiance"))) + 3;
    QPoint inWord(0, name->height() / 2);
    while (inWord.x() < name->width() && name->cursorPositionAt(inWord) != middle) {
        inWord.rx()++;
    }
    QMenu* menu = RightClick(name, inWord);
    ASSERT_NE(menu, nullptr);
    Entry(*menu, QStringLiteral("Experience"))->trigger();
    menu->close();
    EXPECT_EQ(name->text(), QStringLiteral("Work Experience"));
    QCoreApplication::processEvents();
    EXPECT_EQ(redPixels(), 0);
    name->undo();
    EXPECT_EQ(name->text(), QStringLiteral("Work Experiance"));
}

TEST(SpellChecking, LanguageMenuSwitchesTheSessionsDictionary) {
    SpellingBench bench;
    QPlainTextEdit edit;
    EnableSpellChecking(&edit);
    edit.setPlainText(QStringLiteral("colour color"));
    QCoreApplication::processEvents();
    ASSERT_TRUE(Underlined(*edit.document(), QStringLiteral("colour")));

    SpellLanguageMenu menu;
    emit menu.aboutToShow();
    QAction* british = menu.findChild<QAction*>(QStringLiteral("en_GB"));
    QAction* american = menu.findChild<QAction*>(QStringLiteral("en_US"));
    ASSERT_NE(british, nullptr);
    ASSERT_NE(american, nullptr);
    EXPECT_TRUE(american->isChecked());
    EXPECT_EQ(british->text(), QStringLiteral("English (United Kingdom)\ten_GB"));

    british->trigger();
    EXPECT_EQ(bench.session.Language(), QStringLiteral("en_GB"));
    EXPECT_FALSE(Underlined(*edit.document(), QStringLiteral("colour")));
    EXPECT_TRUE(Underlined(*edit.document(), QStringLiteral("color")));
    emit menu.aboutToShow();
    EXPECT_TRUE(menu.findChild<QAction*>(QStringLiteral("en_GB"))->isChecked());

    // A dictionary that will not load is reported, and the one in use stays.
    EXPECT_FALSE(bench.session.SetLanguage(QStringLiteral("xx_XX")));
    EXPECT_EQ(bench.session.Language(), QStringLiteral("en_GB"));
    EXPECT_NE(bench.log.Text().find("**SPELLING ERROR**"), std::string::npos);
}

TEST(SpellChecking, WithoutDictionariesNothingIsMarkedAndTheLogSaysWhy) {
    TempDir dir;
    EngineLog log;
    testing::ScriptedPrompter prompter;
    SpellingSession session(log, prompter, {{}, dir.File("words.txt"), "en_US"});
    EXPECT_NE(log.Text().find("WARNING: No spelling dictionary is installed"), std::string::npos);
    EXPECT_TRUE(prompter.events.empty()); // no message box at every start
    QPlainTextEdit edit;
    EnableSpellChecking(&edit);
    edit.setPlainText(QStringLiteral("Teh managment"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Underlined(*edit.document(), QStringLiteral("Teh")));
    SpellLanguageMenu menu;
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
}

} // namespace
} // namespace trellic
