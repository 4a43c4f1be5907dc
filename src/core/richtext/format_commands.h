#pragma once

#include "richtext/rich_format.h"

namespace trellic {

// The rules of the Format menu's commands: each takes the format the view reports for the
// selection and returns the change to apply to it. They look at the reported values only, never
// at the mask, so a mixed selection flips according to its first character or paragraph.

// Bold, italic, strikeout: the effect alone. Subscript and superscript: both bits under their
// shared mask; switching one on switches the other off, switching it off passes the other on
// as reported.
RichCharFormat FlipCharEffect(const RichCharFormat& reported, uint32_t effect);
// Underline off; the underline type stays as reported.
RichCharFormat UnderlineOff(const RichCharFormat& reported);
// The Solid (kCfuSolid) and Dotted (kCfuDotted) toggles: off when the selection already has
// this underline, else on with this type.
RichCharFormat ToggleUnderline(const RichCharFormat& reported, uint8_t underlineType);

RichParaFormat NumberingOff(const RichParaFormat& reported);
// Bullet off when the selection has bullets, else on; numbering alone.
RichParaFormat ToggleBullet(const RichParaFormat& reported);
// A numbered style (kPfnArabic ... kPfnUpperRoman): off when the selection has it, else on and
// starting at 1. The numbering style (punctuation) is left as it is.
RichParaFormat ToggleNumbering(const RichParaFormat& reported, uint16_t numbering);
RichParaFormat SetAlignment(const RichParaFormat& reported, uint16_t alignment);
// The rule alone; the distance read from the selection is passed on unchanged.
RichParaFormat SetLineSpacing(const RichParaFormat& reported, uint8_t rule);

} // namespace trellic
