#pragma once

#include "engine/file_io.h"
#include "spelling/dictionaries.h"
#include "spelling/personal_word_list.h"
#include "spelling/word_splitter.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace nuspell {
inline namespace v5 {
class Dictionary;
}
} // namespace nuspell

namespace trellic {

// What came of loading a dictionary; the message is fit to show the user.
struct DictionaryLoad {
    bool ok = false;
    std::string message;
};

// The spell checking of one session: a dictionary of one language, the words the user chose to
// ignore for the session and the user's personal word list. Words are UTF-8; a typographic
// apostrophe (U+2019) counts as a plain one. One thread at a time.
class SpellChecker {
public:
    explicit SpellChecker(PersonalWordList personalWords);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // Loads a dictionary in place of the one in use. On failure the one in use stays.
    [[nodiscard]] DictionaryLoad Load(const InstalledDictionary& dictionary);
    bool HasDictionary() const { return m_dictionary != nullptr; }
    // The language of the dictionary in use; empty when there is none.
    const std::string& Language() const { return m_language; }

    // Whether the dictionary, the personal words or the ignored words accept a word. Without a
    // dictionary every word passes: nothing can be called wrong.
    bool IsCorrect(std::string_view word) const;
    // The misspelt words of a text (see SplitWords); of a hyphenated word that the dictionary
    // does not hold as a whole, only the misspelt parts.
    std::vector<TextSpan> Misspellings(std::u32string_view text) const;
    // Up to limit replacements for a word, the likeliest first. None for a word longer than any
    // word, whose suggestions would take the dictionary seconds.
    std::vector<std::string> Suggestions(std::string_view word, std::size_t limit = 8) const;

    // Accepts a word until the program ends.
    void IgnoreAll(std::string_view word);
    // Accepts a word from now on and adds it to the personal word list. When the list cannot be
    // written the word is still accepted for the session, and the failure returned.
    [[nodiscard]] FileResult AddToDictionary(std::string_view word);

    // Reads the personal word list (at start); its words are accepted from then on.
    [[nodiscard]] FileResult LoadPersonalWords();
    const PersonalWordList& PersonalWords() const { return m_personalWords; }

    static constexpr std::size_t kMaxSuggestedLength = 40; // characters

private:
    void Accept(std::string_view word);
    bool Accepted(const std::string& word) const;
    bool DictionaryHolds(const std::string& word) const;

    bool InScriptsCovered(std::string_view word) const;

    std::unique_ptr<nuspell::Dictionary> m_dictionary;
    std::string m_language;
    // The writing systems (ICU script codes) the dictionary's words are in: a name in Chinese
    // is no misspelt English word.
    std::unordered_set<int> m_scripts;
    PersonalWordList m_personalWords;
    // The ignored and personal words in each case form a dictionary word would pass in.
    std::unordered_set<std::string> m_accepted;
    // The dictionary's verdicts so far: a resume repeats its words, and a whole document is
    // checked again after each change of language or word list.
    mutable std::unordered_map<std::string, bool> m_verdicts;
};

} // namespace trellic
