#pragma once

#include <string>
#include <string_view>

namespace trellic {

// Plain-text files as the engine reads and writes them; the text inside is UTF-8.

// Reads a text file's bytes: a UTF-8 byte order mark, or a UTF-16 one (little- or big-endian),
// says how; without one, bytes that are valid UTF-8 are taken as UTF-8 and anything else as
// Windows-1252. The mark itself is not part of the text; nothing is ever dropped, a malformed
// UTF-16 unit reads as U+FFFD.
std::string DecodeTextFile(std::string_view bytes);

// The bytes of a text file: Windows-1252 when the code page holds every character (the bytes
// the program has always written), otherwise UTF-8 behind its byte order mark, so that no
// character is ever lost.
std::string EncodeTextFile(std::string_view utf8);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace trellic
