#include "richtext/format_commands.h"
#include "richtext/rich_text_buffer.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

// "ab" with the second character already bold, so that flips meet mixed selections too.
RichTextBuffer MixedBuffer() {
    RichTextBuffer buffer;
    buffer.InsertText("ab");
    buffer.SetSelection(1, 2);
    RichCharFormat bold;
    bold.mask = kCfmBold;
    bold.effects = kCfeBold;
    buffer.SetSelectionCharFormat(bold);
    return buffer;
}

RichCharFormat FormatOf(RichTextBuffer& buffer, long long position) {
    buffer.SetSelection(position, position + 1);
    return buffer.GetSelectionCharFormat();
}

void Flip(RichTextBuffer& buffer, uint32_t effect) {
    buffer.SetSelectionCharFormat(FlipCharEffect(buffer.GetSelectionCharFormat(), effect));
}

TEST(FormatCommands, FlipFollowsTheFirstCharacterOfAMixedSelection) {
    RichTextBuffer buffer = MixedBuffer();
    buffer.SetSelection(0, 2);
    Flip(buffer, kCfeBold);
    EXPECT_TRUE(FormatOf(buffer, 0).Has(kCfeBold));
    EXPECT_TRUE(FormatOf(buffer, 1).Has(kCfeBold));
    buffer.SetSelection(0, 2);
    Flip(buffer, kCfeBold);
    EXPECT_FALSE(FormatOf(buffer, 1).Has(kCfeBold));

    // Italic and strikeout change alone.
    buffer.SetSelection(0, 2);
    Flip(buffer, kCfeItalic);
    Flip(buffer, kCfeStrikeout);
    const RichCharFormat both = FormatOf(buffer, 0);
    EXPECT_TRUE(both.Has(kCfeItalic) && both.Has(kCfeStrikeout) && !both.Has(kCfeBold));
}

TEST(FormatCommands, FlipOnAnInsertionPointChangesTheTypingFormat) {
    RichTextBuffer buffer;
    Flip(buffer, kCfeBold);
    buffer.InsertText("x");
    EXPECT_TRUE(FormatOf(buffer, 0).Has(kCfeBold));
}

TEST(FormatCommands, SubscriptAndSuperscriptExcludeEachOther) {
    RichTextBuffer buffer;
    buffer.InsertText("x");
    buffer.SetSelection(0, 1);
    Flip(buffer, kCfeSuperscript);
    EXPECT_TRUE(FormatOf(buffer, 0).Has(kCfeSuperscript));
    buffer.SetSelection(0, 1);
    Flip(buffer, kCfeSubscript);
    const RichCharFormat sub = FormatOf(buffer, 0);
    EXPECT_TRUE(sub.Has(kCfeSubscript));
    EXPECT_FALSE(sub.Has(kCfeSuperscript));
    buffer.SetSelection(0, 1);
    Flip(buffer, kCfeSubscript);
    EXPECT_EQ(FormatOf(buffer, 0).effects & (kCfeSubscript | kCfeSuperscript), 0u);

    // Superscript on subscripted text switches it over rather than losing to the subscript.
    buffer.SetSelection(0, 1);
    Flip(buffer, kCfeSubscript);
    buffer.SetSelection(0, 1);
    Flip(buffer, kCfeSuperscript);
    const RichCharFormat super = FormatOf(buffer, 0);
    EXPECT_TRUE(super.Has(kCfeSuperscript));
    EXPECT_FALSE(super.Has(kCfeSubscript));
}

TEST(FormatCommands, UnderlineTogglesSwitchTypeOrTurnOff) {
    RichTextBuffer buffer;
    buffer.InsertText("x");
    auto toggle = [&buffer](uint8_t type) {
        buffer.SetSelection(0, 1);
        buffer.SetSelectionCharFormat(ToggleUnderline(buffer.GetSelectionCharFormat(), type));
        return FormatOf(buffer, 0);
    };
    RichCharFormat format = toggle(kCfuDotted);
    EXPECT_TRUE(format.Has(kCfeUnderline));
    EXPECT_EQ(format.underlineType, kCfuDotted);
    format = toggle(kCfuSolid); // solid over dotted changes the type
    EXPECT_TRUE(format.Has(kCfeUnderline));
    EXPECT_EQ(format.underlineType, kCfuSolid);
    format = toggle(kCfuSolid); // solid over solid removes it
    EXPECT_FALSE(format.Has(kCfeUnderline));

    toggle(kCfuDotted);
    buffer.SetSelection(0, 1);
    buffer.SetSelectionCharFormat(UnderlineOff(buffer.GetSelectionCharFormat()));
    EXPECT_FALSE(FormatOf(buffer, 0).Has(kCfeUnderline));
}

TEST(FormatCommands, BulletAndNumberingToggles) {
    RichTextBuffer buffer;
    buffer.InsertText("one\r\ntwo");
    buffer.SetSelection(0, -1);
    auto apply = [&buffer](RichParaFormat change) {
        buffer.SetSelectionParaFormat(change);
        return buffer.GetSelectionParaFormat();
    };
    RichParaFormat format = apply(ToggleBullet(buffer.GetSelectionParaFormat()));
    EXPECT_EQ(format.numbering, kPfnBullet);
    format = apply(ToggleBullet(format));
    EXPECT_EQ(format.numbering, kPfnNone);

    // A numbered style starts at 1; the same command again turns it off, keeping the start.
    RichParaFormat start;
    start.mask = kPfmNumberingStart | kPfmNumberingStyle;
    start.numberingStart = 7;
    start.numberingStyle = kPfnsPeriod;
    apply(start);
    format = apply(ToggleNumbering(buffer.GetSelectionParaFormat(), kPfnLowerRoman));
    EXPECT_EQ(format.numbering, kPfnLowerRoman);
    EXPECT_EQ(format.numberingStart, 1);
    EXPECT_EQ(format.numberingStyle, kPfnsPeriod);
    format = apply(ToggleNumbering(format, kPfnUpperLetter)); // another style replaces it
    EXPECT_EQ(format.numbering, kPfnUpperLetter);
    format = apply(ToggleNumbering(format, kPfnUpperLetter));
    EXPECT_EQ(format.numbering, kPfnNone);
    EXPECT_EQ(format.numberingStart, 1);

    apply(ToggleBullet(format));
    EXPECT_EQ(apply(NumberingOff(buffer.GetSelectionParaFormat())).numbering, kPfnNone);
}

TEST(FormatCommands, AlignmentAndLineSpacingSetOneFieldEach) {
    RichTextBuffer buffer;
    buffer.InsertText("text");
    const struct {
        uint16_t alignment;
        uint8_t spacing;
    } rows[] = {{kPfaCenter, kLineSpacingDouble},
                {kPfaRight, kLineSpacingOneAndHalf},
                {kPfaJustify, kLineSpacingSingle},
                {kPfaLeft, kLineSpacingDouble}};
    for (const auto& row : rows) {
        buffer.SetSelectionParaFormat(SetAlignment(buffer.GetSelectionParaFormat(), row.alignment));
        buffer.SetSelectionParaFormat(SetLineSpacing(buffer.GetSelectionParaFormat(), row.spacing));
        const RichParaFormat format = buffer.GetSelectionParaFormat();
        EXPECT_EQ(format.alignment, row.alignment);
        EXPECT_EQ(format.lineSpacingRule, row.spacing);
        EXPECT_EQ(format.numbering, kPfnNone);
    }
}

TEST(FormatCommands, ARaiseGoesWithTheScriptItCameWith) {
    RichCharFormat raised = PlainCharFormat();
    raised.effects = kCfeSuperscript;
    raised.offset = 60;
    RichCharFormat format = raised;
    ApplyCharFormat(format, FlipCharEffect(raised, kCfeBold));
    EXPECT_EQ(format.offset, 60) << "other effects leave it";
    ApplyCharFormat(format, FlipCharEffect(raised, kCfeSubscript));
    EXPECT_TRUE(format.Has(kCfeSubscript));
    EXPECT_EQ(format.offset, 0) << "another script forgets it";
    format = raised;
    ApplyCharFormat(format, FlipCharEffect(raised, kCfeSuperscript));
    EXPECT_FALSE(format.Has(kCfeSuperscript));
    EXPECT_EQ(format.offset, 0);
}

TEST(FormatCommands, NewAttributesChangeOnlyUnderTheirMask) {
    RichCharFormat format = PlainCharFormat();
    RichCharFormat change;
    change.mask = kCfmBackColor | kCfmSmallCaps;
    change.backColor = 0x12FFFFFF; // only the colour's three bytes count
    change.effects = kCfeSmallCaps | kCfeHidden | kCfeAllCaps;
    ApplyCharFormat(format, change);
    EXPECT_EQ(format.backColor, 0xFFFFFFu);
    EXPECT_TRUE(format.Has(kCfeSmallCaps));
    EXPECT_FALSE(format.Has(kCfeHidden));
    EXPECT_FALSE(format.Has(kCfeAllCaps));
    RichCharFormat other = format;
    other.backColor.reset();
    EXPECT_EQ(EqualCharAttributes(format, other) & kCfmBackColor, 0u);
    EXPECT_NE(EqualCharAttributes(format, other) & kCfmSmallCaps, 0u);

    RichParaFormat paragraph = PlainParaFormat();
    paragraph.numbering = kPfnBullet;
    paragraph.bulletSymbol = 0xA7;
    paragraph.bulletFace = "Wingdings";
    paragraph.bulletCharSet = kSymbolCharSet;
    RichParaFormat plain = paragraph;
    ApplyParaFormat(plain, NumberingOff(paragraph));
    ApplyParaFormat(plain, ToggleBullet(plain));
    EXPECT_EQ(plain.numbering, kPfnBullet);
    EXPECT_EQ(plain.bulletSymbol, 0u) << "a bullet switched on anew is the standard one";
}

} // namespace
} // namespace trellic
