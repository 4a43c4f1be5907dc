#include "render/rich_formats.h"

namespace trellic {

namespace {

constexpr const char* kBulletNames[kBulletCount] = {
    "None",
    "Circle",
    "3D Circle",
    "Square",
    "3D Square",
    "Diamond",
    "Multiple Diamonds",
    "Star",
    "3D Star",
    "3D Arrow",
    "Thin Arrow",
    "Thick Arrow",
    "Outlined Arrow",
    "Tick",
    "Cross",
    "Plus (TXT)",
    "Minus (TXT)",
};

constexpr unsigned char kBulletSymbols[kLastSymbolBullet + 1] = {
    0, 0x6C, 0x6D, 0x6E, 0x71, 0x74, 0x76, 0xAB, 0xB6, 0xD8, 0xE0, 0xE8, 0xF0, 0xFC, 0xFB};

} // namespace

RichCharFormat ToRichCharFormat(const CharFormat& format) {
    RichCharFormat rich;
    rich.mask = kFullCharMask;
    rich.Set(kCfeBold, format.bold);
    rich.Set(kCfeItalic, format.italic);
    rich.Set(kCfeStrikeout, format.strikeout);
    rich.Set(kCfeUnderline, format.underline);
    rich.underlineType = format.underline ? kCfuSolid : kCfuNone;
    rich.charSet = format.charSet;
    rich.pitchAndFamily = format.pitchAndFamily;
    rich.color = static_cast<uint32_t>(format.color);
    rich.height = format.height;
    rich.faceName = TruncateFaceName(format.faceName);
    return rich;
}

RichParaFormat ToRichParaFormat(const ParaFormat& format, uint16_t listNumber) {
    RichParaFormat rich;
    rich.lineSpacingRule = format.lineSpacing;
    rich.alignment = static_cast<uint16_t>(format.alignment);
    rich.mask = kNodeParaMask;
    if (listNumber == 0) {
        rich.numbering = kPfnNone;
    } else {
        rich.mask |= kPfmNumberingStart;
        rich.numbering = static_cast<uint16_t>(format.numbering);
        rich.numberingStart = listNumber;
    }
    return rich;
}

void FromFontDialog(const FontChoice& choice, const RichCharFormat& dialogFormat,
                    CharFormat& format) {
    format.bold = choice.weight == 700;
    format.italic = choice.italic;
    format.underline = choice.underline;
    format.strikeout = choice.strikeout;
    format.charSet = (dialogFormat.mask & kCfmCharSet) ? dialogFormat.charSet : 1;
    format.pitchAndFamily = dialogFormat.pitchAndFamily;
    if (dialogFormat.mask & kCfmColor) {
        format.color = static_cast<int32_t>(dialogFormat.color);
    }
    if (dialogFormat.mask & kCfmSize) {
        format.height = dialogFormat.height;
    }
    if (dialogFormat.mask & kCfmFace) {
        format.faceName = dialogFormat.faceName;
    }
}

const char* BulletName(int32_t bullet) {
    return bullet >= 0 && bullet < kBulletCount ? kBulletNames[bullet] : "";
}

unsigned char BulletSymbol(int32_t bullet) {
    return bullet > kBulletNone && bullet <= kLastSymbolBullet ? kBulletSymbols[bullet] : 0;
}

EffectiveStyle StyleOf(const HeaderNode& node, const StyleNode& resumeStyle) {
    return node.inheritStyle
               ? EffectiveStyle{&resumeStyle.headerStyle, 0, resumeStyle.headerUnderline}
               : EffectiveStyle{&node.style, 0, node.underline};
}

EffectiveStyle StyleOf(const ResumeSectionNode& node, const StyleNode& resumeStyle) {
    return node.inheritStyle
               ? EffectiveStyle{&resumeStyle.sectionStyle, resumeStyle.sectionBullet, false}
               : EffectiveStyle{&node.style, node.bullet, false};
}

EffectiveStyle StyleOf(const SLFieldNode& node, const StyleNode& resumeStyle) {
    return node.inheritStyle
               ? EffectiveStyle{&resumeStyle.slFieldStyle, resumeStyle.slFieldBullet, false}
               : EffectiveStyle{&node.style, node.bullet, false};
}

EffectiveStyle StyleOf(const MLFieldNode& node, const StyleNode& resumeStyle) {
    return node.inheritStyle
               ? EffectiveStyle{&resumeStyle.mlFieldStyle, resumeStyle.mlFieldBullet, false}
               : EffectiveStyle{&node.style, node.bullet, false};
}

} // namespace trellic
