#include "engine/code_page.h"
#include "spelling/spell_checker.h"
#include "temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

// The system's dictionaries, as the program finds them; the tests need en_US and en_GB.
InstalledDictionary Installed(const char* language) {
    const auto installed = FindDictionaries(DictionaryFolders());
    const InstalledDictionary* dictionary = FindLanguage(installed, language);
    return dictionary ? *dictionary : InstalledDictionary{language, "/nonexistent.aff"};
}

struct Checker {
    explicit Checker(const char* language = "en_US")
        : checker(PersonalWordList(dir.File("data/trellic/personal-dictionary.txt"))) {
        const DictionaryLoad load = checker.Load(Installed(language));
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

TEST(SpellChecker, LanguagesDiffer) {
    Checker american("en_US");
    Checker british("en_GB");
    EXPECT_EQ(american.Misspelt("colour color organize"), (std::vector<std::string>{"colour"}));
    EXPECT_EQ(british.Misspelt("colour color organise"), (std::vector<std::string>{"color"}));
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

TEST(SpellChecker, AddedWordsAreWrittenDownAndReadAtTheNextStart) {
    Checker c;
    ASSERT_FALSE(c.checker.IsCorrect("Quelmar"));
    ASSERT_TRUE(c.checker.AddToDictionary("Quelmar").ok);
    EXPECT_TRUE(c.checker.IsCorrect("Quelmar"));
    EXPECT_EQ(ReadFileBytes(c.dir.File("data/trellic/personal-dictionary.txt")), "Quelmar\n");

    SpellChecker next(PersonalWordList(c.dir.File("data/trellic/personal-dictionary.txt")));
    ASSERT_TRUE(next.Load(Installed("en_GB")).ok);
    EXPECT_FALSE(next.IsCorrect("Quelmar"));
    ASSERT_TRUE(next.LoadPersonalWords().ok);
    EXPECT_TRUE(next.IsCorrect("Quelmar")); // in every language

    // A list that cannot be written still lets the word pass for the session.
    SpellChecker nowhere(PersonalWordList(c.dir.File("data/trellic/personal-dictionary.txt/x")));
    ASSERT_TRUE(nowhere.Load(Installed("en_US")).ok);
    EXPECT_FALSE(nowhere.AddToDictionary("Zorblax").ok);
    EXPECT_TRUE(nowhere.IsCorrect("Zorblax"));
}

TEST(SpellChecker, SuggestsReplacements) {
    Checker c;
    const std::vector<std::string> suggestions = c.checker.Suggestions("managment");
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(suggestions.front(), "management");
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

} // namespace
} // namespace trellic
