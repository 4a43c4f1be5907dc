// Runs `tlxtool check --spelling` on resumes with known misspellings.

#include "model/tlx_file.h"
#include "spelling/spell_checker.h"
#include "temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The tool in a clean locale with its own data folder; environment adds to or overrides that.
ToolRun CheckSpelling(const TempDir& dir, const std::string& arguments,
                      const std::string& environment = {}) {
    const std::string command = "env -u LC_ALL -u LC_MESSAGES LANG=C XDG_DATA_HOME='" +
                                dir.File("data") + "' " + environment + " " + TRELLIC_BIN_DIR +
                                "/tlxtool check --spelling " + arguments + " >'" +
                                dir.File("out.txt") + "' 2>'" + dir.File("err.txt") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFileBytes(dir.File("out.txt")),
            ReadFileBytes(dir.File("err.txt"))};
}

// A resume whose active nodes hold a misspelling in each of their shown texts, and an inactive
// node whose misspelling is never shown.
std::string ResumeWithMisspellings() {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->description = "Not shwon anywhere";
    HeaderNode& header = tree.headers.emplace_back();
    header.header = "Experiance";
    ResumeSectionNode& section = tree.resumeSections.emplace_back();
    section.title = "Sofware Engineer";
    section.data.text = "Led a team of five.\r\nCut costs by 20% through beter tooling.";
    SLFieldNode& field = tree.slFields.emplace_back();
    field.fieldName = "Languges";
    field.fieldData = "Fran\u00e7ais, English";
    RTFOutputNode& rtf = tree.rtfOutputs.emplace_back();
    rtf.output.text = "{\\rtf1\\ansi Rich \\b bold\\b0  wrods\\par second}";
    HeaderNode& inactive = tree.headers.emplace_back();
    inactive.header = "Unsed";
    tree.activeStack.insert(tree.activeStack.end(), {{0, kKindHeader},
                                                     {0, kKindResumeSection},
                                                     {0, kKindSLField},
                                                     {0, kKindRTFOutput},
                                                     {0, kKindHeader}});
    tree.inactiveStack.push_back({1, kKindHeader});
    return WriteTLX(tree);
}

TEST(SpellingCheck, NamesTheNodeAndTextOfEachMisspeltWord) {
    TempDir dir;
    const std::string path = dir.File("cv.tlx");
    WriteFileBytes(path, ResumeWithMisspellings());
    const ToolRun run = CheckSpelling(dir, "'" + path + "' --lang en_US");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, path + ": Header \"Experiance\", header: Experiance\n" + path +
                           ": Resume Section \"Sofware Engineer\", title: Sofware\n" + path +
                           ": Resume Section \"Sofware Engineer\", text line 2: beter\n" + path +
                           ": Single Line Field \"Languges\", name: Languges\n" + path +
                           ": Single Line Field \"Languges\", data: Fran\u00e7"
                           "ais\n" +
                           path + ": Rich Text File Output \"\", text line 1: wrods\n" + path +
                           ": 6 misspelt words (en_US)\n");
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(SpellingCheck, NamesTheParagraphInResumeViewFiles) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.rtf"),
                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Wingdings;}}"
                   "\\f0 Teh first paragraph.\\par Second is {\\f1 \\'fc} fine.\\par\\par "
                   "Fourth has managment.\\par}");
    const ToolRun rtf = CheckSpelling(dir, "'" + dir.File("cv.rtf") + "'");
    EXPECT_EQ(rtf.status, 1) << rtf.err;
    EXPECT_EQ(rtf.out, dir.File("cv.rtf") + ": paragraph 1: Teh\n" + dir.File("cv.rtf") +
                           ": paragraph 4: managment\n" + dir.File("cv.rtf") +
                           ": 2 misspelt words (en_US)\n");

    WriteFileBytes(dir.File("cv.txt"), "Ann Smith\r\nSoftware engineer, ann@example.com\r\n");
    const ToolRun txt = CheckSpelling(dir, "'" + dir.File("cv.txt") + "'");
    EXPECT_EQ(txt.status, 0) << txt.err;
    EXPECT_EQ(txt.out, dir.File("cv.txt") + ": no misspelt words (en_US)\n");
}

TEST(SpellingCheck, LanguageComesFromTheOptionOrTheLocale) {
    TempDir dir;
    WriteFileBytes(dir.File("colour.txt"), "colour\n");
    WriteFileBytes(dir.File("color.txt"), "color\n");
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("colour.txt") + "' --lang en_GB").status, 0);
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("color.txt") + "' --lang en_GB").status, 1);
    EXPECT_EQ(CheckSpelling(dir, "--lang=en_US '" + dir.File("color.txt") + "'").status, 0);
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("colour.txt") + "' --lang en_US").status, 1);
    // Without the option, the locale's language; LC_ALL before LANG.
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("colour.txt") + "'", "LANG=en_GB.UTF-8").status, 0);
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("colour.txt") + "'",
                            "LANG=en_GB.UTF-8 LC_ALL=en_US.UTF-8")
                  .status,
              1);
}

TEST(SpellingCheck, AcceptsWhatWasAddedToTheDictionary) {
    TempDir dir;
    WriteFileBytes(dir.File("cv.txt"), "Quelmar and Trellic\n");
    EXPECT_EQ(CheckSpelling(dir, "'" + dir.File("cv.txt") + "'").status, 1);

    SpellChecker checker(PersonalWordList(dir.File("data/trellic/personal-dictionary.txt")));
    ASSERT_TRUE(checker.AddToDictionary("Quelmar").ok);
    ASSERT_TRUE(checker.AddToDictionary("Trellic").ok);
    const ToolRun run = CheckSpelling(dir, "'" + dir.File("cv.txt") + "' --lang en_GB");
    EXPECT_EQ(run.status, 0) << run.out;

    // A word list that cannot be read is said to be unused, and the check goes on.
    std::filesystem::remove(dir.File("data/trellic/personal-dictionary.txt"));
    std::filesystem::create_directory(dir.File("data/trellic/personal-dictionary.txt"));
    const ToolRun unread = CheckSpelling(dir, "'" + dir.File("cv.txt") + "'");
    EXPECT_EQ(unread.status, 1);
    EXPECT_NE(unread.err.find("personal-dictionary.txt"), std::string::npos) << unread.err;
}

TEST(SpellingCheck, ProblemsEndInOneLineAndStatusOne) {
    TempDir dir;
    WriteFileBytes(dir.File("bad.tlx"), "\x06TLX4QW and more");
    const std::pair<std::string, std::string> rows[] = {
        {"'" + dir.File("missing.rtf") + "'", dir.File("missing.rtf") + ": No such file"},
        {"'" + dir.File("bad.tlx") + "'", dir.File("bad.tlx") + ": "},
        {"'" + dir.File("bad.tlx") + "' --lang xx_XX", "no xx_XX dictionary is installed"},
    };
    for (const auto& [arguments, message] : rows) {
        const ToolRun run = CheckSpelling(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    // No dictionary anywhere the library looks.
    const ToolRun none =
        CheckSpelling(dir, "'" + dir.File("bad.tlx") + "'", "XDG_DATA_DIRS=/nonexistent DICPATH=");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no spelling dictionary is installed"), std::string::npos) << none.err;
    const ToolRun noLanguage = CheckSpelling(dir, "'" + dir.File("bad.tlx") + "' --lang");
    EXPECT_EQ(noLanguage.status, 1);
    EXPECT_NE(noLanguage.err.find("--lang needs a LANGUAGE"), std::string::npos);
}

} // namespace
} // namespace trellic
