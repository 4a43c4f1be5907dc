// File > Export writes the view's content as a Word document or an OpenDocument text, read back
// here by independent readers.

#include "engine/engine_log.h"
#include "office_reader.h"
#include "print/resume_printer.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

namespace fs = std::filesystem;
using testing::StartedApp;
using testing::TempDir;

void OpenTemplate(StartedApp& started, const char* name) {
    started.prompter.files.push_back(std::string(TRELLIC_BIN_DIR) + "/templates/" + name);
    started.prompter.answers.push_back(true);  // close the untitled resume
    started.prompter.answers.push_back(false); // no design changes
    started.Trigger("fileNewFromTemplate");
}

std::vector<std::string> Texts(const nlohmann::json& back) {
    std::vector<std::string> texts;
    for (const auto& paragraph : back["paragraphs"]) {
        texts.push_back(paragraph["text"]);
    }
    return texts;
}

TEST(ExportMenu, WordAndOpenDocumentTextsOfEitherDataSourceReadBack) {
    StartedApp started;
    OpenTemplate(started, "technical.tlx");
    UsePageSetup(PageSetup(QPageSize::Letter));
    TempDir dir;
    const std::string docx = dir.File("cv.docx");
    started.prompter.files.push_back(docx);
    started.Trigger("fileExportDocx");
    const nlohmann::json word = testing::ReadOfficeBack(docx);
    ASSERT_TRUE(word.contains("paragraphs")) << docx;
    EXPECT_EQ(word["title"], "Technical");
    EXPECT_EQ(word["author"], "Your Name");
    EXPECT_EQ(word["page_width"], 612.0); // Letter, as Print would print
    const std::vector<std::string> texts = Texts(word);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "Your Name");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Senior Engineer, Employer (2021 - today)"),
              texts.end());
    EXPECT_NE(started.app.Log().Text().find("MEM: Exported Word document: " + docx),
              std::string::npos);

    // The same content as the view's own text, after the resume became Resume View text.
    started.prompter.answers.push_back(true);
    started.Trigger("dataSourceView");
    const std::string odt = dir.File("cv.odt");
    started.prompter.files.push_back(odt);
    started.Trigger("fileExportOdt");
    const nlohmann::json open = testing::ReadOfficeBack(odt);
    ASSERT_TRUE(open.contains("paragraphs")) << odt;
    EXPECT_EQ(Texts(open), texts);
    EXPECT_FALSE(open["title"].get<std::string>().empty());
}

TEST(ExportMenu, AFailedExportSaysSoAndLeavesNothingBehind) {
    StartedApp started;
    OpenTemplate(started, "graduate.tlx");
    TempDir dir;
    const std::string nowhere = dir.File("missing/cv.odt");
    started.prompter.files.push_back(nowhere);
    started.Trigger("fileExportOdt");
    EXPECT_FALSE(fs::exists(nowhere));
    const auto messages = started.prompter.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("The OpenDocument text could not be written:\n\n" + nowhere, 0),
              0u)
        << messages.back();
    EXPECT_NE(started.app.Log().Text().find(
                  "WARNING: The OpenDocument text could not be written: " + nowhere),
              std::string::npos);

    // A folder where the file should go is left as it is.
    const std::string folder = dir.File("taken.docx");
    fs::create_directory(folder);
    started.prompter.files.push_back(folder);
    started.Trigger("fileExportDocx");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(
        started.prompter.Messages().back().rfind("The Word document could not be written:", 0), 0u);
}

} // namespace
} // namespace trellic
