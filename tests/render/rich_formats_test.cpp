#include "render/rich_formats.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

TEST(ToRichCharFormat, EveryAttributeValidAndFaceCut) {
    CharFormat plain;
    plain.faceName = std::string(40, 'F');
    plain.charSet = 2;
    plain.pitchAndFamily = 34;
    plain.height = 240;
    plain.color = 0x00112233;
    const RichCharFormat rich = ToRichCharFormat(plain);
    EXPECT_EQ(rich.mask, 0xE800000FU);
    EXPECT_EQ(rich.effects & (kCfeBold | kCfeItalic | kCfeUnderline | kCfeStrikeout), 0U);
    EXPECT_EQ(rich.faceName, std::string(31, 'F'));
    EXPECT_EQ(rich.charSet, 2);
    EXPECT_EQ(rich.pitchAndFamily, 34);
    EXPECT_EQ(rich.height, 240);
    EXPECT_EQ(rich.color, 0x00112233U);

    CharFormat all = plain;
    all.bold = all.italic = all.underline = all.strikeout = true;
    all.faceName = "Caf\xC3\xA9";
    const RichCharFormat effects = ToRichCharFormat(all);
    EXPECT_TRUE(effects.Has(kCfeBold) && effects.Has(kCfeItalic) && effects.Has(kCfeUnderline) &&
                effects.Has(kCfeStrikeout));
    EXPECT_EQ(effects.faceName, "Caf\xC3\xA9");

    // The 31 are characters: a face of 40 Chinese characters keeps 31 of them, whole.
    std::string chinese;
    for (int i = 0; i < 40; ++i) {
        chinese += "\xE5\xAE\x8B"; // 宋
    }
    all.faceName = chinese;
    EXPECT_EQ(ToRichCharFormat(all).faceName, chinese.substr(0, 31 * 3));
}

TEST(ToRichParaFormat, NumberingWaitsForTheFirstCountedNode) {
    const ParaFormat numbered{2, 3, 1, 0};
    const RichParaFormat off = ToRichParaFormat(numbered, 0);
    EXPECT_EQ(off.mask, 0x128U);
    EXPECT_EQ(off.numbering, kPfnNone);
    EXPECT_EQ(off.alignment, kPfaCenter);
    EXPECT_EQ(off.lineSpacingRule, 1);

    const RichParaFormat on = ToRichParaFormat(numbered, 3);
    EXPECT_EQ(on.mask, 0x8128U);
    EXPECT_EQ(on.numbering, kPfnArabic);
    EXPECT_EQ(on.numberingStart, 3);

    const ParaFormat odd{9, 7, 5, 0}; // outside the tables: passed on as they are
    const RichParaFormat passed = ToRichParaFormat(odd, 1);
    EXPECT_EQ(passed.numbering, 9);
    EXPECT_EQ(passed.alignment, 7);
    EXPECT_EQ(passed.lineSpacingRule, 5);
}

TEST(FromFontDialog, EffectsFromTheChoiceTheRestWhereValid) {
    CharFormat format;
    format.color = 0x00ABCDEF;
    format.height = 200;
    format.faceName = "Old";
    RichCharFormat dialog;
    dialog.mask = kCfmFace | kCfmSize;
    dialog.faceName = "Georgia";
    dialog.height = 280;
    dialog.pitchAndFamily = 18;
    dialog.color = 0x0000FF;

    FromFontDialog({600, true, false, true}, dialog, format);
    EXPECT_FALSE(format.bold); // 600 is not bold
    EXPECT_TRUE(format.italic);
    EXPECT_TRUE(format.strikeout);
    EXPECT_EQ(format.charSet, 1); // no valid character set: the default one
    EXPECT_EQ(format.pitchAndFamily, 18);
    EXPECT_EQ(format.color, 0x00ABCDEF); // no valid colour: kept
    EXPECT_EQ(format.height, 280);
    EXPECT_EQ(format.faceName, "Georgia");

    dialog.mask = kCfmColor | kCfmCharSet;
    dialog.charSet = 2;
    FromFontDialog({700, false, true, false}, dialog, format);
    EXPECT_TRUE(format.bold);
    EXPECT_TRUE(format.underline);
    EXPECT_EQ(format.color, 0x0000FF);
    EXPECT_EQ(format.charSet, 2);
    EXPECT_EQ(format.faceName, "Georgia");
}

TEST(Bullets, NamesAndSymbols) {
    EXPECT_STREQ(BulletName(0), "None");
    EXPECT_STREQ(BulletName(13), "Tick");
    EXPECT_STREQ(BulletName(16), "Minus (TXT)");
    EXPECT_STREQ(BulletName(17), "");
    EXPECT_STREQ(BulletName(-1), "");
    EXPECT_EQ(BulletSymbol(1), 0x6C);
    EXPECT_EQ(BulletSymbol(13), 0xFC);
    EXPECT_EQ(BulletSymbol(14), 0xFB);
    EXPECT_EQ(BulletSymbol(15), 0);
    EXPECT_EQ(BulletSymbol(0), 0);
}

} // namespace
} // namespace trellic
