#pragma once

#include "formats/file_format.h"

namespace trellic {

// The program's own files: the node tree in the .tlx layout of docs/tlx-format.md.
class TlxFormat : public FileFormat {
public:
    TlxFormat();
    // A file with the wrong magic fails with the reader's warning; one that ends early, or
    // claims more than it holds, with "Unexpected file format.". What was read of it stays in
    // the tree, which the caller then throws away.
    FormatResult Read(std::string_view bytes, FormatReading& into) const override;
    FormatResult Write(const FormatSource& from, std::string& bytes) const override;
};

} // namespace trellic
