#include "formats/docx_format.h"

#include "exchange/docx_writer.h"
#include "formats/document_properties.h"
#include "render/resume_view.h"

#include <utility>

namespace trellic {

DocxFormat::DocxFormat()
    : FileFormat({.id = "Docx",
                  .name = "Word document",
                  .title = "Word Document",
                  .filterName = "Word Documents",
                  .extensions = {"docx"},
                  .holds = FormatHolds::RichText,
                  .role = FormatRole::Exchange,
                  .reads = false,
                  .writes = true,
                  .menuTitle = "Word Document (.docx)",
                  .exportTip = "Save the active resume as a document for word processors",
                  .fileKind = "Word document"}) {}

FormatResult DocxFormat::Write(const FormatSource& from, std::string& bytes) const {
    const RichDocument document = from.view.Document();
    ExportResult written =
        WriteDocx(document, ExportedProperties(from.tree, document), CurrentRtfPage());
    if (!written.ok) {
        return FormatResult::Failure(std::move(written.error));
    }
    bytes = std::move(written.bytes);
    return FormatResult::Success();
}

} // namespace trellic
