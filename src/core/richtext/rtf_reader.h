#pragma once

#include "engine/progress.h"
#include "richtext/rich_document.h"

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// What came of reading an RTF text. The reader never fails outright: it keeps every character
// it can find and reports what it had to forgive.
struct RtfReadResult {
    RichDocument document;
    // The input starts with "{\rtf" (after white space); otherwise it is not RTF at all and
    // `document` holds nothing useful.
    bool isRtf = false;
    // The groups closed properly before the input ended.
    bool complete = true;
    // Empty, or a one-line description of the first damage met.
    std::string problem;
    // What the reader left out or cannot show, one sentence each: pictures too large to keep,
    // pictures that cannot be decoded.
    std::vector<std::string> warnings;
    // The user stopped the reading through the progress port; `document` is incomplete.
    bool cancelled = false;
};

// What unescaped bytes of 0x80 and above stand for. In a file they are bytes in the document's
// or the font's code page. In a node's text, which is UTF-8, they are characters: one that
// Windows-1252 holds reads as that code page's byte did (so texts from single-byte files read as
// they always have), any other as itself.
enum class RtfSource { Bytes, Utf8 };

// Reads a whole RTF document. A paragraph break at the very end ends the last paragraph rather
// than starting an empty one, as the control reads a file.
// `progress` hears of the bytes read and may cancel.
[[nodiscard]] RtfReadResult ReadRtf(std::string_view rtf, RtfSource source = RtfSource::Bytes,
                                    ProgressPort* progress = nullptr);

// Reads an RTF text that will be inserted into other text: the last paragraph of the result is
// the text after the last paragraph break (possibly empty), which joins the text behind the
// insertion point.
[[nodiscard]] RtfReadResult ReadRtfFragment(std::string_view rtf,
                                            RtfSource source = RtfSource::Bytes);

// The nesting depth beyond which groups no longer keep their own formatting state.
inline constexpr int kRtfMaxGroupDepth = 200;

} // namespace trellic
