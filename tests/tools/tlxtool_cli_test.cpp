// Runs the real tlxtool and looks at its exit status, output and files.

#include "model/tlx_file.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun Tool(const TempDir& dir, const std::string& arguments) {
    const std::string command = std::string(TRELLIC_BIN_DIR) + "/tlxtool " + arguments + " >" +
                                dir.File("out.txt") + " 2>" + dir.File("err.txt");
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFileBytes(dir.File("out.txt")),
            ReadFileBytes(dir.File("err.txt"))};
}

std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

TEST(TlxtoolCli, ShippedPresetsDumpAndRebuildByteForByte) {
    TempDir dir;
    const std::string library = std::string(TRELLIC_BIN_DIR) + "/node_library";
    int presets = 0;
    for (const auto& folder : std::filesystem::directory_iterator(library)) {
        const std::string preset = folder.path().string() + "/default.nod";
        const ToolRun dump = Tool(dir, "dump " + Quote(preset));
        ASSERT_EQ(dump.status, 0) << dump.err;
        WriteFileBytes(dir.File("preset.json"), dump.out);
        const ToolRun build = Tool(dir, "build " + Quote(dir.File("preset.json")) + " " +
                                            Quote(dir.File("again.nod")));
        ASSERT_EQ(build.status, 0) << build.err;
        EXPECT_EQ(ReadFileBytes(dir.File("again.nod")), ReadFileBytes(preset)) << preset;
        ++presets;
    }
    EXPECT_EQ(presets, 7);
}

TEST(TlxtoolCli, DamagedInputGivesOneLineAndStatusOne) {
    TempDir dir;
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    const std::string bytes = WriteTLX(tree);
    WriteFileBytes(dir.File("cut.tlx"), bytes.substr(0, bytes.size() - 3));
    WriteFileBytes(dir.File("magic.tlx"), "\x06TLX4QW" + bytes.substr(7));

    for (const char* name : {"cut.tlx", "magic.tlx", "missing.tlx"}) {
        for (const char* command : {"dump ", "check "}) {
            const ToolRun run = Tool(dir, command + Quote(dir.File(name)));
            EXPECT_EQ(run.status, 1) << name;
            EXPECT_EQ(run.err.find(dir.File(name)), 9U) << run.err; // after "tlxtool: "
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_TRUE(run.out.empty());
        }
    }
    WriteFileBytes(dir.File("short.nod"), std::string(8, '\0'));
    const ToolRun shortPreset =
        Tool(dir, "dump --category paragraph_format " + Quote(dir.File("short.nod")));
    EXPECT_EQ(shortPreset.status, 1);
    EXPECT_NE(shortPreset.err.find("shorter than a \"paragraph_format\" preset"),
              std::string::npos);
}

TEST(TlxtoolCli, AFailedBuildLeavesTheOldFile) {
    TempDir dir;
    WriteFileBytes(dir.File("bad.json"), R"({"format": "tlx", "resume": {"name": 7}})");
    WriteFileBytes(dir.File("out.tlx"), "precious");
    const ToolRun run =
        Tool(dir, "build " + Quote(dir.File("bad.json")) + " " + Quote(dir.File("out.tlx")));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("resume.name must be a text"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("out.tlx")), "precious");
}

TEST(TlxtoolCli, CheckExitsTwoForAFileThatWouldMisbehave) {
    TempDir dir;
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    WriteFileBytes(dir.File("fine.tlx"), WriteTLX(tree));
    tree.activeStack.push_back({4, kKindHeader});
    WriteFileBytes(dir.File("bad.tlx"), WriteTLX(tree));
    EXPECT_EQ(Tool(dir, "check " + Quote(dir.File("fine.tlx"))).status, 0);
    const ToolRun bad = Tool(dir, "check " + Quote(dir.File("bad.tlx")));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("no such record"), std::string::npos);
}

} // namespace
} // namespace trellic
