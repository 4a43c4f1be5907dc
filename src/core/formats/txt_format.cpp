#include "formats/txt_format.h"

#include "engine/text_file.h"
#include "formats/file_content.h"
#include "render/resume_view.h"

namespace trellic {

TxtFormat::TxtFormat()
    : FileFormat({.id = "Txt",
                  .name = "TXT",
                  .title = "Plain Text",
                  .filterName = "Text Files",
                  .extensions = {"txt"},
                  .holds = FormatHolds::PlainText,
                  .role = FormatRole::Resume,
                  .reads = true,
                  .writes = true}) {}

FormatResult TxtFormat::Read(std::string_view bytes, FormatReading& into) const {
    if (FormatResult text = CheckResumeText(bytes, into.path); !text.ok) {
        return text;
    }
    into.viewText = DecodeTextFile(bytes);
    return FormatResult::Success();
}

FormatResult TxtFormat::Write(const FormatSource& from, std::string& bytes) const {
    bytes = EncodeTextFile(from.view.ExportText());
    return FormatResult::Success();
}

} // namespace trellic
