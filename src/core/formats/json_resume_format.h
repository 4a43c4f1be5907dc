#pragma once

#include "formats/file_format.h"

namespace trellic {

// JSON Resume (.json), the open resume schema: read into a node tree in the default template's
// styles, written from the resume's nodes. The desktop program has File > Import and Export
// commands of its own for it, which keep an import unsaved and ask for the nodes before the file
// chooser; tlxtool's convert reads and writes it through this.
class JsonResumeFormat : public FileFormat {
public:
    JsonResumeFormat();
    FormatResult Read(std::string_view bytes, FormatReading& into) const override;
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
