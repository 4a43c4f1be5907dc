#pragma once

#include "exchange/office_document.h"
#include "model/node_tree.h"
#include "richtext/rich_document.h"

#include <string>

namespace trellic::tool {

struct PdfOptions {
    std::string paper;     // "a4" or "letter"; empty for the locale's
    bool archival = false; // PDF/A-1b
};

// Writes the document as the desktop application prints it; the tree, where there is one,
// gives the PDF's title and author. Builds without Qt cannot lay out pages and say so in
// `error`.
bool WritePdf(const RichDocument& document, const NodeTree* tree, const std::string& path,
              const PdfOptions& options, std::string& error);

// The title, author and subject a PDF would carry, for the word-processor formats.
DocumentProperties OfficePropertiesOf(const RichDocument& document, const NodeTree* tree);

// Gives RTF files the paper a PDF would have.
void UsePaperForRtf(const PdfOptions& options);

// False for a paper name that --paper does not take.
bool PaperNameKnown(const std::string& name);

} // namespace trellic::tool
