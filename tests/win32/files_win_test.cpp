// Replacing a file means renaming over an existing target, which Windows refuses unless asked to.
#include "base/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace ovp {
namespace {

TEST(FilesWinTest, ReplaceRenamesOverAnExistingFile) {
    test::TempDir dir;
    const auto file = dir / "scheduleData.txt";
    test::WriteAll(file, "old content that is longer");
    ASSERT_TRUE(ReplaceFileBytes(file, "new"));
    ASSERT_TRUE(ReplaceFileBytes(file, "newer"));
    EXPECT_EQ(test::ReadAll(file), "newer");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace ovp
