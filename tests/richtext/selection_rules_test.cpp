// The rules the buffer and the view share: list labels, which paragraphs a selection touches,
// and the formats it reports.

#include "richtext/list_labels.h"
#include "richtext/selection_formats.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

TEST(ListLabels, NumbersTheStyleCannotWriteComeOutInDigits) {
    struct Row {
        uint16_t numbering;
        uint16_t style;
        long number;
        const char* label;
    };
    const Row rows[] = {
        {kPfnLowerLetter, kPfnsPeriod, 26, "z."},
        {kPfnLowerLetter, kPfnsPeriod, 27, "aa."},
        {kPfnUpperLetter, kPfnsParen, 703, "AAA)"},
        {kPfnLowerRoman, kPfnsParens, 3999, "(mmmcmxcix)"},
        {kPfnUpperRoman, kPfnsPlain, 4000, "4000"},
        {kPfnLowerLetter, kPfnsPeriod, 0, "0."},
        {kPfnUpperRoman, kPfnsPeriod, -2, "-2."},
        {kPfnArabic, 0x0400, 7, "7)"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ListItemLabel(row.numbering, row.style, row.number), row.label) << row.label;
    }
    EXPECT_FALSE(IsListNumbering(kPfnNone));
    EXPECT_FALSE(IsListNumbering(7));
    EXPECT_TRUE(IsListNumbering(kPfnBullet));
}

TEST(ListLabels, OneListHoldsOnlyParagraphsOfTheSameNumberingStyleAndStart) {
    RichParaFormat a;
    a.numbering = kPfnArabic;
    a.numberingStyle = kPfnsPeriod;
    a.numberingStart = 3;
    RichParaFormat b = a;
    b.alignment = kPfaCenter; // other attributes do not matter
    EXPECT_TRUE(SameList(a, b));
    for (auto change : {+[](RichParaFormat& f) { f.numbering = kPfnLowerRoman; },
                        +[](RichParaFormat& f) { f.numberingStyle = kPfnsParens; },
                        +[](RichParaFormat& f) { f.numberingStart = 1; }}) {
        RichParaFormat other = a;
        change(other);
        EXPECT_FALSE(SameList(a, other));
    }
}

TEST(SelectionRules, ASelectionEndingBehindABreakStopsThere) {
    EXPECT_EQ(LastTouchedPosition(4, 4), 4u); // an insertion point
    EXPECT_EQ(LastTouchedPosition(0, 6), 5u); // "first\n|": the break at 5 is the last
    EXPECT_TRUE(HoldsBreak(5, 0, 6));
    EXPECT_FALSE(HoldsBreak(5, 0, 5));
    EXPECT_FALSE(HoldsBreak(5, 6, 9));
    EXPECT_TRUE(HoldsBreak(5, 5, 6));
}

TEST(SelectionRules, AMixedSelectionReportsItsFirstFormatAndWhatAllShare) {
    RichCharFormat plain = PlainCharFormat();
    RichCharFormat bold = plain;
    bold.Set(kCfeBold, true);
    CharFormatOfSelection chars;
    chars.Add(bold);
    chars.Add(plain);
    const RichCharFormat reported = chars.Reported(plain);
    EXPECT_TRUE(reported.Has(kCfeBold));
    EXPECT_EQ(reported.mask & kCfmBold, 0u);
    EXPECT_NE(reported.mask & kCfmItalic, 0u);

    // Breaks alone: the first mark, every attribute uniform.
    RichCharFormat mark = plain;
    mark.height = 480;
    const RichCharFormat breaks = CharFormatOfSelection().Reported(mark);
    EXPECT_EQ(breaks.height, 480);
    EXPECT_EQ(breaks.mask, kCfmAll);

    RichParaFormat left = PlainParaFormat();
    RichParaFormat centred = left;
    centred.alignment = kPfaCenter;
    ParaFormatOfSelection paragraphs;
    paragraphs.Add(centred);
    paragraphs.Add(left);
    const RichParaFormat para = paragraphs.Reported();
    EXPECT_EQ(para.alignment, kPfaCenter);
    EXPECT_EQ(para.mask & kPfmAlignment, 0u);
    EXPECT_EQ(para.mask | kPfmAlignment, kPfmAll);
}

} // namespace
} // namespace trellic
