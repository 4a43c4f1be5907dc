#include "spelling/spelling_session.h"

#include "engine/engine_log.h"
#include "engine/prompter.h"

#include <QLocale>

namespace trellic {

namespace {

SpellingSession* g_current = nullptr;

constexpr const char* kErrorArea = "**SPELLING ERROR**";

} // namespace

SpellingSetup SpellingSetup::FromEnvironment() {
    return {FindDictionaries(DictionaryFolders()), PersonalWordListPath(), EnvironmentLanguage()};
}

SpellingSession::SpellingSession(EngineLog& log, Prompter& prompter, const SpellingSetup& setup,
                                 QObject* parent)
    : QObject(parent), m_log(log), m_prompter(prompter), m_installed(setup.installed),
      m_checker(PersonalWordList(setup.personalWordListPath)) {
    g_current = this;
    const FileResult words = m_checker.LoadPersonalWords();
    if (!words.ok) {
        m_log.AppendLog("WARNING: The personal dictionary could not be read (" + words.message +
                        "); its words are marked as misspelt.\r\n\r\n");
    }
    const InstalledDictionary* dictionary = ChooseDictionary(m_installed, setup.language);
    if (dictionary == nullptr) {
        m_log.AppendLog("WARNING: No spelling dictionary is installed; spelling is not "
                        "checked.\r\n\r\n");
        return;
    }
    const DictionaryLoad load = m_checker.Load(*dictionary);
    if (!load.ok) {
        m_log.AppendLog("WARNING: " + load.message + "; spelling is not checked.\r\n\r\n");
    }
}

SpellingSession::~SpellingSession() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

SpellingSession* SpellingSession::Current() {
    return g_current;
}

void SpellingSession::ReportError(const std::string& error, const std::string& cause,
                                  const std::string& solution, const std::string& impact) {
    ReportEngineError(m_log, m_prompter, ErrorBlock(kErrorArea, error, cause, solution, impact));
}

bool SpellingSession::SetLanguage(const QString& language) {
    const std::string code = language.toStdString();
    if (code == m_checker.Language()) {
        return true;
    }
    const InstalledDictionary* dictionary = FindLanguage(m_installed, code);
    const DictionaryLoad load = dictionary != nullptr ? m_checker.Load(*dictionary)
                                                      : DictionaryLoad{false, "No " + code +
                                                                                  " dictionary is "
                                                                                  "installed."};
    if (!load.ok) {
        ReportError("The spelling language could not be changed to " + code + ".", load.message,
                    "Install the language's hunspell dictionary again, or choose another "
                    "language.",
                    "Spelling is checked in the language used before.");
        return false;
    }
    m_log.AppendLog("INFO: Spelling is checked in " + code + ".\r\n\r\n");
    emit changed();
    return true;
}

void SpellingSession::IgnoreAll(const QString& word) {
    m_checker.IgnoreAll(word.toStdString());
    emit changed();
}

void SpellingSession::AddToDictionary(const QString& word) {
    const FileResult written = m_checker.AddToDictionary(word.toStdString());
    emit changed();
    if (!written.ok) {
        ReportError("\"" + word.toStdString() +
                        "\" could not be added to the personal "
                        "dictionary.",
                    written.message,
                    "Make sure the folder of the personal dictionary can be written.",
                    "The word is accepted until Trellic ends.");
    }
}

QStringList SpellingSession::Suggestions(const QString& word) const {
    QStringList suggestions;
    for (const std::string& suggestion : m_checker.Suggestions(word.toStdString())) {
        suggestions << QString::fromStdString(suggestion);
    }
    return suggestions;
}

std::vector<MisspeltRange> SpellingSession::Misspellings(const QString& text) const {
    std::vector<MisspeltRange> ranges;
    if (!m_checker.HasDictionary()) {
        return ranges;
    }
    const std::u32string characters = text.toStdU32String();
    const std::vector<TextSpan> spans = m_checker.Misspellings(characters);
    if (spans.empty()) {
        return ranges;
    }
    // Characters beyond the Basic Multilingual Plane take two UTF-16 units; only a text that
    // holds some needs its positions counted.
    std::vector<int> units;
    if (characters.size() != static_cast<std::size_t>(text.size())) {
        units.reserve(characters.size() + 1);
        int unit = 0;
        for (const char32_t c : characters) {
            units.push_back(unit);
            unit += c > 0xFFFF ? 2 : 1;
        }
        units.push_back(unit);
    }
    auto position = [&units](std::size_t character) {
        return units.empty() ? static_cast<int>(character) : units[character];
    };
    for (const TextSpan& span : spans) {
        ranges.push_back({position(span.start), position(span.End()) - position(span.start)});
    }
    return ranges;
}

QString LanguageDisplayName(const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C || !language.contains(QLatin1Char('_'))) {
        return language;
    }
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                         QLocale::territoryToString(locale.territory()));
}

} // namespace trellic
