#include "richtext/plain_text_codec.h"

#include "engine/code_page.h"

namespace trellic {

std::u32string DecodeNodeText(std::string_view utf8, uint8_t charSet) {
    std::u32string text = DecodeUtf8(utf8);
    if (charSet == kSymbolCharSet) {
        for (char32_t& c : text) {
            if (auto byte = UnicodeToCp1252(c)) {
                c = *byte;
            }
        }
    }
    return text;
}

RichDocument ReadPlainText(std::string_view utf8, const RichCharFormat& charFormat,
                           const RichParaFormat& paraFormat) {
    // Line by line, so that a long text is never held whole in UTF-32 beside the document it
    // becomes. CR and LF are never part of a longer UTF-8 sequence, and the decoder does not
    // take a break into a broken sequence before it, so the lines decode as the whole would.
    RichDocument document;
    document.paragraphs.clear();
    for (std::size_t start = 0;;) {
        const std::size_t end = utf8.find_first_of("\r\n", start);
        const std::string_view line =
            utf8.substr(start, end == std::string_view::npos ? end : end - start);
        RichParagraph& paragraph = document.paragraphs.emplace_back();
        paragraph.format = paraFormat;
        paragraph.markFormat = charFormat;
        if (!line.empty()) {
            paragraph.runs.push_back({DecodeNodeText(line, charFormat.charSet), charFormat});
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
        if (utf8[end] == '\r' && start < utf8.size() && utf8[start] == '\n') {
            ++start;
        }
    }
    return document;
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
                if (c < 0x80) {
                    out.push_back(static_cast<char>(c));
                } else if (symbol && c < 0x100) {
                    AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
                } else if (c == U'\u2028') {
                    out += "\r\n"; // a line break inside the paragraph has no character of its own
                } else {
                    AppendUtf8(out, c);
                }
            }
        }
    }
    return out;
}

} // namespace trellic
