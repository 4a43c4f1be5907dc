// Names and sentences in the scripts of the world as a reader of the PDF and of the engine
// window meets them.

#include "engine/code_page.h"
#include "engine/engine_log.h"
#include "print/resume_printer.h"
#include "run_command.h"
#include "scripted_prompter.h"
#include "shell/engine_window.h"
#include "temp_dir.h"
#include "world_texts.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::RunCommand;
using testing::WorldTexts;

RichDocument WorldDocument() {
    RichDocument document;
    document.paragraphs.clear();
    RichCharFormat format = PlainCharFormat();
    format.faceName = "Arial";
    format.height = 240;
    for (const auto& world : WorldTexts()) {
        for (const std::string& text : {world.name, world.sentence}) {
            RichParagraph paragraph;
            paragraph.format = PlainParaFormat();
            paragraph.markFormat = format;
            paragraph.runs.push_back({DecodeUtf8(text), format});
            document.paragraphs.push_back(paragraph);
        }
    }
    return document;
}

// The words of a text as a reader of the PDF compares them: compatibility forms (the Arabic
// letters' contextual shapes a text extractor reports) folded, direction marks and punctuation
// dropped, one space between words.
QStringList Words(const std::string& text) {
    QString folded = QString::fromStdString(text).normalized(QString::NormalizationForm_KC);
    folded.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")));
    folded.replace(QRegularExpression(QStringLiteral("[.;\\x{3002}]")), QStringLiteral(" "));
    return folded.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

TEST(WorldTextPdf, EveryScriptIsInTheTextLayerWithItsFontsEmbedded) {
    testing::TempDir dir;
    // A folder in two scripts: the file is written under the bytes of its name.
    const std::string folder = dir.File("R\xC3\xA9sum\xC3\xA9 \xE7\xAE\x80\xE5\x8E\x86");
    std::filesystem::create_directories(folder);
    const std::string pdf = folder + "/\xC5\xBByciorys.pdf";
    std::string error;
    ASSERT_TRUE(ExportPdf(WorldDocument(), pdf, PageSetup(QPageSize::A4), error)) << error;

    const QStringList text = Words(RunCommand("pdftotext '" + pdf + "' - 2>/dev/null"));
    for (const auto& world : WorldTexts()) {
        for (const QString& word : Words(world.name + " " + world.sentence)) {
            EXPECT_TRUE(text.contains(word)) << world.language << ": " << word.toStdString()
                                             << " in " << text.join(' ').toStdString();
        }
    }

    // Scripts the face lacks are drawn with fallback fonts; every one of them is in the file.
    const std::string fonts = RunCommand("pdffonts '" + pdf + "' 2>&1");
    const QStringList rows = QString::fromStdString(fonts).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(rows.size(), 4) << fonts; // two header lines and at least two fonts
    for (int i = 2; i < rows.size(); ++i) {
        EXPECT_TRUE(rows[i].contains(QRegularExpression(QStringLiteral("\\byes\\s+yes\\s+yes\\b"))))
            << rows[i].toStdString();
    }
}

TEST(WorldTextEngineWindow, PathsInAnyScriptAreShownAsTheyAre) {
    EngineLog log;
    testing::ScriptedPrompter prompter;
    CEngineDlg window{log, prompter};
    const std::string path =
        "/home/wang/\xE7\xAE\x80\xE5\x8E\x86/\xC5\xBByciorys \xC5\x81ukasz.tlx";
    log.AppendLog("MEM: Loaded file: " + path + "\r\n\r\n");
    EXPECT_TRUE(window.TextBox()->toPlainText().contains(QString::fromUtf8(
        "MEM: Loaded file: /home/wang/\u7B80\u5386/\u017Byciorys \u0141ukasz.tlx")));
}

} // namespace
} // namespace trellic
