#include "richtext/symbol_fonts.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace trellic {

namespace {

// Wingdings bytes and the Unicode characters that look most like them, for the bullets the
// renderers write and the symbols users pick most.
constexpr std::pair<unsigned char, char32_t> kSymbolLookAlikes[] = {
    {0x6C, U'\u25CF'}, // circle
    {0x6D, U'\u274D'}, // 3D circle
    {0x6E, U'\u25A0'}, // square
    {0x71, U'\u2751'}, // 3D square
    {0x74, U'\u29EB'}, // diamond
    {0x75, U'\u25C6'}, // black diamond
    {0x76, U'\u2756'}, // multiple diamonds
    {0x9F, U'\u2022'}, // bullet
    {0xA7, U'\u25AA'}, // small square
    {0xA8, U'\u25FB'}, // white square
    {0xAB, U'\u2605'}, // star
    {0xB6, U'\u272A'}, // 3D star
    {0xD8, U'\u27A2'}, // 3D arrow
    {0xE0, U'\u2192'}, // thin arrow
    {0xE8, U'\u2794'}, // thick arrow
    {0xF0, U'\u21E8'}, // outlined arrow
    {0xFB, U'\u2717'}, // cross
    {0xFC, U'\u2714'}, // tick
    {0xFE, U'\u2611'}, // ticked box
};

// The Symbol font's own characters (its standard encoding), from 0x20 on; 0 where a byte has
// no character of its own (undefined, the radical and arrow extenders, the maker's logo), which
// then shows in the private-use block as in any other symbol font. The sans-serif registered,
// copyright and trademark signs (0xE2 to 0xE4) show as the same characters as the serif ones
// (0xD2 to 0xD4); whoever shows them remembers which they were, so that they map back to their
// own bytes.
// clang-format off
constexpr char32_t kSymbolFontCharacters[0xE0] = {
    /* 20 */ U' ', U'!', U'\u2200', U'#', U'\u2203', U'%', U'&', U'\u220B',
    /* 28 */ U'(', U')', U'\u2217', U'+', U',', U'\u2212', U'.', U'/',
    /* 30 */ U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7',
    /* 38 */ U'8', U'9', U':', U';', U'<', U'=', U'>', U'?',
    /* 40 */ U'\u2245', U'\u0391', U'\u0392', U'\u03A7', U'\u0394', U'\u0395', U'\u03A6', U'\u0393',
    /* 48 */ U'\u0397', U'\u0399', U'\u03D1', U'\u039A', U'\u039B', U'\u039C', U'\u039D', U'\u039F',
    /* 50 */ U'\u03A0', U'\u0398', U'\u03A1', U'\u03A3', U'\u03A4', U'\u03A5', U'\u03C2', U'\u03A9',
    /* 58 */ U'\u039E', U'\u03A8', U'\u0396', U'[', U'\u2234', U']', U'\u22A5', U'_',
    /* 60 */ 0, U'\u03B1', U'\u03B2', U'\u03C7', U'\u03B4', U'\u03B5', U'\u03C6', U'\u03B3',
    /* 68 */ U'\u03B7', U'\u03B9', U'\u03D5', U'\u03BA', U'\u03BB', U'\u03BC', U'\u03BD', U'\u03BF',
    /* 70 */ U'\u03C0', U'\u03B8', U'\u03C1', U'\u03C3', U'\u03C4', U'\u03C5', U'\u03D6', U'\u03C9',
    /* 78 */ U'\u03BE', U'\u03C8', U'\u03B6', U'{', U'|', U'}', U'\u223C', 0,
    /* 80 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 88 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 90 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 98 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* A0 */ U'\u20AC', U'\u03D2', U'\u2032', U'\u2264', U'\u2044', U'\u221E', U'\u0192', U'\u2663',
    /* A8 */ U'\u2666', U'\u2665', U'\u2660', U'\u2194', U'\u2190', U'\u2191', U'\u2192', U'\u2193',
    /* B0 */ U'\u00B0', U'\u00B1', U'\u2033', U'\u2265', U'\u00D7', U'\u221D', U'\u2202', U'\u2022',
    /* B8 */ U'\u00F7', U'\u2260', U'\u2261', U'\u2248', U'\u2026', 0, 0, U'\u21B5',
    /* C0 */ U'\u2135', U'\u2111', U'\u211C', U'\u2118', U'\u2297', U'\u2295', U'\u2205', U'\u2229',
    /* C8 */ U'\u222A', U'\u2283', U'\u2287', U'\u2284', U'\u2282', U'\u2286', U'\u2208', U'\u2209',
    /* D0 */ U'\u2220', U'\u2207', U'\u00AE', U'\u00A9', U'\u2122', U'\u220F', U'\u221A', U'\u22C5',
    /* D8 */ U'\u00AC', U'\u2227', U'\u2228', U'\u21D4', U'\u21D0', U'\u21D1', U'\u21D2', U'\u21D3',
    /* E0 */ U'\u25CA', U'\u2329', U'\u00AE', U'\u00A9', U'\u2122', U'\u2211', U'\u239B', U'\u239C',
    /* E8 */ U'\u239D', U'\u23A1', U'\u23A2', U'\u23A3', U'\u23A7', U'\u23A8', U'\u23A9', U'\u23AA',
    /* F0 */ 0, U'\u232A', U'\u222B', U'\u2320', U'\u23AE', U'\u2321', U'\u239E', U'\u239F',
    /* F8 */ U'\u23A0', U'\u23A4', U'\u23A5', U'\u23A6', U'\u23AB', U'\u23AC', U'\u23AD', 0,
};
// clang-format on

constexpr unsigned char kFirstSansSign = 0xE2; // registered, copyright, trademark
constexpr unsigned char kLastSansSign = 0xE4;
constexpr unsigned char kSerifSignOffset = 0xE2 - 0xD2;

} // namespace

bool IsSymbolSansSign(char32_t byte) {
    return byte >= kFirstSansSign && byte <= kLastSansSign;
}

char32_t SymbolLookAlike(unsigned char byte) {
    // Spaces, tabs and control characters are the same in every font.
    if (byte <= 0x20) {
        return byte;
    }
    for (const auto& [symbol, shown] : kSymbolLookAlikes) {
        if (symbol == byte) {
            return shown;
        }
    }
    return kSymbolPrivateBase + byte;
}

char32_t SymbolByteOf(char32_t shown) {
    for (const auto& [symbol, lookAlike] : kSymbolLookAlikes) {
        if (lookAlike == shown) {
            return symbol;
        }
    }
    if (shown >= kSymbolPrivateBase && shown <= kSymbolPrivateBase + 0xFF) {
        return shown - kSymbolPrivateBase;
    }
    return shown;
}

bool IsSymbolEncodedFace(const std::string& faceName) {
    static constexpr std::string_view kSymbol = "symbol";
    return faceName.size() == kSymbol.size() &&
           std::equal(faceName.begin(), faceName.end(), kSymbol.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

char32_t SymbolFontCharacter(unsigned char byte) {
    if (byte < 0x20) {
        return byte;
    }
    const char32_t shown = kSymbolFontCharacters[byte - 0x20];
    return shown != 0 ? shown : kSymbolPrivateBase + byte;
}

char32_t SymbolFontByteOf(char32_t shown, bool sansSigns) {
    if (shown < 0x20) {
        return shown;
    }
    if (shown >= kSymbolPrivateBase && shown <= kSymbolPrivateBase + 0xFF) {
        return shown - kSymbolPrivateBase;
    }
    for (unsigned byte = 0x20; byte <= 0xFF; ++byte) {
        if (kSymbolFontCharacters[byte - 0x20] == shown) {
            // The serif signs come first in the table, the sans-serif ones stand 0x10 later.
            const bool sign = IsSymbolSansSign(byte + kSerifSignOffset);
            return sansSigns && sign ? byte + kSerifSignOffset : byte;
        }
    }
    // Typed in where the font has no such character: kept, and written as what it is.
    return shown;
}

char32_t SymbolCharacter(unsigned char byte, const std::string& faceName) {
    return IsSymbolEncodedFace(faceName) ? SymbolFontCharacter(byte) : SymbolLookAlike(byte);
}

} // namespace trellic
