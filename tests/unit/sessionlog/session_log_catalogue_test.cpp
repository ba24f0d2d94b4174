#include "sessionlog/session_log_catalogue.h"

#include <gtest/gtest.h>

#include "support/fake_processes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

struct NameCase {
    std::string_view name;
    bool listed;
    std::string_view operation;
    std::string_view sortKey;
    std::string_view startTime;
};

TEST(SessionLogNameTest, NamesAreReadFromTheirEnd) {
    const NameCase cases[] = {
        {"Scheduled 12-01-2026 10-05-07.txt", true, "Scheduled", "20261201100507", "12-01-2026 10:05:07"},
        {"Restore from Trash to Account 03-04-2026 09-00-00.log", true, "Restore from Trash to Account",
         "20260304090000", "03-04-2026 9:00:00"},
        {"Copia de seguridad 12-31-2026 23-59-59.txt", true, "Copia de seguridad", "20261231235959",
         "12-31-2026 23:59:59"},
        // Not a date: listed, shown as written.
        {"Backup ab-cd-efgh ij-kl-mn.txt", true, "Backup", "efghabcdijklmn", "ab-cd-efgh ij-kl-mn"},
        {"B 12-01-2026 10-05-07.txt", true, "B", "20261201100507", "12-01-2026 10:05:07"},
        // Too short for the date-time and extension, no blank, no "." in the tail: skipped.
        {" 12-01-2026 10-05-07.txt", false, "", "", ""},
        {"12-01-2026 10-05-07.txt", false, "", "", ""},
        {"x.txt", false, "", "", ""},
        {"Backup_12-01-2026_10-05-07.txt", false, "", "", ""},
        {"Backup 12-01-2026 10-05-07_txt", false, "", "", ""},
        // The system-state and mail-server kinds are never listed, in any case.
        {"OVSystemState 12-01-2026 10-05-07.txt", false, "", "", ""},
        {"ovexchbrick 12-01-2026 10-05-07.txt", false, "", "", ""},
        {" OVExchBrickRestore  12-01-2026 10-05-07.txt", false, "", "", ""},
        {"OVExchBrickRestored 12-01-2026 10-05-07.txt", true, "OVExchBrickRestored", "20261201100507",
         "12-01-2026 10:05:07"},
    };
    for (const NameCase& c : cases) {
        const auto log = ParseSessionLogName(c.name);
        ASSERT_EQ(log.has_value(), c.listed) << c.name;
        if (log) {
            EXPECT_EQ(log->Operation(), c.operation) << c.name;
            EXPECT_EQ(log->sortKey, c.sortKey) << c.name;
            EXPECT_EQ(SessionLogStartTime(log->DateTime()), c.startTime) << c.name;
        }
    }
    // Month first whatever the locale; one-digit parts are padded in the key.
    EXPECT_EQ(SessionLogSortKey("3-4-2026 9-5-7"), "20260304090507");
    EXPECT_EQ(SessionLogStartTime("3-4-2026 9-5-7"), "03-04-2026 9:05:07");
    EXPECT_EQ(SessionLogStartTime("13-04-2026 09-05-07"), "13-04-2026 09-05-07");
}

TEST(SessionLogCatalogueTest, ListsLogsNewestFirstToTheSecond) {
    test::TempDir dir;
    for (const char* name :
         {"Backup 12-01-2026 10-05-07.txt", "Backup 12-01-2026 10-05-08.txt", "Restore 11-30-2026 23-59-59.txt",
          "Delete 01-01-2027 00-00-00.txt", "OVSystemState 01-01-2028 00-00-00.txt", "notes.txt"}) {
        test::WriteAll(dir / name, "");
    }
    std::filesystem::create_directories(dir / "Backup 01-01-2029 00-00-00.txt");
    std::vector<std::string> names;
    for (const SessionLogName& log : SortAndSplitLogFiles(dir.Path())) {
        names.push_back(log.fileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Delete 01-01-2027 00-00-00.txt", "Backup 12-01-2026 10-05-08.txt",
                                               "Backup 12-01-2026 10-05-07.txt", "Restore 11-30-2026 23-59-59.txt"}));
    EXPECT_TRUE(SortAndSplitLogFiles(dir / "missing").empty());
}

TEST(SessionLogCatalogueTest, PagesOfFifty) {
    struct Case {
        std::size_t total;
        std::vector<std::string> labels;  // page by page, following Next
    };
    const Case cases[] = {
        {0, {""}},
        {50, {"1 - 50 of 50"}},
        {51, {"1 - 50 of 51", "51 - 51 of 51"}},
        {100, {"1 - 50 of 100", "51 - 100 of 100"}},
        {101, {"1 - 50 of 101", "51 - 100 of 101", "101 - 101 of 101"}},
    };
    for (const Case& c : cases) {
        SessionLogPage page = FirstSessionLogPage(c.total);
        std::vector<SessionLogPage> pages{page};
        std::vector<std::string> labels{SessionLogPageLabel(page, c.total, " of ")};
        EXPECT_FALSE(HasPreviousSessionLogPage(page));
        while (HasNextSessionLogPage(page, c.total)) {
            page = NextSessionLogPage(page, c.total);
            pages.push_back(page);
            labels.push_back(SessionLogPageLabel(page, c.total, " of "));
        }
        EXPECT_EQ(labels, c.labels) << c.total;
        // Previous walks back the same pages and never below the first.
        for (std::size_t i = pages.size(); i-- > 1;) {
            EXPECT_EQ(PreviousSessionLogPage(pages[i], c.total), pages[i - 1]) << c.total;
        }
        EXPECT_EQ(PreviousSessionLogPage(pages[0], c.total), pages[0]);
    }
}

TEST(SessionLogCatalogueTest, PageAfterADeletion) {
    // Rows gone from the middle: the page keeps its first row; the last page emptied: the one before.
    EXPECT_EQ(SessionLogPageFrom(51, 99), (SessionLogPage{51, 99}));
    EXPECT_EQ(SessionLogPageFrom(101, 100), (SessionLogPage{51, 100}));
    EXPECT_EQ(SessionLogPageFrom(51, 20), (SessionLogPage{1, 20}));
    EXPECT_EQ(SessionLogPageFrom(1, 0), (SessionLogPage{}));
    // A page that does not start on a page boundary is still never taken below the first row.
    EXPECT_EQ(PreviousSessionLogPage({20, 60}, 60), (SessionLogPage{1, 19}));
}

// However its extension is written. (How a document is opened, and a program among the logs, the
// log viewer's and the double-click's tests.)
TEST(SessionLogCatalogueTest, FilesThatWouldRunAreOnlyOfferedToTheChooser) {
    test::FakeShell shell;
    for (const char* name : {"run.BAT", "link.lnk", "x.exe.", "page.url", "Backup 12-01-2026 10-05-07.txt"}) {
        OpenSessionLog(shell, name);
    }
    std::vector<std::string> verbs;
    for (const ShellRequest& request : shell.requests) {
        verbs.push_back(request.verb);
    }
    EXPECT_EQ(verbs, (std::vector<std::string>{"open with", "open with", "open with", "open with", "open"}));
}

}  // namespace
}  // namespace ovp
