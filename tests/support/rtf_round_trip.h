#pragma once

#include "richtext/rich_document.h"

namespace trellic::testing {

// A document as a reader of its RTF sees it. The writer gives text outside Windows-1252 the
// character set of its script so that word processors pick a font with its glyphs, and such text
// reads back in a run of that set; so, except for the symbol set, which changes what the bytes
// mean, character sets do not count, and neither do the run boundaries they make.
inline RichDocument AsReadersSeeIt(RichDocument document) {
    const auto neutral = [](RichCharFormat& format) {
        if (format.charSet != kSymbolCharSet) {
            format.charSet = 0;
        }
    };
    for (RichParagraph& paragraph : document.paragraphs) {
        for (RichRun& run : paragraph.runs) {
            neutral(run.format);
        }
        neutral(paragraph.markFormat);
    }
    document.Normalize();
    return document;
}

} // namespace trellic::testing
