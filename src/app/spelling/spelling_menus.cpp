#include "spelling/spelling_menus.h"

#include "spelling/spelling_session.h"

#include <QActionGroup>

namespace trellic {

namespace {

QString MenuText(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

void AddSpellingEntries(QMenu& menu, SpellingSession& session,
                        const std::optional<MisspeltWord>& word) {
    QAction* first = menu.actions().value(0);
    if (word) {
        const QStringList suggestions = session.Suggestions(word->word);
        for (const QString& suggestion : suggestions) {
            auto* action = new QAction(MenuText(suggestion), &menu);
            action->setObjectName(QStringLiteral("spellingSuggestion"));
            QFont font = action->font();
            font.setBold(true);
            action->setFont(font);
            action->setEnabled(bool(word->replace));
            QObject::connect(action, &QAction::triggered, &menu,
                             [replace = word->replace, suggestion] { replace(suggestion); });
            menu.insertAction(first, action);
        }
        if (suggestions.isEmpty()) {
            auto* none = new QAction(QObject::tr("(No Suggestions)"), &menu);
            none->setObjectName(QStringLiteral("spellingNoSuggestions"));
            none->setEnabled(false);
            menu.insertAction(first, none);
        }
        menu.insertSeparator(first);
        auto* ignore = new QAction(QObject::tr("&Ignore All"), &menu);
        ignore->setObjectName(QStringLiteral("spellingIgnoreAll"));
        ignore->setStatusTip(QObject::tr("Accept this word until Trellic ends"));
        QObject::connect(ignore, &QAction::triggered, &session,
                         [&session, text = word->word] { session.IgnoreAll(text); });
        menu.insertAction(first, ignore);
        auto* add = new QAction(QObject::tr("&Add to Dictionary"), &menu);
        add->setObjectName(QStringLiteral("spellingAddToDictionary"));
        add->setStatusTip(QObject::tr("Accept this word from now on, in every language"));
        QObject::connect(add, &QAction::triggered, &session,
                         [&session, text = word->word] { session.AddToDictionary(text); });
        menu.insertAction(first, add);
        if (first != nullptr) {
            menu.insertSeparator(first);
        }
    }
    menu.addSeparator();
    menu.addMenu(new SpellLanguageMenu(&menu));
}

SpellLanguageMenu::SpellLanguageMenu(QWidget* parent) : QMenu(tr("Spellin&g Language"), parent) {
    setObjectName(QStringLiteral("spellingLanguage"));
    m_group = new QActionGroup(this);
    // The dictionaries and the language in use are read each time the menu opens, so it can be
    // made before the session exists and always shows the session's choice.
    connect(this, &QMenu::aboutToShow, this, &SpellLanguageMenu::Fill);
    Fill();
}

void SpellLanguageMenu::Fill() {
    clear();
    SpellingSession* session = SpellingSession::Current();
    if (session == nullptr || session->Installed().empty()) {
        addAction(tr("(No Dictionaries Installed)"))->setEnabled(false);
        return;
    }
    for (const InstalledDictionary& dictionary : session->Installed()) {
        const QString code = QString::fromStdString(dictionary.language);
        QAction* action = addAction(MenuText(LanguageDisplayName(code)) + QLatin1Char('\t') + code);
        action->setObjectName(code);
        action->setCheckable(true);
        action->setChecked(code == session->Language());
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [code] {
            if (SpellingSession* current = SpellingSession::Current()) {
                current->SetLanguage(code);
            }
        });
    }
}

} // namespace trellic
