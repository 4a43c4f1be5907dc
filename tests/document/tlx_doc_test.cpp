#include "document_fixture.h"
#include "engine/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <utility>

namespace trellic {
namespace {

using namespace testing;

const std::string kOpenStarted = "EXEC: Trellic 'Open' command has started.\r\n\r\n";
const std::string kSaveStarted = "EXEC: Trellic 'Save' command has started.\r\n\r\n";
const std::string kUnknown = "INFO: Loading unknown file.\r\n\r\nWARNING: Trellic will use TXT "
                             "rendering for this file.\r\n\r\n";
const std::string kCloseQuestion = "The active resume is about to be closed. Are you sure you "
                                   "want to continue? This operation cannot be undone.";

TEST(OpenResume, TlxFileLogsInOrderAndRenders) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx", kRendererTxt);
    ASSERT_TRUE(f.Open(path));
    EXPECT_EQ(f.log.Text(), kOpenStarted + "INFO: Loading TLX file.\r\n\r\n" +
                                "MEM: Loaded file: " + path + "\r\n\r\n" + kProbe +
                                "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.view.ExportText(), "Experience");
    EXPECT_EQ(f.tree.filePath, path);
    EXPECT_EQ(f.tree.renderer, kRendererTxt);
    EXPECT_EQ(f.tree.resume->renderer, kRendererTxt);
    EXPECT_EQ(f.doc.Marks(), (MenuMarks{kRendererTxt, kDataSourceNodes, false}));
    EXPECT_EQ(f.doc.Title(), "cv.tlx");
    EXPECT_FALSE(f.tree.rnsEnabled);

    const auto& open = f.prompter.events[0];
    EXPECT_EQ(open.kind, "open");
    EXPECT_EQ(open.options.filter, kTrellicFileFilter);
    EXPECT_EQ(open.options.defaultExtension, "tlx");
    EXPECT_TRUE(open.options.fileMustExist);
    EXPECT_TRUE(open.options.initialName.empty());
    EXPECT_EQ(f.prompter.events[1].text, kCloseQuestion);
}

TEST(OpenResume, RtfAndTxtFilesBecomeTheResumeView) {
    DocumentFixture f;
    const std::string rtf = f.dir.File("cv.rtf");
    WriteFileBytes(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  plain\\par}");
    ASSERT_TRUE(f.Open(rtf));
    EXPECT_EQ(f.log.Text(), kOpenStarted +
                                "INFO: Loading RTF file.\r\n\r\nMEM: Loaded file: " + rtf +
                                "\r\n\r\n" + kProbe + "EXEC: RTF Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.doc.Marks().dataSource, kDataSourceViewRtf);
    EXPECT_EQ(f.view.ExportText(), "Bold plain");

    const std::string txt = f.dir.File("cv.txt");
    WriteFileBytes(txt, "Line one\r\nCaf\xE9");
    f.log.Clear();
    ASSERT_TRUE(f.Open(txt));
    EXPECT_EQ(f.log.Text(), kOpenStarted +
                                "INFO: Loading TXT file.\r\n\r\nMEM: Loaded file: " + txt +
                                "\r\n\r\n" + kProbe + "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
    EXPECT_EQ(f.view.ExportText(), "Line one\r\nCaf\xC3\xA9");
    EXPECT_EQ(f.view.DefaultCharFormat().faceName, "Arial");
}

TEST(OpenResume, PicturesThatCannotBeKeptOrShownAreLoggedAsWarnings) {
    DocumentFixture f;
    const std::string rtf = f.dir.File("photo.rtf");
    WriteFileBytes(rtf, "{\\rtf1 Jane{\\pict\\jpegblip 0102}{\\pict\\pngblip}\\par}");
    ASSERT_TRUE(f.Open(rtf));
    EXPECT_EQ(f.log.Text(),
              kOpenStarted + "INFO: Loading RTF file.\r\n\r\nMEM: Loaded file: " + rtf +
                  "\r\n\r\n" + kProbe + "EXEC: RTF Renderer activated.\r\n\r\n" +
                  "WARNING: A JPEG picture cannot be read; it is kept as it came and shows as a "
                  "placeholder.\r\n\r\n"
                  "WARNING: A PNG picture without data was left out.\r\n\r\n");
    EXPECT_NE(f.view.ExportRtf().find("{\\pict\\jpegblip\r\n0102}"), std::string::npos);
}

TEST(OpenResume, RichTextWithBinaryPicturesOrAClosingNulOpens) {
    DocumentFixture f;
    const std::string rtf = f.dir.File("photo.rtf");
    WriteFileBytes(rtf, "{\\rtf1 Jane{\\pict\\jpegblip\\bin4 " +
                            std::string("\xFF\xD8\x00\x01", 4) + "}}\r\n" + std::string(1, '\0'));
    ASSERT_TRUE(f.Open(rtf));
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_NE(f.view.ExportRtf().find("{\\pict\\jpegblip\r\nffd80001}"), std::string::npos);
}

TEST(OpenResume, UpperCaseExtensionIsAnUnknownFileReadAsText) {
    DocumentFixture f;
    const std::string path = f.dir.File("CV.RTF");
    WriteFileBytes(path, "{\\rtf1 Not parsed}");
    ASSERT_TRUE(f.Open(path));
    EXPECT_EQ(f.log.Text(), kOpenStarted + kUnknown + "INFO: Loading TXT file.\r\n\r\n" +
                                "MEM: Loaded file: " + path + "\r\n\r\n" + kProbe +
                                "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.view.ExportText(), "{\\rtf1 Not parsed}");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
}

// An open that stops after the reset must leave the previous resume whole.
void ExpectPreviousResumeKept(DocumentFixture& f, const std::string& previousPath) {
    EXPECT_EQ(f.tree.filePath, previousPath);
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    ASSERT_EQ(f.tree.headers.size(), 1U);
    EXPECT_EQ(f.tree.headers[0].header, "Experience");
    EXPECT_EQ(f.tree.activeStack.size(), 2U);
    EXPECT_EQ(f.view.ExportText(), "Experience");
    EXPECT_EQ(f.doc.PathName(), previousPath);
}

TEST(OpenResume, MissingFileReportsTheRnsErrorAndKeepsThePreviousResume) {
    DocumentFixture f;
    const std::string previous = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(previous));
    f.log.Clear();
    f.prompter.events.clear();

    const std::string missing = f.dir.File("gone.tlx");
    EXPECT_FALSE(f.Open(missing));
    const std::string text = f.log.Text();
    EXPECT_EQ(text.rfind(kOpenStarted +
                             "INFO: Loading TLX file.\r\n\r\nMEM: Loaded file: " + missing +
                             "\r\n\r\n" + kStarted + kProtected + kStopped + "**RNS ERROR**\r\n",
                         0),
              0U);
    EXPECT_EQ(f.prompter.Messages(),
              std::vector<std::string>{
                  "An error occurred. Details will be posted to the TLX Engine window."});
    ExpectPreviousResumeKept(f, previous);
    // Saving now writes the previous resume, not an empty one.
    f.prompter.answers.clear();
    ASSERT_TRUE(f.doc.SaveResume(false));
    NodeTree back{std::string()};
    ResetNodeTree(back, {});
    const std::string bytes = ReadFileBytes(previous);
    Archive ar = Archive::ForLoading(bytes);
    ASSERT_EQ(ReadTLX(ar, back, f.prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.headers.size(), 1U);
}

TEST(OpenResume, DecliningTheCloseQuestionKeepsThePreviousResume) {
    DocumentFixture f;
    const std::string previous = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(previous));
    const std::string other = f.WriteSampleTlx("other.tlx");
    f.prompter.files.push_back(other);
    f.prompter.answers.push_back(false);
    EXPECT_FALSE(f.doc.OpenResume());
    ExpectPreviousResumeKept(f, previous);
}

// Files that cannot be a resume: each is refused before the close question, with its own
// message, and the open resume, its file name and its lock stay exactly as they were.
TEST(OpenResume, BadFilesLeaveTheOpenResumeAndItsLock) {
    DocumentFixture f;
    const std::string previous = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(previous));
    ASSERT_TRUE(f.doc.StartRNS());
    const std::string good = ReadFileBytes(previous);

    std::mt19937 random(3);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    struct Bad {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Bad bad[] = {
        {"cut.tlx", good.substr(0, good.size() - 10), "Unexpected file format."},
        {"photo.tlx", "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01 and more", nullptr},
        {"letter.tlx", "\x06TLX4QX and then some bytes", kInvalidTlxMessage},
        {"letter.docx", std::string("PK\x03\x04\x14\x00\x06\x00", 8) + "[Content_Types].xml",
         "The file holds binary data"},
        {"program.rtf",
         std::string("\x7F"
                     "ELF\x02\x01\x01\x00\x00",
                     9),
         "The file holds binary"},
        {"noise.rtf", noise, "The file holds binary data"},
        {"notes.rtf", "Just some text, no rich text at all.", "The file is not a rich text file"},
        {"noise.txt", noise, "The file holds binary data"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        const std::string path = f.dir.File(b.name);
        WriteFileBytes(path, b.bytes);
        f.log.Clear();
        f.prompter.events.clear();
        EXPECT_FALSE(f.Open(path));
        f.prompter.answers.clear();
        ASSERT_EQ(f.EventKinds(), (std::vector<std::string>{"open", "message"}));
        if (b.message) {
            EXPECT_EQ(f.prompter.events[1].text.rfind(b.message, 0), 0U)
                << f.prompter.events[1].text;
        }
        ExpectPreviousResumeKept(f, previous);
        EXPECT_EQ(f.doc.Title(), "cv.tlx");
        EXPECT_FALSE(f.doc.IsModified());
        // The lock, its mark, the tree's flag and the log's last word all say protected.
        ProtectedFile other;
        EXPECT_FALSE(other.Open(previous));
        EXPECT_TRUE(f.doc.Marks().rnsEnabled);
        EXPECT_TRUE(f.tree.rnsEnabled);
        EXPECT_TRUE(f.log.Text().ends_with(kStopped + kEnabled));
        EXPECT_EQ(ReadFileBytes(path), b.bytes);
    }
}

TEST(OpenResume, AFailedOrDeclinedOpenSaysTheOldFileIsStillProtected) {
    DocumentFixture f;
    const std::string previous = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(previous));
    ASSERT_TRUE(f.doc.StartRNS());

    f.log.Clear();
    EXPECT_FALSE(f.Open(f.dir.File("gone.tlx")));
    EXPECT_TRUE(f.log.Text().ends_with("opened. All other program operations remain "
                                       "unaffected.\r\n\r\n" +
                                       kEnabled));
    f.prompter.answers.clear(); // the close question never came

    f.log.Clear();
    f.prompter.files.push_back(f.WriteSampleTlx("other.tlx"));
    f.prompter.answers.push_back(false);
    EXPECT_FALSE(f.doc.OpenResume());
    EXPECT_EQ(f.log.Text().substr(f.log.Text().size() - (kProbe + kEnabled).size()),
              kProbe + kEnabled);
    ProtectedFile other;
    EXPECT_FALSE(other.Open(previous));
    EXPECT_TRUE(f.doc.IsProtected());

    // Opening the protected file itself again passes the probe; the new open lets go of it.
    ASSERT_TRUE(f.Open(previous));
    EXPECT_FALSE(f.doc.IsProtected());
    EXPECT_FALSE(f.doc.Marks().rnsEnabled);
    EXPECT_TRUE(other.Open(previous));
}

TEST(OpenResume, ForeignFilesAreNeverSavedOverWithoutAskingAgain) {
    DocumentFixture f;
    const std::string path = f.dir.File("notes.md");
    WriteFileBytes(path, "# Notes\r\nplain");
    ASSERT_TRUE(f.Open(path));
    EXPECT_EQ(f.tree.filePath, path);
    f.prompter.events.clear();
    EXPECT_FALSE(f.doc.SaveResume(false)); // the name dialog, cancelled
    EXPECT_EQ(f.EventKinds(), std::vector<std::string>{"save"});
    EXPECT_EQ(ReadFileBytes(path), "# Notes\r\nplain");

    // Naming it again (here the same name) is the user's word that it may be replaced.
    f.prompter.files.push_back(path);
    EXPECT_TRUE(f.doc.SaveResume(false));
}

TEST(SaveResume, SaveWritesAndLogs) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    f.tree.headers[0].header = "Work";
    f.log.Clear();
    f.prompter.events.clear();
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_EQ(f.log.Text(),
              kSaveStarted + "INFO: Saving TLX file.\r\n\r\nMEM: Saved file: " + path + "\r\n\r\n");
    EXPECT_EQ(f.prompter.Messages(), std::vector<std::string>{"The resume has been saved."});
    EXPECT_NE(ReadFileBytes(path).find("Work"), std::string::npos);
}

TEST(SaveResume, ProtectedSaveReleasesWritesAndTakesTheLockAgain) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    ASSERT_TRUE(f.doc.StartRNS());
    f.log.Clear();
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_EQ(f.log.Text(), kSaveStarted + "INFO: Saving TLX file.\r\n\r\n" + kStopped + kStarted +
                                kUnprotected + kEnabled + "MEM: Saved file: " + path + "\r\n\r\n");
    EXPECT_TRUE(f.tree.rnsEnabled);
    EXPECT_TRUE(f.doc.Marks().rnsEnabled);
    ProtectedFile other;
    EXPECT_FALSE(other.Open(path)); // the new file is the one held
}

TEST(SaveResume, AFailedSaveTellsSoAndLogsNoSavedLine) {
    DocumentFixture f;
    f.prompter.files.push_back(f.dir.File("no/such/folder/cv.tlx"));
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_EQ(f.log.Text().find("MEM: Saved file"), std::string::npos);
    const auto messages = f.prompter.Messages();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].rfind("The resume could not be saved to ", 0), 0U);
    EXPECT_EQ(f.prompter.events.back().icon, MessageIcon::Exclamation);
}

TEST(SaveResume, SaveWithoutAFileIsSaveAs) {
    DocumentFixture f;
    const std::string path = f.dir.File("new.tlx");
    f.prompter.files.push_back(path);
    ASSERT_TRUE(f.doc.SaveResume(false));
    const auto& dialog = f.prompter.events[0];
    EXPECT_EQ(dialog.kind, "save");
    EXPECT_EQ(dialog.options.initialName, "My Resume");
    EXPECT_TRUE(dialog.options.overwritePrompt);
    EXPECT_EQ(f.log.Text(),
              kSaveStarted + "INFO: Saving TLX file.\r\n\r\nMEM: Saved file: " + path + "\r\n\r\n");
    EXPECT_EQ(f.tree.filePath, path);
    EXPECT_EQ(f.doc.Title(), "new.tlx");
}

TEST(SaveAs, NodesToRtfConvertsAndWritesTheRendering) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("cv.tlx")));
    f.log.Clear();
    const std::string path = f.dir.File("cv.rtf");
    f.prompter.files.push_back(path);
    f.prompter.answers.push_back(true); // convert
    ASSERT_TRUE(f.doc.SaveResume(true));
    // Once by the conversion, once by Save As itself.
    EXPECT_EQ(f.log.Text(), kSaveStarted + "EXEC: RTF Renderer activated.\r\n\r\n" +
                                "EXEC: RTF Renderer activated.\r\n\r\n" +
                                "INFO: Saving RTF file.\r\n\r\nMEM: Saved file: " + path +
                                "\r\n\r\n");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewRtf);
    EXPECT_TRUE(f.tree.headers.empty());
    const std::string saved = ReadFileBytes(path);
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0U);
    EXPECT_NE(saved.find("Experience"), std::string::npos);
}

TEST(SaveAs, DeclinedConversionStillSwitchesTheRenderer) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("cv.tlx")));
    f.log.Clear();
    f.prompter.events.clear();
    const std::string path = f.dir.File("cv.txt");
    f.prompter.files.push_back(path);
    f.prompter.answers.push_back(false);
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_EQ(f.log.Text(), kSaveStarted + "EXEC: TXT Renderer activated.\r\n\r\n");
    EXPECT_EQ(f.prompter.Messages(), std::vector<std::string>{"The resume has not been saved."});
    EXPECT_EQ(f.tree.dataSource, kDataSourceNodes);
    EXPECT_EQ(f.tree.headers.size(), 1U);
    EXPECT_EQ(f.tree.renderer, kRendererTxt);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SaveAs, ResumeViewCannotBecomeTlx) {
    DocumentFixture f;
    const std::string txt = f.dir.File("cv.txt");
    WriteFileBytes(txt, "text");
    ASSERT_TRUE(f.Open(txt));
    f.log.Clear();
    f.prompter.events.clear();
    f.prompter.files.push_back(f.dir.File("cv.tlx"));
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_EQ(f.prompter.Messages(),
              (std::vector<std::string>{kUnsupportedConversion, "The resume has not been saved."}));
    EXPECT_EQ(f.log.Text(),
              kSaveStarted + "EXEC: Trellic 'Save' command has been aborted.\r\n\r\n");
}

TEST(SaveAs, RtfViewToTextAndToAnUnknownExtension) {
    DocumentFixture f;
    const std::string rtf = f.dir.File("cv.rtf");
    WriteFileBytes(rtf, "{\\rtf1\\ansi Hello\\par world}");
    ASSERT_TRUE(f.Open(rtf));
    f.log.Clear();
    const std::string odd = f.dir.File("cv.doc");
    f.prompter.files.push_back(odd);
    ASSERT_TRUE(f.doc.SaveResume(true));
    EXPECT_EQ(f.log.Text(), kSaveStarted + "EXEC: TXT Renderer activated.\r\n\r\n" +
                                "INFO: Saving unknown file.\r\n\r\nWARNING: Trellic will use TXT "
                                "rendering for this file.\r\n\r\nINFO: Saving TXT file.\r\n\r\n" +
                                "MEM: Saved file: " + odd + "\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(odd), "Hello\r\nworld");
    EXPECT_EQ(f.tree.dataSource, kDataSourceViewTxt);
}

TEST(SaveAs, LeavesProtectionOff) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    ASSERT_TRUE(f.doc.StartRNS());
    f.prompter.files.push_back(f.dir.File("copy.tlx"));
    ASSERT_TRUE(f.doc.SaveResume(true));
    EXPECT_FALSE(f.tree.rnsEnabled);
    ProtectedFile other;
    EXPECT_TRUE(other.Open(path));
}

TEST(NewFromTemplate, CancelledDialogStillClearsThePathAndAsks) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    f.prompter.events.clear();
    f.prompter.answers.push_back(true);
    EXPECT_FALSE(f.doc.NewFromTemplate());
    ASSERT_EQ(f.prompter.events.size(), 3U);
    EXPECT_EQ(f.prompter.events[0].options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/templates");
    EXPECT_EQ(f.prompter.events[1].text, "Would you like to alter the resume's design?");
    EXPECT_EQ(f.prompter.events[2].kind, "designer");
    EXPECT_TRUE(f.tree.filePath.empty());
}

TEST(NewFromTemplate, OpensATemplateWithoutItsPath) {
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("chronological.tlx");
    f.prompter.files.push_back(path);
    f.prompter.answers = {true, false}; // close the old one; no, do not alter the design
    ASSERT_TRUE(f.doc.NewFromTemplate());
    EXPECT_EQ(f.prompter.events.back().kind, "explorer");
    EXPECT_TRUE(f.tree.filePath.empty());
    EXPECT_EQ(f.tree.headers.size(), 1U);
}

TEST(FileNew, AsksAndStartsAfresh) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("cv.tlx", kRendererTxt)));
    f.prompter.answers.push_back(false);
    EXPECT_FALSE(f.doc.FileNew());
    EXPECT_EQ(f.tree.headers.size(), 1U);
    f.prompter.answers.push_back(true);
    EXPECT_TRUE(f.doc.FileNew());
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_EQ(f.doc.Marks(), MenuMarks{});
    EXPECT_EQ(f.view.ExportText(), "");
    EXPECT_EQ(f.tree.resume->name, "My Resume"); // from the node library
    EXPECT_EQ(f.doc.Title(), "Untitled");
}

TEST(AdoptImportedResume, AsksThenReplacesTheResumeWithAnUnsavedOne) {
    DocumentFixture f;
    const std::string previous = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(previous));
    NodeTables imported;
    imported.resume = std::make_unique<ResumeNode>();
    imported.resume->name = "Ann";
    imported.headers.emplace_back().header = "Ann Example";
    imported.activeStack = {kResumeEntry, {0, kKindHeader}};
    imported.inactiveStack = {{0, kKindSLField}};
    imported.slFields.emplace_back().fieldName = "/meta";

    f.prompter.answers.push_back(false);
    EXPECT_FALSE(f.doc.AdoptImportedResume(imported, kRendererTxt));
    ExpectPreviousResumeKept(f, previous);

    f.prompter.answers.push_back(true);
    ASSERT_TRUE(f.doc.AdoptImportedResume(imported, kRendererTxt));
    EXPECT_EQ(static_cast<const NodeTables&>(f.tree).headers, imported.headers);
    EXPECT_EQ(f.tree.inactiveStack, imported.inactiveStack);
    EXPECT_EQ(f.doc.Title(), "Untitled");
    EXPECT_TRUE(f.tree.filePath.empty());
    // Rendered with the template's renderer, and unsaved: closing it asks to save.
    EXPECT_EQ(f.doc.Marks().renderer, kRendererTxt);
    EXPECT_EQ(f.view.ExportText(), "Ann Example");
    EXPECT_TRUE(f.doc.IsModified());
}

} // namespace
} // namespace trellic

namespace trellic {
namespace {

using namespace testing;

TEST(Modified, FollowsTheTreeTheSettingsAndTheViewText) {
    DocumentFixture f;
    EXPECT_FALSE(f.doc.IsModified());
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));
    EXPECT_FALSE(f.doc.IsModified());

    f.tree.headers[0].style.charFormat.height = 300;
    EXPECT_TRUE(f.doc.IsModified());
    f.tree.headers[0].style.charFormat.height = 280;
    EXPECT_FALSE(f.doc.IsModified()); // back as it was saved: nothing to lose

    f.doc.SetRenderer(kRendererTxt, true);
    EXPECT_TRUE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_FALSE(f.doc.IsModified());

    // In the Resume View the text is the resume.
    const std::string rtf = f.dir.File("cv.rtf");
    WriteFileBytes(rtf, "{\\rtf1\\ansi Hello}");
    ASSERT_TRUE(f.Open(rtf));
    EXPECT_FALSE(f.doc.IsModified());
    f.view.SetModified(true);
    EXPECT_TRUE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_FALSE(f.view.IsModified());
    // Switching the format re-renders the text and leaves it without a file.
    f.doc.SetRenderer(kRendererTxt, true);
    f.doc.SetRenderer(kRendererRtf, true);
    EXPECT_TRUE(f.doc.IsModified());
}

TEST(Modified, ClosingAChangedResumeOffersToSaveItFirst) {
    const std::string kCloseText = "The active resume is about to be closed. Are you sure you "
                                   "want to continue? This operation cannot be undone.";
    DocumentFixture f;
    const std::string path = f.WriteSampleTlx("cv.tlx");
    ASSERT_TRUE(f.Open(path));

    // Unchanged: the plain question.
    f.prompter.events.clear();
    EXPECT_FALSE(f.doc.SaveModified());
    EXPECT_EQ(f.EventKinds(), std::vector<std::string>{"question"});

    f.tree.headers[0].header = "Work";
    f.prompter.events.clear();
    EXPECT_FALSE(f.doc.FileNew()); // Cancel
    EXPECT_EQ(f.EventKinds(), std::vector<std::string>{"save question"});
    EXPECT_EQ(f.prompter.events[0].text, kCloseText);
    EXPECT_EQ(f.tree.headers[0].header, "Work");

    // Save writes the changes, then the resume closes.
    f.prompter.saveChoices.push_back(SaveChoice::Save);
    EXPECT_TRUE(f.doc.FileNew());
    EXPECT_TRUE(f.tree.headers.empty());
    EXPECT_NE(ReadFileBytes(path).find("Work"), std::string::npos);

    // Discard closes without writing.
    f.tree.resume->name = "Changed";
    f.prompter.saveChoices.push_back(SaveChoice::Discard);
    f.prompter.files.push_back(path);
    EXPECT_TRUE(f.doc.OpenResume());
    EXPECT_EQ(f.tree.headers[0].header, "Work");

    // A save that does not happen (the name dialog cancelled) keeps the resume open.
    f.prompter.answers.push_back(true);
    ASSERT_TRUE(f.doc.FileNew());
    f.tree.resume->name = "Unsaved";
    f.prompter.saveChoices.push_back(SaveChoice::Save);
    f.prompter.events.clear();
    EXPECT_FALSE(f.doc.FileNew());
    EXPECT_EQ(f.EventKinds(), (std::vector<std::string>{"save question", "save"}));
    EXPECT_EQ(f.tree.resume->name, "Unsaved");
}

// Records whether the saved file was held by this program when each message came up.
class LockWatchingPrompter : public ScriptedPrompter {
public:
    std::string path;
    std::vector<bool> heldAtMessage;

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        ProtectedFile probe;
        heldAtMessage.push_back(!probe.Open(path));
        ScriptedPrompter::ShowMessage(text, icon);
    }
};

TEST(SaveResume, TheLockIsBackBeforeTheSavedMessage) {
    TempDir dir;
    NodeTree tree{TRELLIC_BIN_DIR};
    HeadlessResumeView view;
    EngineLog log;
    LockWatchingPrompter prompter;
    CTLXDoc doc{tree, view, log, prompter};
    doc.OnNewDocument();
    prompter.path = dir.File("cv.tlx");
    prompter.files.push_back(prompter.path);
    ASSERT_TRUE(doc.SaveResume(true));
    ASSERT_TRUE(doc.StartRNS());
    prompter.heldAtMessage.clear();
    ASSERT_TRUE(doc.SaveResume(false));
    EXPECT_EQ(prompter.Messages().back(), "The resume has been saved.");
    EXPECT_EQ(prompter.heldAtMessage, std::vector<bool>{true});
}

TEST(SaveResume, ATargetAnotherProgramHoldsGetsTheProtectionReport) {
    DocumentFixture f;
    const std::string held = f.dir.File("held.tlx");
    WriteFileBytes(held, "theirs");
    ProtectedFile theirs;
    ASSERT_TRUE(theirs.Open(held));
    const FileResult probe = WriteFileAtomically(held, "probe");
    if (probe.ok) {
        GTEST_SKIP() << "writes do not yet refuse a target another program holds";
    }
    f.prompter.files.push_back(held);
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_NE(f.log.Text().find("**RNS ERROR**\r\nERROR: Resume Network Security could not be "
                                "enabled.\r\n"),
              std::string::npos);
    EXPECT_EQ(f.prompter.Messages(),
              std::vector<std::string>{
                  "An error occurred. Details will be posted to the TLX Engine window."});
    EXPECT_EQ(f.log.Text().find("MEM: Saved file"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(held), "theirs");
    EXPECT_TRUE(f.doc.IsModified());
}

// Writes down each announcement as a word, so a test can compare the whole sequence.
struct RecordingObserver : DocumentObserver {
    std::vector<std::string> heard;
    void OnTreeChanged() override { heard.push_back("tree"); }
    void OnSettingsChanged() override { heard.push_back("settings"); }
    void OnModifiedChanged(bool modified) override {
        heard.push_back(modified ? "modified" : "saved");
    }
    void OnFileNameChanged() override { heard.push_back("file"); }
    void OnProtectionChanged(bool on) override { heard.push_back(on ? "locked" : "unlocked"); }
    std::vector<std::string> Take() { return std::exchange(heard, {}); }
};

TEST(DocumentObserver, HearsWhatEachOperationChangedAndNothingElse) {
    using V = std::vector<std::string>;
    DocumentFixture f;
    RecordingObserver seen;
    f.doc.AddObserver(seen);

    f.doc.SetRenderer(kRendererTxt, true);
    EXPECT_EQ(seen.Take(), (V{"tree", "settings", "modified"})); // the resume's renderer too
    f.prompter.files.push_back(f.dir.File("cv.tlx"));
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_EQ(seen.Take(), (V{"file", "saved"}));
    ASSERT_TRUE(f.doc.StartRNS());
    EXPECT_EQ(seen.Take(), V{"locked"});

    // An open that does not go ahead changes nothing, however much it did on the way.
    EXPECT_FALSE(f.Open(f.dir.File("gone.tlx")));
    f.prompter.answers.clear();
    EXPECT_TRUE(seen.Take().empty());

    f.tree.resume->name = "Edited in place";
    f.doc.TreeChanged();
    EXPECT_EQ(seen.Take(), (V{"tree", "modified"}));

    f.doc.RemoveObserver(seen);
    f.doc.StopRNS();
    EXPECT_TRUE(seen.Take().empty());
}

} // namespace
} // namespace trellic
