#pragma once

#include "formats/file_format.h"

namespace trellic {

// Text files: the view's text alone, with CR LF between paragraphs, in Windows-1252 where that
// holds every character and otherwise in UTF-8 behind its byte order mark; either is read, and
// UTF-16 behind its mark. Open reads files of any unknown extension with it too.
class TxtFormat : public FileFormat {
public:
    TxtFormat();
    // Binary data is refused, so that it is not shown as noise and then saved over the file.
    FormatResult Read(std::string_view bytes, FormatReading& into) const override;
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
