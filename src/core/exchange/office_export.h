#pragma once

#include "exchange/office_document.h"

#include <optional>
#include <string>
#include <string_view>

namespace trellic {

// The word-processor formats a resume can be exported to.
enum class OfficeFormat { Docx, Odt };

// The format a file extension (without the dot, in lower case) names, if it is one.
std::optional<OfficeFormat> OfficeFormatOf(std::string_view extension);

// "Word document" / "OpenDocument text", to name the format in messages.
const char* OfficeFormatName(OfficeFormat format);

// Writes the document in `format` to `path`. The file appears only when it is complete: on
// failure `error` says why and a file that stood at `path` is left as it was.
[[nodiscard]] bool ExportOfficeDocument(OfficeFormat format, const RichDocument& document,
                                        const DocumentProperties& properties, const RtfPage& page,
                                        const std::string& path, std::string& error);

} // namespace trellic
