#include "model/protected_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace trellic {
namespace {

TEST(ProtectedFile, HoldsARegularFileAgainstASecondHolder) {
    testing::TempDir dir;
    const std::string path = dir.File("cv.tlx");
    testing::WriteFileBytes(path, "resume");
    ProtectedFile first;
    ProtectedFile second;
    ASSERT_TRUE(first.Open(path));
    EXPECT_FALSE(second.Open(path));
    first.Close();
    EXPECT_TRUE(second.Open(path));
}

TEST(ProtectedFile, RefusesPipesDevicesAndMissingFilesAtOnce) {
    testing::TempDir dir;
    const std::string pipe = dir.File("pipe.tlx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ProtectedFile file;
    // Opening a pipe for reading waits until someone writes to it.
    EXPECT_FALSE(file.Open(pipe));
    EXPECT_FALSE(file.Open("/dev/null"));
    EXPECT_FALSE(file.Open(dir.File("missing.tlx")));
    EXPECT_FALSE(file.Open(dir.Path()));
    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
} // namespace trellic
