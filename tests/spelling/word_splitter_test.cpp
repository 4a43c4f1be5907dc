#include "engine/code_page.h"
#include "spelling/word_splitter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace trellic {
namespace {

std::vector<std::string> Words(std::string_view utf8) {
    const std::u32string text = DecodeUtf8(utf8);
    std::vector<std::string> words;
    for (const TextSpan& span : SplitWords(text)) {
        std::string word;
        for (const char32_t c : text.substr(span.start, span.length)) {
            AppendUtf8(word, c);
        }
        words.push_back(word);
    }
    return words;
}

struct SplitRow {
    const char* what;
    const char* text;
    std::vector<std::string> words;
};

TEST(SplitWords, FindsTheWordsAResumeIsWrittenIn) {
    const SplitRow rows[] = {
        {"plain words", "Led a team of five.", {"Led", "a", "team", "of", "five"}},
        {"apostrophes inside a word, quotes around it",
         "'Tis Ann's team\u2019s \"don't\" students' \u2018quoted\u2019",
         {"Tis", "Ann's", "team\u2019s", "don't", "students", "quoted"}},
        {"hyphenated words stay whole, dashes split",
         "well-known state-of-the-art -dash- pre- word\u2014word",
         {"well-known", "state-of-the-art", "dash", "pre", "word", "word"}},
        {"letters of any script with their marks",
         "na\u00efve Z\u00fcrich re\u0301sume\u0301 \u0395\u03bb\u03bb\u03ac\u03b4\u03b1",
         {"na\u00efve", "Z\u00fcrich", "re\u0301sume\u0301",
          "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"}},
        {"a digit or an underscore leaves the whole token out",
         "3rd COVID-19 B2B snake_case H2O 2020 x\u00b2",
         {}},
        {"addresses are left out",
         "ann@example.com <mailto:a@b.c> https://x.org/a-b (www.ann.dev) github.com/ann",
         {}},
        {"dotted names and abbreviations are left out, a full stop is not part of a word",
         "e.g. Node.js ASP.NET the end.",
         {"the", "end"}},
        {"other punctuation splits",
         "and/or (Python), C++; tabs\tand\u00a0spaces",
         {"and", "or", "Python", "C", "tabs", "and", "spaces"}},
        {"nothing to split", " \t\r\n", {}},
    };
    for (const SplitRow& row : rows) {
        EXPECT_EQ(Words(row.text), row.words) << row.what;
    }
}

TEST(SplitWords, SpansCountCharactersNotBytes) {
    const std::u32string text = U"\u00e9t\u00e9 \U0001D400 caf\u00e9";
    const std::vector<TextSpan> spans = SplitWords(text);
    ASSERT_EQ(spans.size(), 3U);
    EXPECT_EQ(spans[0], (TextSpan{0, 3}));
    EXPECT_EQ(spans[1], (TextSpan{4, 1})); // a mathematical letter beyond the BMP
    EXPECT_EQ(spans[2], (TextSpan{6, 4}));
}

TEST(HyphenatedParts, SplitsAtEveryHyphen) {
    EXPECT_EQ(HyphenatedParts(U"state-of-the\u2011art"),
              (std::vector<TextSpan>{{0, 5}, {6, 2}, {9, 3}, {13, 3}}));
    EXPECT_EQ(HyphenatedParts(U"word"), (std::vector<TextSpan>{{0, 4}}));
}

} // namespace
} // namespace trellic
