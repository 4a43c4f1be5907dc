#include "spelling/spell_checker.h"

#include "engine/code_page.h"

#include <nuspell/dictionary.hxx>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace trellic {

namespace {

// Verdicts kept before the cache starts again; a few megabytes at most.
constexpr std::size_t kMaxVerdicts = 50000;

std::string Utf8(std::u32string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char32_t c : text) {
        AppendUtf8(utf8, c);
    }
    return utf8;
}

// The word with typographic apostrophes made plain, as the word lists hold them.
std::string Normalized(std::string_view word) {
    std::string plain(word);
    static constexpr std::string_view kRightQuote = "\u2019";
    for (std::size_t at = plain.find(kRightQuote); at != std::string::npos;
         at = plain.find(kRightQuote, at + 1)) {
        plain.replace(at, kRightQuote.size(), "'");
    }
    return plain;
}

std::string ToUtf8(const icu::UnicodeString& text) {
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

} // namespace

SpellChecker::SpellChecker(PersonalWordList personalWords)
    : m_personalWords(std::move(personalWords)) {}

SpellChecker::~SpellChecker() = default;

DictionaryLoad SpellChecker::Load(const InstalledDictionary& dictionary) {
    DictionaryLoad result;
    try {
        auto loaded = std::make_unique<nuspell::Dictionary>();
        loaded->load_aff_dic(dictionary.affixPath);
        m_dictionary = std::move(loaded);
        m_language = dictionary.language;
        m_verdicts.clear();
        result.ok = true;
    } catch (const std::exception& error) {
        result.message = "The " + dictionary.language + " dictionary (" + dictionary.affixPath +
                         ") cannot be loaded: " + error.what();
    }
    return result;
}

bool SpellChecker::DictionaryHolds(const std::string& word) const {
    const auto known = m_verdicts.find(word);
    if (known != m_verdicts.end()) {
        return known->second;
    }
    bool correct = true;
    try {
        correct = m_dictionary->spell(word);
    } catch (const std::exception&) {
        // A word the library cannot take is not the user's mistake.
    }
    if (m_verdicts.size() >= kMaxVerdicts) {
        m_verdicts.clear();
    }
    m_verdicts.emplace(word, correct);
    return correct;
}

bool SpellChecker::Accepted(const std::string& word) const {
    if (m_accepted.count(word) != 0 || DictionaryHolds(word)) {
        return true;
    }
    // A possessive of an accepted name: "Trellic's" once "Trellic" was added.
    if (word.size() > 2 && word.compare(word.size() - 2, 2, "'s") == 0) {
        const std::string stem = word.substr(0, word.size() - 2);
        return m_accepted.count(stem) != 0 || DictionaryHolds(stem);
    }
    return false;
}

bool SpellChecker::IsCorrect(std::string_view word) const {
    if (!m_dictionary || word.empty()) {
        return true;
    }
    return Accepted(Normalized(word));
}

std::vector<TextSpan> SpellChecker::Misspellings(std::u32string_view text) const {
    std::vector<TextSpan> misspelt;
    if (!m_dictionary) {
        return misspelt;
    }
    for (const TextSpan& span : SplitWords(text)) {
        const std::u32string_view word = text.substr(span.start, span.length);
        if (IsCorrect(Utf8(word))) {
            continue;
        }
        const std::vector<TextSpan> parts = HyphenatedParts(word);
        if (parts.size() == 1) {
            misspelt.push_back(span);
            continue;
        }
        for (const TextSpan& part : parts) {
            if (!IsCorrect(Utf8(word.substr(part.start, part.length)))) {
                misspelt.push_back({span.start + part.start, part.length});
            }
        }
    }
    return misspelt;
}

std::vector<std::string> SpellChecker::Suggestions(std::string_view word, std::size_t limit) const {
    std::vector<std::string> suggestions;
    if (!m_dictionary || DecodeUtf8(word).size() > kMaxSuggestedLength) {
        return suggestions;
    }
    try {
        m_dictionary->suggest(Normalized(word), suggestions);
    } catch (const std::exception&) {
        suggestions.clear();
    }
    if (suggestions.size() > limit) {
        suggestions.resize(limit);
    }
    return suggestions;
}

void SpellChecker::Accept(std::string_view word) {
    const std::string plain = Normalized(word);
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(plain);
    m_accepted.insert(plain);
    // As a dictionary word passes: "trellic" also as "Trellic" and "TRELLIC", "Trellic" also as
    // "TRELLIC", but "iPhone" never as "iphone".
    m_accepted.insert(ToUtf8(icu::UnicodeString(unicode).toUpper(icu::Locale::getRoot())));
    if (icu::UnicodeString(unicode).toLower(icu::Locale::getRoot()) == unicode &&
        !unicode.isEmpty()) {
        const UChar32 first = unicode.char32At(0);
        icu::UnicodeString capitalised(static_cast<UChar32>(u_totitle(first)));
        capitalised.append(unicode, U16_LENGTH(first), INT32_MAX);
        m_accepted.insert(ToUtf8(capitalised));
    }
}

void SpellChecker::IgnoreAll(std::string_view word) {
    Accept(word);
}

FileResult SpellChecker::AddToDictionary(std::string_view word) {
    Accept(word);
    return m_personalWords.Add(Normalized(word));
}

FileResult SpellChecker::LoadPersonalWords() {
    FileResult result = m_personalWords.Load();
    for (const std::string& word : m_personalWords.Words()) {
        Accept(word);
    }
    return result;
}

} // namespace trellic
