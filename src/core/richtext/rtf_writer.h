#pragma once

#include "richtext/rich_document.h"

#include <cstdint>
#include <string>

namespace trellic {

// Writes a document as RTF in the control's dialect (ASCII only, Windows-1252 code page), with
// the old-style paragraph numbering the control reads and, beside it, the list tables that
// today's word processors read.
[[nodiscard]] std::string WriteRtf(const RichDocument& document);

// The page the program lays resumes out on, in twips. Every RTF written carries it, so that
// word processors break lines where the program does instead of reflowing to their own paper.
struct RtfPage {
    int32_t width = 12240; // Letter
    int32_t height = 15840;
    int32_t left = 2160;
    int32_t right = 2160;
    int32_t top = 1440;
    int32_t bottom = 1440;
};
// The program has one page setup at a time (chosen by the locale, then by Print Setup); the
// desktop application and the tool set it here. Not for use from more than one thread.
void SetRtfPage(const RtfPage& page);
RtfPage CurrentRtfPage();

} // namespace trellic
