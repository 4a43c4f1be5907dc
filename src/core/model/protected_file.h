#pragma once

#include <string>

namespace trellic {

// A file held open read-only under an exclusive advisory lock (flock), so that other programs
// that honour such locks cannot open it while the resume is protected. Closing releases it.
class ProtectedFile {
public:
    ProtectedFile() = default;
    ~ProtectedFile() { Close(); }
    ProtectedFile(const ProtectedFile&) = delete;
    ProtectedFile& operator=(const ProtectedFile&) = delete;
    ProtectedFile(ProtectedFile&& other) noexcept;
    ProtectedFile& operator=(ProtectedFile&& other) noexcept;

    // Opens and locks path; false when it is missing, unreadable, not a regular file or locked
    // by another process.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace trellic
