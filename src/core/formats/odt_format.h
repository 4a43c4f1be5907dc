#pragma once

#include "formats/file_format.h"

namespace trellic {

// OpenDocument texts (.odt): the view's text as word processors lay it out, on the page RTF
// files carry (the one Print Setup chose), with the resume's title and author. Written only.
class OdtFormat : public FileFormat {
public:
    OdtFormat();
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
