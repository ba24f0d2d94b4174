#include "sessionlog/session_log_rows.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/fake_code_page.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

constexpr std::string_view kWhen = " 12-01-2026 10-05-07.txt";

class SessionLogRowsTest : public ::testing::Test {
  protected:
    SessionLogRow Row(std::string_view operation, std::string_view bytes) {
        const std::string name = std::string(operation) + std::string(kWhen);
        test::WriteAll(dir_ / name, bytes);
        return BuildSessionLogRow(*ParseSessionLogName(name), dir_.Path(), texts_, codePage_, opened_);
    }

    test::TempDir dir_;
    SessionLogTexts texts_;
    test::FakeCodePage codePage_;
    std::size_t opened_ = 0;
};

TEST_F(SessionLogRowsTest, EveryKindDescribedWithAndWithoutACount) {
    struct Case {
        std::string_view operation;
        std::string_view summaryLine;
        std::string_view withCount;
        std::string_view withoutCount;
        SessionLogIcon icon;
    };
    const Case cases[] = {
        {"Scheduled", "[Backed up Files : 120]", "Scheduled Backup ( 120 Files )", "Scheduled Backup",
         SessionLogIcon::Backup},
        {"Backup", "[Backed up Files : 3]", "Interactive Backup( 3 Files )", "Interactive Backup",
         SessionLogIcon::Backup},
        {"Continuous Backup", "[Backed up Files : 9]", "Continuous Backup( 9 Files )", "Continuous Backup",
         SessionLogIcon::Backup},
        {"Restore", "Restored Files : 7]", "Restore( 7 Files )", "Restore", SessionLogIcon::Restore},
        {"Restore from Trash to Account", "Moved files from Trash to Account: 4]",
         "Restore from Trash to Account( 4 Files )", "Restore from Trash to Account", SessionLogIcon::Restore},
        {"Undo", "Moved files from Trash to Account: 2]", "Undo Trash ( 2 Files )", "Undo Trash",
         SessionLogIcon::Restore},
        {"Delete", "Deleted Files : 5]", "Deleted Files (5 Files )", "Deleted Files", SessionLogIcon::Delete},
        {"Delete(Trash)", "Delete(Trash) Files : 6]", "Delete(Trash) Files ( 6 Files )", "Delete(Trash) Files",
         SessionLogIcon::Delete},
        // Kinds are told by equal words, case and all.
        {"backup", "[Backed up Files : 3]", "backup", "backup", SessionLogIcon::None},
        {"Archive", "[Backed up Files : 3]", "Archive", "Archive", SessionLogIcon::None},
    };
    for (const Case& c : cases) {
        const SessionLogRow counted = Row(c.operation, "Started\r\n" + std::string(c.summaryLine) + "\r\nDone\r\n");
        EXPECT_EQ(counted.description, c.withCount) << c.operation;
        EXPECT_EQ(counted.icon, c.icon) << c.operation;
        EXPECT_EQ(counted.startTime, "12-01-2026 10:05:07");
        EXPECT_EQ(counted.sortValue, "20261201100507");
        // A zero-length log, and a summary line without its closing bracket, give no count.
        EXPECT_EQ(Row(c.operation, "").description, c.withoutCount) << c.operation;
        const std::string unclosed(c.summaryLine.substr(0, c.summaryLine.size() - 1));
        EXPECT_EQ(Row(c.operation, unclosed + "\r\n").description, c.withoutCount) << c.operation;
    }
}

TEST_F(SessionLogRowsTest, AFailureSentenceWinsOverTheCount) {
    const std::string sentences[] = {
        "Unable to perform scheduled backup. Possible reasons include:",
        "12:00 You have aborted the scheduled backup job.",
        "Unable to perform the Backup operation, Reason: disk",
        "Connection Failed. Unable to connect to the server",
        "Backup is in progress from the ip address 127.0.0.1",
        "Backup is in progress. Try later",
    };
    for (const std::string& sentence : sentences) {
        const SessionLogRow row = Row("Scheduled", "[Backed up Files : 120]\r\n" + sentence + "\r\n");
        EXPECT_EQ(row.description, "Scheduled Backup - Failed") << sentence;
        EXPECT_EQ(row.icon, SessionLogIcon::Failed);
    }
    EXPECT_EQ(Row("Backup", "Backup is in progress. Try later\n").description, "Interactive Backup - Failed");
    // Only backups fail.
    EXPECT_EQ(Row("Restore", "Restored Files : 7]\nBackup is in progress. Try later\n").description,
              "Restore( 7 Files )");
}

TEST_F(SessionLogRowsTest, EachEncodingIsRead) {
    const std::string line = "Über [Backed up Files : 12]\r\n";
    const std::u16string wide = Utf8ToUtf16(line);
    const std::string encodings[] = {
        "\xDC"
        "ber [Backed up Files : 12]\r\n",                                         // the ANSI code page
        "\xEF\xBB\xBF" + line,                                                    // UTF-8 with its mark
        "\xFF\xFE" + Utf16LeBytes(wide),                                          // UTF-16LE with its mark
        "\xFF\xFE" + Utf16LeBytes(Utf8ToUtf16("x\nfoo [Backed up Files : 12]")),  // LF only, no last line end
    };
    for (const std::string& bytes : encodings) {
        EXPECT_EQ(Row("Backup", bytes).description, "Interactive Backup( 12 Files )");
    }
}

TEST_F(SessionLogRowsTest, AVeryLongLineIsCutNotHeld) {
    const std::string longLine(1'000'000, 'x');
    EXPECT_EQ(Row("Delete", longLine + "Deleted Files : 5]\nDeleted Files : 6]\n").description,
              "Deleted Files (6 Files )");
}

TEST_F(SessionLogRowsTest, OnlyKindsWithASummaryAreOpened) {
    Row("Archive", "[Backed up Files : 3]");
    Row("Backup", "");
    EXPECT_EQ(opened_, 0u);
    Row("Backup", "x");
    EXPECT_EQ(opened_, 1u);
}

}  // namespace
}  // namespace ovp
