#include "pdf_output.h"

namespace trellic::tool {

// Without Qt there is no page printer, so no PDF format to list.
void AddPdfFormat(FormatRegistry&, const PdfOptions&) {}

} // namespace trellic::tool
