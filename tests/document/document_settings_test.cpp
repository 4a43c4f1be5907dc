#include "document_fixture.h"
#include "exhausted_view.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <new>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trellic {
namespace {

using namespace testing;

// Whether another process can take the lock on a file right now.
bool AnotherProcessCanLock(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::_exit(locked ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ResumeNetworkSecurity, NeverSavedResumeCannotBeProtected) {
    DocumentFixture f;
    EXPECT_FALSE(f.doc.StartRNS());
    EXPECT_EQ(f.log.Text().rfind(kStarted + kProtected + kStopped + "**RNS ERROR**\r\n", 0), 0U);
    EXPECT_NE(f.log.Text().find("IMPACT: Resume Network Security will remain disabled. If the "
                                "file is in use, it will not be opened. All other program "
                                "operations remain unaffected.\r\n\r\n"),
              std::string::npos);
    ASSERT_EQ(f.prompter.events.size(), 2U);
    EXPECT_EQ(f.prompter.events[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.prompter.events[1].kind, "engine window");
    EXPECT_FALSE(f.tree.rnsEnabled);
}

TEST(ResumeNetworkSecurity, HeldAgainstOtherProcessesAndReleasedOnEveryPath) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    EXPECT_TRUE(AnotherProcessCanLock(path)); // the probe let go

    ASSERT_TRUE(f.doc.StartRNS());
    ASSERT_TRUE(f.doc.StartRNS()); // twice in a row: our own handle goes first
    EXPECT_TRUE(f.doc.Marks().rnsEnabled);
    EXPECT_FALSE(AnotherProcessCanLock(path));
    f.doc.StopRNS();
    EXPECT_TRUE(AnotherProcessCanLock(path));
    EXPECT_FALSE(f.doc.Marks().rnsEnabled);

    // A reset lets go too, and the mark follows.
    ASSERT_TRUE(f.doc.StartRNS());
    f.prompter.answers.push_back(true);
    ASSERT_TRUE(f.doc.FileNew());
    EXPECT_TRUE(AnotherProcessCanLock(path));
    EXPECT_FALSE(f.doc.Marks().rnsEnabled);
}

TEST(ResumeNetworkSecurity, AFileLockedElsewhereIsNotOpened) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    int ready[2];
    int done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        ::flock(fd, LOCK_EX);
        char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(done[0], &byte, 1); // hold the lock until told
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_FALSE(f.Open(path));
    EXPECT_NE(f.log.Text().find(kProtected), std::string::npos);
    EXPECT_TRUE(f.tree.headers.empty());
    (void)!::write(done[1], &byte, 1);
    ::waitpid(child, nullptr, 0);
    for (const int fd : {ready[0], ready[1], done[0], done[1]}) {
        ::close(fd);
    }
    EXPECT_TRUE(f.Open(path));
}

TEST(SetRenderer, NodesRenderAtOnceAndTheResumeFollows) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("cv.tlx")));
    f.log.Clear();
    f.doc.SetRenderer(kRendererTxt, true);
    EXPECT_EQ(f.log.Text(), "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.tree.resume->renderer, kRendererTxt);
    EXPECT_EQ(f.doc.Marks().renderer, kRendererTxt);
    EXPECT_EQ(f.view.DefaultCharFormat().faceName, "Arial");
    EXPECT_FALSE(f.tree.filePath.empty()); // a node tree's file keeps its format

    f.doc.SetRenderer(Renderer{7}, false); // anything but RTF is text
    EXPECT_EQ(f.tree.renderer, kRendererTxt);
}

TEST(SetRenderer, ResumeViewChangesFormatAndForgetsThePath) {
    DocumentFixture f;
    const std::string rtf = f.dir.File("cv.rtf");
    WriteFileBytes(rtf, "{\\rtf1 Hello}");
    ASSERT_TRUE(f.Open(rtf));
    f.doc.SetRenderer(kRendererTxt, true);
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_TRUE(f.tree.filePath.empty());
    f.log.Clear();
    f.doc.SetRenderer(kRendererTxt, true);
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_EQ(f.log.Text(), "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.view.ExportText(), "Hello");
}

TEST(SetDataSource, ConversionIsOneWay) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("cv.tlx", kRendererTxt)));
    f.prompter.events.clear();

    f.prompter.answers.push_back(false);
    f.doc.SetDataSource(CTLXDoc::kSetResumeView);
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    EXPECT_EQ(f.tree.headers.size(), 1U);

    f.log.Clear();
    f.prompter.answers.push_back(true);
    f.doc.SetDataSource(CTLXDoc::kSetResumeView);
    EXPECT_EQ(f.prompter.events[1].text, "Are you sure you want to convert to the Resume View "
                                         "data source? This operation cannot be undone.");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_EQ(f.log.Text(), "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_TRUE(f.tree.inactiveStack.empty());
    EXPECT_EQ(f.tree.activeStack.size(), 1U);
    EXPECT_TRUE(f.tree.filePath.empty());
    EXPECT_EQ(f.view.ExportText(), "Experience"); // the last rendering is the resume now
    EXPECT_EQ(f.doc.Marks().dataSource, kDataSourceViewTxt);

    f.prompter.events.clear();
    f.doc.SetDataSource(CTLXDoc::kSetNodes);
    EXPECT_EQ(f.prompter.Messages(), std::vector<std::string>{kUnsupportedConversion});
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_FALSE(f.doc.RequireNodeDataSource());
    EXPECT_EQ(f.prompter.Messages().back(), kNodeCommandRefusal);
}

} // namespace
} // namespace trellic

namespace trellic {
namespace {

TEST(SetRenderer, ARenderThatRunsOutOfMemoryIsReportedNotPassedOver) {
    NodeTree tree{TRELLIC_BIN_DIR};
    ExhaustedView view;
    EngineLog log;
    ScriptedPrompter prompter;
    CTLXDoc doc(tree, view, log, prompter);
    doc.OnNewDocument();
    tree.headers.emplace_back().header = "Shown";
    tree.activeStack.push_back({0, kKindHeader});
    view.failuresLeft = 1;
    doc.SetRenderer(kRendererTxt, true);
    EXPECT_NE(log.Text().find("The resume could not be rendered."), std::string::npos);
    ASSERT_EQ(prompter.events.size(), 2U);
    EXPECT_EQ(prompter.events[0].kind, "message");
    EXPECT_EQ(prompter.events[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.events[1].kind, "engine window");

    prompter.events.clear();
    doc.SetRenderer(kRendererRtf, true);
    EXPECT_TRUE(prompter.events.empty());
    EXPECT_NE(view.ExportText().find("Shown"), std::string::npos);
}

} // namespace
} // namespace trellic
