#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trellic {

// Text inside the engine is UTF-8. Windows-1252 is the single-byte code page of the files the
// program has always written (.tlx and .nod texts, plain text, RTF \'hh), converted only where
// such bytes come in or go out. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same value, so every byte survives a
// trip through Unicode.
char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a character, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t character);

std::string Cp1252ToUtf8(std::string_view bytes);
// Nothing when the text holds malformed UTF-8 or a character Windows-1252 cannot hold.
std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8);

// Whether every byte is below 0x80, so the text reads the same in UTF-8 and Windows-1252.
bool IsAscii(std::string_view bytes);

// UTF-8 decoding and encoding; malformed sequences decode as U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
void AppendUtf8(std::string& out, char32_t character);
std::string EncodeUtf8(std::u32string_view text);
// Characters, not bytes: a malformed byte counts as one.
std::size_t Utf8Length(std::string_view utf8);

// UTF-16 code units to UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
std::u16string Utf8ToUtf16(std::string_view utf8);

} // namespace trellic
