#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
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

// Whether every byte is below 0x80, so the text reads the same in UTF-8 and Windows-1252. Every
// archive text is checked on the way in and out, so this runs at close to memory speed.
inline bool IsAscii(std::string_view bytes) {
    // Most texts are a few words long: overlapping loads test them without a loop per byte.
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
#if defined(__SSE2__)
    if (n >= 16) {
        const char* last = p + n - 16;
        __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last));
        for (; p < last; p += 16) {
            high = _mm_or_si128(high, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        }
        return _mm_movemask_epi8(high) == 0;
    }
#endif
    if (n >= 8) {
        const char* last = p + n - 8;
        uint64_t high = 0;
        for (; p < last; p += 8) {
            uint64_t word = 0;
            std::memcpy(&word, p, 8);
            high |= word;
        }
        uint64_t tail = 0;
        std::memcpy(&tail, last, 8);
        return ((high | tail) & 0x8080808080808080ULL) == 0;
    }
    uint32_t high = 0;
    if (n >= 4) {
        uint32_t head = 0;
        uint32_t tail = 0;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        high = head | tail;
    } else if (n >= 2) {
        uint16_t head = 0;
        uint16_t tail = 0;
        std::memcpy(&head, p, 2);
        std::memcpy(&tail, p + n - 2, 2);
        high = head | tail;
    } else if (n == 1) {
        high = static_cast<unsigned char>(p[0]);
    }
    return (high & 0x80808080U) == 0;
}

// UTF-8 decoding and encoding; malformed sequences decode as U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
void AppendUtf8(std::string& out, char32_t character);
std::string EncodeUtf8(std::u32string_view text);
// Characters, not bytes: a malformed byte counts as one.
std::size_t Utf8Length(std::string_view utf8);
// The first `count` characters, never ending inside one.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t count);

// UTF-16 code units to UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
std::u16string Utf8ToUtf16(std::string_view utf8);

} // namespace trellic
