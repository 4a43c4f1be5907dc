#pragma once

#include "formats/file_format.h"

namespace trellic {

// Text files: the view's text alone, Windows-1252 with CR LF between paragraphs. Open reads
// files of any unknown extension with it too.
class TxtFormat : public FileFormat {
public:
    TxtFormat();
    // Binary data is refused, so that it is not shown as noise and then saved over the file.
    FormatResult Read(std::string_view bytes, FormatReading& into) const override;
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
