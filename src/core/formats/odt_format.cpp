#include "formats/odt_format.h"

#include "exchange/odt_writer.h"
#include "formats/document_properties.h"
#include "render/resume_view.h"

#include <utility>

namespace trellic {

OdtFormat::OdtFormat()
    : FileFormat({.id = "Odt",
                  .name = "OpenDocument text",
                  .title = "OpenDocument Text",
                  .filterName = "OpenDocument Text Documents",
                  .extensions = {"odt"},
                  .holds = FormatHolds::RichText,
                  .role = FormatRole::Exchange,
                  .reads = false,
                  .writes = true,
                  .menuTitle = "OpenDocument Text (.odt)",
                  .exportTip = "Save the active resume as an OpenDocument text",
                  .fileKind = "OpenDocument text"}) {}

FormatResult OdtFormat::Write(const FormatSource& from, std::string& bytes) const {
    const RichDocument document = from.view.Document();
    ExportResult written =
        WriteOdt(document, ExportedProperties(from.tree, document), CurrentRtfPage());
    if (!written.ok) {
        return FormatResult::Failure(std::move(written.error));
    }
    bytes = std::move(written.bytes);
    return FormatResult::Success();
}

} // namespace trellic
