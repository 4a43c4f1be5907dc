#include "engine/file_io.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trellic {

namespace {

// Temporary files are named ".trellic-<pid>-<six characters>", so that a later save can tell
// whether the process that made one still runs.
constexpr std::string_view kTempPrefix = ".trellic-";
constexpr int kMaxLinkHops = 40; // as the kernel allows
// A temporary file of a dead process is removed only once it has not changed for this long:
// a process in another pid namespace, or on another machine sharing the folder, may still be
// writing it although no such pid runs here.
constexpr std::time_t kStaleAfterSeconds = 600;

FileResult Failure(FileResult::Stage stage, const std::string& path, int error) {
    FileResult result;
    result.failedAt = stage;
    result.reason = std::strerror(error);
    result.message = path + ": " + result.reason;
    return result;
}

FileResult Refusal(FileResult::Stage stage, const std::string& path, const std::string& why) {
    FileResult result;
    result.failedAt = stage;
    result.reason = why;
    result.message = path + " (" + why + ")";
    return result;
}

FileResult NotRegular(const std::string& path, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return Failure(FileResult::Stage::Open, path, EISDIR);
    }
    return Refusal(FileResult::Stage::Open, path, "it is not a regular file");
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

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    // Closes and reports the error a delayed write may only report now.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, data, left);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += put;
        left -= static_cast<std::size_t>(put);
    }
    return true;
}

// Follows symbolic links from path to the name a save must replace. A dangling link gives the
// name it points to, so the save creates the file the link was made for.
bool ResolveTarget(const std::string& path, std::string& target, int& error) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return true;
            }
            error = errno;
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
    }
    error = ELOOP;
    return false;
}

std::string UniqueTempName(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    unsigned long long seed = static_cast<unsigned long long>(now.tv_nsec) * 2654435761ULL +
                              static_cast<unsigned long long>(now.tv_sec) + counter++ * 40503ULL;
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i) {
        suffix += kAlphabet[seed % 62];
        seed /= 62;
    }
    return folder + "/" + std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + suffix;
}

// The new content on its way to disk. An unnamed file (O_TMPFILE) vanishes by itself when the
// process dies; it gets a name only for the moment between linking and renaming.
struct TempFile {
    Descriptor fd;
    std::string name; // empty while the file is unnamed

    void Discard() {
        fd.Reset();
        if (!name.empty()) {
            ::unlink(name.c_str());
            name.clear();
        }
    }
};

bool OpenUnnamed(const std::string& folder, TempFile& temp) {
    // The mode passed here goes through the umask, as a plain create would.
    temp.fd = Descriptor(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    temp.name.clear();
    return temp.fd.Valid();
}

bool OpenNamed(const std::string& folder, TempFile& temp, bool replacing) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = UniqueTempName(folder);
        const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            temp.fd = Descriptor(fd);
            temp.name = std::move(name);
            if (!replacing) {
                // A new file gets what a plain create would.
                const mode_t mask = ::umask(0);
                ::umask(mask);
                ::fchmod(fd, 0666 & ~mask);
            }
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

// Links an unnamed temporary file into the folder under a hidden name.
bool GiveName(const std::string& folder, TempFile& temp) {
    const std::string self = "/proc/self/fd/" + std::to_string(temp.fd.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = UniqueTempName(folder);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(temp.fd.Get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
            temp.name = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// Writes the content and the replaced file's owner and mode to the temporary file and syncs it.
bool Fill(TempFile& temp, std::string_view bytes, const struct stat* replaced) {
    const int fd = temp.fd.Get();
    if (replaced != nullptr) {
        if ((replaced->st_uid != ::geteuid() || replaced->st_gid != ::getegid()) &&
            ::fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
            // Only root may give a file away; a user may still keep a group they belong to.
            [[maybe_unused]] const int ignored =
                ::fchown(fd, static_cast<uid_t>(-1), replaced->st_gid);
        }
        // After the owner: changing it clears the set-id bits.
        ::fchmod(fd, replaced->st_mode & 07777);
    }
    return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

bool SyncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid()) {
        return false;
    }
    // Some file systems cannot sync a folder and say so; there is nothing more to do there.
    return ::fsync(dir.Get()) == 0 || errno == EINVAL || errno == EROFS;
}

// Opens a descriptor of its own on target and tries a shared lock: it fails only while another
// process holds the exclusive lock that protection takes. While held, the shared lock also
// keeps anyone from taking protection until the save is done.
bool ProbeLock(const std::string& target, Descriptor& probe) {
    probe = Descriptor(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!probe.Valid() && errno == EACCES) {
        // A file the user may write but not read can still be probed.
        probe = Descriptor(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    }
    if (!probe.Valid()) {
        return true; // gone since it was looked at: nothing holds it
    }
    return ::flock(probe.Get(), LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

// Renaming a new file over one of several hard links would leave the others on the old
// content, so such a file is rewritten in place. The complete new content is already synced in
// the temporary file, and the space is reserved first, so the usual failures (disk full, a
// quota) come before a byte of the original changes. Should the rewrite still fail half way,
// the temporary file takes the name after all: the other links then keep the old content, but
// the file the user saved holds the whole new resume.
FileResult RewriteInPlace(const std::string& path, const std::string& target,
                          std::string_view bytes, TempFile& temp) {
    Descriptor out(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!out.Valid()) {
        const int error = errno;
        temp.Discard();
        return Failure(FileResult::Stage::Open, path, error);
    }
    if (!bytes.empty()) {
        // Reserves the blocks without growing the file, so the original stays as it is.
        if (::fallocate(out.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
            errno != EOPNOTSUPP && errno != ENOSYS) {
            const int reserveError = errno;
            temp.Discard();
            return Failure(FileResult::Stage::Write, path, reserveError);
        }
    }
    bool written = true;
    std::size_t done = 0;
    while (written && done < bytes.size()) {
        const ssize_t put =
            ::pwrite(out.Get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (put < 0 && errno != EINTR) {
            written = false;
        } else if (put > 0) {
            done += static_cast<std::size_t>(put);
        }
    }
    written = written && ::ftruncate(out.Get(), static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(out.Get()) == 0;
    written = out.Close() && written;
    if (written) {
        temp.Discard();
        return Success();
    }
    const int error = errno;
    if ((temp.name.empty() && !GiveName(FolderOf(target), temp)) ||
        ::rename(temp.name.c_str(), target.c_str()) != 0) {
        temp.Discard();
        return Failure(FileResult::Stage::Write, path, error);
    }
    temp.name.clear();
    temp.Discard();
    SyncFolder(FolderOf(target));
    return Success();
}

// Reads ".trellic-<pid>-" at the start of name.
bool TempFileOwner(const char* name, pid_t& pid) {
    const std::string_view text(name);
    if (text.substr(0, kTempPrefix.size()) != kTempPrefix) {
        return false;
    }
    std::size_t i = kTempPrefix.size();
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < INT_MAX) {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == kTempPrefix.size() || i + 7 != text.size() || text[i] != '-' || value <= 0 ||
        value >= INT_MAX) {
        return false;
    }
    pid = static_cast<pid_t>(value);
    return true;
}

} // namespace

FileResult ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    // Look before opening: opening a pipe waits for a writer, and opening a device may do
    // something by itself.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRegular(path, info);
    }
    // Non-blocking, in case the name was swapped for a pipe since.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    if (::fstat(fd.Get(), &info) != 0) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRegular(path, info);
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return Failure(FileResult::Stage::Open, path, EFBIG);
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failure(FileResult::Stage::Write, path, errno);
        }
        if (got == 0) {
            break;
        }
        if (data.size() + static_cast<std::size_t>(got) > maxBytes) {
            return Failure(FileResult::Stage::Open, path, EFBIG);
        }
        data.append(buffer, static_cast<std::size_t>(got));
    }
    bytes = std::move(data);
    return Success();
}

FileResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target;
    int error = ENOENT;
    if (path.empty() || !ResolveTarget(path, target, error)) {
        return Failure(FileResult::Stage::Open, path, error);
    }
    const std::string folder = FolderOf(target);

    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    Descriptor probe;
    if (replacing) {
        if (!S_ISREG(existing.st_mode)) {
            return NotRegular(path, existing);
        }
        // The check a shell's ">" makes; root passes it.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EACCES || errno == EPERM) {
                return Refusal(FileResult::Stage::Open, path, "the file is read-only");
            }
            return Failure(FileResult::Stage::Open, path, errno);
        }
        // Held until the file is replaced, so protection cannot be taken in between.
        if (!ProbeLock(target, probe)) {
            return Refusal(FileResult::Stage::Locked, path,
                           "another program holds the file protected");
        }
    }

    RemoveStaleTemporaries(folder);

    TempFile temp;
    if (!OpenUnnamed(folder, temp) && !OpenNamed(folder, temp, replacing)) {
        return Failure(FileResult::Stage::Open, path, errno);
    }
    if (!Fill(temp, bytes, replacing ? &existing : nullptr)) {
        error = errno;
        temp.Discard();
        return Failure(FileResult::Stage::Write, path, error);
    }

    if (replacing && existing.st_nlink > 1) {
        return RewriteInPlace(path, target, bytes, temp);
    }

    if (temp.name.empty() && !GiveName(folder, temp)) {
        // The kernel made the unnamed file but cannot link it (no /proc, say): write a named
        // one instead.
        temp.Discard();
        if (!OpenNamed(folder, temp, replacing)) {
            return Failure(FileResult::Stage::Open, path, errno);
        }
        if (!Fill(temp, bytes, replacing ? &existing : nullptr)) {
            error = errno;
            temp.Discard();
            return Failure(FileResult::Stage::Write, path, error);
        }
    }
    if (!temp.fd.Close()) {
        error = errno;
        temp.Discard();
        return Failure(FileResult::Stage::Write, path, error);
    }
    if (::rename(temp.name.c_str(), target.c_str()) != 0) {
        error = errno;
        temp.Discard();
        return Failure(FileResult::Stage::Write, path, error);
    }
    temp.name.clear();
    probe.Reset();
    if (!SyncFolder(folder)) {
        // The new file is in place but the folder may not reach the disk: a crash now could
        // bring back the old file, so the save is not reported as done.
        return Failure(FileResult::Stage::Write, path, errno);
    }
    return Success();
}

void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        pid_t owner = 0;
        if (!TempFileOwner(entry->d_name, owner) || owner == ::getpid()) {
            continue;
        }
        // EPERM: the process runs, under another user.
        if (::kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || now - info.st_mtime < kStaleAfterSeconds) {
            continue;
        }
        ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace trellic
