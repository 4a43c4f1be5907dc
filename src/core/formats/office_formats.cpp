// Apart from the other formats of the registry: a program that lists the core's formats alone
// does not link the word processors' writers, nor libzip under them.

#include "formats/docx_format.h"
#include "formats/format_registry.h"
#include "formats/odt_format.h"

namespace trellic {

void AddOfficeFormats(FormatRegistry& formats) {
    formats.Add(std::make_unique<DocxFormat>());
    formats.Add(std::make_unique<OdtFormat>());
}

} // namespace trellic
