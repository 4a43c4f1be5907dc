#pragma once

#include <QMenu>
#include <QString>
#include <functional>
#include <optional>

class QActionGroup;

namespace trellic {

class SpellingSession;

// The misspelt word a context menu was opened on.
struct MisspeltWord {
    QString word;
    // Puts a suggestion in the word's place as one undo step; null where the text cannot be
    // changed.
    std::function<void(const QString&)> replace;
};

// Puts the spelling entries into a text box's context menu: above its own entries, the
// suggestions for the word (greyed where the text cannot be changed), Ignore All and Add to
// Dictionary; below them the Spelling Language menu.
void AddSpellingEntries(QMenu& menu, SpellingSession& session,
                        const std::optional<MisspeltWord>& word);

// The installed dictionaries, the one in use checked: choosing one checks spelling in its
// language for the rest of the session. Works on the current session, and says so when there
// is none or no dictionary is installed.
class SpellLanguageMenu : public QMenu {
    Q_OBJECT

public:
    explicit SpellLanguageMenu(QWidget* parent = nullptr);

private:
    void Fill();

    QActionGroup* m_group = nullptr;
};

} // namespace trellic
