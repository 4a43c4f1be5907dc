#include "richtext/rich_document.h"

namespace trellic {

size_t RichParagraph::Length() const {
    size_t length = 0;
    for (const RichRun& run : runs) {
        length += run.text.size();
    }
    return length;
}

std::u32string RichParagraph::Text() const {
    std::u32string text;
    for (const RichRun& run : runs) {
        text += run.text;
    }
    return text;
}

bool IsRuleText(std::u32string_view text) {
    constexpr size_t kMinRuleLength = 4;
    auto isBlank = [](char32_t c) {
        return c == U' ' || c == U'\t' || c == U'\u00A0' || c == U'\u2028' || c == U'\r' ||
               c == U'\n';
    };
    size_t macrons = 0;
    bool after = false; // past the row: only blanks may follow
    for (const char32_t c : text) {
        if (isBlank(c)) {
            after = macrons > 0;
        } else if (c != U'\u00AF' || after) {
            return false;
        } else {
            ++macrons;
        }
    }
    return macrons >= kMinRuleLength;
}

bool IsRuleParagraph(const RichParagraph& paragraph) {
    // In a symbol font the byte 0xAF is some other sign.
    for (const RichRun& run : paragraph.runs) {
        if (run.format.charSet == kSymbolCharSet &&
            run.text.find(U'\u00AF') != std::u32string::npos) {
            return false;
        }
    }
    return IsRuleText(paragraph.Text());
}

size_t RichDocument::Length() const {
    size_t length = paragraphs.size() - 1;
    for (const RichParagraph& paragraph : paragraphs) {
        length += paragraph.Length();
    }
    return length;
}

std::u32string RichDocument::Text() const {
    std::u32string text;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            text += U'\r';
        }
        text += paragraphs[i].Text();
    }
    return text;
}

void RichDocument::Normalize() {
    if (paragraphs.empty()) {
        paragraphs.emplace_back();
    }
    // In place: a document that is already normal, as most are, costs no allocation.
    for (RichParagraph& paragraph : paragraphs) {
        std::vector<RichRun>& runs = paragraph.runs;
        size_t kept = 0;
        for (size_t i = 0; i < runs.size(); ++i) {
            if (runs[i].text.empty()) {
                continue;
            }
            if (kept > 0 && runs[kept - 1].format == runs[i].format) {
                runs[kept - 1].text += runs[i].text;
            } else {
                if (kept != i) {
                    runs[kept] = std::move(runs[i]);
                }
                ++kept;
            }
        }
        runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(kept), runs.end());
    }
}

RichCharFormat ParagraphTextFormat(const RichParagraph& paragraph, size_t offset,
                                   const RichCharFormat& fallback) {
    const RichCharFormat* before = nullptr;
    size_t start = 0;
    for (const RichRun& run : paragraph.runs) {
        const size_t end = start + run.text.size();
        if (run.format.charSet != kSymbolCharSet && !run.text.empty()) {
            if (end > offset) {
                return run.format;
            }
            before = &run.format;
        }
        start = end;
    }
    if (before != nullptr) {
        return *before;
    }
    if (paragraph.markFormat.charSet != kSymbolCharSet) {
        return paragraph.markFormat;
    }
    return fallback;
}

RichDocument MakeDocument(std::u32string_view text, const RichCharFormat& charFormat,
                          const RichParaFormat& paraFormat) {
    RichDocument document;
    document.paragraphs.clear();
    auto startParagraph = [&] {
        RichParagraph paragraph;
        paragraph.format = paraFormat;
        paragraph.markFormat = charFormat;
        document.paragraphs.push_back(std::move(paragraph));
    };
    startParagraph();
    std::u32string current;
    auto flush = [&] {
        if (!current.empty()) {
            document.paragraphs.back().runs.push_back({std::move(current), charFormat});
            current.clear();
        }
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
                ++i;
            }
            flush();
            startParagraph();
        } else {
            current.push_back(c);
        }
    }
    flush();
    return document;
}

} // namespace trellic
