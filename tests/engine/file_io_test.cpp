#include "engine/file_io.h"
#include "temp_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trellic {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

// Holds protection's exclusive lock on a file from a second process for as long as it lives.
class ForeignLock {
public:
    explicit ForeignLock(const std::string& path) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
            [[maybe_unused]] auto put = ::write(ready[1], &held, 1);
            char ignored = 0;
            [[maybe_unused]] auto got = ::read(release[0], &ignored, 1); // until the parent closes
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char held = 'n';
        m_held = ::read(ready[0], &held, 1) == 1 && held == 'y';
        ::close(ready[0]);
    }
    ~ForeignLock() {
        if (m_release >= 0) {
            ::close(m_release);
        }
        if (m_pid > 0) {
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool Held() const { return m_held; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

constexpr int kCannotDrop = 77;

// Runs body as the unprivileged user "nobody" in a child process; returns its result, or
// kCannotDrop when the system does not allow giving up root.
int RunAsNobody(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const gid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(nobody, nobody, nobody) != 0 ||
            ::setresuid(nobody, nobody, nobody) != 0 || ::geteuid() == 0) {
            ::_exit(kCannotDrop);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    testing::TempDir dir;
    const std::string path = dir.File("resume.tlx");
    testing::WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)).ok);
    EXPECT_EQ(testing::ReadFileBytes(path), std::string("new\0bytes", 9));
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0640U);
    EXPECT_EQ(EntryCount(dir.Path()), 1U);
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFile) {
    testing::TempDir dir;
    const std::string path = dir.File("keep.nod");
    testing::WriteFileBytes(path, "good");
    // A folder where the file should go cannot be replaced by a file.
    fs::create_directory(dir.File("folder"));
    const auto result = WriteFileAtomically(dir.File("folder"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(testing::ReadFileBytes(path), "good");

    const auto missing = WriteFileAtomically(dir.File("no/such/place.nod"), "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.failedAt, FileResult::Stage::Open);
    EXPECT_EQ(EntryCount(dir.Path()), 2U);
}

TEST(WriteFileAtomically, APipeIsRefusedAndStaysAPipe) {
    testing::TempDir dir;
    const std::string pipe = dir.File("pipe.tlx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto result = WriteFileAtomically(pipe, "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, pipe + " (it is not a regular file)");
    EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode));
    EXPECT_EQ(EntryCount(dir.Path()), 1U);
}

TEST(WriteFileAtomically, AFileAnotherProcessProtectsIsLeftAlone) {
    testing::TempDir dir;
    const std::string path = dir.File("held.tlx");
    testing::WriteFileBytes(path, "protected");
    {
        ForeignLock lock(path);
        ASSERT_TRUE(lock.Held());
        const auto result = WriteFileAtomically(path, "replacement");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.failedAt, FileResult::Stage::Locked);
        EXPECT_EQ(result.message, path + " (another program holds the file protected)");
        EXPECT_EQ(result.reason, "another program holds the file protected");
        EXPECT_EQ(testing::ReadFileBytes(path), "protected");
        EXPECT_EQ(EntryCount(dir.Path()), 1U);
    }
    // Once the other process lets go, the file can be written again.
    EXPECT_TRUE(WriteFileAtomically(path, "replacement").ok);
    EXPECT_EQ(testing::ReadFileBytes(path), "replacement");
}

TEST(WriteFileAtomically, SymbolicLinksAreWrittenThroughAndKept) {
    testing::TempDir dir;
    fs::create_directory(dir.File("real"));
    const std::string real = dir.File("real/cv.tlx");
    testing::WriteFileBytes(real, "old");
    ::chmod(real.c_str(), 0604);
    // A relative link, and a link to that link.
    fs::create_symlink("real/cv.tlx", dir.File("link.tlx"));
    fs::create_symlink(dir.File("link.tlx"), dir.File("chain.tlx"));

    ASSERT_TRUE(WriteFileAtomically(dir.File("chain.tlx"), "new").ok);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.tlx")));
    EXPECT_TRUE(fs::is_symlink(dir.File("chain.tlx")));
    EXPECT_EQ(testing::ReadFileBytes(real), "new");
    EXPECT_EQ(StatOf(real).st_mode & 0777, 0604U);
    EXPECT_EQ(EntryCount(dir.Path()), 3U);
    EXPECT_EQ(EntryCount(dir.File("real")), 1U);

    // A dangling link gets the file it names.
    fs::create_symlink("real/new.tlx", dir.File("dangling.tlx"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("dangling.tlx"), "created").ok);
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.tlx")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("real/new.tlx")), "created");

    // A loop of links is refused, not followed for ever.
    fs::create_symlink("loop-b", dir.File("loop-a"));
    fs::create_symlink("loop-a", dir.File("loop-b"));
    EXPECT_FALSE(WriteFileAtomically(dir.File("loop-a"), "x").ok);
    EXPECT_TRUE(fs::is_symlink(dir.File("loop-a")));
}

TEST(WriteFileAtomically, EveryHardLinkSeesTheNewContent) {
    testing::TempDir dir;
    const std::string first = dir.File("cv.tlx");
    testing::WriteFileBytes(first, "a longer old content");
    ::chmod(first.c_str(), 0640);
    ASSERT_EQ(::link(first.c_str(), dir.File("copy.tlx").c_str()), 0);
    const ino_t inode = StatOf(first).st_ino;

    ASSERT_TRUE(WriteFileAtomically(first, "short").ok);
    EXPECT_EQ(testing::ReadFileBytes(first), "short");
    EXPECT_EQ(testing::ReadFileBytes(dir.File("copy.tlx")), "short");
    EXPECT_EQ(StatOf(first).st_ino, inode);
    EXPECT_EQ(StatOf(first).st_nlink, 2U);
    EXPECT_EQ(StatOf(first).st_mode & 0777, 0640U);
    EXPECT_EQ(EntryCount(dir.Path()), 2U);

    ASSERT_TRUE(WriteFileAtomically(dir.File("copy.tlx"), "").ok);
    EXPECT_EQ(testing::ReadFileBytes(first), "");
}

TEST(WriteFileAtomically, TheOwnerOfAReplacedFileIsKept) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may keep another user's ownership";
    }
    testing::TempDir dir;
    const std::string path = dir.File("theirs.tlx");
    testing::WriteFileBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
    EXPECT_EQ(StatOf(path).st_uid, 65534U);
    EXPECT_EQ(StatOf(path).st_gid, 65534U);
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0600U);
}

TEST(WriteFileAtomically, AReadOnlyFileIsRefusedToAnOrdinaryUser) {
    testing::TempDir dir;
    // The folder is open to everyone, so only the file's own mode can stop the save.
    ::chmod(dir.Path().c_str(), 0777);
    const std::string path = dir.File("locked.tlx");
    testing::WriteFileBytes(path, "read-only");
    ::chmod(path.c_str(), 0444);
    ::chown(path.c_str(), 65534, 65534);

    const int outcome = RunAsNobody([&] {
        const auto result = WriteFileAtomically(path, "overwritten");
        if (result.ok) {
            return 1;
        }
        if (result.message != path + " (the file is read-only)" ||
            result.failedAt != FileResult::Stage::Open) {
            return 2;
        }
        // A writable file beside it can still be saved by the same user.
        return WriteFileAtomically(dir.File("mine.tlx"), "mine").ok ? 0 : 3;
    });
    if (outcome == kCannotDrop) {
        GTEST_SKIP() << "cannot run as an ordinary user here";
    }
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(testing::ReadFileBytes(path), "read-only");
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0444U);
    EXPECT_EQ(EntryCount(dir.Path()), 2U);

    if (::geteuid() == 0) {
        // Root may write any file, as the shell would let it.
        EXPECT_TRUE(WriteFileAtomically(path, "by root").ok);
        EXPECT_EQ(testing::ReadFileBytes(path), "by root");
    }
}

TEST(WriteFileAtomically, LeftoversOfKilledSavesAreRemovedOnlyWhenTheirProcessIsGone) {
    testing::TempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0) {
        ::_exit(0);
    }
    ::waitpid(dead, nullptr, 0);
    const std::string deadName = ".trellic-" + std::to_string(dead) + "-abcdef";
    const std::string freshName = ".trellic-" + std::to_string(dead) + "-ghijkl";
    const std::string liveName = ".trellic-1-mnopqr"; // init always runs
    const std::string userName = ".trellic-notes";
    for (const auto& name : {deadName, freshName, liveName, userName}) {
        testing::WriteFileBytes(dir.File(name), "half a resume");
    }
    // Only leftovers that have sat unchanged a while count as abandoned.
    const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const auto& name : {deadName, liveName, userName}) {
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.File(name).c_str(), hourAgo, 0), 0);
    }

    ASSERT_TRUE(WriteFileAtomically(dir.File("cv.tlx"), "saved").ok);
    EXPECT_FALSE(fs::exists(dir.File(deadName)));
    EXPECT_TRUE(fs::exists(dir.File(freshName)));
    EXPECT_TRUE(fs::exists(dir.File(liveName)));
    EXPECT_TRUE(fs::exists(dir.File(userName)));
    EXPECT_EQ(EntryCount(dir.Path()), 4U);
}

TEST(ReadWholeFile, RefusesMissingFoldersAndOversizedFiles) {
    testing::TempDir dir;
    std::string bytes = "unchanged";
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), bytes).ok);
    EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes).ok);
    testing::WriteFileBytes(dir.File("big"), std::string(100, 'x'));
    EXPECT_FALSE(ReadWholeFile(dir.File("big"), bytes, 99).ok);
    EXPECT_EQ(bytes, "unchanged");
    ASSERT_TRUE(ReadWholeFile(dir.File("big"), bytes, 100).ok);
    EXPECT_EQ(bytes, std::string(100, 'x'));
}

TEST(ReadWholeFile, PipesAndDevicesAreRefusedWithoutWaiting) {
    testing::TempDir dir;
    const std::string pipe = dir.File("pipe.tlx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string bytes = "unchanged";
    // Without a writer, opening the pipe would wait for ever.
    const auto fromPipe = ReadWholeFile(pipe, bytes);
    EXPECT_FALSE(fromPipe.ok);
    EXPECT_EQ(fromPipe.failedAt, FileResult::Stage::Open);
    EXPECT_EQ(fromPipe.message, pipe + " (it is not a regular file)");
    EXPECT_EQ(fromPipe.reason, "it is not a regular file");
    // /dev/zero would never end.
    EXPECT_FALSE(ReadWholeFile("/dev/zero", bytes).ok);
    EXPECT_EQ(bytes, "unchanged");
}

} // namespace
} // namespace trellic
