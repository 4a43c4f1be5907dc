#include "richtext/rich_format.h"

#include <algorithm>

namespace trellic {

namespace {

// Mask bits whose effect bit has the same value.
constexpr uint32_t kEffectBitsOfMask[] = {kCfmBold,      kCfmItalic,  kCfmUnderline, kCfmStrikeout,
                                          kCfmSmallCaps, kCfmAllCaps, kCfmHidden};
constexpr uint32_t kScriptEffects = kCfeSubscript | kCfeSuperscript;

// Clamps distances so that absurd values from a file or a caller stay far from overflow when
// the writer adds or negates them.
int32_t ClampTwips(int32_t value) {
    constexpr int32_t kLimit = 0x3FFFFFF;
    return std::clamp(value, -kLimit, kLimit);
}

} // namespace

int32_t MakeTab(int32_t position, uint8_t alignment, uint8_t leader) {
    const auto where = static_cast<uint32_t>(std::clamp(position, 0, kMaxTabPosition));
    return static_cast<int32_t>(where | uint32_t{alignment & 0xFu} << 24 |
                                uint32_t{leader & 0xFu} << 28);
}

std::string TruncateFaceName(const std::string& utf8) {
    if (utf8.size() <= kMaxFaceNameLength) {
        return utf8; // no more characters than bytes
    }
    size_t characters = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) != 0x80) {
            if (characters == kMaxFaceNameLength) {
                return utf8.substr(0, i);
            }
            ++characters;
        }
    }
    return utf8;
}

void ApplyCharFormat(RichCharFormat& target, const RichCharFormat& change) {
    for (uint32_t bit : kEffectBitsOfMask) {
        if (change.mask & bit) {
            target.Set(bit, change.Has(bit));
        }
    }
    if (change.mask & kCfmSubscript) {
        const uint32_t before = target.effects & kScriptEffects;
        target.Set(kCfeSubscript, change.Has(kCfeSubscript));
        // The two are exclusive; subscript wins as in the control.
        target.Set(kCfeSuperscript, change.Has(kCfeSuperscript) && !change.Has(kCfeSubscript));
        // A raise belongs to the superscript it came with: another script forgets it.
        if ((target.effects & kScriptEffects) != before && !(change.mask & kCfmOffset)) {
            target.offset = 0;
        }
    }
    if (change.mask & kCfmOffset) {
        target.offset = std::clamp(change.offset, -0x7FFF * 20, 0x7FFF * 20);
    }
    if ((target.effects & kScriptEffects) == 0) {
        target.offset = 0;
    }
    if (change.mask & kCfmBackColor) {
        target.backColor = change.backColor;
        if (target.backColor) {
            *target.backColor &= 0x00FFFFFF;
        }
    }
    if (change.mask & kCfmUnderlineType) {
        target.underlineType = change.underlineType;
    }
    if ((change.mask & kCfmUnderline) && target.Has(kCfeUnderline) &&
        target.underlineType == kCfuNone) {
        target.underlineType = kCfuSolid;
    }
    if (change.mask & kCfmSize) {
        target.height = std::clamp(change.height, 0, 0x7FFF * 20);
    }
    if (change.mask & kCfmColor) {
        target.color = change.color & 0x00FFFFFF;
        target.Set(kCfeAutoColor, change.Has(kCfeAutoColor));
    }
    if (change.mask & kCfmCharSet) {
        target.charSet = change.charSet;
    }
    if (change.mask & kCfmFace) {
        if (change.faceName.size() <= kMaxFaceNameLength) {
            target.faceName = change.faceName; // reuses the target's storage
        } else {
            target.faceName = TruncateFaceName(change.faceName);
        }
        target.pitchAndFamily = change.pitchAndFamily;
    }
    target.mask = kCfmAll;
}

const TabStops::Entries TabStops::kNone{};

TabStops::Entries& TabStops::Own() {
    if (!m_entries) {
        m_entries = std::make_shared<Entries>();
    } else if (m_entries.use_count() > 1) {
        m_entries = std::make_shared<Entries>(*m_entries);
    }
    return *m_entries;
}

TabStops TabStops::First(size_t count) const {
    count = std::min(count, kMaxTabStops);
    if (count == 0) {
        return {};
    }
    const Entries& entries = Read();
    if (std::all_of(entries.begin() + static_cast<std::ptrdiff_t>(count), entries.end(),
                    [](int32_t tab) { return tab == 0; })) {
        return *this;
    }
    TabStops first;
    std::copy_n(entries.begin(), count, first.begin());
    return first;
}

void ApplyParaFormat(RichParaFormat& target, const RichParaFormat& change) {
    if (change.mask & kPfmStartIndent) {
        target.startIndent = ClampTwips(change.startIndent);
    } else if (change.mask & kPfmOffsetIndent) {
        target.startIndent = ClampTwips(target.startIndent + ClampTwips(change.startIndent));
    }
    if (change.mask & kPfmRightIndent) {
        target.rightIndent = ClampTwips(change.rightIndent);
    }
    if (change.mask & kPfmOffset) {
        target.offset = ClampTwips(change.offset);
    }
    if (change.mask & kPfmAlignment) {
        target.alignment = change.alignment;
    }
    if (change.mask & kPfmTabStops) {
        target.tabCount = std::min<uint8_t>(change.tabCount, kMaxTabStops);
        target.tabs = change.tabs.First(target.tabCount);
    }
    if (change.mask & kPfmNumbering) {
        target.numbering = change.numbering;
        // A symbol is only a bullet's: a paragraph that stops being bulleted forgets it.
        const bool bullet = change.numbering == kPfnBullet;
        target.bulletSymbol = bullet ? change.bulletSymbol : 0;
        target.bulletFace = bullet ? change.bulletFace : std::string();
        target.bulletCharSet = bullet ? change.bulletCharSet : 0;
    }
    if (change.mask & kPfmSpaceBefore) {
        target.spaceBefore = ClampTwips(change.spaceBefore);
    }
    if (change.mask & kPfmSpaceAfter) {
        target.spaceAfter = ClampTwips(change.spaceAfter);
    }
    if (change.mask & kPfmLineSpacing) {
        target.lineSpacingRule = change.lineSpacingRule;
        // One, one and a half and two lines given as a multiple are the fixed rules.
        if (change.lineSpacingRule == kLineSpacingMultiple && change.lineSpacing >= 20 &&
            change.lineSpacing <= 40 && change.lineSpacing % 10 == 0) {
            target.lineSpacingRule = static_cast<uint8_t>(change.lineSpacing / 10 - 2);
        }
        // The three fixed rules need no distance; dropping it keeps equal-looking paragraphs
        // equal, so that they share one list or one paragraph definition when written.
        target.lineSpacing =
            target.lineSpacingRule <= kLineSpacingDouble ? 0 : ClampTwips(change.lineSpacing);
    }
    if (change.mask & kPfmNumberingStyle) {
        target.numberingStyle = change.numberingStyle;
    }
    if (change.mask & kPfmNumberingStart) {
        target.numberingStart = change.numberingStart;
    }
    target.mask = kPfmAll;
}

uint32_t EqualCharAttributes(const RichCharFormat& a, const RichCharFormat& b) {
    uint32_t mask = 0;
    for (uint32_t bit : kEffectBitsOfMask) {
        if (a.Has(bit) == b.Has(bit)) {
            mask |= bit;
        }
    }
    if ((a.effects & kScriptEffects) == (b.effects & kScriptEffects)) {
        mask |= kCfmSubscript;
    }
    if (a.offset == b.offset) {
        mask |= kCfmOffset;
    }
    if (a.backColor == b.backColor) {
        mask |= kCfmBackColor;
    }
    if (a.underlineType == b.underlineType) {
        mask |= kCfmUnderlineType;
    }
    if (a.height == b.height) {
        mask |= kCfmSize;
    }
    if (a.Has(kCfeAutoColor) == b.Has(kCfeAutoColor) &&
        (a.Has(kCfeAutoColor) || a.color == b.color)) {
        mask |= kCfmColor;
    }
    if (a.charSet == b.charSet) {
        mask |= kCfmCharSet;
    }
    if (a.faceName == b.faceName && a.pitchAndFamily == b.pitchAndFamily) {
        mask |= kCfmFace;
    }
    return mask;
}

uint32_t EqualParaAttributes(const RichParaFormat& a, const RichParaFormat& b) {
    uint32_t mask = 0;
    auto same = [&mask](bool equal, uint32_t bit) {
        if (equal) {
            mask |= bit;
        }
    };
    same(a.startIndent == b.startIndent, kPfmStartIndent);
    same(a.rightIndent == b.rightIndent, kPfmRightIndent);
    same(a.offset == b.offset, kPfmOffset);
    same(a.alignment == b.alignment, kPfmAlignment);
    same(a.tabCount == b.tabCount && a.tabs == b.tabs, kPfmTabStops);
    same(a.numbering == b.numbering && a.bulletSymbol == b.bulletSymbol &&
             a.bulletFace == b.bulletFace && a.bulletCharSet == b.bulletCharSet,
         kPfmNumbering);
    same(a.spaceBefore == b.spaceBefore, kPfmSpaceBefore);
    same(a.spaceAfter == b.spaceAfter, kPfmSpaceAfter);
    same(a.lineSpacingRule == b.lineSpacingRule && a.lineSpacing == b.lineSpacing, kPfmLineSpacing);
    same(a.numberingStyle == b.numberingStyle, kPfmNumberingStyle);
    same(a.numberingStart == b.numberingStart, kPfmNumberingStart);
    return mask;
}

RichCharFormat PlainCharFormat() {
    RichCharFormat format;
    format.mask = kCfmAll;
    format.effects = kCfeAutoColor;
    format.height = 200;
    format.pitchAndFamily = 0x20; // swiss
    format.faceName = "Arial";
    return format;
}

RichParaFormat PlainParaFormat() {
    RichParaFormat format;
    format.mask = kPfmAll;
    return format;
}

} // namespace trellic
