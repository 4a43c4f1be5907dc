// Other programs' formats beside the resume's own: what Import and Export do with them, and
// that Open and Save As never take them for the resume's formats.

#include "document_fixture.h"
#include "engine/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using namespace testing;

FormatInfo ExchangeInfo(std::string id, std::string extension, bool reads, bool writes) {
    return {.id = std::move(id),
            .name = "OTHER",
            .title = "Other",
            .filterName = "Other Files",
            .extensions = {std::move(extension)},
            .holds = FormatHolds::NodeTree,
            .role = FormatRole::Exchange,
            .reads = reads,
            .writes = writes};
}

// Reads a file's text as the one header of a resume; writes the view's text behind a mark.
class OtherFormat : public FileFormat {
public:
    OtherFormat() : FileFormat(ExchangeInfo("Other", "oth", true, true)) {}
    FormatResult Read(std::string_view bytes, FormatReading& into) const override {
        if (bytes.empty()) {
            return FormatResult::Failure("Nothing to import.");
        }
        into.tree->headers.emplace_back().header = std::string(bytes);
        into.tree->activeStack.push_back({0, kKindHeader});
        return FormatResult::Success();
    }
    FormatResult Write(const FormatSource& from, std::string& bytes) const override {
        bytes = "OTHER:" + from.view.ExportText();
        return FormatResult::Success();
    }
};

// Writes nothing, as a format whose pages cannot be laid out.
class BrokenFormat : public FileFormat {
public:
    BrokenFormat() : FileFormat(ExchangeInfo("Broken", "brk", false, true)) {}
    FormatResult Write(const FormatSource&, std::string&) const override {
        return FormatResult::Failure("The pages could not be laid out.");
    }
};

struct ExchangeFixture : DocumentFixture {
    ExchangeFixture() {
        formats.Add(std::make_unique<OtherFormat>());
        formats.Add(std::make_unique<BrokenFormat>());
        // A format of another program that reads and writes text files of a resume extension.
        formats.Add(std::make_unique<FileFormat>(ExchangeInfo("Json", "json", true, true)));
        withOthers.OnNewDocument();
        log.Clear();
    }
    const FileFormat& Format(const char* id) const { return *formats.ById(id); }

    FormatRegistry formats = CoreFormats();
    CTLXDoc withOthers{tree, view, log, prompter, formats};
};

TEST(ExchangeFormats, ExportWritesTheResumeAndLeavesItAsItWas) {
    ExchangeFixture f;
    f.prompter.files.push_back(f.WriteSampleTlx("cv.tlx"));
    f.prompter.answers.push_back(true);
    ASSERT_TRUE(f.withOthers.OpenResume());
    f.log.Clear();
    const std::string path = f.dir.File("cv.oth");
    ASSERT_TRUE(f.withOthers.ExportResume(f.Format("Other"), path).ok);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes).ok);
    EXPECT_EQ(bytes, "OTHER:Experience");
    EXPECT_EQ(f.log.Text(), "MEM: Exported OTHER: " + path + "\r\n\r\n");
    EXPECT_FALSE(f.withOthers.IsModified());
    EXPECT_EQ(f.withOthers.PathName(), f.dir.File("cv.tlx"));

    // A format that fails, and a folder that is not there: the reason, and no file.
    const FormatResult broken = f.withOthers.ExportResume(f.Format("Broken"), f.dir.File("x.brk"));
    EXPECT_FALSE(broken.ok);
    EXPECT_EQ(broken.message, "The pages could not be laid out.");
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("x.brk")));
    EXPECT_FALSE(f.withOthers.ExportResume(f.Format("Other"), f.dir.File("no/cv.oth")).ok);
    EXPECT_EQ(f.log.Text(), "MEM: Exported OTHER: " + path + "\r\n\r\n");
}

TEST(ExchangeFormats, ImportMakesANewResumeWithoutAFileName) {
    ExchangeFixture f;
    const std::string path = f.dir.File("cv.oth");
    WriteFileBytes(path, "Imported");
    f.prompter.answers.push_back(true); // closing the new resume
    ASSERT_TRUE(f.withOthers.ImportResumeFile(f.Format("Other"), path));
    EXPECT_EQ(f.log.Text(), "EXEC: Trellic 'Import' command has started.\r\n\r\n"
                            "INFO: Importing OTHER file.\r\n\r\n"
                            "EXEC: RTF Renderer activated.\r\n\r\n"
                            "MEM: Imported file: " +
                                path + "\r\n\r\n");
    EXPECT_EQ(f.view.ExportText(), "Imported");
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    EXPECT_TRUE(f.tree.filePath.empty());
    EXPECT_EQ(f.withOthers.Title(), "Untitled");
    EXPECT_FALSE(f.withOthers.IsModified());

    // A file the format refuses leaves the resume, after the format's reason.
    const std::string empty = f.dir.File("empty.oth");
    WriteFileBytes(empty, "");
    EXPECT_FALSE(f.withOthers.ImportResumeFile(f.Format("Other"), empty));
    EXPECT_EQ(f.prompter.Messages().back(), "Nothing to import.");
    EXPECT_EQ(f.view.ExportText(), "Imported");
    ASSERT_EQ(f.tree.headers.size(), 1u);
}

TEST(ExchangeFormats, OpenAndSaveAsTakeTheirExtensionsForUnknownFiles) {
    ExchangeFixture f;
    const std::string json = f.dir.File("cv.json");
    WriteFileBytes(json, "{\"basics\": {}}");
    f.prompter.files.push_back(json);
    f.prompter.answers.push_back(true);
    ASSERT_TRUE(f.withOthers.OpenResume());
    EXPECT_NE(f.log.Text().find("INFO: Loading unknown file.\r\n\r\nWARNING: Trellic will use TXT "
                                "rendering for this file.\r\n\r\nINFO: Loading TXT file."),
              std::string::npos);
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_EQ(f.view.ExportText(), "{\"basics\": {}}");
    EXPECT_EQ(f.prompter.events[0].options.filter, kTrellicFileFilter);

    // Save writes no file of another program's kind without a name chosen for it; Save As
    // writes plain text, with the unknown file's warning.
    f.log.Clear();
    const std::string copy = f.dir.File("copy.oth");
    f.prompter.files.push_back(copy);
    ASSERT_TRUE(f.withOthers.SaveResume(false));
    EXPECT_EQ(f.prompter.events.back().kind, "message");
    EXPECT_NE(f.log.Text().find("INFO: Saving unknown file.\r\n\r\nWARNING: Trellic will use "
                                "TXT rendering for this file.\r\n\r\nINFO: Saving TXT file."),
              std::string::npos);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(copy, bytes).ok);
    EXPECT_EQ(bytes, "{\"basics\": {}}");
}

} // namespace
} // namespace trellic
