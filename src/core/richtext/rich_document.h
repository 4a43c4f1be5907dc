#pragma once

#include "richtext/rich_format.h"

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// A stretch of text in one character format. Text is Unicode; in a run whose character set is
// the symbol set (2) each character is the byte value of the symbol font instead.
struct RichRun {
    std::u32string text;
    RichCharFormat format;

    bool operator==(const RichRun&) const = default;
};

// One paragraph: its format, its runs, and the format of the paragraph mark that ends it (which
// is what an empty paragraph shows and what a line break typed at its end carries).
struct RichParagraph {
    RichParaFormat format;
    std::vector<RichRun> runs;
    RichCharFormat markFormat;

    size_t Length() const;
    std::u32string Text() const;
    bool operator==(const RichParagraph&) const = default;
};

// A rich-text document as a value: never empty, always at least one paragraph. Positions in it
// count characters, with one position for each paragraph break, as the control counts them.
struct RichDocument {
    std::vector<RichParagraph> paragraphs{RichParagraph{}};

    // Characters including one per paragraph break.
    size_t Length() const;
    // The text with paragraphs joined by '\r', as the control hands it out.
    std::u32string Text() const;
    bool IsEmpty() const { return paragraphs.size() == 1 && paragraphs[0].runs.empty(); }

    // Merges neighbouring runs of equal format and drops empty runs, so that equal-looking
    // documents compare equal.
    void Normalize();

    bool operator==(const RichDocument&) const = default;
};

// The format that text typed at `offset` of a paragraph takes when the character there is in a
// symbol font: a bullet symbol is no font to write words in. It is the format of the first
// run in a text font from the offset on, else of the last one before it, else the mark's
// format when that is a text font, else `fallback`.
RichCharFormat ParagraphTextFormat(const RichParagraph& paragraph, size_t offset,
                                   const RichCharFormat& fallback);

// The header rule: a paragraph that is nothing but a row of macrons (U+00AF), blank space
// around it aside, as the header renderers write it under a ruled header. Any text font
// will do, since the plain-text renderer writes its rule in the body font, but in a symbol font
// the byte 0xAF is another sign. Two or three macrons are more
// likely a typing accident than a line the author meant, so a rule has at least four.
bool IsRuleParagraph(const RichParagraph& paragraph);
// The same judgement on a paragraph's text alone.
bool IsRuleText(std::u32string_view text);

// A document of one paragraph holding `text` split at paragraph breaks (CR LF, CR or LF).
RichDocument MakeDocument(std::u32string_view text, const RichCharFormat& charFormat,
                          const RichParaFormat& paraFormat);

} // namespace trellic
