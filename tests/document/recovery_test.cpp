#include "document/recovery.h"
#include "document_fixture.h"
#include "render/render_driver.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace trellic {
namespace {

using namespace testing;

// The id of a process that has ended and been reaped.
long DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST(RecoveryFolder, FollowsTheXdgStateHomeThenTheHome) {
    {
        ScopedEnv state("XDG_STATE_HOME", "/var/state");
        ScopedEnv home("HOME", "/home/dana");
        EXPECT_EQ(RecoveryFolder(), "/var/state/trellic");
    }
    {
        // A relative XDG path is to be ignored.
        ScopedEnv state("XDG_STATE_HOME", "state");
        ScopedEnv home("HOME", "/home/dana");
        EXPECT_EQ(RecoveryFolder(), "/home/dana/.local/state/trellic");
    }
    {
        ScopedEnv state("XDG_STATE_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        EXPECT_EQ(RecoveryFolder(), "");
        EXPECT_FALSE(RecoveryStore(RecoveryFolder()).Write("x", kDataSourceNodes, {}).ok);
    }
}

TEST(RecoveryStore, OnlyCopiesOfEndedProcessesAreOffered) {
    TempDir dir;
    const std::string folder = dir.File("state/trellic"); // made on the first write
    const long dead = DeadPid();
    const std::string original = "/home/dana/odd\nname.tlx";
    ASSERT_TRUE(RecoveryStore(folder, dead).Write("TLX bytes", kDataSourceNodes, original).ok);
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);

    // Ours, and a running process's (the parent's, which wrote with its own start time), stay
    // out.
    ASSERT_TRUE(RecoveryStore(folder).Write("mine", kDataSourceViewRtf, "").ok);
    ASSERT_TRUE(RecoveryStore(folder, ::getppid()).Write("theirs", kDataSourceViewTxt, "").ok);

    const std::vector<RecoveryCopy> copies = RecoveryStore(folder).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0].pid, dead);
    EXPECT_EQ(copies[0].originalPath, original);
    EXPECT_EQ(copies[0].dataSource, kDataSourceNodes);
    EXPECT_EQ(copies[0].dataPath, folder + "/" + std::to_string(dead) + ".tlx");
    std::string bytes;
    ASSERT_TRUE(ReadRecoveryCopy(copies[0], bytes).ok);
    EXPECT_EQ(bytes, "TLX bytes");

    DiscardRecoveryCopy(copies[0]);
    EXPECT_TRUE(RecoveryStore(folder).FindAbandoned().empty());
    EXPECT_FALSE(Exists(copies[0].dataPath));
    EXPECT_FALSE(Exists(copies[0].infoPath));
}

TEST(RecoveryStore, AProcessIdGivenToAnotherProgramCountsAsEnded) {
    TempDir dir;
    const long running = ::getppid();
    ASSERT_TRUE(RecoveryStore(dir.Path(), running).Write("text", kDataSourceViewTxt, "/cv.txt").ok);
    ASSERT_TRUE(RecoveryStore(dir.Path()).FindAbandoned().empty());

    // The writer started at another time than the process that holds its id now.
    const std::string info = dir.File(std::to_string(running) + ".info");
    std::string text = ReadFileBytes(info);
    const std::string start = "start=" + std::to_string(ProcessStartTime(running)) + "\n";
    ASSERT_NE(ProcessStartTime(running), 0U);
    ASSERT_NE(text.find(start), std::string::npos);
    text.replace(text.find(start), start.size(), "start=1\n");
    WriteFileBytes(info, text);

    const std::vector<RecoveryCopy> copies = RecoveryStore(dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0].originalPath, "/cv.txt");
    EXPECT_EQ(copies[0].dataPath, dir.File(std::to_string(running) + ".txt"));
}

TEST(RecoveryStore, RewritesFollowTheFormatAndRemoveTakesEverything) {
    TempDir dir;
    const long pid = DeadPid();
    RecoveryStore store(dir.Path(), pid);
    const std::string stem = dir.File(std::to_string(pid));
    ASSERT_TRUE(store.Write("nodes", kDataSourceNodes, "/cv.tlx").ok);
    ASSERT_TRUE(store.Write("{\\rtf1 text}", kDataSourceViewRtf, "").ok);
    EXPECT_FALSE(Exists(stem + ".tlx")); // converted: the old format's copy goes
    EXPECT_EQ(ReadFileBytes(stem + ".rtf"), "{\\rtf1 text}");
    const std::vector<RecoveryCopy> copies = RecoveryStore(dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0].dataSource, kDataSourceViewRtf);
    EXPECT_EQ(copies[0].originalPath, "");

    store.Remove();
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    store.Remove(); // nothing left: still fine
}

TEST(RecoveryStore, ForeignAndDamagedFilesAreNeverOffered) {
    TempDir dir;
    const long pid = DeadPid();
    const std::string id = std::to_string(pid);
    WriteFileBytes(dir.File("notes.info"), "Trellic recovery copy\npid=1\nstart=0\n");
    WriteFileBytes(dir.File("7.info"), "something else");
    // A good information file under another process's name.
    WriteFileBytes(dir.File("8.info"),
                   "Trellic recovery copy\npid=" + id + "\nstart=0\ndataSource=0\npath=/cv.tlx");
    WriteFileBytes(dir.File(id + ".info"),
                   "Trellic recovery copy\npid=" + id + "\nstart=0\ndataSource=9\npath=/cv.tlx");
    EXPECT_TRUE(RecoveryStore(dir.Path()).FindAbandoned().empty());
    // Good information whose copy is missing.
    WriteFileBytes(dir.File(id + ".info"),
                   "Trellic recovery copy\npid=" + id + "\nstart=0\ndataSource=0\npath=/cv.tlx");
    EXPECT_TRUE(RecoveryStore(dir.Path()).FindAbandoned().empty());
    WriteFileBytes(dir.File(id + ".tlx"), "bytes");
    EXPECT_EQ(RecoveryStore(dir.Path()).FindAbandoned().size(), 1U);
    EXPECT_TRUE(RecoveryStore(dir.File("missing")).FindAbandoned().empty());
}

TEST(RecoveryStore, FailedWritesAreReported) {
    TempDir dir;
    RecoveryStore store(dir.Path(), DeadPid());
    ASSERT_TRUE(store.Write("first", kDataSourceViewTxt, "/cv.txt").ok);
    const std::vector<RecoveryCopy> copies = RecoveryStore(dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);
    // The information file cannot be replaced: a folder stands in its way.
    std::filesystem::remove(copies[0].infoPath);
    std::filesystem::create_directory(copies[0].infoPath);
    EXPECT_FALSE(store.Write("second", kDataSourceViewTxt, "/cv.txt").ok);

    // Where no folder can be made, the write says so.
    WriteFileBytes(dir.File("plain"), "a file");
    const FileResult result =
        RecoveryStore(dir.File("plain/trellic"), 1).Write("x", kDataSourceNodes, "");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
}

TEST(RestoreRecoveryCopy, NodesComeBackUnsavedUnderTheirOriginalPath) {
    DocumentFixture f;
    NodeTree written{std::string()};
    ResetNodeTree(written, {});
    written.renderer = kRendererTxt;
    written.resume->renderer = kRendererTxt;
    HeaderNode& header = written.headers.emplace_back();
    header.header = "Experience";
    written.activeStack.push_back({0, kKindHeader});
    HeadlessResumeView unused;
    RecoveryStore store(f.dir.Path(), DeadPid());
    ASSERT_TRUE(store.Write(RecoveryBytes(written, unused), kDataSourceNodes, "/home/cv.tlx").ok);
    const std::vector<RecoveryCopy> copies = RecoveryStore(f.dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);

    ASSERT_TRUE(RestoreRecoveryCopy(copies[0], f.tree, f.view, f.doc, f.log, f.prompter));
    ASSERT_EQ(f.tree.headers.size(), 1U);
    EXPECT_EQ(f.tree.headers[0].header, "Experience");
    EXPECT_EQ(f.tree.filePath, "/home/cv.tlx");
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    EXPECT_EQ(f.tree.renderer, kRendererTxt);
    EXPECT_EQ(f.doc.Marks().renderer, kRendererTxt);
    EXPECT_EQ(f.view.ExportText(), "Experience");
    EXPECT_TRUE(f.view.IsModified());
    EXPECT_NE(f.log.Text().find("MEM: Restored recovery copy: " + copies[0].dataPath),
              std::string::npos);
}

TEST(RestoreRecoveryCopy, ResumeViewTextComesBackInItsFormat) {
    DocumentFixture f;
    RecoveryStore store(f.dir.Path(), DeadPid());
    ASSERT_TRUE(store
                    .Write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  plain\\par}",
                           kDataSourceViewRtf, "/home/cv.rtf")
                    .ok);
    const std::vector<RecoveryCopy> copies = RecoveryStore(f.dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);
    ASSERT_TRUE(RestoreRecoveryCopy(copies[0], f.tree, f.view, f.doc, f.log, f.prompter));
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.doc.Marks().dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.tree.filePath, "/home/cv.rtf");
    EXPECT_EQ(f.view.ExportText(), "Bold plain");
    EXPECT_NE(f.view.ExportRtf().find("\\b "), std::string::npos);
    EXPECT_TRUE(f.view.IsModified());
    EXPECT_TRUE(f.prompter.events.empty()); // no conversion question
}

TEST(RestoreRecoveryCopy, ADamagedCopyLeavesAFreshResume) {
    DocumentFixture f;
    NodeTree written{std::string()};
    ResetNodeTree(written, {});
    written.headers.emplace_back().header = "Experience";
    written.activeStack.push_back({0, kKindHeader});
    std::string bytes = WriteTLX(written);
    bytes.resize(bytes.size() - 3);
    RecoveryStore store(f.dir.Path(), DeadPid());
    ASSERT_TRUE(store.Write(bytes, kDataSourceNodes, "/home/cv.tlx").ok);
    const std::vector<RecoveryCopy> copies = RecoveryStore(f.dir.Path()).FindAbandoned();
    ASSERT_EQ(copies.size(), 1U);

    EXPECT_FALSE(RestoreRecoveryCopy(copies[0], f.tree, f.view, f.doc, f.log, f.prompter));
    EXPECT_EQ(f.prompter.Messages(),
              std::vector<std::string>{"The recovery copy is damaged and cannot be restored."});
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_TRUE(f.tree.filePath.empty());

    // A copy that vanished in between is reported too.
    std::filesystem::remove(copies[0].dataPath);
    EXPECT_FALSE(RestoreRecoveryCopy(copies[0], f.tree, f.view, f.doc, f.log, f.prompter));
    EXPECT_EQ(f.prompter.Messages().size(), 2U);
}

} // namespace
} // namespace trellic
