#include "document/recovery.h"
#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "model/tlx_file.h"
#include "presets/node_presets.h"
#include "render/resume_view.h"
#include "shell/recovery_keeper.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trellic::testing {
namespace {

long DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// A keeper over a headless resume, with the unsaved state and the copy's bytes in the test's
// hands.
struct KeeperBench {
    KeeperBench() { ResetNodeTree(tree, log, prompter); }

    RecoveryKeeper& Keeper() {
        if (!keeper) {
            keeper = std::make_unique<RecoveryKeeper>(
                RecoveryStore(dir.Path()), tree, view, doc, log, prompter,
                [this] { return modified; }, [this] { return bytes; });
        }
        return *keeper;
    }
    std::string OwnCopy() const { return dir.File(std::to_string(::getpid()) + ".tlx"); }

    TempDir dir;
    NodeTree tree{TRELLIC_BIN_DIR};
    EngineLog log;
    ScriptedPrompter prompter;
    HeadlessResumeView view;
    CTLXDoc doc{tree, view, log, prompter};
    bool modified = false;
    std::string bytes = "first";
    std::unique_ptr<RecoveryKeeper> keeper;
};

TEST(RecoveryKeeper, KeepsACopyOnlyWhileThereAreUnsavedChanges) {
    KeeperBench b;
    RecoveryKeeper& keeper = b.Keeper();
    EXPECT_TRUE(keeper.Timer()->isActive());
    EXPECT_EQ(keeper.Timer()->interval(), 60 * 1000);

    keeper.Tick();
    EXPECT_FALSE(std::filesystem::exists(b.OwnCopy()));

    b.modified = true;
    keeper.Tick();
    EXPECT_EQ(ReadFileBytes(b.OwnCopy()), "first");
    b.bytes = "second";
    keeper.Tick();
    EXPECT_EQ(ReadFileBytes(b.OwnCopy()), "second");
    keeper.AfterCommand(); // still unsaved: the copy stays
    EXPECT_TRUE(std::filesystem::exists(b.OwnCopy()));

    // Saved: gone at once, not a minute later.
    b.modified = false;
    keeper.AfterCommand();
    EXPECT_TRUE(std::filesystem::is_empty(b.dir.Path()));

    b.modified = true;
    keeper.Tick();
    ASSERT_TRUE(std::filesystem::exists(b.OwnCopy()));
    keeper.Discard(); // a normal end
    EXPECT_TRUE(std::filesystem::is_empty(b.dir.Path()));
}

TEST(RecoveryKeeper, AFailingDiskIsLoggedOnce) {
    KeeperBench b;
    RecoveryKeeper& keeper = b.Keeper();
    b.modified = true;
    std::filesystem::create_directory(b.OwnCopy()); // the copy's place is taken
    keeper.Tick();
    b.bytes = "again";
    keeper.Tick();
    const std::string warning = "WARNING: The recovery copy could not be written to ";
    const std::string log = b.log.Text();
    ASSERT_NE(log.find(warning), std::string::npos);
    EXPECT_EQ(log.find(warning), log.rfind(warning));
    EXPECT_TRUE(b.prompter.events.empty()); // nothing interrupts the user
}

TEST(RecoveryKeeper, OffersAbandonedCopiesAndDeletesTheDeclinedOne) {
    KeeperBench b;
    NodeTree written{std::string()};
    ResetNodeTree(written, {});
    written.headers.emplace_back().header = "Experience";
    written.activeStack.push_back({0, kKindHeader});
    const long older = DeadPid();
    const long newer = DeadPid();
    ASSERT_TRUE(RecoveryStore(b.dir.Path(), older)
                    .Write(WriteTLX(written), kDataSourceNodes, "/home/dana/cv.tlx")
                    .ok);
    ASSERT_TRUE(RecoveryStore(b.dir.Path(), newer).Write("Draft", kDataSourceViewTxt, "").ok);
    // The newer copy is asked about first.
    std::filesystem::last_write_time(b.dir.File(std::to_string(older) + ".info"),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(1));

    b.prompter.answers = {false, true};
    b.modified = true;
    b.bytes = "restored and kept";
    EXPECT_TRUE(b.Keeper().OfferRestore());
    ASSERT_EQ(b.prompter.events.size(), 2U);
    EXPECT_EQ(b.prompter.events[0].text,
              "Trellic ended without saving an untitled resume, and a recovery copy of it was "
              "kept. Would you like to restore it? If not, the copy will be deleted.");
    EXPECT_EQ(b.prompter.events[1].text,
              "Trellic ended without saving the resume \"cv.tlx\", and a recovery copy of it "
              "was kept. Would you like to restore it? If not, the copy will be deleted.");
    ASSERT_EQ(b.tree.headers.size(), 1U);
    EXPECT_EQ(b.tree.filePath, "/home/dana/cv.tlx");

    // Both old copies are gone; this run's own copy took over.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(b.dir.Path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    const std::string own = std::to_string(::getpid());
    EXPECT_EQ(left, (std::vector<std::string>{own + ".info", own + ".tlx"}));
    EXPECT_EQ(ReadFileBytes(b.OwnCopy()), "restored and kept");
    EXPECT_FALSE(b.Keeper().OfferRestore());
}

TEST(RecoveryKeeper, StartUpRestoresAndClosingRemovesTheCopy) {
    const std::string folder = RecoveryFolder();
    // The test program points the state folder at a temporary one, never the user's.
    ASSERT_NE(std::getenv("XDG_STATE_HOME"), nullptr);
    ASSERT_TRUE(RecoveryStore(folder, DeadPid())
                    .Write("{\\rtf1 Unsaved words\\par}", kDataSourceViewRtf, "/home/cv.rtf")
                    .ok);
    ScriptedPrompter prompter;
    prompter.answers.push_back(true);
    CTLXApp app(StartUpOptions{TRELLIC_BIN_DIR, &prompter, false});
    ASSERT_TRUE(app.InitInstance({QStringLiteral("trellic")}));
    ASSERT_EQ(prompter.events.size(), 1U);
    EXPECT_EQ(prompter.events[0].kind, "question");
    EXPECT_EQ(app.Tree().dataSource, kDataSourceViewRtf);
    EXPECT_EQ(app.Tree().filePath, "/home/cv.rtf");
    EXPECT_EQ(app.MainFrame()->View()->toPlainText(), "Unsaved words");
    EXPECT_TRUE(app.MainFrame()->Action(QStringLiteral("dataSourceView"))->isChecked());

    app.MainFrame()->Recovery().Tick();
    EXPECT_FALSE(std::filesystem::is_empty(folder));
    prompter.saveChoices.push_back(SaveChoice::Discard); // the restored words are unsaved
    EXPECT_TRUE(app.MainFrame()->close());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
} // namespace trellic::testing
