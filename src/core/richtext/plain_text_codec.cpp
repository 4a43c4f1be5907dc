#include "richtext/plain_text_codec.h"

#include "engine/code_page.h"

namespace trellic {

std::u32string DecodeSingleByteText(std::string_view bytes, uint8_t charSet) {
    std::u32string text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.push_back(charSet == kSymbolCharSet ? char32_t(value) : Cp1252ToUnicode(value));
    }
    return text;
}

RichDocument ReadPlainText(std::string_view bytes, const RichCharFormat& charFormat,
                           const RichParaFormat& paraFormat) {
    return MakeDocument(DecodeSingleByteText(bytes, charFormat.charSet), charFormat, paraFormat);
}

std::string WritePlainText(const RichDocument& document) {
    std::string out;
    out.reserve(document.Length() + document.paragraphs.size());
    for (size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) {
            out += "\r\n";
        }
        for (const RichRun& run : document.paragraphs[i].runs) {
            // Hidden text is not part of what a reader sees, and a picture has no text.
            if (run.format.Has(kCfeHidden)) {
                continue;
            }
            const bool symbol = run.format.charSet == kSymbolCharSet;
            for (char32_t c : run.text) {
                if (c == kObjectCharacter && run.format.picture) {
                    continue;
                }
                if (symbol && c < 0x100) {
                    out.push_back(static_cast<char>(c));
                } else if (c == U'\u2028') {
                    out += "\r\n"; // a line break inside the paragraph has no byte of its own
                } else if (auto byte = UnicodeToCp1252(c)) {
                    out.push_back(static_cast<char>(*byte));
                } else {
                    out.push_back('?');
                }
            }
        }
    }
    return out;
}

} // namespace trellic
