#include "richtext/rich_document.h"
#include "test_documents.h"

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
