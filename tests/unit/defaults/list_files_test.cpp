#include "defaults/list_files.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/fake_code_page.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::WriteAll;

TEST(ListFilesTest, EntriesCompareByNameAndFoldersWithoutTheirFinalBackslash) {
    EXPECT_TRUE(SameExcludeEntry(" NTUSER.DAT/1 ", "ntuser.dat/1"));
    EXPECT_TRUE(SameExcludeEntry("recycler/0", "RECYCLER/1"));
    EXPECT_FALSE(SameExcludeEntry("ntuser.dat.log/1", "ntuser.dat/1"));
    EXPECT_TRUE(SameFolderPath("c:\\windows\\", "C:\\Windows"));
    EXPECT_FALSE(SameFolderPath("C:\\Windows\\Temp", "C:\\Windows"));
}

TEST(ListFilesTest, AUnicodeListIsExtendedInItsOwnEncoding) {
    test::TempDir dir;
    test::FakeCodePage codePage;
    const auto file = dir / "atbkupExcludelist.txt";
    const std::string start = "\xFF\xFE" + Utf16LeBytes(u"D:\\\u0141\u00f3d\u017a");
    WriteAll(file, start);

    EXPECT_EQ(AddMissingLines(file, {"d:\\\u0141\u00f3d\u017a\\", "C:\\Windows"}, SameFolderPath, codePage),
              ListChange::Extended);
    EXPECT_EQ(ReadAll(file), start + Utf16LeBytes(u"\r\nC:\\Windows\r\n"));
}

}  // namespace
}  // namespace ovp
