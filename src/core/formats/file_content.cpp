#include "formats/file_content.h"

#include <cstdint>

namespace trellic {

namespace {

// Tab, line feed, vertical tab, form feed and carriage return appear in ordinary text; so do
// the end-of-file mark of old editors and the escape of terminal colours. Every other control
// character, NUL above all, only appears in binary data.
bool IsTextControl(uint8_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x1B;
}

// The five bytes Windows-1252 leaves without a character.
bool IsUndefinedInCp1252(uint8_t c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

} // namespace

bool LooksLikeText(std::string_view bytes) {
    bool cp1252 = true;
    bool utf8 = true;
    int continuation = 0; // bytes still owed by the UTF-8 sequence in progress
    for (const char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        if (c < 0x20 && !IsTextControl(c)) {
            return false;
        }
        if (c < 0x80) {
            utf8 = utf8 && continuation == 0;
            continuation = 0;
            continue;
        }
        cp1252 = cp1252 && !IsUndefinedInCp1252(c);
        if (utf8) {
            if (continuation > 0) {
                utf8 = (c & 0xC0) == 0x80;
                --continuation;
            } else if (c >= 0xC2 && c <= 0xDF) {
                continuation = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                continuation = 2;
            } else if (c >= 0xF0 && c <= 0xF4) {
                continuation = 3;
            } else {
                utf8 = false;
            }
        }
        if (!cp1252 && !utf8) {
            return false;
        }
    }
    // A UTF-8 sequence cut off at the end still leaves the text readable as Windows-1252.
    return cp1252 || (utf8 && continuation == 0);
}

bool LooksLikeRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

FormatResult CheckResumeText(std::string_view bytes, const std::string& path) {
    if (LooksLikeText(bytes)) {
        return FormatResult::Success();
    }
    return FormatResult::Failure(
        "The file holds binary data, not text, and cannot be opened as a resume:\n\n" + path);
}

} // namespace trellic
