#include "engine/code_page.h"
#include "spelling/spell_checker.h"
#include "temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

// The system's dictionaries, as the program finds them; the tests need en_US and en_GB.
InstalledDictionary Installed(const char* language) {
    const auto installed = FindDictionaries(DictionaryFolders());
    const InstalledDictionary* dictionary = FindLanguage(installed, language);
    return dictionary ? *dictionary : InstalledDictionary{language, "/nonexistent.aff"};
}

struct Checker {
    Checker() : checker(PersonalWordList(dir.File("data/trellic/personal-dictionary.txt"))) {
        const DictionaryLoad load = checker.Load(Installed("en_US"));
        EXPECT_TRUE(load.ok) << load.message << " (install hunspell-en-us and hunspell-en-gb)";
    }

    std::vector<std::string> Misspelt(std::string_view utf8) const {
        const std::u32string text = DecodeUtf8(utf8);
        std::vector<std::string> words;
        for (const TextSpan& span : checker.Misspellings(text)) {
            std::string word;
            for (const char32_t c : text.substr(span.start, span.length)) {
                AppendUtf8(word, c);
            }
            words.push_back(word);
        }
        return words;
    }

    TempDir dir;
    SpellChecker checker;
};

TEST(SpellChecker, MarksMisspeltWordsAndOnlyTheWrongPartsOfHyphenatedOnes) {
    Checker c;
    EXPECT_EQ(c.Misspelt("Teh team shipped a well-knwon, state-of-the-art product; managment "
                         "praised it. Don\u2019t miss Ann's e-mail at ann@exmaple.com."),
              (std::vector<std::string>{"Teh", "knwon", "managment"}));
    EXPECT_TRUE(c.Misspelt("co-operate well-known").empty()); // whole or in correct parts
    EXPECT_EQ(c.checker.Language(), "en_US");
}

TEST(SpellChecker, AcceptedWordsPassInTheCasesADictionaryWordWould) {
    Checker c;
    c.checker.IgnoreAll("kubernetes");
    c.checker.IgnoreAll("Trellic");
    c.checker.IgnoreAll("iPhoneX");
    c.checker.IgnoreAll("Quelmar\u2019s");
    const std::pair<const char*, bool> rows[] = {
        {"kubernetes", true}, {"Kubernetes", true}, {"KUBERNETES", true}, {"Trellic", true},
        {"TRELLIC", true},    {"trellic", false},   {"Trellic's", true},  {"Trellic\u2019s", true},
        {"iPhoneX", true},    {"IPHONEX", true},    {"iphonex", false},   {"Quelmar's", true},
        {"Trellics", false},
    };
    for (const auto& [word, correct] : rows) {
        EXPECT_EQ(c.checker.IsCorrect(word), correct) << word;
    }
}

TEST(SpellChecker, AWordListThatCannotBeWrittenStillLetsTheWordPass) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("file"), "");
    SpellChecker nowhere(PersonalWordList(dir.File("file/personal-dictionary.txt")));
    ASSERT_TRUE(nowhere.Load(Installed("en_US")).ok);
    EXPECT_FALSE(nowhere.AddToDictionary("Zorblax").ok);
    EXPECT_TRUE(nowhere.IsCorrect("Zorblax"));
}

TEST(SpellChecker, SuggestsReplacementsForWordsOfReasonableLength) {
    Checker c;
    EXPECT_LE(c.checker.Suggestions("teh", 3).size(), 3U);
    // Suggestions for a very long "word" would take the dictionary seconds.
    EXPECT_TRUE(
        c.checker.Suggestions(std::string(SpellChecker::kMaxSuggestedLength + 1, 'q')).empty());
}

TEST(SpellChecker, WithoutADictionaryNothingIsMarked) {
    TempDir dir;
    SpellChecker checker(PersonalWordList(dir.File("words.txt")));
    EXPECT_FALSE(checker.HasDictionary());
    EXPECT_TRUE(checker.Misspellings(U"Teh managment").empty());
    EXPECT_TRUE(checker.Suggestions("teh").empty());

    // A dictionary that cannot be loaded is reported and changes nothing.
    const DictionaryLoad missing = checker.Load({"xx_XX", dir.File("xx_XX.aff")});
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("xx_XX"), std::string::npos) << missing.message;
    EXPECT_FALSE(checker.HasDictionary());

    ASSERT_TRUE(checker.Load(Installed("en_US")).ok);
    EXPECT_FALSE(checker.Load({"xx_XX", dir.File("xx_XX.aff")}).ok);
    EXPECT_EQ(checker.Language(), "en_US");
    EXPECT_EQ(checker.Misspellings(U"Teh").size(), 1U);
}

TEST(SpellChecker, WordsInScriptsTheDictionaryDoesNotHoldAreNotMarked) {
    // Names in other scripts stand beside English in a resume; the English dictionary cannot
    // judge them, so they are left alone, while Latin words with accents are still checked.
    Checker c;
    EXPECT_EQ(c.Misspelt("\u738b\u5c0f\u660e \u0418\u0432\u0430\u043d "
                         "\u039d\u03af\u03ba\u03bf\u03c2 \u0141ukasiewicz managment"),
              (std::vector<std::string>{"\u0141ukasiewicz", "managment"}));

    // A dictionary's letters are read in its affix file's own encoding (here KOI8-R, "\xcf\xc5"
    // being "oe" in Cyrillic); for it, Latin words are the foreign ones.
    TempDir dir;
    WriteFileBytes(dir.File("xx_XX.aff"), "SET KOI8-R\nTRY \xcf\xc5\xc1\xc9\xce\n");
    WriteFileBytes(dir.File("xx_XX.dic"), "1\n\xcd\xc9\xd2\n");
    SpellChecker cyrillic(PersonalWordList(dir.File("words.txt")));
    ASSERT_TRUE(cyrillic.Load({"xx_XX", dir.File("xx_XX.aff")}).ok);
    const std::u32string text = U"\u043c\u0438\u0440 \u043c\u0438\u0440\u0440 managment";
    const std::vector<TextSpan> misspelt = cyrillic.Misspellings(text);
    ASSERT_EQ(misspelt.size(), 1U);
    EXPECT_EQ(text.substr(misspelt[0].start, misspelt[0].length), U"\u043c\u0438\u0440\u0440");
}

} // namespace
} // namespace trellic
