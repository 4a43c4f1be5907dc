#include "pdf_output.h"

#include <ctime>

namespace trellic::tool {

// Without Qt there is no page printer, so no PDF format to list.
void AddPdfFormat(FormatRegistry&, const PdfOptions&) {}

DocumentProperties OfficePropertiesOf(const RichDocument&, const NodeTree*) {
    DocumentProperties properties;
    properties.subject = "Resume";
    properties.created = std::time(nullptr);
    return properties;
}

void UsePaperForRtf(const PdfOptions&) {}

bool PaperNameKnown(const std::string& name) {
    return name == "a4" || name == "letter";
}

} // namespace trellic::tool
