#pragma once

#include "spelling/spell_checker.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace trellic {

class EngineLog;
class Prompter;

// Where a misspelt word stands in a QString, in its UTF-16 positions.
struct MisspeltRange {
    int start = 0;
    int length = 0;

    int End() const { return start + length; }
};

// What a session starts from.
struct SpellingSetup {
    std::vector<InstalledDictionary> installed;
    std::string personalWordListPath;
    // The language wanted first (see ChooseDictionary).
    std::string language;

    // The system's dictionaries, the user's word list and the locale's language.
    static SpellingSetup FromEnvironment();
};

// The spell checking of the running program, which every text box that checks spelling shares:
// the language chosen for the session, the words ignored for it and the personal word list.
class SpellingSession : public QObject {
    Q_OBJECT

public:
    // Loads the dictionary of the setup's language and the personal word list. What goes wrong
    // is written to the log as a warning, without a message box: without a dictionary no word
    // is marked, and the program works on.
    SpellingSession(EngineLog& log, Prompter& prompter,
                    const SpellingSetup& setup = SpellingSetup::FromEnvironment(),
                    QObject* parent = nullptr);
    ~SpellingSession() override;

    // The session the text boxes check with; null while none exists (tests that leave spelling
    // out).
    static SpellingSession* Current();

    const SpellChecker& Checker() const { return m_checker; }
    const std::vector<InstalledDictionary>& Installed() const { return m_installed; }
    QString Language() const { return QString::fromStdString(m_checker.Language()); }

    // Loads another installed dictionary for the rest of the session. One that fails to load is
    // reported (engine log and message box) and the one in use stays.
    bool SetLanguage(const QString& language);
    void IgnoreAll(const QString& word);
    // A word list that cannot be written is reported; the word is accepted for the session all
    // the same.
    void AddToDictionary(const QString& word);
    QStringList Suggestions(const QString& word) const;
    std::vector<MisspeltRange> Misspellings(const QString& text) const;

signals:
    // The language or the accepted words changed: what is marked must be looked at again.
    void changed();

private:
    void ReportError(const std::string& error, const std::string& cause,
                     const std::string& solution, const std::string& impact);

    EngineLog& m_log;
    Prompter& m_prompter;
    std::vector<InstalledDictionary> m_installed;
    SpellChecker m_checker;
};

// The name a dictionary's language is shown by: "English (United Kingdom)"; the code itself
// when Qt does not know it.
QString LanguageDisplayName(const QString& language);

} // namespace trellic
