#include "base/files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/datetime.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

// Under Wine this also renames over an existing target, which Windows refuses unless asked to.
TEST(FilesTest, ReplaceOverwritesWholeLeavesNoTemporaryKeepsNonAsciiNamesAndNeedsTheFolder) {
    TempDir dir;
    const auto file = dir / "Jörg日本.txt";
    WriteAll(file, "old content that is longer");
    // What a writer killed before its rename left behind goes; files merely named alike stay.
    WriteAll(dir / "Jörg日本.txt.tmp40213", "torn");
    WriteAll(dir / "Jörg日本.txt.tmpfile", "user's");
    ASSERT_TRUE(ReplaceFileBytes(file, "new"));
    ASSERT_TRUE(ReplaceFileBytes(file, "newer"));
    EXPECT_EQ(ReadAll(file), "newer");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        names.insert(Utf8FromPath(entry.path().filename()));
    }
    EXPECT_EQ(names, (std::set<std::string>{"Jörg日本.txt", "Jörg日本.txt.tmpfile"}));
    EXPECT_FALSE(ReplaceFileBytes(dir / "no/such/folder/x.txt", "x"));
    EXPECT_FALSE(FolderExists(dir / "no"));
}

TEST(FilesTest, Utf16LinesGetOneBomAndCrLf) {
    TempDir dir;
    const auto file = dir / "trace.txt";
    ASSERT_TRUE(AppendUtf16Line(file, "Ä"));
    ASSERT_TRUE(AppendUtf16Line(file, "b"));
    EXPECT_EQ(ReadAll(file), std::string("\xFF\xFE\xC4\0\r\0\n\0b\0\r\0\n\0", 14));
}

TEST(FilesTest, ReadRefusesFilesOverTheLimitAndMissingFiles) {
    TempDir dir;
    WriteAll(dir / "big", std::string(100, 'x'));
    EXPECT_EQ(ReadFileBytes(dir / "big", 99), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir / "big", 100)->size(), 100u);
    EXPECT_EQ(ReadFileBytes(dir / "missing"), std::nullopt);
}

TEST(DateTimeTest, StampRoundTripAndArithmeticAcrossTheYearEnd) {
    const auto at = ParseStamp("12-31-2026 23:55:00");
    ASSERT_TRUE(at);
    EXPECT_EQ(FormatStamp(at->AddMinutes(10)), "01-01-2027 00:05:00");
    EXPECT_EQ(FormatStamp(DateTime{2028, 2, 28, 12, 0, 0}.AddDays(1)), "02-29-2028 12:00:00");
    EXPECT_EQ(ParseStamp("02-30-2026 10:00:00"), std::nullopt);
    EXPECT_EQ(ParseStamp("2026-01-01 10:00:00"), std::nullopt);
    EXPECT_EQ((DateTime{2026, 12, 6, 0, 0, 0}.WeekDay()), 1);  // a Sunday
}

}  // namespace
}  // namespace ovp
