#pragma once

#include "richtext/rich_document.h"

#include <cstdint>
#include <string>

namespace trellic::testing {

// A fully valid character format in the given face and size (twips).
RichCharFormat Font(const std::string& face, int32_t height = 240);
// Engine text from UTF-8, for readable expectations.
std::u32string U(std::string_view utf8);
std::string Utf8(std::u32string_view text);

// A document the writer can represent exactly, drawn from `seed`: every attribute the RTF
// dialect carries, symbol-font runs, numbered and bulleted lists, text outside Windows-1252.
RichDocument RandomDocument(uint32_t seed);

// The document as RTF carries it: text in an ANSI or default-set font that another script's
// character set suits is in a font of that character set.
RichDocument AsWritten(const RichDocument& document);

// Paragraph texts joined with '\n', for short expectations.
std::string ParagraphTexts(const RichDocument& document);

} // namespace trellic::testing
