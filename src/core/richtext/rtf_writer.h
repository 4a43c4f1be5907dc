#pragma once

#include "richtext/rich_document.h"

#include <string>

namespace trellic {

// Writes a document as RTF in the control's dialect (ASCII only, Windows-1252 code page), with
// the old-style paragraph numbering the control reads and, beside it, the list tables that
// today's word processors read.
[[nodiscard]] std::string WriteRtf(const RichDocument& document);

} // namespace trellic
