#include "model/node_tree.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace trellic::testing {
namespace {

namespace fs = std::filesystem;

// A home of the test's own with a Documents folder, for as long as the test runs.
struct TestHome {
    TestHome() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        fs::create_directories(documents);
        ::setenv("HOME", dir.Path().c_str(), 1);
        // No user-dirs.dirs of the machine's: the desktop's default, ~/Documents.
        ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    }
    ~TestHome() {
        for (const auto& [name, value] : saved) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    TempDir dir;
    std::string documents = dir.File("Documents");
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};

std::string Template(const char* name) {
    return std::string(TRELLIC_BIN_DIR) + "/templates/" + name;
}

TEST(UserFolders, AResumeFromATemplateIsSavedAndExportedAmongTheUsersDocuments) {
    TestHome home;
    StartedApp started;
    // Open starts in Documents.
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileOpen");
    ASSERT_FALSE(started.prompter.events.empty());
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.documents);

    started.prompter.files.push_back(Template("chronological.tlx"));
    started.prompter.answers = {true, false};
    started.Trigger("fileNewFromTemplate");
    ASSERT_EQ(started.app.Tree().headers.size(), 5U);

    // Never the read-only templates folder: Documents, and the resume's own name for a PDF.
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileSaveAs");
    EXPECT_EQ(started.prompter.events.back().kind, "save");
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.documents);
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileExportPdf");
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.documents);
    EXPECT_EQ(started.prompter.events.back().options.initialName, "Chronological.pdf");
    for (const auto& [action, name] : {std::pair{"fileExportDocx", "Chronological.docx"},
                                       std::pair{"fileExportOdt", "Chronological.odt"}}) {
        started.prompter.files.push_back(std::nullopt);
        started.Trigger(action);
        EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.documents);
        EXPECT_EQ(started.prompter.events.back().options.initialName, name);
    }

    // Saved in a folder of the user's: the PDF goes beside it under its name, and Open starts
    // there from now on.
    const std::string cv = home.dir.File("cv/Zofia \xc5\x81\xc4\x85"
                                         "cka.tlx");
    fs::create_directories(home.dir.File("cv"));
    started.prompter.files.push_back(cv);
    started.Trigger("fileSaveAs");
    ASSERT_TRUE(fs::exists(cv));
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileExportPdf");
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.dir.File("cv"));
    EXPECT_EQ(started.prompter.events.back().options.initialName, "Zofia \xc5\x81\xc4\x85"
                                                                  "cka.pdf");
    // A Word document goes there too, and Open follows where it went.
    const std::string docx = home.dir.File("letters/cv.docx");
    fs::create_directories(home.dir.File("letters"));
    started.prompter.files.push_back(docx);
    started.Trigger("fileExportDocx");
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.dir.File("cv"));
    EXPECT_EQ(started.prompter.events.back().options.initialName, "Zofia \xc5\x81\xc4\x85"
                                                                  "cka.docx");
    ASSERT_TRUE(fs::exists(docx));
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileOpen");
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.dir.File("letters"));
}

TEST(UserFolders, WithoutADocumentsFolderHomeServes) {
    TestHome home;
    fs::remove(home.documents);
    StartedApp started;
    started.prompter.files.push_back(std::nullopt);
    started.Trigger("fileOpen");
    ASSERT_FALSE(started.prompter.events.empty());
    EXPECT_EQ(started.prompter.events.back().options.initialFolder, home.dir.Path());
}

} // namespace
} // namespace trellic::testing
