#include "engine/text_file.h"

#include "engine/code_page.h"

namespace trellic {

namespace {

// Valid UTF-8 as the decoder takes it: no overlong form, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(extra)) {
            return false;
        }
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) {
            return false;
        }
        for (int k = 2; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    std::string text = Utf16ToUtf8(units);
    if (bytes.size() % 2 != 0) {
        AppendUtf8(text, U'\uFFFD'); // half a unit at the end
    }
    return text;
}

} // namespace

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        return IsValidUtf8(bytes) ? std::string(bytes) : EncodeUtf8(DecodeUtf8(bytes));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), true);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Cp1252ToUtf8(bytes);
}

std::string EncodeTextFile(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    // The code page's bytes, unless they would read back as something else: "Ã©" is the UTF-8
    // of "é", and "ÿþ" the mark of UTF-16. Such a text keeps itself behind the UTF-8 mark.
    if (auto bytes = Utf8ToCp1252Exact(utf8); bytes && DecodeTextFile(*bytes) == utf8) {
        return std::move(*bytes);
    }
    std::string out(kUtf8Bom);
    out += IsValidUtf8(utf8) ? std::string(utf8) : EncodeUtf8(DecodeUtf8(utf8));
    return out;
}

} // namespace trellic
