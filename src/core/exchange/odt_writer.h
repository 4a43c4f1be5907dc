#pragma once

#include "exchange/office_document.h"

namespace trellic {

// Writes a document as an OpenDocument text (.odt): the runs with their fonts and effects, the
// paragraphs with their formats, numbered paragraphs as real lists, header rules as paragraph
// borders, on `page` (twips), with the properties as the document's own.
[[nodiscard]] ExportResult WriteOdt(const RichDocument& document,
                                    const DocumentProperties& properties, const RtfPage& page);

} // namespace trellic
