#include "model/protected_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace trellic {

ProtectedFile::ProtectedFile(ProtectedFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

ProtectedFile& ProtectedFile::operator=(ProtectedFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool ProtectedFile::Open(const std::string& path) {
    Close();
    // A pipe or device is never a resume, and opening a pipe would wait for a writer: look
    // first, and open without waiting in case the name changes meanwhile.
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void ProtectedFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd); // closing the last descriptor releases the lock
        m_fd = -1;
    }
}

} // namespace trellic
