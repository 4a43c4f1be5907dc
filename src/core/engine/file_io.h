#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trellic {

// The outcome of a file operation, with a message fit to show the user when it failed.
struct FileResult {
    enum class Stage { None, Open, Write, Locked };
    bool ok = false;
    // Open: the file could not be opened or created at all. Locked: the target is held
    // protected by another process, so it was left as it stood.
    Stage failedAt = Stage::None;
    std::string message;
};

// Reads a whole file into bytes. Refuses files larger than maxBytes rather than allocating
// for them.
FileResult ReadWholeFile(const std::string& path, std::string& bytes,
                         std::size_t maxBytes = std::size_t{1} << 30);

// Writes bytes to a temporary file beside path and renames it over path only once everything
// is on disk, so a failed write (disk full, no permission) never leaves a damaged file where a
// good one stood. An existing file's permissions are kept.
FileResult WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace trellic
