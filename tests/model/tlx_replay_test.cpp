// Replays every kept reader input: none may crash, and whatever loads must write back to bytes
// that load to the same tree.

#include "model/tlx_file.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

TEST(TlxReplay, KeptInputsReadSafely) {
    int inputs = 0;
    for (const char* folder : {"fuzz-corpus", "regressions"}) {
        const auto path = std::filesystem::path(TRELLIC_TEST_DATA) / "tlx" / folder;
        for (const auto& file : std::filesystem::directory_iterator(path)) {
            if (file.path().filename().string().front() == '.') {
                continue;
            }
            const std::string bytes = testing::ReadFileBytes(file.path().string());
            testing::ScriptedPrompter prompter;
            NodeTree tree{std::string()};
            ResetNodeTree(tree, {});
            Archive ar = Archive::ForLoading(bytes);
            if (ReadTLX(ar, tree, prompter) == TlxReadStatus::Loaded) {
                const std::string written = WriteTLX(tree);
                NodeTree again{std::string()};
                ResetNodeTree(again, {});
                Archive reread = Archive::ForLoading(written);
                EXPECT_EQ(ReadTLX(reread, again, prompter), TlxReadStatus::Loaded);
                EXPECT_EQ(WriteTLX(again), written) << file.path();
            }
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0);
}

} // namespace
} // namespace trellic
