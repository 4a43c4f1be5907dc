#pragma once

#include "richtext/rich_document.h"

#include <string>
#include <string_view>

namespace trellic {

// Windows-1252 bytes to engine text: symbol-font text (character set 2) keeps the byte values,
// any other text goes through the code page.
std::u32string DecodeSingleByteText(std::string_view bytes, uint8_t charSet);

// Plain text as the control reads it: Windows-1252 bytes where CR LF, a lone CR and a lone LF
// each break the paragraph. Every character and paragraph mark takes `charFormat`, every
// paragraph `paraFormat`.
RichDocument ReadPlainText(std::string_view bytes, const RichCharFormat& charFormat,
                           const RichParaFormat& paraFormat);

// Paragraphs joined with CR LF, no break after the last; characters Windows-1252 cannot hold
// become '?', symbol-font text is written as its bytes. Hidden text and pictures are left out:
// plain text holds what a reader of the page sees.
std::string WritePlainText(const RichDocument& document);

} // namespace trellic
