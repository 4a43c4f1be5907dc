#include "engine/engine_log.h"
#include "model/node_tree.h"
#include "model/serialize.h"
#include "presets/node_presets.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "world_texts.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteFileBytes;

std::string Stored(const PresetParts& parts) {
    Archive ar = Archive::ForStoring();
    SerializePreset(ar, parts);
    return ar.TakeStored();
}

// A program folder holding a node library with a default preset for every category.
class NodeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        resume.name = "Library resume";
        resume.renderer = kRendererTxt;
        resume.defaultCharFormat.faceName = "Arial";
        style.headerUnderline = true;
        style.headerStyle.charFormat.faceName = "Georgia";
        textStyle.charFormat.faceName = "Verdana";
        textStyle.paraFormat.alignment = 3;
        paraFormat = {0, 1, 0, 0};
        underline = true;
        bullet = 7;
        Put(PresetParts::ForResume(resume));
        Put(PresetParts::ForStyle(style));
        Put(PresetParts::ForHeaderStyles(underline, textStyle));
        for (const auto category : {PresetCategory::ResumeSectionStyles,
                                    PresetCategory::SLFieldStyles, PresetCategory::MLFieldStyles}) {
            Put(PresetParts::ForBulletStyles(category, bullet, textStyle));
        }
        Put(PresetParts::ForParagraphFormat(paraFormat));
    }

    void Put(const PresetParts& parts) {
        std::filesystem::create_directories(NodeLibraryFolder(dir.Path(), parts.category));
        WriteFileBytes(DefaultPresetPath(dir.Path(), parts.category), Stored(parts));
    }

    TempDir dir;
    EngineLog log;
    ScriptedPrompter prompter;
    ResumeNode resume;
    StyleNode style;
    TextStyle textStyle;
    ParaFormat paraFormat;
    bool underline = false;
    int32_t bullet = 0;
};

TEST(PresetLayout, ParagraphFormatAndPrefixes) {
    ParaFormat format{0, 1, 0, 0};
    EXPECT_EQ(Stored(PresetParts::ForParagraphFormat(format)),
              std::string("\x00\x00\x00\x00\x00\x01\x00\x00\x00", 9));

    bool on = true;
    TextStyle style;
    EXPECT_EQ(Stored(PresetParts::ForHeaderStyles(on, style)).substr(0, 1), "\x01");

    int32_t bullet = 0x0A0B0C0D;
    EXPECT_EQ(Stored(PresetParts::ForBulletStyles(PresetCategory::SLFieldStyles, bullet, style))
                  .substr(0, 4),
              "\x0D\x0C\x0B\x0A");

    ResumeNode resume;
    Archive ar = Archive::ForStoring();
    SerializeResume(ar, resume);
    EXPECT_EQ(Stored(PresetParts::ForResume(resume)), ar.Stored());
}

TEST_F(NodeLibrary, DefaultsLoadForEveryCategory) {
    ResumeNode r;
    StyleNode s;
    TextStyle t;
    ParaFormat p;
    bool u = false;
    int32_t b = 0;
    EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForResume(r), log, prompter));
    EXPECT_EQ(r, resume);
    EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForStyle(s), log, prompter));
    EXPECT_EQ(s, style);
    EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForHeaderStyles(u, t), log, prompter));
    EXPECT_TRUE(u);
    EXPECT_EQ(t, textStyle);
    for (const auto category : {PresetCategory::ResumeSectionStyles, PresetCategory::SLFieldStyles,
                                PresetCategory::MLFieldStyles}) {
        b = 0;
        t = {};
        EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForBulletStyles(category, b, t), log,
                                      prompter));
        EXPECT_EQ(b, 7);
        EXPECT_EQ(t, textStyle);
    }
    EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForParagraphFormat(p), log, prompter));
    EXPECT_EQ(p, paraFormat);
    EXPECT_TRUE(prompter.events.empty());
}

TEST_F(NodeLibrary, MissingDefaultReportsTheNodeLibraryBlockAndKeepsTheParts) {
    std::filesystem::remove(DefaultPresetPath(dir.Path(), PresetCategory::Style));
    log.Clear();
    StyleNode s;
    s.sectionBullet = 4;
    EXPECT_FALSE(LoadDefaultPreset(dir.Path(), PresetParts::ForStyle(s), log, prompter));
    EXPECT_EQ(s.sectionBullet, 4);
    EXPECT_EQ(log.Text(),
              "**NODE LIBRARY ERROR**\r\n"
              "ERROR: Trellic was unable to load a node preset from the Node Library.\r\n"
              "CAUSE: The node preset has been deleted or modified such that it cannot be "
              "opened.\r\n"
              "SOLUTION: Use Trellic's 'Automatic Software Repair' feature. You can find "
              "information on how to do this in the Trellic Documentation under "
              "'Troubleshooting'.\r\n"
              "IMPACT: The node preset is not loaded. All other program operations remain "
              "unaffected.\r\n\r\n");
    ASSERT_EQ(prompter.events.size(), 2U);
    EXPECT_EQ(prompter.events[1].kind, "engine window");

    // The other categories still load.
    ParaFormat p;
    EXPECT_TRUE(LoadDefaultPreset(dir.Path(), PresetParts::ForParagraphFormat(p), log, prompter));
}

TEST_F(NodeLibrary, ResetStartsFromTheResumeDefaultWithTheRtfRenderer) {
    NodeTree tree(dir.Path());
    ResetNodeTree(tree, log, prompter);
    EXPECT_EQ(tree.resume->name, "Library resume");
    EXPECT_EQ(tree.resume->defaultCharFormat.faceName, "Arial");
    EXPECT_EQ(tree.resume->renderer, 0); // the preset said 1
    EXPECT_TRUE(prompter.events.empty());
}

TEST_F(NodeLibrary, MissingResumeDefaultIsReportedOnEveryReset) {
    std::filesystem::remove(DefaultPresetPath(dir.Path(), PresetCategory::Resume));
    NodeTree tree(dir.Path());
    ResetNodeTree(tree, log, prompter);
    ResetNodeTree(tree, log, prompter);
    EXPECT_EQ(prompter.Messages().size(), 2U);
    EXPECT_EQ(*tree.resume, ResumeNode{});
    EXPECT_EQ(tree.activeStack, std::vector<StackEntry>{kResumeEntry});
}

TEST_F(NodeLibrary, ShortPresetIsReportedAndChangesNothing) {
    const std::string path = DefaultPresetPath(dir.Path(), PresetCategory::Resume);
    const std::string full = ReadFileBytes(path);
    WriteFileBytes(path, full.substr(0, full.size() / 2));
    ResumeNode r;
    r.name = "Before";
    EXPECT_EQ(ReadPreset(PresetParts::ForResume(r), path, prompter), PresetReadResult::PastEnd);
    EXPECT_EQ(r.name, "Before");
    EXPECT_EQ(r.defaultCharFormat.faceName, "");
    ASSERT_EQ(prompter.events.size(), 1U);
    EXPECT_EQ(prompter.events[0].text, "An attempt was made to access " + path + " past its end.");
    EXPECT_EQ(prompter.events[0].icon, MessageIcon::Exclamation);

    // A damaged default is not a missing one: no node library block.
    NodeTree tree(dir.Path());
    log.Clear();
    ResetNodeTree(tree, log, prompter);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(*tree.resume, ResumeNode{});
    EXPECT_EQ(tree.activeStack, std::vector<StackEntry>{kResumeEntry});
}

TEST_F(NodeLibrary, MissingChosenPresetIsSilent) {
    ParaFormat p{3, 2, 1, 4};
    EXPECT_EQ(ReadPreset(PresetParts::ForParagraphFormat(p), dir.File("nope.nod"), prompter),
              PresetReadResult::NotOpened);
    EXPECT_EQ(p, (ParaFormat{3, 2, 1, 4}));
    EXPECT_TRUE(prompter.events.empty());
}

TEST_F(NodeLibrary, BulletPresetsAreSharedAcrossTheirCategories) {
    int32_t savedBullet = 12;
    TextStyle saved;
    saved.charFormat.faceName = "Tahoma";
    saved.charFormat.bold = true;
    saved.paraFormat.indent = 2;
    prompter.files.push_back(dir.File("mine.nod"));
    ASSERT_TRUE(SavePresetAs(
        PresetParts::ForBulletStyles(PresetCategory::SLFieldStyles, savedBullet, saved), prompter));
    const auto& options = prompter.events[0].options;
    EXPECT_EQ(options.filter, "Node Presets (*.nod)|*.nod||");
    EXPECT_EQ(options.defaultExtension, "nod");
    EXPECT_TRUE(options.initialFolder.empty());
    EXPECT_TRUE(options.overwritePrompt);

    int32_t bullet = 0;
    TextStyle loaded;
    EXPECT_EQ(ReadPreset(
                  PresetParts::ForBulletStyles(PresetCategory::ResumeSectionStyles, bullet, loaded),
                  dir.File("mine.nod"), prompter),
              PresetReadResult::Read);
    EXPECT_EQ(bullet, 12);
    EXPECT_EQ(loaded, saved);
}

TEST_F(NodeLibrary, PresetsKeepNamesAndFacesInEveryScript) {
    for (const auto& world : testing::WorldTexts()) {
        ResumeNode saved;
        saved.name = world.name;
        saved.description = world.sentence;
        saved.defaultCharFormat.faceName = world.name; // a face named in its own script
        saved.style.info.author = world.name;
        const std::string path = dir.File(world.name + ".nod");
        prompter.files.push_back(path);
        ASSERT_TRUE(SavePresetAs(PresetParts::ForResume(saved), prompter)) << world.language;
        // The wide form starts at once: the first text is the face name.
        EXPECT_EQ(ReadFileBytes(path).substr(14, 3), "\xFF\xFE\xFF") << world.language;
        ResumeNode loaded;
        EXPECT_EQ(ReadPreset(PresetParts::ForResume(loaded), path, prompter),
                  PresetReadResult::Read);
        EXPECT_EQ(loaded, saved) << world.language;
    }
}

TEST_F(NodeLibrary, TrailingBytesAreIgnoredAndCancelWritesNothing) {
    const std::string path = dir.File("long.nod");
    WriteFileBytes(path, std::string("\x00\x00\x00\x00\x00\x04\x00\x02\x00"
                                     "extra",
                                     14));
    ParaFormat p;
    EXPECT_EQ(ReadPreset(PresetParts::ForParagraphFormat(p), path, prompter),
              PresetReadResult::Read);
    EXPECT_EQ(p, (ParaFormat{2, 4, 0, 0}));

    EXPECT_FALSE(SavePresetAs(PresetParts::ForParagraphFormat(p), prompter));
    prompter.files.push_back(dir.File("no/such/folder.nod"));
    EXPECT_FALSE(SavePresetAs(PresetParts::ForParagraphFormat(p), prompter));
}

TEST(PresetCategories, FolderNamesRoundTrip) {
    for (const auto category : kAllPresetCategories) {
        PresetCategory back = PresetCategory::Resume;
        ASSERT_TRUE(PresetCategoryFromName(PresetFolderName(category), back));
        EXPECT_EQ(back, category);
    }
    PresetCategory unused = PresetCategory::Resume;
    EXPECT_FALSE(PresetCategoryFromName("headers", unused));
    EXPECT_STREQ(PresetFolderName(PresetCategory::SLFieldStyles), "sl_field_styles");
}

} // namespace
} // namespace trellic
