#include "engine/file_io.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace trellic {
namespace {

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    testing::TempDir dir;
    const std::string path = dir.File("resume.tlx");
    testing::WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)).ok);
    EXPECT_EQ(testing::ReadFileBytes(path), std::string("new\0bytes", 9));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFile) {
    testing::TempDir dir;
    const std::string path = dir.File("keep.nod");
    testing::WriteFileBytes(path, "good");
    // A folder where the file should go cannot be replaced by a file.
    std::filesystem::create_directory(dir.File("folder"));
    const auto result = WriteFileAtomically(dir.File("folder"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(testing::ReadFileBytes(path), "good");

    const auto missing = WriteFileAtomically(dir.File("no/such/place.nod"), "x");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.failedAt, FileResult::Stage::Open);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(ReadWholeFile, RefusesMissingFoldersAndOversizedFiles) {
    testing::TempDir dir;
    std::string bytes = "unchanged";
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), bytes).ok);
    EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes).ok);
    testing::WriteFileBytes(dir.File("big"), std::string(100, 'x'));
    EXPECT_FALSE(ReadWholeFile(dir.File("big"), bytes, 99).ok);
    EXPECT_EQ(bytes, "unchanged");
    ASSERT_TRUE(ReadWholeFile(dir.File("big"), bytes, 100).ok);
    EXPECT_EQ(bytes, std::string(100, 'x'));
}

} // namespace
} // namespace trellic
