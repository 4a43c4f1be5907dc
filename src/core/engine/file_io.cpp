#include "engine/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trellic {

namespace {

FileResult Failure(FileResult::Stage stage, const std::string& path, int error) {
    FileResult result;
    result.failedAt = stage;
    result.message = path + ": " + std::strerror(error);
    return result;
}

FileResult Success() {
    FileResult result;
    result.ok = true;
    return result;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

FileResult ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Failure(FileResult::Stage::Open, path, error ? error : EINVAL);
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        ::close(fd);
        return Failure(FileResult::Stage::Open, path, EFBIG);
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return Failure(FileResult::Stage::Write, path, error);
        }
        if (got == 0) {
            break;
        }
        if (data.size() + static_cast<std::size_t>(got) > maxBytes) {
            ::close(fd);
            return Failure(FileResult::Stage::Open, path, EFBIG);
        }
        data.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    bytes = std::move(data);
    return Success();
}

FileResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = FolderOf(path) + "/.trellic-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    // mkstemp makes the file private; give it what a plain create would, or what the file it
    // replaces had.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, data, left);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return Failure(FileResult::Stage::Write, path, error);
        }
        data += put;
        left -= static_cast<std::size_t>(put);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        const int error = synced ? errno : syncError;
        ::unlink(temp.c_str());
        return Failure(FileResult::Stage::Write, path, error);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Failure(FileResult::Stage::Write, path, error);
    }
    return Success();
}

} // namespace trellic
