// Print, Export as PDF and `tlxtool convert` to PDF share one page printer: what they write is
// read back with pdftotext, as a reader of the PDF would get it.

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "print/resume_printer.h"
#include "run_command.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>

namespace trellic {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;
using testing::StartedApp;
using testing::TempDir;

std::string PdfText(const std::string& pdf) {
    return RunCommand("pdftotext -layout '" + pdf + "' - 2>/dev/null");
}

std::string PdfInfo(const std::string& pdf) {
    return RunCommand("pdfinfo '" + pdf + "' 2>/dev/null");
}

// Every needle in order, each after the one before.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& needles) {
    size_t from = 0;
    for (const std::string& needle : needles) {
        const size_t at = text.find(needle, from);
        ASSERT_NE(at, std::string::npos) << "\"" << needle << "\" missing or out of order in:\n"
                                         << text;
        from = at + needle.size();
    }
}

std::string Template(const char* name) {
    return std::string(TRELLIC_BIN_DIR) + "/templates/" + name;
}

// Opens a shipped template as File > New from Template does, answering No to the design
// question.
void OpenTemplate(StartedApp& started, const char* name) {
    started.prompter.files.push_back(Template(name));
    started.prompter.answers.push_back(true);  // close the untitled resume
    started.prompter.answers.push_back(false); // no design changes
    started.Trigger("fileNewFromTemplate");
}

// The default paper follows the locale; these cases are about Letter.
struct LetterLocale {
    LetterLocale() {
        const char* all = std::getenv("LC_ALL");
        const char* paper = std::getenv("LC_PAPER");
        savedAll = all ? std::optional<std::string>(all) : std::nullopt;
        savedPaper = paper ? std::optional<std::string>(paper) : std::nullopt;
        unsetenv("LC_ALL");
        setenv("LC_PAPER", "en_US.UTF-8", 1);
    }
    ~LetterLocale() {
        savedAll ? setenv("LC_ALL", savedAll->c_str(), 1) : unsetenv("LC_ALL");
        savedPaper ? setenv("LC_PAPER", savedPaper->c_str(), 1) : unsetenv("LC_PAPER");
    }
    std::optional<std::string> savedAll;
    std::optional<std::string> savedPaper;
};

TEST(Printing, PrintWritesTheViewsPagesWithMarginsAndEveryMarker) {
    LetterLocale letter;
    StartedApp started;
    ASSERT_TRUE(started.started);
    OpenTemplate(started, "technical.tlx");
    TempDir dir;
    const std::string pdf = dir.File("printed.pdf");
    int dialogs = 0;
    started.Frame().SetPrintDialogHandler([&](QPrinter& printer) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    started.Trigger("filePrint");
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(fs::exists(pdf));

    EXPECT_NE(PdfInfo(pdf).find("612 x 792 pts"), std::string::npos) << PdfInfo(pdf);
    const std::string text = PdfText(pdf);
    ExpectInOrder(text, {"Your Name", "Technical Summary", "Languages:", "Experience",
                         "1) Senior Engineer", "Designed", "2) Engineer", "Automated", "Highlights",
                         "Education", "Degrees:"});
    EXPECT_NE(text.find("\xE2\x9E\x94 Languages:"), std::string::npos); // the Wingdings arrow

    // The text starts at the left margin: 1.5 inches of 8.5 with -layout's columns would be
    // fragile, so look at the bounding box of the first word instead.
    const std::string box = RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    const size_t word = box.find(">Your<");
    ASSERT_NE(word, std::string::npos);
    const size_t xMin = box.rfind("xMin=\"", word);
    ASSERT_NE(xMin, std::string::npos);
    EXPECT_NEAR(std::stod(box.substr(xMin + 6)), 108.0, 2.0); // 1.5 inches in points
}

TEST(Printing, CancelledPrintDialogPrintsNothing) {
    StartedApp started;
    OpenTemplate(started, "chronological.tlx");
    TempDir dir;
    const std::string pdf = dir.File("never.pdf");
    started.Frame().SetPrintDialogHandler([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return false;
    });
    started.Trigger("filePrint");
    EXPECT_FALSE(fs::exists(pdf));
}

TEST(Printing, ExportAsPdfWritesWhatPrintWouldAndReportsAMissingFolder) {
    StartedApp started;
    OpenTemplate(started, "graduate.tlx");
    TempDir dir;
    const std::string pdf = dir.File("resume.pdf");
    started.prompter.files.push_back(pdf);
    started.Trigger("fileExportPdf");
    ASSERT_TRUE(fs::exists(pdf));
    ExpectInOrder(PdfText(pdf), {"Your Name", "Education", "Projects", "Experience"});
    EXPECT_NE(started.app.Log().Text().find("MEM: Exported PDF: " + pdf), std::string::npos);

    // A folder that does not exist: a message, and nothing written anywhere.
    const std::string nowhere = dir.File("missing/resume.pdf");
    started.prompter.files.push_back(nowhere);
    started.Trigger("fileExportPdf");
    EXPECT_FALSE(fs::exists(nowhere));
    const auto messages = started.prompter.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("The PDF file could not be written:", 0), 0u);
}

TEST(Printing, AtsCheckAndPdfAReadTheCurrentResumesOwnPdf) {
    StartedApp started;
    OpenTemplate(started, "technical.tlx");
    started.Trigger("fileAtsCheck");
    auto messages = started.prompter.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("all "), std::string::npos) << messages.back();
    EXPECT_NE(messages.back().find("found in reading order"), std::string::npos);
    EXPECT_NE(messages.back().find("nothing keeps an ATS from reading this resume"),
              std::string::npos)
        << messages.back();
    EXPECT_NE(started.app.Log().Text().find("INFO: ATS check: nothing blocks an ATS."),
              std::string::npos);

    TempDir dir;
    const std::string pdf = dir.File("archival.pdf");
    started.prompter.files.push_back(pdf);
    started.Trigger("fileExportPdfA");
    const std::string info = PdfInfo(pdf);
    EXPECT_NE(info.find("Metadata Stream: yes"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Technical"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Your Name"), std::string::npos) << info;
}

TEST(Printing, LongResumesBreakIntoPagesWithoutLosingALine) {
    RichDocument document;
    document.paragraphs.clear();
    for (int i = 0; i < 300; ++i) {
        RichParagraph paragraph;
        std::string line = "Line #";
        line += std::to_string(i);
        paragraph.runs.push_back({std::u32string(line.begin(), line.end()), RichCharFormat()});
        document.paragraphs.push_back(paragraph);
    }
    TempDir dir;
    const std::string pdf = dir.File("long.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdf(document, pdf, PageSetup{}, error)) << error;
    const std::string info = PdfInfo(pdf);
    EXPECT_EQ(info.find("Pages:           1\n"), std::string::npos) << info;
    const std::string text = PdfText(pdf);
    for (int i = 0; i < 300; ++i) {
        std::string number = "#";
        number += std::to_string(i);
        number += '\n';
        EXPECT_NE(text.find(number), std::string::npos) << i;
    }
}

TEST(Printing, TlxtoolConvertsEveryTemplateToPdfInReadingOrder) {
    TempDir dir;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(std::string(TRELLIC_BIN_DIR) + "/templates")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string pdf = dir.File(entry.path().stem().string() + ".pdf");
        int status = -1;
        RunCommand(std::string(TRELLIC_BIN_DIR) + "/tlxtool convert '" + entry.path().string() +
                       "' '" + pdf + "' 2>&1",
                   &status);
        ASSERT_EQ(status, 0);
        const std::string text = PdfText(pdf);
        ExpectInOrder(text, {"Phone:", "E-mail:", "Location:"});
        ++count;
    }
    EXPECT_GE(count, 5);
}

} // namespace
} // namespace trellic
