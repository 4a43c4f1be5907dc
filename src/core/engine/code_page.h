#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trellic {

// Windows-1252, the single-byte code page of every text the engine stores. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same value, so every byte survives a trip through Unicode.
char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a character, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t character);

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// Nothing when the text holds malformed UTF-8 or a character Windows-1252 cannot hold.
std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8);

// UTF-8 decoding and encoding; malformed sequences decode as U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
void AppendUtf8(std::string& out, char32_t character);

} // namespace trellic
