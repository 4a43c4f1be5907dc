#include "richtext/format_commands.h"

namespace trellic {

RichCharFormat FlipCharEffect(const RichCharFormat& reported, uint32_t effect) {
    RichCharFormat change = reported;
    change.effects ^= effect;
    const bool script = effect == kCfeSubscript || effect == kCfeSuperscript;
    change.mask = script ? kCfmSubscript : effect;
    if (script && change.Has(effect)) {
        // Text is never both: with both bits set subscript would win, and Superscript on
        // subscripted text would do nothing. Switching one on switches the other off.
        change.Set(effect == kCfeSubscript ? kCfeSuperscript : kCfeSubscript, false);
    }
    return change;
}

RichCharFormat UnderlineOff(const RichCharFormat& reported) {
    RichCharFormat change = reported;
    change.mask = kCfmUnderline;
    change.effects &= ~kCfeUnderline;
    return change;
}

RichCharFormat ToggleUnderline(const RichCharFormat& reported, uint8_t underlineType) {
    RichCharFormat change = reported;
    change.mask = kCfmUnderline | kCfmUnderlineType;
    if (reported.Has(kCfeUnderline) && reported.underlineType == underlineType) {
        change.effects &= ~kCfeUnderline;
    } else {
        change.effects |= kCfeUnderline;
        change.underlineType = underlineType;
    }
    return change;
}

RichParaFormat NumberingOff(const RichParaFormat& reported) {
    RichParaFormat change = reported;
    change.mask = kPfmNumbering;
    change.numbering = kPfnNone;
    return change;
}

RichParaFormat ToggleBullet(const RichParaFormat& reported) {
    RichParaFormat change = reported;
    change.mask = kPfmNumbering;
    change.numbering = reported.numbering == kPfnBullet ? kPfnNone : kPfnBullet;
    return change;
}

RichParaFormat ToggleNumbering(const RichParaFormat& reported, uint16_t numbering) {
    RichParaFormat change = reported;
    change.mask = kPfmNumbering | kPfmNumberingStart;
    if (reported.numbering == numbering) {
        change.numbering = kPfnNone;
    } else {
        change.numbering = numbering;
        change.numberingStart = 1;
    }
    return change;
}

RichParaFormat SetAlignment(const RichParaFormat& reported, uint16_t alignment) {
    RichParaFormat change = reported;
    change.mask = kPfmAlignment;
    change.alignment = alignment;
    return change;
}

RichParaFormat SetLineSpacing(const RichParaFormat& reported, uint8_t rule) {
    RichParaFormat change = reported;
    change.mask = kPfmLineSpacing;
    change.lineSpacingRule = rule;
    return change;
}

} // namespace trellic
