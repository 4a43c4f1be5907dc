#include "pdf_output.h"

namespace trellic::tool {

// Without Qt there is no page printer, so no PDF format to list.
void AddPdfFormat(FormatRegistry&, const PdfOptions&) {}

void UsePaperForRtf(const PdfOptions&) {}

bool PaperNameKnown(const std::string& name) {
    return name == "a4" || name == "letter";
}

} // namespace trellic::tool
