// Runs the real tlxtool and looks at its exit status, output and files.

#include "model/tlx_file.h"
#include "temp_dir.h"

#include <algorithm>
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

TEST(TlxtoolCli, UsageErrorsNameWhatWasWrong) {
    TempDir dir;
    const ToolRun unknown = Tool(dir, "frobnicate x.tlx");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err.rfind("tlxtool: unknown command frobnicate\n", 0), 0U) << unknown.err;
    const ToolRun wrongCount = Tool(dir, "dump");
    EXPECT_EQ(wrongCount.status, 1);
    EXPECT_EQ(wrongCount.err.rfind("tlxtool: wrong arguments for dump\n", 0), 0U) << wrongCount.err;
    EXPECT_TRUE(unknown.out.empty());
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

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

std::string SampleTlx() {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    HeaderNode& h = tree.headers.emplace_back();
    h.header = "Experience";
    h.underline = true;
    tree.activeStack.push_back({0, kKindHeader});
    return WriteTLX(tree);
}

TEST(TlxtoolConvert, NodesToRtfAndText) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    const ToolRun rtf =
        Tool(dir, "convert " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("cv.rtf")));
    ASSERT_EQ(rtf.status, 0) << rtf.err;
    const std::string rtfBytes = ReadFileBytes(dir.File("cv.rtf"));
    EXPECT_EQ(rtfBytes.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0U);
    EXPECT_NE(rtfBytes.find("Experience"), std::string::npos);
    EXPECT_NE(rtfBytes.find("\\'af"), std::string::npos);

    const ToolRun txt =
        Tool(dir, "convert --log " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("cv.txt")));
    ASSERT_EQ(txt.status, 0) << txt.err;
    // The text is the last rendering, which the RTF renderer made: its rule is 44 long.
    EXPECT_EQ(ReadFileBytes(dir.File("cv.txt")), "Experience\r\n" + std::string(44, '\xAF'));
    const ToolRun plain = Tool(dir, "convert --renderer txt " + Quote(dir.File("cv.tlx")) + " " +
                                        Quote(dir.File("plain.txt")));
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(ReadFileBytes(dir.File("plain.txt")), "Experience\r\n" + std::string(58, '\xAF'));
    EXPECT_NE(txt.err.find("EXEC: TXT Renderer activated."), std::string::npos);
    EXPECT_NE(txt.err.find("MEM: Saved file: " + dir.File("cv.txt")), std::string::npos);

    // The renderer switch comes before Save As, so a .tlx keeps its nodes with TXT stored.
    const ToolRun tlx = Tool(dir, "convert --renderer txt " + Quote(dir.File("cv.tlx")) + " " +
                                      Quote(dir.File("copy.tlx")));
    ASSERT_EQ(tlx.status, 0) << tlx.err;
    const std::string copy = ReadFileBytes(dir.File("copy.tlx"));
    EXPECT_EQ(copy.substr(7, 4), std::string("\x01\x00\x00\x00", 4));
}

TEST(TlxtoolConvert, FailuresWriteNothing) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.txt"), "Plain resume");
    const ToolRun toNodes =
        Tool(dir, "convert " + Quote(dir.File("cv.txt")) + " " + Quote(dir.File("cv.tlx")));
    EXPECT_EQ(toNodes.status, 1);
    EXPECT_NE(toNodes.err.find("unsupported"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("cv.tlx")));

    const ToolRun missing =
        Tool(dir, "convert " + Quote(dir.File("gone.tlx")) + " " + Quote(dir.File("out.rtf")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.rtf")));

    WriteFileBytes(dir.File("bad.tlx"), SampleTlx().substr(0, 30));
    const ToolRun cut =
        Tool(dir, "convert " + Quote(dir.File("bad.tlx")) + " " + Quote(dir.File("out.rtf")));
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("Unexpected file format."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.rtf")));

    EXPECT_EQ(Tool(dir, "convert --renderer pdf " + Quote(dir.File("cv.txt")) + " x.rtf").status,
              1);
}

} // namespace
} // namespace trellic
