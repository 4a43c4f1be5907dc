#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trellic {

// The outcome of a file operation, with a message fit to show the user when it failed.
struct FileResult {
    enum class Stage { None, Open, Write, Locked };
    bool ok = false;
    // Open: the file could not be opened or created at all, or it is one that must not be
    // replaced (read-only, a folder, a pipe or device). Locked: the target is held protected
    // by another process, so it was left as it stood.
    Stage failedAt = Stage::None;
    // The path followed by what went wrong, "/home/ann/cv.tlx: No space left on device" or
    // "/home/ann/cv.tlx (the file is read-only)", to be shown inside a sentence.
    std::string message;
    // What went wrong without the path, for callers that print the path themselves.
    std::string reason;
};

// Reads a whole file into bytes. Refuses files larger than maxBytes rather than allocating
// for them, and anything that is not a regular file (a pipe or device would block or never
// end) without waiting on it.
FileResult ReadWholeFile(const std::string& path, std::string& bytes,
                         std::size_t maxBytes = std::size_t{1} << 30);

// Writes bytes so that a failure at any point (disk full, no permission, the program killed)
// never leaves a damaged file where a good one stood, and nothing visible is left behind.
//
// A symbolic link is followed: the file it points to is written, beside that file, and the
// link stays. The replaced file's permissions, and its owner and group as far as the user may
// keep them, carry over. A file with further hard links is rewritten in place, so every link
// sees the new content. The file is refused, and left untouched, when it is not a regular
// file, when the user may not write it, or when another process holds it protected
// (Stage::Locked). Success is reported only once the file and its folder are on disk.
FileResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files that saves into folder left behind when their process was
// killed. Every write does this for its own folder; exposed for tests.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace trellic
