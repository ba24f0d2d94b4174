#include "win32/profile_store_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp::win {
namespace {

using test::ReadAll;
using test::WriteAll;

constexpr std::string_view kNonAnsi = "Jörg 日本 \xF0\x9F\x98\x80";  // CJK and a character beyond the BMP

bool IsUnicodeFile(const std::filesystem::path& file) {
    return ReadAll(file).substr(0, 2) == "\xFF\xFE";
}

class ProfileStoreWinTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    Win32ProfileStore store_;
};

TEST_F(ProfileStoreWinTest, NewFilesAreUnicodeNamesIgnoreCaseAndValuesCannotPlantLines) {
    const auto file = dir_ / "Profile.ini";
    EXPECT_EQ(store_.Read(file, "Orvessa", "username"), "");
    ASSERT_TRUE(store_.Write(file, "BackupStatus", "DLLStatus", "2"));
    EXPECT_TRUE(IsUnicodeFile(file));
    ASSERT_TRUE(store_.Write(file, "backupstatus", "dllstatus", "0"));
    EXPECT_EQ(store_.Read(file, "BACKUPSTATUS", "DllStatus"), "0");
    EXPECT_EQ(store_.Read(file, "BackupStatus", "RetValue") + store_.Read(file, "QuotaStatus", "DLLStatus"), "");

    ASSERT_TRUE(store_.Write(file, "Orvessa", "username", kNonAnsi));
    EXPECT_EQ(store_.Read(file, "Orvessa", "username"), kNonAnsi);

    ASSERT_TRUE(store_.Write(file, "Orvessa", "ErrVal", "a\r\n[Registry]\r\nCurrentUser=intruder"));
    EXPECT_EQ(store_.Read(file, "Orvessa", "ErrVal"), "a");
    EXPECT_EQ(store_.Read(file, "Registry", "CurrentUser"), "");
    EXPECT_FALSE(store_.Write(file, "Orvessa\r\n[Registry]", "k", "v"));
}

TEST_F(ProfileStoreWinTest, AFailedWriteIsTracedWithTheApiAndTheError) {
    test::FakeTraceSink trace;
    Win32ProfileStore store(&trace);
    EXPECT_FALSE(store.Write(dir_ / "missing" / "x.ini", "S", "k", "v"));
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_NE(trace.lines[0].find("WritePrivateProfileStringW failed for "), std::string::npos) << trace.lines[0];
    EXPECT_NE(trace.lines[0].find("x.ini [S] k: error 3"), std::string::npos) << trace.lines[0];
}

TEST_F(ProfileStoreWinTest, ValuesOfAnyLengthAreReadWhole) {
    const auto file = dir_ / "Long.ini";
    for (const std::size_t length : {1023u, 1024u, 5000u}) {  // around the first buffer's edge, and beyond
        std::string value;
        for (std::size_t i = 0; value.size() < length; ++i) {
            value += std::to_string(i) + ",";
        }
        value.resize(length);
        ASSERT_TRUE(store_.Write(file, "Orvessa", "List", value));
        EXPECT_EQ(store_.Read(file, "Orvessa", "List"), value) << length;
    }
}

TEST_F(ProfileStoreWinTest, AnAnsiFileIsConvertedOnlyWhenAValueDoesNotFitItsCodePage) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the file below is written in code page 1252";
    }
    const auto file = dir_ / "UserName.ini";
    WriteAll(file, "[Registry]\r\nCurrentUser=J\xF6rg\r\n[Orvessa]\r\nRTBackup=1\r\n");
    ASSERT_TRUE(store_.Write(file, "Orvessa", "Interactive", "ö fits"));
    EXPECT_FALSE(IsUnicodeFile(file));  // the engine may read the file as it was

    ASSERT_TRUE(store_.Write(file, "Registry", "日本", kNonAnsi));
    EXPECT_TRUE(IsUnicodeFile(file));
    EXPECT_EQ(std::tuple(store_.Read(file, "Registry", "日本"), store_.Read(file, "Registry", "CurrentUser"),
                         store_.Read(file, "Orvessa", "RTBackup"), store_.Read(file, "Orvessa", "Interactive")),
              std::tuple(kNonAnsi, "Jörg", "1", "ö fits"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), std::filesystem::directory_iterator()),
              1);  // no temporary left
}

TEST_F(ProfileStoreWinTest, AnEditorsUtf8FileIsConvertedFromUtf8) {
    const auto file = dir_ / "Edited.ini";
    WriteAll(file, "\xEF\xBB\xBF[S]\r\nname=Jörg\r\n");
    ASSERT_TRUE(store_.Write(file, "S", "other", kNonAnsi));
    EXPECT_TRUE(IsUnicodeFile(file));
    EXPECT_EQ(store_.Read(file, "S", "name"), "Jörg");
}

}  // namespace
}  // namespace ovp::win
