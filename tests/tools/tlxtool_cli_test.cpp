// Runs the real tlxtool and looks at its exit status, output and files.

#include "json_resume_checks.h"
#include "model/protected_file.h"
#include "model/tlx_file.h"
#include "temp_dir.h"
#include "world_texts.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// launcher, when given, runs the tool: a time limit, or another user.
ToolRun Tool(const TempDir& dir, const std::string& arguments, const std::string& launcher = {}) {
    const std::string command = launcher + " " + std::string(TRELLIC_BIN_DIR) + "/tlxtool " +
                                arguments + " >" + dir.File("out.txt") + " 2>" +
                                dir.File("err.txt");
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
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.rtf")));

    WriteFileBytes(dir.File("bad.tlx"), SampleTlx().substr(0, 30));
    const ToolRun cut =
        Tool(dir, "convert " + Quote(dir.File("bad.tlx")) + " " + Quote(dir.File("out.rtf")));
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("Unexpected file format."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.rtf")));

    EXPECT_EQ(Tool(dir, "convert --renderer pdf " + Quote(dir.File("cv.txt")) + " x.rtf").status,
              1);
}

TEST(TlxtoolConvert, RefusesOutputsItCannotWrite) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    // Each would otherwise be written as plain text under the name given.
    for (const char* name : {"cv.doc", "cv", "cv.RTF", "cv.DOCX"}) {
        const ToolRun run =
            Tool(dir, "convert " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File(name)));
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(
            run.err.find("the output must end in .tlx, .rtf, .txt, .pdf, .docx, .odt or .json"),
            std::string::npos)
            << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    }
}

TEST(TlxtoolFiles, PipesAreRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.tlx").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("pipe.json").c_str(), 0600), 0);
    const std::string pipe = Quote(dir.File("pipe.tlx"));
    // Without a writer, opening a pipe waits for ever; the limit only keeps a fault from
    // hanging the suite.
    for (const std::string& arguments :
         {"dump " + pipe, "check " + pipe, "convert " + pipe + " " + Quote(dir.File("refused.rtf")),
          "build " + Quote(dir.File("pipe.json")) + " " + Quote(dir.File("out.tlx"))}) {
        const ToolRun run = Tool(dir, arguments, "timeout 60");
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find("it is not a regular file"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.rtf")));
    // Nor is a pipe replaced by a file.
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    const ToolRun onto = Tool(dir, "convert " + Quote(dir.File("cv.tlx")) + " " + pipe);
    EXPECT_EQ(onto.status, 1);
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("pipe.tlx").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(TlxtoolFiles, AProtectedFileIsNotWrittenOver) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    WriteFileBytes(dir.File("cv.json"), Tool(dir, "dump " + Quote(dir.File("cv.tlx"))).out);
    WriteFileBytes(dir.File("held.tlx"), "held");
    WriteFileBytes(dir.File("held.rtf"), "held");
    // This test's process holds the lock; the tool is the other program.
    ProtectedFile tlx;
    ProtectedFile rtf;
    ASSERT_TRUE(tlx.Open(dir.File("held.tlx")));
    ASSERT_TRUE(rtf.Open(dir.File("held.rtf")));

    const ToolRun build =
        Tool(dir, "build " + Quote(dir.File("cv.json")) + " " + Quote(dir.File("held.tlx")));
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("another program holds the file protected"), std::string::npos)
        << build.err;
    const ToolRun convert =
        Tool(dir, "convert " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("held.rtf")));
    // The document words this refusal itself; what counts is that it is one.
    EXPECT_EQ(convert.status, 1);
    EXPECT_EQ(convert.err.find("tlxtool: " + dir.File("held.rtf") + ": "), 0U) << convert.err;
    // Import and export save as the other commands do.
    WriteFileBytes(dir.File("held.json"), "held");
    ProtectedFile json;
    ASSERT_TRUE(json.Open(dir.File("held.json")));
    WriteFileBytes(dir.File("cv-resume.json"), R"({"basics": {"name": "Ann"}})");
    const ToolRun import = Tool(dir, "import " + Quote(dir.File("cv-resume.json")) + " " +
                                         Quote(dir.File("held.tlx")));
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err.find("tlxtool: " + dir.File("held.tlx") + ": "), 0U) << import.err;
    const ToolRun exportRun =
        Tool(dir, "export " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("held.json")));
    EXPECT_EQ(exportRun.status, 1);
    EXPECT_NE(exportRun.err.find("another program holds the file protected"), std::string::npos)
        << exportRun.err;
    EXPECT_EQ(ReadFileBytes(dir.File("held.json")), "held");
    EXPECT_EQ(ReadFileBytes(dir.File("held.tlx")), "held");
    EXPECT_EQ(ReadFileBytes(dir.File("held.rtf")), "held");

    tlx.Close();
    EXPECT_EQ(
        Tool(dir, "build " + Quote(dir.File("cv.json")) + " " + Quote(dir.File("held.tlx"))).status,
        0);
    EXPECT_EQ(ReadFileBytes(dir.File("held.tlx")), SampleTlx());
}

TEST(TlxtoolFiles, AReadOnlyFileIsNotWrittenOverByAnOrdinaryUser) {
    TempDir dir;
    const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
    if (::geteuid() != 0 || std::system((asNobody + " true").c_str()) != 0) {
        GTEST_SKIP() << "cannot run the tool as another user here";
    }
    // Only the files' own mode may stop the tool.
    ::chmod(dir.Path().c_str(), 0777);
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    WriteFileBytes(dir.File("cv.json"), Tool(dir, "dump " + Quote(dir.File("cv.tlx"))).out);
    for (const char* name : {"kept.tlx", "kept.rtf", "kept.json"}) {
        WriteFileBytes(dir.File(name), "read-only");
        ::chown(dir.File(name).c_str(), 65534, 65534);
        ::chmod(dir.File(name).c_str(), 0444);
    }
    const ToolRun build = Tool(
        dir, "build " + Quote(dir.File("cv.json")) + " " + Quote(dir.File("kept.tlx")), asNobody);
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("cannot write: the file is read-only"), std::string::npos)
        << build.err;
    const ToolRun convert = Tool(
        dir, "convert " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("kept.rtf")), asNobody);
    EXPECT_EQ(convert.status, 1);
    EXPECT_NE(convert.err.find("(the file is read-only)"), std::string::npos) << convert.err;
    const ToolRun exportRun = Tool(
        dir, "export " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("kept.json")), asNobody);
    EXPECT_EQ(exportRun.status, 1);
    EXPECT_NE(exportRun.err.find("cannot write: the file is read-only"), std::string::npos)
        << exportRun.err;
    EXPECT_EQ(ReadFileBytes(dir.File("kept.tlx")), "read-only");
    EXPECT_EQ(ReadFileBytes(dir.File("kept.rtf")), "read-only");
    EXPECT_EQ(ReadFileBytes(dir.File("kept.json")), "read-only");
    // The same user may still write a new file there.
    EXPECT_EQ(Tool(dir, "build " + Quote(dir.File("cv.json")) + " " + Quote(dir.File("new.tlx")),
                   asNobody)
                  .status,
              0);
}

TEST(TlxtoolFiles, AMillionEntriesAreRefusedQuickly) {
    TempDir dir;
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.headers.emplace_back().header = "Again";
    tree.activeStack.resize(1000000, StackEntry{0, kKindHeader});
    WriteFileBytes(dir.File("huge.tlx"), WriteTLX(tree));

    const ToolRun convert =
        Tool(dir, "convert " + Quote(dir.File("huge.tlx")) + " " + Quote(dir.File("huge.rtf")));
    EXPECT_EQ(convert.status, 1);
    EXPECT_NE(convert.err.find("Unexpected file format."), std::string::npos) << convert.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("huge.rtf")));
    const ToolRun check = Tool(dir, "check " + Quote(dir.File("huge.tlx")));
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("more than 10000 entries"), std::string::npos) << check.err;
}

// One header per script, with its name, and a multiple line field holding its sentence.
std::string WorldTlx() {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = testing::WorldTexts()[0].name;
    for (const auto& world : testing::WorldTexts()) {
        HeaderNode& h = tree.headers.emplace_back();
        h.header = world.name;
        h.style.charFormat.faceName = "Arial";
        h.style.charFormat.height = 280;
        tree.activeStack.push_back({static_cast<int32_t>(tree.headers.size() - 1), kKindHeader});
        MLFieldNode& f = tree.mlFields.emplace_back();
        f.fieldName = world.language;
        f.fieldData.text = world.sentence;
        f.style = h.style;
        tree.activeStack.push_back({static_cast<int32_t>(tree.mlFields.size() - 1), kKindMLField});
    }
    return WriteTLX(tree);
}

TEST(TlxtoolCli, EveryScriptThroughDumpBuildAndConvert) {
    TempDir dir;
    // A folder and file named in two scripts: paths are bytes and are never converted.
    const std::string folder = dir.File("\xC5\xBByciorys \xE7\xAE\x80\xE5\x8E\x86");
    std::filesystem::create_directories(folder);
    const std::string tlx = folder + "/\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD.tlx";
    WriteFileBytes(tlx, WorldTlx());

    const ToolRun dump = Tool(dir, "dump " + Quote(tlx));
    ASSERT_EQ(dump.status, 0) << dump.err;
    for (const auto& world : testing::WorldTexts()) {
        EXPECT_NE(dump.out.find("\"" + world.name + "\""), std::string::npos) << world.language;
    }
    WriteFileBytes(dir.File("world.json"), dump.out);
    const ToolRun build =
        Tool(dir, "build " + Quote(dir.File("world.json")) + " " + Quote(folder + "/again.tlx"));
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(ReadFileBytes(folder + "/again.tlx"), ReadFileBytes(tlx));

    const std::string txt = folder + "/\xE7\xAE\x80\xE5\x8E\x86.txt";
    const ToolRun text = Tool(dir, "convert --log " + Quote(tlx) + " " + Quote(txt));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.err.find("MEM: Saved file: " + txt), std::string::npos);
    const std::string txtBytes = ReadFileBytes(txt);
    EXPECT_EQ(txtBytes.rfind("\xEF\xBB\xBF", 0), 0U);
    const ToolRun rtf = Tool(dir, "convert " + Quote(tlx) + " " + Quote(folder + "/cv.rtf"));
    ASSERT_EQ(rtf.status, 0) << rtf.err;
    const std::string rtfBytes = ReadFileBytes(folder + "/cv.rtf");
    for (const char* charSet : {"238", "162", "163", "161", "204", "134", "178"}) {
        EXPECT_NE(rtfBytes.find(std::string("\\fcharset") + charSet), std::string::npos) << charSet;
    }
    for (const auto& world : testing::WorldTexts()) {
        EXPECT_NE(txtBytes.find(world.name + "\r\n"), std::string::npos) << world.language;
        EXPECT_NE(txtBytes.find(world.sentence), std::string::npos) << world.language;
    }
}

TEST(TlxtoolJsonResume, TheSampleGoesInAndComesOutWhole) {
    const std::string missing = testing::JsonResumePackageMissing();
    ASSERT_TRUE(missing.empty()) << missing;
    TempDir dir;
    const std::string sample = testing::JsonResumeFile("sample.resume.json");
    const ToolRun import =
        Tool(dir, "import --log " + Quote(sample) + " " + Quote(dir.File("cv.tlx")));
    ASSERT_EQ(import.status, 0) << import.err;
    // What the resume does not show is named, on standard error and in the engine log.
    EXPECT_NE(import.err.find("kept in inactive nodes, having no place in the resume: "
                              "/basics/image, /$schema, /meta"),
              std::string::npos)
        << import.err;
    EXPECT_NE(import.err.find("MEM: Imported JSON Resume: " + sample), std::string::npos);
    EXPECT_NE(import.err.find("MEM: Saved file: " + dir.File("cv.tlx")), std::string::npos);
    const ToolRun exportRun =
        Tool(dir, "export " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("cv.json")));
    ASSERT_EQ(exportRun.status, 0) << exportRun.err;
    EXPECT_TRUE(exportRun.err.empty()) << exportRun.err;
    EXPECT_EQ(nlohmann::json::parse(ReadFileBytes(dir.File("cv.json"))),
              nlohmann::json::parse(ReadFileBytes(sample)));

    // Another template's styles, and its renderer.
    const ToolRun plain = Tool(dir, "import --template plain_text " + Quote(sample) + " " +
                                        Quote(dir.File("plain.tlx")));
    ASSERT_EQ(plain.status, 0) << plain.err;
    const auto dump = nlohmann::json::parse(Tool(dir, "dump " + Quote(dir.File("plain.tlx"))).out);
    EXPECT_EQ(dump["renderer"], 1);
    EXPECT_EQ(dump["resume"]["name"], "Richard Hendriks");
    const ToolRun text =
        Tool(dir, "convert " + Quote(dir.File("plain.tlx")) + " " + Quote(dir.File("cv.txt")));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(ReadFileBytes(dir.File("cv.txt")).find("CEO/President, Pied Piper"),
              std::string::npos);

    // convert takes JSON Resume as one of its formats, both ways.
    ASSERT_EQ(Tool(dir, "convert " + Quote(sample) + " " + Quote(dir.File("c.tlx"))).status, 0);
    ASSERT_EQ(
        Tool(dir, "convert " + Quote(dir.File("c.tlx")) + " " + Quote(dir.File("c.json"))).status,
        0);
    EXPECT_EQ(nlohmann::json::parse(ReadFileBytes(dir.File("c.json"))),
              nlohmann::json::parse(ReadFileBytes(sample)));

    const ToolRun help = Tool(dir, "--help");
    for (const char* line :
         {"import FILE.json OUT.tlx", "export FILE.tlx OUT.json", "--template NAME"}) {
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    }
}

TEST(TlxtoolJsonResume, RefusalsSayWhyAndLeaveTheOutputAlone) {
    TempDir dir;
    WriteFileBytes(dir.File("out.tlx"), "precious");
    WriteFileBytes(dir.File("out.json"), "precious");
    WriteFileBytes(dir.File("wrong.json"), R"({"work": [{"startDate": 2014}]})");
    WriteFileBytes(dir.File("good.json"), R"({"basics": {"name": "Ann"}})");
    WriteFileBytes(dir.File("cv.tlx"), SampleTlx());
    WriteFileBytes(dir.File("cv.rtf"), "{\\rtf1 Ann}");
    struct Row {
        std::string arguments;
        std::string error;
    };
    const Row rows[] = {
        {"import " + Quote(dir.File("wrong.json")) + " " + Quote(dir.File("out.tlx")),
         dir.File("wrong.json") + ": /work/0/startDate must be a text, not a number"},
        {"import " + Quote(dir.File("missing.json")) + " " + Quote(dir.File("out.tlx")),
         dir.File("missing.json") + ": No such file or directory"},
        {"import --template nonesuch " + Quote(dir.File("good.json")) + " " +
             Quote(dir.File("out.tlx")),
         "--template: there is no template \"nonesuch\" (the templates are academic_cv, "},
        {"import " + Quote(dir.File("good.json")) + " " + Quote(dir.File("refused.rtf")),
         "an import writes a .tlx resume"},
        {"export " + Quote(dir.File("cv.tlx")) + " " + Quote(dir.File("refused.txt")),
         "an export writes a JSON Resume, which ends in .json"},
        {"export " + Quote(dir.File("cv.rtf")) + " " + Quote(dir.File("out.json")),
         "only a .tlx resume has the nodes a JSON Resume is made from"},
        {"export " + Quote(dir.File("good.json")) + " " + Quote(dir.File("out.json")),
         "only a .tlx resume"},
        {"import " + Quote(dir.File("good.json")), "wrong arguments for import"},
        {"convert " + Quote(dir.File("cv.rtf")) + " " + Quote(dir.File("out.json")),
         "only a resume in TLX Nodes can be written as a JSON Resume"},
        {"convert " + Quote(dir.File("wrong.json")) + " " + Quote(dir.File("out.tlx")),
         "/work/0/startDate must be a text, not a number"},
    };
    for (const Row& row : rows) {
        const ToolRun run = Tool(dir, row.arguments);
        EXPECT_EQ(run.status, 1) << row.arguments;
        EXPECT_NE(run.err.find(row.error), std::string::npos) << row.arguments << "\n" << run.err;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("out.tlx")), "precious");
    EXPECT_EQ(ReadFileBytes(dir.File("out.json")), "precious");
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.rtf")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.txt")));
}

TEST(TlxtoolCli, PaperOptionSetsThePdfsPaperAndTheRtfsPageAndRefusesOthers) {
    TempDir dir;
    const std::string source = std::string(TRELLIC_BIN_DIR) + "/templates/graduate.tlx";
    const ToolRun a4 =
        Tool(dir, "convert --paper a4 " + Quote(source) + " " + Quote(dir.File("a4.rtf")));
    ASSERT_EQ(a4.status, 0) << a4.err;
    const std::string rtf = ReadFileBytes(dir.File("a4.rtf"));
    EXPECT_NE(rtf.find("\\paperw11906\\paperh16838\\margl2160\\margr2160\\margt1080\\margb1080"),
              std::string::npos);
    const ToolRun letter =
        Tool(dir, "convert --paper=letter " + Quote(source) + " " + Quote(dir.File("letter.rtf")));
    ASSERT_EQ(letter.status, 0) << letter.err;
    EXPECT_NE(ReadFileBytes(dir.File("letter.rtf")).find("\\paperw12240\\paperh15840"),
              std::string::npos);

    const ToolRun bad =
        Tool(dir, "convert --paper a5 " + Quote(source) + " " + Quote(dir.File("a5.pdf")));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("--paper takes a4 or letter"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a5.pdf")));
}

} // namespace
} // namespace trellic
