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

// UTF-16 behind its byte order mark: the same test on the code units, which must not be
// NUL or stray controls, and whose surrogates must pair.
bool LooksLikeUtf16Text(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    bool expectLow = false;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        const unsigned unit = bigEndian ? (first << 8) | second : (second << 8) | first;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (low != expectLow || (unit < 0x20 && !IsTextControl(static_cast<uint8_t>(unit)))) {
            return false;
        }
        expectLow = unit >= 0xD800 && unit <= 0xDBFF;
    }
    return !expectLow;
}

} // namespace

bool LooksLikeText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return LooksLikeUtf16Text(bytes.substr(2), bytes[0] == '\xFE');
    }
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
