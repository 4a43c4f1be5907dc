#include "document/session_folders.h"
#include "document_fixture.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::DocumentFixture;
using testing::ScriptedPrompter;

TEST(SessionFolders, StartInDocumentsThenWhereTheUserWasLast) {
    SessionFolders folders;
    EXPECT_EQ(folders.OpenFolder(), ""); // no desktop: the chooser's own choice
    folders.SetDocumentsFolder("/home/zofia/Dokumenty");
    folders.AddProgramFolder("/usr/lib/trellic");
    folders.AddProgramFolder("/home/zofia/.local/share/trellic");
    EXPECT_EQ(folders.OpenFolder(), "/home/zofia/Dokumenty");

    // The program's folders, and anything below them however written, are never remembered.
    for (const char* path : {"/usr/lib/trellic/templates/chronological.tlx",
                             "/usr/lib/trellic/./templates/../templates/graduate.tlx",
                             "/home/zofia/.local/share/trellic/templates/mine.tlx"}) {
        folders.Used(path);
        EXPECT_EQ(folders.OpenFolder(), "/home/zofia/Dokumenty") << path;
    }
    // A folder that merely starts with the same letters is the user's own.
    folders.Used("/usr/lib/trellic-old/cv.tlx");
    EXPECT_EQ(folders.OpenFolder(), "/usr/lib/trellic-old");
    folders.Used("/home/zofia/\xe5\xb7\xa5\xe4\xbd\x9c/cv.rtf");
    EXPECT_EQ(folders.OpenFolder(), "/home/zofia/\xe5\xb7\xa5\xe4\xbd\x9c");
}

TEST(SessionFolders, SaveBesideTheFileUnlessItIsTheProgramsOwn) {
    SessionFolders folders;
    folders.SetDocumentsFolder("/home/wang/Documents");
    folders.AddProgramFolder("/opt/trellic/");
    EXPECT_EQ(folders.SaveFolder("/home/wang/cv/Wang Wei.tlx"), "/home/wang/cv");
    EXPECT_EQ(folders.SaveFolder("/opt/trellic/templates/senior.tlx"), "/home/wang/Documents");
    EXPECT_EQ(folders.SaveFolder(""), "/home/wang/Documents");
    folders.Used("/tmp/out/a.pdf");
    EXPECT_EQ(folders.SaveFolder(""), "/tmp/out");

    // An export is named after the resume's file, unless that is a template of the program's.
    EXPECT_EQ(folders.ExportName("/home/wang/cv/Wang Wei.tlx", "My Resume"), "Wang Wei");
    EXPECT_EQ(folders.ExportName("/opt/trellic/templates/senior.tlx", "My Resume"), "My Resume");
    EXPECT_EQ(folders.ExportName("", "Senior"), "Senior");
}

TEST(SessionFolders, NamesOfPaths) {
    EXPECT_EQ(FolderOf("/home/a/cv.tlx"), "/home/a");
    EXPECT_EQ(FolderOf("/cv.tlx"), "/");
    EXPECT_EQ(FolderOf("cv.tlx"), "");
    EXPECT_EQ(BaseNameOf("/home/a/Jan Kowalski.tlx"), "Jan Kowalski");
    EXPECT_EQ(BaseNameOf("/home/a/cv.backup.rtf"), "cv.backup");
    EXPECT_EQ(BaseNameOf("/home/a/.hidden"), ".hidden");
    EXPECT_EQ(BaseNameOf("README"), "README");
}

// A user who picks from the template gallery; it is shown the folders it lists.
class GalleryPrompter : public ScriptedPrompter {
public:
    std::optional<std::string> ChooseTemplate(const std::vector<std::string>& shown,
                                              const FileDialogOptions& chooser) override {
        folders = shown;
        chooserOptions = chooser;
        events.push_back({"gallery", {}, MessageIcon::Information, chooser});
        return chosen;
    }
    std::vector<std::string> folders;
    FileDialogOptions chooserOptions;
    std::optional<std::string> chosen;
};

struct GalleryFixture {
    GalleryFixture() {
        doc.OnNewDocument();
        folders().SetDocumentsFolder(dir.File("Documents"));
        folders().AddProgramFolder(TRELLIC_BIN_DIR);
    }
    SessionFolders& folders() { return doc.Folders(); }

    NodeTree tree{TRELLIC_BIN_DIR};
    HeadlessResumeView view;
    EngineLog log;
    GalleryPrompter prompter;
    CTLXDoc doc{tree, view, log, prompter};
    testing::TempDir dir;
};

TEST(NewFromTemplate, AGalleryChoiceGoesOnAsAChosenFileDoes) {
    GalleryFixture f;
    const std::string chronological = std::string(TRELLIC_BIN_DIR) + "/templates/chronological.tlx";
    f.prompter.chosen = chronological;
    f.prompter.answers = {true, true}; // close the new resume; alter the design
    f.log.Clear();
    ASSERT_TRUE(f.doc.NewFromTemplate());

    ASSERT_FALSE(f.prompter.folders.empty());
    EXPECT_EQ(f.prompter.folders.front(), std::string(TRELLIC_BIN_DIR) + "/templates");
    EXPECT_EQ(f.prompter.chooserOptions.initialFolder, f.prompter.folders.front());
    EXPECT_EQ(f.prompter.chooserOptions.filter, kTrellicFileFilter);
    const std::string expected = "EXEC: Trellic 'Open' command has started.\r\n\r\n"
                                 "INFO: Loading TLX file.\r\n\r\n"
                                 "MEM: Loaded file: " +
                                 chronological + "\r\n\r\n" + testing::kProbe +
                                 "EXEC: RTF Renderer activated.\r\n\r\n";
    EXPECT_EQ(f.log.Text(), expected);
    ASSERT_EQ(f.prompter.events.size(), 4U);
    EXPECT_EQ(f.prompter.events[0].kind, "gallery");
    EXPECT_EQ(f.prompter.events[2].text, "Would you like to alter the resume's design?");
    EXPECT_EQ(f.prompter.events[3].kind, "designer");
    EXPECT_TRUE(f.tree.filePath.empty());

    // The template's folder is not where the user's own files go, nor where Open starts.
    f.prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_EQ(f.prompter.events.back().kind, "save");
    EXPECT_EQ(f.prompter.events.back().options.initialFolder, f.dir.File("Documents"));
    EXPECT_EQ(f.prompter.events.back().options.initialName, "My Resume");
}

TEST(NewFromTemplate, ACancelledGalleryStillClearsThePathAndAsks) {
    GalleryFixture f;
    f.prompter.answers = {false};
    EXPECT_FALSE(f.doc.NewFromTemplate());
    ASSERT_EQ(f.prompter.events.size(), 3U);
    EXPECT_EQ(f.prompter.events[0].kind, "gallery");
    EXPECT_EQ(f.prompter.events[2].kind, "explorer");
}

TEST(SessionFolders, OpenAndSaveAsFollowTheUsersFolders) {
    GalleryFixture f;
    // Open starts in Documents, and afterwards where the user last opened or saved.
    f.prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(f.doc.OpenResume());
    EXPECT_EQ(f.prompter.events.back().options.initialFolder, f.dir.File("Documents"));

    const std::string saved = f.dir.File("cv.tlx");
    f.prompter.files.push_back(saved);
    ASSERT_TRUE(f.doc.SaveResume(true));
    EXPECT_EQ(f.prompter.events[1].options.initialFolder, f.dir.File("Documents"));
    f.prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(f.doc.OpenResume());
    EXPECT_EQ(f.prompter.events.back().options.initialFolder, f.dir.Path());
    // Save As of a resume with a file starts beside it.
    f.prompter.files.push_back(std::nullopt);
    EXPECT_FALSE(f.doc.SaveResume(true));
    EXPECT_EQ(f.prompter.events.back().options.initialFolder, f.dir.Path());
}

} // namespace
} // namespace trellic
