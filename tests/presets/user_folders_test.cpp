#include "engine/engine_log.h"
#include "model/serialize.h"
#include "presets/node_presets.h"
#include "presets/user_folders.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace trellic {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteFileBytes;

// Sets an environment variable (or removes it, for nullopt) until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string ParagraphPreset(int16_t alignment) {
    ParaFormat format{0, alignment, 0, 0};
    Archive ar = Archive::ForStoring();
    SerializePreset(ar, PresetParts::ForParagraphFormat(format));
    return ar.TakeStored();
}

TEST(UserDataFolder, FollowsXdgDataHomeOrHome) {
    struct Row {
        const char* name;
        std::optional<std::string> data;
        std::optional<std::string> home;
        std::string folder;
    };
    const Row rows[] = {
        {"XDG_DATA_HOME wins", "/data/zofia", "/home/zofia", "/data/zofia/trellic"},
        {"unset: below home", std::nullopt, "/home/wang", "/home/wang/.local/share/trellic"},
        {"empty counts as unset", "", "/home/wang", "/home/wang/.local/share/trellic"},
        {"a relative path is ignored", "data", "/home/wang", "/home/wang/.local/share/trellic"},
        {"no home at all", std::nullopt, std::nullopt, ""},
        {"a relative home neither", std::nullopt, "home", ""},
    };
    for (const Row& row : rows) {
        const ScopedEnv data("XDG_DATA_HOME", row.data);
        const ScopedEnv home("HOME", row.home);
        EXPECT_EQ(UserDataFolder(), row.folder) << row.name;
        EXPECT_EQ(UserTemplatesFolder(), row.folder.empty() ? "" : row.folder + "/templates")
            << row.name;
        EXPECT_EQ(UserNodeLibraryFolder(PresetCategory::SLFieldStyles),
                  row.folder.empty() ? "" : row.folder + "/node_library/sl_field_styles")
            << row.name;
    }
}

// A program folder with a node library and templates, and a user data folder beside it.
class UserFolders : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program + "/templates");
        fs::create_directories(NodeLibraryFolder(program, PresetCategory::ParagraphFormat));
        WriteFileBytes(DefaultPresetPath(program, PresetCategory::ParagraphFormat),
                       ParagraphPreset(3));
    }

    std::string UserParagraphFolder() const {
        return UserNodeLibraryFolder(PresetCategory::ParagraphFormat);
    }

    TempDir dir;
    std::string program = dir.File("program");
    std::string data = dir.File("data");
    ScopedEnv xdg{"XDG_DATA_HOME", data};
    EngineLog log;
    ScriptedPrompter prompter;
};

TEST_F(UserFolders, TemplatesComeFromTheProgramAndThenTheUser) {
    EXPECT_EQ(TemplateFolders(program), std::vector<std::string>{program + "/templates"});
    fs::create_directories(data + "/trellic/templates");
    EXPECT_EQ(TemplateFolders(program),
              (std::vector<std::string>{program + "/templates", data + "/trellic/templates"}));
}

TEST_F(UserFolders, TheGalleryOffersTheResumeFilesOfEachFolderInTurn) {
    const std::string user = data + "/trellic/templates";
    fs::create_directories(user + "/older");
    for (const std::string& file :
         {program + "/templates/technical.tlx", program + "/templates/academic_cv.tlx",
          program + "/templates/notes.rtf", program + "/templates/README.md",
          program + "/templates/CAPS.TLX", user + "/mine.txt", user + "/older/old.tlx"}) {
        WriteFileBytes(file, "x");
    }
    fs::create_directories(program + "/templates/folder.tlx");
    EXPECT_EQ(TemplateFiles(TemplateFolders(program)),
              (std::vector<std::string>{program + "/templates/academic_cv.tlx",
                                        program + "/templates/notes.rtf",
                                        program + "/templates/technical.tlx", user + "/mine.txt"}));
    EXPECT_TRUE(TemplateFiles({dir.File("missing")}).empty());
}

TEST_F(UserFolders, TheUsersDefaultTakesThePlaceOfTheShippedOne) {
    ParaFormat format;
    ASSERT_TRUE(LoadDefaultPreset(program, PresetParts::ForParagraphFormat(format), log, prompter));
    EXPECT_EQ(format.alignment, 3); // the shipped one while the user has none

    fs::create_directories(UserParagraphFolder());
    WriteFileBytes(UserParagraphFolder() + "/default.nod", ParagraphPreset(4));
    ASSERT_TRUE(LoadDefaultPreset(program, PresetParts::ForParagraphFormat(format), log, prompter));
    EXPECT_EQ(format.alignment, 4);

    // With the user's own in place, a missing shipped default is nothing to report.
    fs::remove(DefaultPresetPath(program, PresetCategory::ParagraphFormat));
    format = {};
    ASSERT_TRUE(LoadDefaultPreset(program, PresetParts::ForParagraphFormat(format), log, prompter));
    EXPECT_EQ(format.alignment, 4);
    EXPECT_TRUE(prompter.events.empty());
    EXPECT_EQ(log.Text().find("NODE LIBRARY ERROR"), std::string::npos);
}

TEST_F(UserFolders, ADamagedDefaultOfTheUsersIsReportedAndTheShippedOneServes) {
    fs::create_directories(UserParagraphFolder());
    WriteFileBytes(UserParagraphFolder() + "/default.nod", std::string("\x01\x00", 2));
    ParaFormat format;
    ASSERT_TRUE(LoadDefaultPreset(program, PresetParts::ForParagraphFormat(format), log, prompter));
    EXPECT_EQ(format.alignment, 3);
    ASSERT_EQ(prompter.Messages().size(), 1U);
    EXPECT_EQ(prompter.Messages()[0], "An attempt was made to access " + UserParagraphFolder() +
                                          "/default.nod past its end.");
}

TEST_F(UserFolders, PresetsAreSavedForTheUserWhenTheProgramsFolderCannotTakeThem) {
    // A build tree: the program's own folder takes them, and the chooser starts where it likes.
    EXPECT_EQ(PresetSaveFolder(program, PresetCategory::ParagraphFormat), "");
    EXPECT_FALSE(fs::exists(data));

    // A category folder that is not there (or not writable, installed) sends them to the user's
    // folder, made on the way.
    EXPECT_EQ(PresetSaveFolder(program, PresetCategory::Style),
              data + "/trellic/node_library/style");
    EXPECT_TRUE(fs::is_directory(data + "/trellic/node_library/style"));

    // Without any home there is nowhere to suggest.
    const ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
    const ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_EQ(PresetSaveFolder(program, PresetCategory::Style), "");
}

TEST_F(UserFolders, LoadingStartsWithTheUsersPresetsOnceThereAreAny) {
    const auto category = PresetCategory::ParagraphFormat;
    const std::string own = NodeLibraryFolder(program, category);
    EXPECT_EQ(PresetLoadFolder(program, category), own);
    EXPECT_EQ(PresetPlaces(program, category), std::vector<std::string>{own});

    fs::create_directories(UserParagraphFolder());
    EXPECT_EQ(PresetLoadFolder(program, category), own); // an empty folder offers nothing
    WriteFileBytes(UserParagraphFolder() + "/centred.nod", ParagraphPreset(3));
    EXPECT_EQ(PresetLoadFolder(program, category), UserParagraphFolder());
    EXPECT_EQ(PresetPlaces(program, category),
              (std::vector<std::string>{own, UserParagraphFolder()}));
}

} // namespace
} // namespace trellic
