#include "print/pdf_format.h"

#include "render/resume_view.h"

#include <utility>

namespace trellic {

namespace {

FormatInfo PdfInfo(PdfFormat::Profile profile) {
    const bool archival = profile == PdfFormat::Profile::Archival;
    return {.id = archival ? "PdfA" : "Pdf",
            .name = "PDF",
            .title = archival ? "PDF/A-1b (archival)" : "PDF",
            .filterName = "PDF Files",
            .extensions = {"pdf"},
            .holds = FormatHolds::RichText,
            .role = FormatRole::Exchange,
            .reads = false,
            .writes = true};
}

} // namespace

PdfFormat::PdfFormat(Profile profile, std::function<PageSetup()> pageSetup)
    : FileFormat(PdfInfo(profile)), m_profile(profile), m_pageSetup(std::move(pageSetup)) {}

FormatResult PdfFormat::Write(const FormatSource& from, std::string& bytes) const {
    const RichDocument document = from.view.Document();
    PdfProperties properties = PropertiesOf(&from.tree, document);
    properties.archival = m_profile == Profile::Archival;
    std::string error;
    bytes = RenderPdf(document, m_pageSetup ? m_pageSetup() : PageSetup{}, properties, error);
    if (bytes.empty()) {
        return FormatResult::Failure(error);
    }
    return FormatResult::Success();
}

} // namespace trellic
