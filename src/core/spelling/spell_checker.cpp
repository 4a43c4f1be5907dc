#include "spelling/spell_checker.h"

#include "engine/code_page.h"

#include <fstream>
#include <nuspell/dictionary.hxx>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

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

int ScriptOf(UChar32 c) {
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &status);
    return U_SUCCESS(status) ? static_cast<int>(script) : USCRIPT_INVALID_CODE;
}

bool ScriptNeutral(int script) {
    return script == USCRIPT_COMMON || script == USCRIPT_INHERITED ||
           script == USCRIPT_INVALID_CODE;
}

void AddScriptsOf(const icu::UnicodeString& letters, std::unordered_set<int>& scripts) {
    for (int32_t i = 0; i < letters.length(); i = letters.moveIndex32(i, 1)) {
        const int script = ScriptOf(letters.char32At(i));
        if (!ScriptNeutral(script)) {
            scripts.insert(script);
        }
    }
}

// The scripts of a dictionary: those of the letters its affix file suggests from (the TRY line,
// in the file's own encoding), and the one its language is usually written in.
std::unordered_set<int> DictionaryScripts(const InstalledDictionary& dictionary) {
    std::unordered_set<int> scripts;
    std::ifstream affix(dictionary.affixPath, std::ios::binary);
    std::string encoding = "UTF-8";
    std::string line;
    // The header lines come first; a bound keeps a strange file from being read whole.
    for (int lines = 0; lines < 2000 && std::getline(affix, line); ++lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("SET ", 0) == 0) {
            encoding = line.substr(4);
        } else if (line.rfind("TRY ", 0) == 0) {
            const std::string letters = line.substr(4);
            AddScriptsOf(icu::UnicodeString(letters.data(), static_cast<int32_t>(letters.size()),
                                            encoding.c_str()),
                         scripts);
            break;
        }
    }
    icu::Locale locale(dictionary.language.c_str());
    UErrorCode status = U_ZERO_ERROR;
    locale.addLikelySubtags(status);
    if (U_SUCCESS(status) && locale.getScript()[0] != '\0') {
        UScriptCode codes[4];
        status = U_ZERO_ERROR;
        const int32_t count = uscript_getCode(locale.getScript(), codes, 4, &status);
        for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
            scripts.insert(static_cast<int>(codes[i]));
        }
    }
    return scripts;
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
        m_scripts = DictionaryScripts(dictionary);
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

bool SpellChecker::InScriptsCovered(std::string_view word) const {
    if (m_scripts.empty()) {
        return true; // nothing known about the dictionary: let it judge
    }
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(word.data(), static_cast<int32_t>(word.size())));
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const int script = ScriptOf(text.char32At(i));
        if (!ScriptNeutral(script) && m_scripts.count(script) == 0) {
            return false;
        }
    }
    return true;
}

bool SpellChecker::IsCorrect(std::string_view word) const {
    if (!m_dictionary || word.empty() || !InScriptsCovered(word)) {
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
