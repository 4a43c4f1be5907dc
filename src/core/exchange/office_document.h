#pragma once

#include "richtext/list_labels.h"
#include "richtext/rich_document.h"
#include "richtext/rtf_writer.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace trellic {

// What an exported document says about itself; UTF-8.
struct DocumentProperties {
    std::string title;
    std::string author;
    std::string subject;
    std::time_t created = 0; // 0: not recorded
};

// An exported file's bytes, or why there are none.
struct ExportResult {
    bool ok = false;
    std::string bytes;
    std::string error;
};

// What the office writers share: how the engine's paragraphs become a word processor's, so
// that the DOCX and the ODT of one resume agree.

// The view's default tab stops: every 80 of its 96-per-inch pixels. Word processors would
// otherwise put their own, and every tab-indented line would move.
inline constexpr int32_t kDefaultTabStopTwips = 1200;
// Room on the left of a numbered paragraph for its number or bullet, as the view leaves it;
// the label ends a small gap before the text.
inline constexpr int32_t kListLabelTwips = 360;
inline constexpr int32_t kListLabelGapTwips = 90;

// A header rule drawn as a paragraph border.
struct RuleBorder {
    uint32_t color = 0; // 0x00BBGGRR
    bool autoColor = false;
    int32_t width = 20; // twips
};

// A list: a run of neighbouring paragraphs numbered alike, counted from its first
// paragraph's start, as the view counts them.
struct OfficeList {
    size_t first = 0;      // its first paragraph
    RichParaFormat format; // of the first paragraph: kind, style, start, indents
    RichCharFormat label;  // of the number or bullet: its first paragraph's text, plainly
};

struct OfficeParagraph {
    int list = -1;                    // index into OfficeLayout::lists, or -1
    bool rule = false;                // a header rule: its macrons are not written
    std::optional<RuleBorder> border; // a rule below this paragraph, as its bottom border
    bool keepWithNext = false;        // a heading stays with what follows it
    // Indents in twips: `left` of the lines after the first, from the margin; `firstLine` of
    // the first line from `left` (negative: hanging). A list item's text starts at `left`; its
    // first line starts where its label, aligned to the right, ends.
    int32_t left = 0;
    int32_t firstLine = 0;
    // Tab stops as the engine packs them (MakeTab): twips from the margin, with alignment and
    // leader; ascending by position.
    std::vector<int32_t> tabs;
    std::vector<RichRun> runs; // the text as it is written
};

struct OfficeLayout {
    std::vector<OfficeList> lists;
    std::vector<OfficeParagraph> paragraphs; // one per paragraph of the document
};

// A rule becomes the bottom border of the paragraph above it, where the view draws it, and the
// rule's own paragraph stays, empty, for the room it takes below; a rule with no text above it
// borders its own paragraph.
//
// The renderers indent with tabs, which hold only for a paragraph's first line. As on the
// printed page, the wrapped lines of such a paragraph belong under its text, past any bullet:
// the leading tabs become the paragraph's indent, and the blank after a bullet a tab to a
// hanging indent.
OfficeLayout LayOutParagraphs(const RichDocument& document);

// Part of a run as it is written: symbol-font bytes become the characters they stand for, in
// a font that has them (`symbolFont`); a byte that stands for none keeps its font and is
// written in the private-use block, where word processors look for symbol fonts' bytes.
struct ShownText {
    std::u32string text;
    bool symbolFont = false;
};
std::vector<ShownText> ShownTextOf(const RichRun& run);

// How a character of run text is written.
enum class TextChar { Text, Tab, LineBreak };
TextChar ClassifyChar(char32_t c);

// The colour as six hex digits, RRGGBB (upper-case for DOCX, lower for ODF).
std::string HexColor(uint32_t color, bool upperCase);

// A length in twips as points ("10pt", "10.5pt", "-18pt").
std::string Points(int32_t twips);

// Checks a page before it is written: sizes and margins that leave no room for text.
std::optional<std::string> PageProblem(const RtfPage& page);

} // namespace trellic
