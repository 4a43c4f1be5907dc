#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace trellic {

// A stretch of text and the font character set (\fcharset) a word processor needs in order to
// choose a font that has its glyphs: 238 Central European, 204 Cyrillic, 161 Greek, 162
// Turkish, 163 Vietnamese, 177 Hebrew, 178 Arabic, 134 and 136 Chinese, 128 Japanese, 129
// Korean, 222 Thai, 186 Baltic.
struct CharSetPiece {
    size_t begin = 0;
    size_t end = 0;
    uint8_t charSet = 0;
    bool operator==(const CharSetPiece&) const = default;
};

// Splits the text of a run in a font of the ANSI or default character set (`charSet`) into
// pieces by the character set each needs. Text that Windows-1252 holds keeps `charSet`, so a
// run of such text is one piece; a word is not split where one character set holds all of it.
// Characters no character set holds (symbols, emoji) stay in the run's own.
std::vector<CharSetPiece> SplitByCharSet(std::u32string_view text, uint8_t charSet);

// The Windows code page of a character set; 0 for the symbol set and for those without one.
int CodePageOfScriptCharSet(uint8_t charSet);

} // namespace trellic
