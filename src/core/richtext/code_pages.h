#pragma once

#include <array>
#include <cstdint>

namespace trellic {

// The code pages RTF text arrives in besides Windows-1252 (which the engine module owns).
// Tables come from the system's iconv and are built once per code page; a code page the system
// does not know reads as Windows-1252, so text is never lost, only possibly misspelt.

// The code page of a font's character set (\fcharset), 0 for the symbol set, whose bytes are
// kept as they are, and `ansiCodePage` for the ANSI and default sets.
int CodePageOfCharSet(int charSet, int ansiCodePage);

using ByteTable = std::array<char32_t, 256>;
const ByteTable& SingleByteTable(int codePage);

bool IsDoubleByteCodePage(int codePage);
bool IsLeadByte(int codePage, uint8_t byte);
// U+FFFD when the pair means nothing in the code page.
char32_t DecodeDoubleByte(int codePage, uint8_t lead, uint8_t trail);

// Whether a character has a byte (or a byte pair) of its own in the code page. Code page 20936
// stands for GB2312, the simplified Chinese subset of 936. A code page the system does not know
// holds ASCII only.
bool CodePageHolds(int codePage, char32_t c);

} // namespace trellic
