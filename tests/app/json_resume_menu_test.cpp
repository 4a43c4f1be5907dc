// File > Import > JSON Resume and File > Export > JSON Resume, driven as a user would.

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "engine/engine_log.h"
#include "json_resume_checks.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::StartedApp;
using testing::TempDir;
using testing::WriteFileBytes;

std::string ViewText(StartedApp& started) {
    return started.Frame().View()->toPlainText().toStdString();
}

TEST(JsonResumeMenu, TheSampleBecomesANewResumeAndGoesBackOutWhole) {
    const std::string missing = testing::JsonResumePackageMissing();
    ASSERT_TRUE(missing.empty()) << missing;
    StartedApp started;
    const std::string sample = testing::JsonResumeFile("sample.resume.json");
    started.prompter.files.push_back(sample);
    started.prompter.answers.push_back(true); // close the untitled resume
    started.Trigger("fileImportJsonResume");

    const std::string shown = ViewText(started);
    EXPECT_EQ(shown.rfind("Richard Hendriks", 0), 0U) << shown;
    EXPECT_NE(shown.find("CEO/President, Pied Piper (Dec 2013 \u2013 Dec 2014)"),
              std::string::npos);
    // A new resume that exists in no file yet: closing it would ask to save it.
    EXPECT_EQ(started.Frame().Doc().Title(), "Untitled");
    EXPECT_TRUE(started.Frame().Doc().IsModified());
    EXPECT_FALSE(started.Frame().History().CanUndo());
    const std::string& log = started.app.Log().Text();
    EXPECT_NE(log.find("MEM: Imported JSON Resume: " + sample), std::string::npos);
    EXPECT_NE(log.find("INFO: Kept in inactive nodes, having no place in the resume: "
                       "/basics/image, /$schema, /meta."),
              std::string::npos);

    TempDir dir;
    started.prompter.files.push_back(dir.File("cv.json"));
    started.Trigger("fileExportJsonResume");
    EXPECT_EQ(nlohmann::json::parse(ReadFileBytes(dir.File("cv.json"))),
              nlohmann::json::parse(ReadFileBytes(sample)));
    EXPECT_NE(started.app.Log().Text().find("MEM: Exported JSON Resume: " + dir.File("cv.json")),
              std::string::npos);
    const auto& save = started.prompter.events.back();
    EXPECT_EQ(save.kind, "save");
    EXPECT_EQ(save.options.initialName, "Richard Hendriks.json"); // the resume's name
}

TEST(JsonResumeMenu, TheOpenResumeStaysWhenTheImportCannotGoAhead) {
    StartedApp started;
    started.prompter.files.push_back(std::string(TRELLIC_BIN_DIR) + "/templates/graduate.tlx");
    started.prompter.answers.push_back(true);
    started.Trigger("fileOpen");
    const std::string before = ViewText(started);
    ASSERT_FALSE(before.empty());

    TempDir dir;
    WriteFileBytes(dir.File("wrong.json"),
                   R"({"basics": {"name": "Ann"}, "work": [{"startDate": 2014}]})");
    started.prompter.events.clear();
    started.prompter.files.push_back(dir.File("wrong.json"));
    started.Trigger("fileImportJsonResume");
    // Refused before anything is asked, with the place of the fault.
    ASSERT_EQ(started.prompter.Messages().size(), 1U);
    EXPECT_EQ(started.prompter.Messages()[0],
              "The JSON Resume could not be imported:\n\n" + dir.File("wrong.json") +
                  "\n\n/work/0/startDate must be a text, not a number");
    EXPECT_EQ(ViewText(started), before);
    EXPECT_NE(started.app.Log().Text().find("WARNING: The JSON Resume could not be imported: " +
                                            dir.File("wrong.json")),
              std::string::npos);

    // A good file, but the user keeps the open resume.
    WriteFileBytes(dir.File("ann.json"), R"({"basics": {"name": "Ann"}})");
    started.prompter.files.push_back(dir.File("ann.json"));
    started.prompter.answers.push_back(false);
    started.Trigger("fileImportJsonResume");
    EXPECT_EQ(ViewText(started), before);
    EXPECT_EQ(started.Frame().Doc().Title(), "graduate.tlx");
    EXPECT_NE(started.app.Log().Text().find("EXEC: Trellic 'Import' command has been aborted."),
              std::string::npos);
}

TEST(JsonResumeMenu, ExportNeedsTheNodesAndSaysWhenItCannotWrite) {
    StartedApp started;
    started.prompter.files.push_back(std::string(TRELLIC_BIN_DIR) + "/templates/graduate.tlx");
    started.prompter.answers.push_back(true);
    started.Trigger("fileOpen");
    TempDir dir;
    const std::string nowhere = dir.File("missing/cv.json");
    started.prompter.files.push_back(nowhere);
    started.Trigger("fileExportJsonResume");
    EXPECT_EQ(started.prompter.Messages().back().rfind(
                  "The JSON Resume could not be written:\n\n" + nowhere, 0),
              0U);

    started.prompter.answers.push_back(true);
    started.Trigger("dataSourceView");
    started.prompter.events.clear();
    started.Trigger("fileExportJsonResume");
    ASSERT_EQ(started.prompter.Messages().size(), 1U);
    EXPECT_EQ(started.prompter.Messages()[0], kNodeCommandRefusal);
    EXPECT_EQ(started.EventKinds(), std::vector<std::string>{"message"}); // no file chooser
}

} // namespace
} // namespace trellic
