#pragma once

#include "formats/format_registry.h"

#include <string>

namespace trellic::tool {

struct PdfOptions {
    std::string paper;     // "a4" or "letter"; empty for the locale's
    bool archival = false; // PDF/A-1b
};

// Lists the PDF format, laid out as the desktop application prints, on the paper and in the
// profile the options name. Builds without Qt cannot lay out pages and list none.
void AddPdfFormat(FormatRegistry& formats, const PdfOptions& options);

// Gives RTF, DOCX and ODT files the paper a PDF would have: the one the options name, else the
// locale's.
void UsePaperForRtf(const PdfOptions& options);

// False for a paper name that --paper does not take.
bool PaperNameKnown(const std::string& name);

} // namespace trellic::tool
