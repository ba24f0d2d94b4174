#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "win32/profile_store_win.h"

namespace ovp::win {
namespace {

using namespace std::string_view_literals;

// The whole-file reading must give every value exactly as GetPrivateProfileString does: the tray
// tick decides from it.
TEST(ProfileSnapshotWinTest, TheWholeFileReadsAsGetPrivateProfileStringReadsEachValue) {
    struct Case {
        std::string_view bytes;
        std::string_view section;
        std::string_view key;
    };
    const Case cases[] = {
        {"[BackupStatus]\r\n  DLLStatus  =  3  \r\n", "backupSTATUS", "dllstatus"},
        {"[S]\r\nk=\t v \t\r\n", "S", "k"},
        {"[S]\r\nk=\"a b\"\r\n", "S", "k"},
        {"[S]\r\nk= ' x ' \r\n", "S", "k"},
        {"[S]\r\nk=\"\r\n", "S", "k"},
        {"[S]\r\nk=\"a\"b\"\r\n", "S", "k"},
        // The forms values are stored in so that they read back whole (ProfileValueToStore).
        {"[S]\r\nk=\"\"a\"\"\r\n", "S", "k"},
        {"[S]\r\nk=\"'b'\"\r\n", "S", "k"},
        {"[S]\r\nk=\" c\t\"\r\n", "S", "k"},
        {"[S]\r\nk=''\r\n", "S", "k"},
        {"[S]\r\nk=\"d'\r\n", "S", "k"},
        {"[S]\r\nk=1\r\nK=2\r\n", "S", "k"},
        {"[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\na=3\r\nc=4\r\n", "S", "a"},
        {"[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\na=3\r\nc=4\r\n", "S", "c"},
        {"[S]\r\n;k=1\r\nk=2;3\r\n", "S", "k"},
        {"[ S ]\r\nk=1\r\n", "S", "k"},
        {"  [S]  \r\n  k=1\r\n", "S", "k"},
        {"[S]\nk=1\nj=2\n", "S", "j"},
        {"[S]\rk=1\rj=2\r", "S", "k"},
        {"k=0\r\n[S]\r\nk=1\r\n", "S", "k"},
        {"[S\r\nk=1\r\n", "S", "k"},
        {"[S]x\r\nk=1\r\n", "S", "k"},
        {"[S]\r\nk\r\nk=1\r\n", "S", "k"},
        {"[S]\r\nk=caf\xE9\r\n", "S", "k"},
        {"\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE5\x65\x2C\x67\r\0\n\0"sv, "S", "k"},
        {"[S]\r\nk=1\r\n", "T", "k"},
    };
    test::TempDir dir;
    Win32ProfileStore store;
    int index = 0;
    for (const Case& c : cases) {
        const auto file = dir / ("case" + std::to_string(index++) + ".ini");
        test::WriteAll(file, c.bytes);
        const std::optional<IniText> whole = store.ReadAll(file);
        ASSERT_TRUE(whole.has_value()) << c.bytes;
        EXPECT_EQ(whole->Get(c.section, c.key), store.Read(file, c.section, c.key)) << c.bytes;
    }
    EXPECT_EQ(store.ReadAll(dir / "missing.ini")->Get("S", "k"), "");
}

}  // namespace
}  // namespace ovp::win
