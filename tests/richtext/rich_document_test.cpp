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

} // namespace
} // namespace trellic
