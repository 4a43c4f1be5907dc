#include "formats/tlx_format.h"

#include "model/tlx_file.h"

namespace trellic {

TlxFormat::TlxFormat()
    : FileFormat({.id = "Tlx",
                  .name = "TLX",
                  .title = "Trellic Resume",
                  .filterName = "Trellic Files",
                  .extensions = {"tlx"},
                  .holds = FormatHolds::NodeTree,
                  .role = FormatRole::Resume,
                  .reads = true,
                  .writes = true}) {}

FormatResult TlxFormat::Read(std::string_view bytes, FormatReading& into) const {
    if (into.tree == nullptr) {
        return FormatResult::Failure("There is no node tree to read the resume into.");
    }
    // The reader's one message, the invalid-file warning, is returned rather than shown.
    SilentPrompter silent;
    Archive ar = Archive::ForLoading(bytes);
    switch (ReadTLX(ar, *into.tree, silent)) {
    case TlxReadStatus::Loaded:
        return FormatResult::Success();
    case TlxReadStatus::InvalidMagic:
        return FormatResult::Failure(kInvalidTlxMessage, MessageIcon::Warning);
    case TlxReadStatus::UnexpectedEnd:
        break;
    }
    return FormatResult::Failure("Unexpected file format.");
}

FormatResult TlxFormat::Write(const FormatSource& from, std::string& bytes) const {
    bytes = WriteTLX(from.tree);
    return FormatResult::Success();
}

} // namespace trellic
