#pragma once

#include "richtext/rich_picture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace trellic {

// Mask bits of the character format record; the values are the platform's, so records stored
// or exchanged elsewhere in the program keep their meaning.
inline constexpr uint32_t kCfmBold = 0x00000001;
inline constexpr uint32_t kCfmItalic = 0x00000002;
inline constexpr uint32_t kCfmUnderline = 0x00000004;
inline constexpr uint32_t kCfmStrikeout = 0x00000008;
inline constexpr uint32_t kCfmSmallCaps = 0x00000040;
inline constexpr uint32_t kCfmAllCaps = 0x00000080;
inline constexpr uint32_t kCfmHidden = 0x00000100;
inline constexpr uint32_t kCfmSubscript = 0x00030000; // covers subscript and superscript
inline constexpr uint32_t kCfmSuperscript = kCfmSubscript;
inline constexpr uint32_t kCfmUnderlineType = 0x00800000;
inline constexpr uint32_t kCfmBackColor = 0x04000000;
inline constexpr uint32_t kCfmCharSet = 0x08000000;
inline constexpr uint32_t kCfmFace = 0x20000000;   // face name, pitch and family
inline constexpr uint32_t kCfmOffset = 0x10000000; // how far raised or lowered text moves
inline constexpr uint32_t kCfmColor = 0x40000000;  // colour and the automatic-colour effect
inline constexpr uint32_t kCfmSize = 0x80000000;
inline constexpr uint32_t kCfmAll = kCfmBold | kCfmItalic | kCfmUnderline | kCfmStrikeout |
                                    kCfmSmallCaps | kCfmAllCaps | kCfmHidden | kCfmSubscript |
                                    kCfmUnderlineType | kCfmBackColor | kCfmCharSet | kCfmFace |
                                    kCfmOffset | kCfmColor | kCfmSize;

inline constexpr uint32_t kCfeBold = 0x00000001;
inline constexpr uint32_t kCfeItalic = 0x00000002;
inline constexpr uint32_t kCfeUnderline = 0x00000004;
inline constexpr uint32_t kCfeStrikeout = 0x00000008;
inline constexpr uint32_t kCfeSmallCaps = 0x00000040;
inline constexpr uint32_t kCfeAllCaps = 0x00000080;
inline constexpr uint32_t kCfeHidden = 0x00000100; // kept and saved, never shown
inline constexpr uint32_t kCfeSubscript = 0x00010000;
inline constexpr uint32_t kCfeSuperscript = 0x00020000;
inline constexpr uint32_t kCfeAutoColor = 0x40000000;

// Underline types (bUnderlineType).
inline constexpr uint8_t kCfuNone = 0;
inline constexpr uint8_t kCfuSolid = 1;
inline constexpr uint8_t kCfuWord = 2;
inline constexpr uint8_t kCfuDouble = 3;
inline constexpr uint8_t kCfuDotted = 4;

inline constexpr uint8_t kAnsiCharSet = 0;
inline constexpr uint8_t kDefaultCharSet = 1;
inline constexpr uint8_t kSymbolCharSet = 2;

inline constexpr size_t kMaxFaceNameLength = 31; // characters, as the platform's record holds

// A character format in the manner of the platform's CHARFORMAT2: only the attributes named in
// `mask` are meaningful when the record describes a change or a reported selection. Formats held
// by the text itself always have every attribute valid.
struct RichCharFormat {
    uint32_t mask = 0;
    uint32_t effects = 0;
    int32_t height = 0; // twips
    uint32_t color = 0; // 0x00BBGGRR; ignored while kCfeAutoColor is set
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    uint8_t underlineType = 0; // kCfu*, meaningful while kCfeUnderline is set
    std::string faceName;      // UTF-8, at most kMaxFaceNameLength characters
    // The colour behind the text (highlight or shading), 0x00BBGGRR; none lets the page show.
    std::optional<uint32_t> backColor;
    // Twips by which raised (+) or lowered (-) text moves, as \up and \dn give it; meaningful
    // only with the matching superscript or subscript effect, which it accompanies.
    int32_t offset = 0;
    // Set only on the object characters (kObjectCharacter) that stand for a picture; no format
    // command changes it, and text typed beside a picture never takes it.
    PictureRef picture;

    bool Has(uint32_t effect) const { return (effects & effect) != 0; }
    void Set(uint32_t effect, bool on) { effects = on ? (effects | effect) : (effects & ~effect); }
    bool operator==(const RichCharFormat&) const = default;
};

// Paragraph mask bits (PARAFORMAT2).
inline constexpr uint32_t kPfmStartIndent = 0x00000001;
inline constexpr uint32_t kPfmRightIndent = 0x00000002;
inline constexpr uint32_t kPfmOffset = 0x00000004;
inline constexpr uint32_t kPfmAlignment = 0x00000008;
inline constexpr uint32_t kPfmTabStops = 0x00000010;
inline constexpr uint32_t kPfmNumbering = 0x00000020;
inline constexpr uint32_t kPfmSpaceBefore = 0x00000040;
inline constexpr uint32_t kPfmSpaceAfter = 0x00000080;
inline constexpr uint32_t kPfmLineSpacing = 0x00000100;
inline constexpr uint32_t kPfmNumberingStyle = 0x00002000;
inline constexpr uint32_t kPfmNumberingStart = 0x00008000;
inline constexpr uint32_t kPfmOffsetIndent = 0x80000000; // startIndent is added, not set
inline constexpr uint32_t kPfmAll =
    kPfmStartIndent | kPfmRightIndent | kPfmOffset | kPfmAlignment | kPfmTabStops | kPfmNumbering |
    kPfmSpaceBefore | kPfmSpaceAfter | kPfmLineSpacing | kPfmNumberingStyle | kPfmNumberingStart;

// Numbering (wNumbering).
inline constexpr uint16_t kPfnNone = 0;
inline constexpr uint16_t kPfnBullet = 1;
inline constexpr uint16_t kPfnArabic = 2;
inline constexpr uint16_t kPfnLowerLetter = 3;
inline constexpr uint16_t kPfnUpperLetter = 4;
inline constexpr uint16_t kPfnLowerRoman = 5;
inline constexpr uint16_t kPfnUpperRoman = 6;

// Numbering styles (wNumberingStyle): the punctuation around the number.
inline constexpr uint16_t kPfnsParen = 0x0000;  // "1)"
inline constexpr uint16_t kPfnsParens = 0x0100; // "(1)"
inline constexpr uint16_t kPfnsPeriod = 0x0200; // "1."
inline constexpr uint16_t kPfnsPlain = 0x0300;  // "1"

// Alignment (wAlignment).
inline constexpr uint16_t kPfaLeft = 1;
inline constexpr uint16_t kPfaRight = 2;
inline constexpr uint16_t kPfaCenter = 3;
inline constexpr uint16_t kPfaJustify = 4;

// Line-spacing rules (bLineSpacingRule).
inline constexpr uint8_t kLineSpacingSingle = 0;
inline constexpr uint8_t kLineSpacingOneAndHalf = 1;
inline constexpr uint8_t kLineSpacingDouble = 2;
inline constexpr uint8_t kLineSpacingAtLeast = 3;  // lineSpacing twips or more
inline constexpr uint8_t kLineSpacingExactly = 4;  // lineSpacing twips
inline constexpr uint8_t kLineSpacingMultiple = 5; // lineSpacing / 20 lines

inline constexpr size_t kMaxTabStops = 32;

// A tab stop packs its position (twips, the low 24 bits), its alignment (bits 24 to 27) and its
// leader (bits 28 to 31) into one entry, as the platform's rgxTabs does; a plain position is a
// left tab without leader.
inline constexpr uint32_t kTabPositionMask = 0x00FFFFFF;
inline constexpr int32_t kMaxTabPosition = 0x00FFFFFF;
inline constexpr uint8_t kTabLeft = 0;
inline constexpr uint8_t kTabCenter = 1;
inline constexpr uint8_t kTabRight = 2;
inline constexpr uint8_t kTabDecimal = 3;
inline constexpr uint8_t kTabBar = 4; // a vertical line, not a stop
inline constexpr uint8_t kLeaderNone = 0;
inline constexpr uint8_t kLeaderDots = 1;
inline constexpr uint8_t kLeaderHyphens = 2;
inline constexpr uint8_t kLeaderUnderline = 3;
inline constexpr uint8_t kLeaderThick = 4;
inline constexpr uint8_t kLeaderEquals = 5;

// Positions are clamped to what the entry can hold.
int32_t MakeTab(int32_t position, uint8_t alignment = kTabLeft, uint8_t leader = kLeaderNone);
inline int32_t TabPosition(int32_t tab) {
    return static_cast<int32_t>(static_cast<uint32_t>(tab) & kTabPositionMask);
}
inline uint8_t TabAlignment(int32_t tab) {
    return static_cast<uint8_t>((static_cast<uint32_t>(tab) >> 24) & 0xF);
}
inline uint8_t TabLeader(int32_t tab) {
    return static_cast<uint8_t>(static_cast<uint32_t>(tab) >> 28);
}

// A paragraph's tab stops: kMaxTabStops entries, of which the format's tabCount count and the
// rest are zero. A long document holds a format for every paragraph and most have no stops, so
// the entries are kept out of line, shared by the copies of a format until one of them writes.
class TabStops {
public:
    using Entries = std::array<int32_t, kMaxTabStops>;

    int32_t operator[](size_t i) const { return Read()[i]; }
    // Writing makes the entries this format's own.
    int32_t& operator[](size_t i) { return Own()[i]; }
    const int32_t* begin() const { return Read().data(); }
    const int32_t* end() const { return Read().data() + kMaxTabStops; }
    int32_t* begin() { return Own().data(); }
    int32_t* end() { return Own().data() + kMaxTabStops; }

    // The first `count` entries, the rest zero.
    TabStops First(size_t count) const;

    bool operator==(const TabStops& other) const {
        return m_entries == other.m_entries || Read() == other.Read();
    }

private:
    const Entries& Read() const { return m_entries ? *m_entries : kNone; }
    Entries& Own();

    static const Entries kNone;
    std::shared_ptr<Entries> m_entries;
};

// A paragraph format in the manner of the platform's PARAFORMAT2. As there, startIndent is the
// indent of the first line and offset that of the following lines relative to it; all
// distances are twips.
struct RichParaFormat {
    uint32_t mask = 0;
    uint16_t numbering = 0;
    uint16_t numberingStart = 0;
    uint16_t numberingStyle = 0;
    uint16_t alignment = kPfaLeft;
    uint8_t lineSpacingRule = 0;
    int32_t lineSpacing = 0; // twips, or twentieths of a line for kLineSpacingMultiple
    int32_t startIndent = 0;
    int32_t rightIndent = 0;
    int32_t offset = 0;
    int32_t spaceBefore = 0;
    int32_t spaceAfter = 0;
    uint8_t tabCount = 0;
    TabStops tabs; // the first tabCount entries, by position
    // The symbol of a bulleted paragraph, as the word processor that wrote it chose it: 0 for
    // the standard bullet. In a symbol font (bulletCharSet 2) it is the font's byte, else a
    // Unicode character. It goes with the numbering (kPfmNumbering).
    char32_t bulletSymbol = 0;
    std::string bulletFace; // UTF-8; empty with the standard bullet
    uint8_t bulletCharSet = 0;

    bool operator==(const RichParaFormat&) const = default;
};

// Sets the attributes `change.mask` names on `target`, the way the control applies a format.
// A face name is cut to kMaxFaceNameLength characters; an underline switched on without a type
// becomes solid.
void ApplyCharFormat(RichCharFormat& target, const RichCharFormat& change);
void ApplyParaFormat(RichParaFormat& target, const RichParaFormat& change);

// The mask bits of the attributes in which two formats agree.
uint32_t EqualCharAttributes(const RichCharFormat& a, const RichCharFormat& b);
uint32_t EqualParaAttributes(const RichParaFormat& a, const RichParaFormat& b);

// Cuts a UTF-8 face name to kMaxFaceNameLength characters.
std::string TruncateFaceName(const std::string& utf8);

// The control's plain format: Arial 10 points, automatic colour, left aligned.
RichCharFormat PlainCharFormat();
RichParaFormat PlainParaFormat();

} // namespace trellic
