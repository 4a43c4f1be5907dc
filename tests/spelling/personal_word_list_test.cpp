#include "scoped_environment.h"
#include "spelling/personal_word_list.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace trellic {
namespace {

using testing::ReadFileBytes;
using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteFileBytes;

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(PersonalWordList, FirstWordCreatesTheFoldersForTheUserAlone) {
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    PersonalWordList list(dir.File("data/trellic/personal-dictionary.txt"));
    ASSERT_TRUE(list.Load().ok); // nothing there yet: an empty list
    EXPECT_TRUE(list.Words().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("data")));

    ASSERT_TRUE(list.Add("Trellic").ok);
    ASSERT_TRUE(list.Add("na\u00efve").ok);
    ASSERT_TRUE(list.Add("Trellic").ok); // once is enough
    EXPECT_EQ(ReadFileBytes(list.Path()), "Trellic\nna\u00efve\n");
    EXPECT_EQ(ModeOf(dir.File("data")), 0700U);
    EXPECT_EQ(ModeOf(dir.File("data/trellic")), 0700U);
    EXPECT_EQ(ModeOf(dir.Path()), 0755U); // folders that were there are left as they were

    PersonalWordList again(list.Path());
    ASSERT_TRUE(again.Load().ok);
    EXPECT_EQ(again.Words(), (std::vector<std::string>{"Trellic", "na\u00efve"}));
}

TEST(PersonalWordList, AddingKeepsWhatOthersWroteToTheFile) {
    TempDir dir;
    const std::string path = dir.File("words.txt");
    const std::string edited = "alpha\r\n  beta \n\n\xff\xfe not text";
    WriteFileBytes(path, edited);
    PersonalWordList list(path);
    ASSERT_TRUE(list.Load().ok);
    EXPECT_EQ(list.Words(), (std::vector<std::string>{"alpha", "beta", "\xff\xfe not text"}));

    // Another copy of the program adds a word after this one read the file.
    WriteFileBytes(path, edited + "\ngamma\n");
    ASSERT_TRUE(list.Add("delta").ok);
    EXPECT_EQ(ReadFileBytes(path), edited + "\ngamma\ndelta\n");
    EXPECT_EQ(list.Words().size(), 5U);
}

TEST(PersonalWordList, AFileThatCannotBeReadIsNeverReplaced) {
    TempDir dir;
    // A folder where the file should be, and a file larger than any word list.
    std::filesystem::create_directories(dir.File("folder.txt"));
    PersonalWordList folder(dir.File("folder.txt"));
    EXPECT_FALSE(folder.Load().ok);
    EXPECT_FALSE(folder.Add("word").ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.txt")));

    const std::string huge(PersonalWordList::kMaxBytes + 1, 'a');
    WriteFileBytes(dir.File("huge.txt"), huge);
    PersonalWordList big(dir.File("huge.txt"));
    EXPECT_FALSE(big.Load().ok);
    EXPECT_FALSE(big.Add("word").ok);
    EXPECT_EQ(ReadFileBytes(dir.File("huge.txt")).size(), huge.size());

    PersonalWordList list(dir.File("words.txt"));
    for (const char* notAWord : {"", "two\nlines", "bad \xc3 byte"}) {
        EXPECT_FALSE(list.Add(notAWord).ok) << notAWord;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("words.txt")));
}

TEST(PersonalWordListPath, LiesInTheUsersDataFolder) {
    ScopedEnvironment environment;
    environment.Set("XDG_DATA_HOME", "/srv/ann/data");
    EXPECT_EQ(PersonalWordListPath(), "/srv/ann/data/trellic/personal-dictionary.txt");
    environment.Set("HOME", "/home/ann");
    environment.Set("XDG_DATA_HOME", "relative/data"); // not absolute: ignored
    EXPECT_EQ(PersonalWordListPath(), "/home/ann/.local/share/trellic/personal-dictionary.txt");
    environment.Set("XDG_DATA_HOME", nullptr);
    environment.Set("HOME", nullptr);
    EXPECT_EQ(PersonalWordListPath(), "");
}

} // namespace
} // namespace trellic
