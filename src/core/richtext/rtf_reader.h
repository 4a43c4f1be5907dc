#pragma once

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
};

// Reads a whole RTF document. A paragraph break at the very end ends the last paragraph rather
// than starting an empty one, as the control reads a file.
[[nodiscard]] RtfReadResult ReadRtf(std::string_view rtf);

// Reads an RTF text that will be inserted into other text: the last paragraph of the result is
// the text after the last paragraph break (possibly empty), which joins the text behind the
// insertion point.
[[nodiscard]] RtfReadResult ReadRtfFragment(std::string_view rtf);

// The nesting depth beyond which groups no longer keep their own formatting state.
inline constexpr int kRtfMaxGroupDepth = 200;

} // namespace trellic
