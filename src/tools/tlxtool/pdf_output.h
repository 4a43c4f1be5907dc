#pragma once

#include "exchange/office_document.h"
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

// The title, author and subject a PDF would carry, for the word-processor formats.
DocumentProperties OfficePropertiesOf(const RichDocument& document, const NodeTree* tree);

// Gives RTF files the paper a PDF would have.
void UsePaperForRtf(const PdfOptions& options);

// False for a paper name that --paper does not take.
bool PaperNameKnown(const std::string& name);

} // namespace trellic::tool
