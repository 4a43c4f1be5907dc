#pragma once

#include "formats/file_format.h"

#include <string>
#include <string_view>

namespace trellic {

// Whether bytes can be the text of a resume: no NUL, no control character that text files do
// not use, and the high bytes readable as Windows-1252 or as UTF-8; or UTF-16 behind its byte
// order mark, held to the same rules unit by unit. Binary files (documents of
// other programs, pictures, executables, random data) fail on their first few kilobytes. One
// pass, no allocation.
bool LooksLikeText(std::string_view bytes);

// Whether bytes begin as rich text does.
bool LooksLikeRtf(std::string_view bytes);

// Refuses bytes that do not look like text, naming the file: taken as text, a binary file
// would be shown as noise and then saved over itself.
FormatResult CheckResumeText(std::string_view bytes, const std::string& path);

} // namespace trellic
