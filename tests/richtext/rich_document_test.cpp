#include "richtext/rich_document.h"
#include "test_documents.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Font;

TEST(RichDocument, RuleParagraphIsARowOfMacronsAndNothingElse) {
    RichCharFormat symbol = Font("Wingdings");
    symbol.charSet = kSymbolCharSet;
    const std::u32string row(44, U'\u00AF');
    struct Row {
        const char* what;
        std::vector<RichRun> runs;
        bool rule;
    };
    const Row rows[] = {
        {"the renderers' rule", {{row, Font("Arial", 320)}}, true},
        {"split over runs",
         {{U"\u00AF\u00AF", Font("Arial")}, {U"\u00AF\u00AF", Font("Tahoma")}},
         true},
        {"blanks around it", {{U"\t \u00AF\u00AF\u00AF\u00AF  ", Font("Arial")}}, true},
        {"three are a typing accident", {{U"\u00AF\u00AF\u00AF", Font("Arial")}}, false},
        {"a word after it", {{row + U" x", Font("Arial")}}, false},
        {"a gap inside it", {{U"\u00AF\u00AF \u00AF\u00AF", Font("Arial")}}, false},
        {"the byte in a symbol font", {{row, symbol}}, false},
        {"empty", {}, false},
    };
    for (const Row& r : rows) {
        RichParagraph paragraph;
        paragraph.runs = r.runs;
        EXPECT_EQ(IsRuleParagraph(paragraph), r.rule) << r.what;
    }
}

// Copies of a paragraph format share their tab stops until one writes; a write must never
// reach another paragraph, and how the stops are kept must not change what compares equal.
TEST(RichDocument, TabStopsAreEachFormatsOwnAndCompareByValue) {
    RichParaFormat first;
    first.tabCount = 2;
    first.tabs[0] = MakeTab(1440);
    first.tabs[1] = MakeTab(4320, kTabRight, kLeaderDots);
    RichParaFormat second = first;
    second.tabs[1] = MakeTab(5000);
    EXPECT_EQ(first.tabs[1], MakeTab(4320, kTabRight, kLeaderDots)) << "the copy wrote through";
    RichParaFormat third = second;
    std::fill(third.tabs.begin(), third.tabs.end(), 0);
    third.tabCount = 0;
    EXPECT_EQ(second.tabs[0], MakeTab(1440)) << "writing through the iterators wrote through";

    RichParaFormat plain;
    EXPECT_EQ(plain.tabs[kMaxTabStops - 1], 0);
    EXPECT_EQ(third, plain) << "stops written as zeros equal stops never set";
    EXPECT_NE(first, second);
    second.tabs[1] = first.tabs[1];
    EXPECT_EQ(first, second);

    // Applying stops takes only those the change counts, and takes them as they stand.
    RichParaFormat change = first;
    change.mask = kPfmTabStops;
    change.tabCount = 1;
    RichParaFormat target = plain;
    ApplyParaFormat(target, change);
    EXPECT_EQ(target.tabCount, 1);
    EXPECT_EQ(target.tabs[0], MakeTab(1440));
    EXPECT_EQ(target.tabs[1], 0) << "an entry beyond the count came along";
    change.tabs[0] = MakeTab(99);
    EXPECT_EQ(target.tabs[0], MakeTab(1440));
    change.tabCount = 0;
    ApplyParaFormat(target, change);
    EXPECT_EQ(target.tabCount, 0);
    EXPECT_EQ(target.tabs, plain.tabs);
}

TEST(RichDocument, NormalizeMergesEqualNeighboursAcrossDroppedEmptyRuns) {
    const RichCharFormat a = Font("Arial");
    const RichCharFormat b = Font("Times");
    RichDocument document;
    document.paragraphs.resize(3);
    document.paragraphs[0].runs = {{U"a", a}, {U"", b},  {U"b", a}, {U"c", b},
                                   {U"", b},  {U"d", b}, {U"", a}};
    document.paragraphs[1].runs = {{U"", a}, {U"", b}};
    document.paragraphs[2].runs = {{U"x", a}, {U"y", b}, {U"z", a}};
    RichDocument expected = document;
    expected.paragraphs[0].runs = {{U"ab", a}, {U"cd", b}};
    expected.paragraphs[1].runs.clear();
    document.Normalize();
    EXPECT_EQ(document, expected);
    document.paragraphs.clear();
    document.Normalize();
    EXPECT_EQ(document, RichDocument{});
}

} // namespace
} // namespace trellic
