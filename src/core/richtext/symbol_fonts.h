#pragma once

#include <string>

namespace trellic {

// What the bytes of a symbol-charset font stand for. Text in such a font holds byte values, not
// characters; everything that shows or exports it as Unicode goes through these tables, so the
// view, the page and the exported documents show the same character.

// The private-use block the platform maps symbol fonts into: a byte without a character of its
// own shows there, which at least keeps it distinct from every real character.
inline constexpr char32_t kSymbolPrivateBase = 0xF000;

// Symbol-charset fonts other than Symbol (Wingdings and the like): the Unicode look-alike that
// stands for a byte, and the byte it stands for.
char32_t SymbolLookAlike(unsigned char byte);
char32_t SymbolByteOf(char32_t shown);
// The Symbol font itself: its bytes are characters of their own (Greek letters, mathematical
// signs), shown as those characters. Its serif and sans-serif signs (0xD2 and 0xE2 and the two
// after each) show alike; `sansSigns` picks which bytes they map back to.
bool IsSymbolEncodedFace(const std::string& faceName);
char32_t SymbolFontCharacter(unsigned char byte);
char32_t SymbolFontByteOf(char32_t shown, bool sansSigns = false);
// True for the Symbol font's sans-serif registered, copyright and trademark signs.
bool IsSymbolSansSign(char32_t byte);

// The character a byte of the symbol-charset font `faceName` stands for: the Symbol font's own,
// else a look-alike, else the private-use character of the byte.
char32_t SymbolCharacter(unsigned char byte, const std::string& faceName);

} // namespace trellic
