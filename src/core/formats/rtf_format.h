#pragma once

#include "formats/file_format.h"

namespace trellic {

// Rich text files: the view's text with its formats, as the view reads and writes RTF.
class RtfFormat : public FileFormat {
public:
    RtfFormat();
    // Binary data and text that does not begin as rich text are refused, so that neither is
    // shown as noise and then saved over the file.
    FormatResult Read(std::string_view bytes, FormatReading& into) const override;
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
