#include "formats/rtf_format.h"

#include "formats/file_content.h"
#include "render/resume_view.h"

namespace trellic {

RtfFormat::RtfFormat()
    : FileFormat({.id = "Rtf",
                  .name = "RTF",
                  .title = "Rich Text",
                  .filterName = "Rich Text Files",
                  .extensions = {"rtf"},
                  .holds = FormatHolds::RichText,
                  .role = FormatRole::Resume,
                  .reads = true,
                  .writes = true}) {}

FormatResult RtfFormat::Read(std::string_view bytes, FormatReading& into) const {
    // Rich text may hold pictures as raw bytes (\bin), and the control's own files end in a
    // NUL: its header alone says what it is.
    if (!LooksLikeRtf(bytes)) {
        if (FormatResult text = CheckResumeText(bytes, into.path); !text.ok) {
            return text;
        }
        return FormatResult::Failure(
            "The file is not a rich text file and cannot be opened as one:\n\n" + into.path);
    }
    into.viewText.assign(bytes);
    return FormatResult::Success();
}

FormatResult RtfFormat::Write(const FormatSource& from, std::string& bytes) const {
    bytes = from.view.ExportRtf();
    return FormatResult::Success();
}

} // namespace trellic
