#pragma once

#include "formats/file_format.h"

namespace trellic {

// Word documents (.docx): the view's text as word processors lay it out, on the page RTF files
// carry (the one Print Setup chose), with the resume's title and author. Written only.
class DocxFormat : public FileFormat {
public:
    DocxFormat();
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
