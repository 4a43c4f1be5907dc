#include "exchange/office_export.h"

#include "engine/file_io.h"
#include "exchange/docx_writer.h"
#include "exchange/odt_writer.h"

namespace trellic {

std::optional<OfficeFormat> OfficeFormatOf(std::string_view extension) {
    if (extension == "docx") {
        return OfficeFormat::Docx;
    }
    if (extension == "odt") {
        return OfficeFormat::Odt;
    }
    return std::nullopt;
}

const char* OfficeFormatName(OfficeFormat format) {
    return format == OfficeFormat::Docx ? "Word document" : "OpenDocument text";
}

bool ExportOfficeDocument(OfficeFormat format, const RichDocument& document,
                          const DocumentProperties& properties, const RtfPage& page,
                          const std::string& path, std::string& error) {
    const ExportResult result = format == OfficeFormat::Docx ? WriteDocx(document, properties, page)
                                                             : WriteOdt(document, properties, page);
    if (!result.ok) {
        error = result.error;
        return false;
    }
    const FileResult written = WriteFileAtomically(path, result.bytes);
    if (!written.ok) {
        error = written.reason;
        return false;
    }
    return true;
}

} // namespace trellic
