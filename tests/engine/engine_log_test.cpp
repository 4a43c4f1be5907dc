#include "engine/engine_log.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <regex>

namespace trellic {
namespace {

using testing::ScriptedPrompter;

std::string Lines(int count) {
    std::string text;
    for (int i = 1; i < count; ++i) {
        text += "x\r\n";
    }
    return text + "x";
}

TEST(EngineLog, FreshLogHoldsTheBannerOfEightLines) {
    EngineLog log;
    EXPECT_EQ(log.LineCount(), 8);
    const std::regex banner("Trellic 5\\.0\r\n[^\r\n]+\r\n\r\nINFO: Compiled on "
                            "[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} at [0-9]{2}:[0-9]{2}:[0-9]{2}\\."
                            "\r\n\r\nEXEC: System ready\\.\r\n\r\n");
    EXPECT_TRUE(std::regex_match(log.Text(), banner)) << log.Text();
}

TEST(EngineLog, HundredLinesAreKeptAndOneMoreStartsAfresh) {
    EngineLog log;
    log.Clear();
    EXPECT_EQ(log.LineCount(), 1);
    log.AppendLog(Lines(100));
    ASSERT_EQ(log.LineCount(), 100);
    log.AppendLog("\r\nEXEC: next.\r\n\r\n");
    EXPECT_EQ(log.Text(), Lines(100) + "\r\nEXEC: next.\r\n\r\n");

    ASSERT_GT(log.LineCount(), 100);
    log.AppendLog("INFO: fresh.\r\n\r\n");
    EXPECT_EQ(log.Text(), "INFO: fresh.\r\n\r\n");
}

TEST(EngineLog, ExactlyOneHundredAndOneLinesDropsTheOldText) {
    EngineLog log;
    log.Clear();
    log.AppendLog(Lines(101));
    log.AppendLog("EXEC: only me.\r\n\r\n");
    EXPECT_EQ(log.Text(), "EXEC: only me.\r\n\r\n");
}

TEST(EngineLog, EntriesAreAppendedAsTheyStand) {
    EngineLog log;
    log.Clear();
    log.AppendLog("INFO: no line end");
    log.AppendLog("EXEC: runs on.\r\n\r\n");
    EXPECT_EQ(log.Text(), "INFO: no line endEXEC: runs on.\r\n\r\n");
}

TEST(EngineLog, ChangedHandlerSeesEveryChange) {
    EngineLog log;
    int changes = 0;
    log.SetChangedHandler([&] { ++changes; });
    log.AppendLog("a");
    log.Clear();
    EXPECT_EQ(changes, 2);
}

TEST(ReportEngineError, AppendsThenShowsTheBoxThenTheWindow) {
    EngineLog log;
    ScriptedPrompter prompter;
    const std::string block = ErrorBlock("RNS", "e", "c", "s", "i");
    EXPECT_EQ(block, "**RNS ERROR**\r\nERROR: e\r\nCAUSE: c\r\nSOLUTION: s\r\nIMPACT: i\r\n\r\n");
    std::string logAtMessage;
    ReportEngineError(log, prompter, block);
    ASSERT_EQ(prompter.events.size(), 2U);
    EXPECT_EQ(prompter.events[0].kind, "message");
    EXPECT_EQ(prompter.events[0].text,
              "An error occurred. Details will be posted to the TLX Engine window.");
    EXPECT_EQ(prompter.events[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.events[1].kind, "engine window");
    EXPECT_EQ(log.Text(), EngineLog::Banner() + block);
}

TEST(SaveEngineLog, WritesWindows1252WhenItFitsAndUtf8WithItsMarkOtherwise) {
    testing::TempDir dir;
    EngineLog log;
    log.AppendLog("INFO: \xC3\xA9t\xC3\xA9.\r\n\r\n"); // été
    ScriptedPrompter prompter;
    prompter.files.push_back(dir.File("log.txt"));
    ASSERT_TRUE(SaveEngineLog(log, prompter));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("log.txt")),
              EngineLog::Banner() + "INFO: \xE9t\xE9.\r\n\r\n");

    // A path is the file system's bytes, UTF-8 here; the log keeps it as it is.
    const std::string path = "/home/zofia/Dokumenty/\xC5\xBB"
                             "yciorys \xC5\x81ukasz.tlx"; // Życiorys Łukasz
    log.AppendLog("MEM: Loaded file: " + path + "\r\n\r\n");
    prompter.files.push_back(dir.File("wide.txt"));
    ASSERT_TRUE(SaveEngineLog(log, prompter));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("wide.txt")), "\xEF\xBB\xBF" + log.Text());

    const auto& options = prompter.events[0].options;
    EXPECT_EQ(options.defaultExtension, "txt");
    EXPECT_EQ(options.filter, "Text Files (*.txt)|*.txt||");
    EXPECT_TRUE(options.overwritePrompt);
    EXPECT_TRUE(options.noReadOnlyReturn);
    EXPECT_TRUE(options.initialName.empty());
}

TEST(SaveEngineLog, ClearedLogGivesAnEmptyFileAndCancelWritesNothing) {
    testing::TempDir dir;
    EngineLog log;
    log.Clear();
    ScriptedPrompter prompter;
    prompter.files.push_back(dir.File("empty.txt"));
    ASSERT_TRUE(SaveEngineLog(log, prompter));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("empty.txt")), "");

    prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(SaveEngineLog(log, prompter));

    prompter.files.push_back(dir.File("missing/folder/log.txt"));
    EXPECT_FALSE(SaveEngineLog(log, prompter));
}

} // namespace
} // namespace trellic
