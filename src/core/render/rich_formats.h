#pragma once

#include "model/node_records.h"
#include "richtext/rich_format.h"

#include <cstdint>
#include <string>

namespace trellic {

// Mask of a character format converted from a CharFormat: bold, italic, underline, strikeout,
// character set, colour, size and face. 0xE800000F.
inline constexpr uint32_t kFullCharMask = kCfmBold | kCfmItalic | kCfmUnderline | kCfmStrikeout |
                                          kCfmCharSet | kCfmColor | kCfmSize | kCfmFace;
// Mask of a converted paragraph format: line spacing, alignment, numbering (0x128), and the
// numbering start when a list number is given (0x8128).
inline constexpr uint32_t kNodeParaMask = kPfmLineSpacing | kPfmAlignment | kPfmNumbering;

// A node's character format as the view takes it, every attribute valid; the face name is cut
// to 31 characters.
RichCharFormat ToRichCharFormat(const CharFormat& format);

// A node's paragraph format for list number n. Numbering stays off until the first numbered
// node has been counted (n == 0), whatever the format asks.
RichParaFormat ToRichParaFormat(const ParaFormat& format, uint16_t listNumber);

// What the user picked in a font dialog, besides the dialog's own character format.
struct FontChoice {
    int weight = 400; // 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// Takes a font dialog's result into a CharFormat: the effects from the choice, the rest from
// the dialog's format where its mask says the dialog set them.
void FromFontDialog(const FontChoice& choice, const RichCharFormat& dialogFormat,
                    CharFormat& format);

// The bullet symbol list: "None", Wingdings symbols up to kLastSymbolBullet, then the two
// plain-text bullets.
inline constexpr int32_t kBulletNone = 0;
inline constexpr int32_t kLastSymbolBullet = 14;
inline constexpr int32_t kBulletPlus = 15;  // "Plus (TXT)": "+ "
inline constexpr int32_t kBulletMinus = 16; // "Minus (TXT)": "- "
inline constexpr int32_t kBulletCount = 17;
// The bullet's name as the style dialogs list it; empty outside the list.
const char* BulletName(int32_t bullet);
// The Wingdings byte of the symbol bullets; 0 for any other value.
unsigned char BulletSymbol(int32_t bullet);

// The style a node renders with: its own, or the resume's when it inherits.
struct EffectiveStyle {
    const TextStyle* style = nullptr;
    int32_t bullet = 0;     // sections and fields
    bool underline = false; // headers
};

EffectiveStyle StyleOf(const HeaderNode& node, const StyleNode& resumeStyle);
EffectiveStyle StyleOf(const ResumeSectionNode& node, const StyleNode& resumeStyle);
EffectiveStyle StyleOf(const SLFieldNode& node, const StyleNode& resumeStyle);
EffectiveStyle StyleOf(const MLFieldNode& node, const StyleNode& resumeStyle);

} // namespace trellic
