#include "pdf_output.h"

#include <ctime>

namespace trellic::tool {

bool WritePdf(const RichDocument&, const NodeTree*, const std::string&, const PdfOptions&,
              std::string& error) {
    error = "this tlxtool was built without Qt, which PDF output needs";
    return false;
}

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
