#pragma once

#include <string_view>

namespace trellic {

// Whether bytes can be the text of a resume: no NUL, no control character that text files do
// not use, and the high bytes readable as Windows-1252 or as UTF-8. Binary files (documents of
// other programs, pictures, executables, random data) fail on their first few kilobytes. One
// pass, no allocation.
bool LooksLikeText(std::string_view bytes);

// Whether bytes begin as rich text does.
bool LooksLikeRtf(std::string_view bytes);

} // namespace trellic
