#pragma once

#include "richtext/rich_document.h"

#include <string>
#include <string_view>

namespace trellic {

// UTF-8 text to engine text. Symbol-font text (character set 2) holds the font's byte values:
// a character Windows-1252 holds becomes its byte there, so symbol text that came from a
// single-byte file keeps its glyphs.
std::u32string DecodeNodeText(std::string_view utf8, uint8_t charSet);

// Plain text as the control reads it: UTF-8 where CR LF, a lone CR and a lone LF each break the
// paragraph. Every character and paragraph mark takes `charFormat`, every paragraph
// `paraFormat`.
RichDocument ReadPlainText(std::string_view utf8, const RichCharFormat& charFormat,
                           const RichParaFormat& paraFormat);

// Paragraphs joined with CR LF, no break after the last, as UTF-8. Symbol-font text is written
// as the Windows-1252 characters of its bytes, so that a file in that code page holds the bytes
// themselves. Hidden text and pictures are left out: plain text holds what a reader of the page
// sees.
std::string WritePlainText(const RichDocument& document);

} // namespace trellic
