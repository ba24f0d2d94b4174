#include "scheduler/schedule_record.h"

#include <gtest/gtest.h>

#include "scheduler/schedule_codes.h"

namespace ovp {
namespace {

TEST(ScheduleRecordTest, TokensLandInTheirFieldsWithMailNotifyBeforeAttachLogInTheFile) {
    const std::string line =
        "1\b\boventbkupjob\b\b03-07-2026 06:00:00\b\b03-01-2026 10:11:12\b\b3\b\b1\b\b"
        "a@example.com;b@example.com;\b\b3\b\b1\b\b202603070600\b\b6\b\b0111110";
    const ScheduleRecord r = ParseScheduleLine(line);
    EXPECT_EQ(std::tie(r.RecordNo, r.JobKind, r.NextRun, r.SavedAt, r.MonthDay, r.JobFlag),
              std::tuple("1", "oventbkupjob", "03-07-2026 06:00:00", "03-01-2026 10:11:12", "3", "1"));
    // MailNotify is token 7, AttachLog token 8.
    EXPECT_EQ(std::tie(r.MailList, r.MailNotify, r.AttachLog, r.SortKey, r.Frequency, r.WeekDays),
              std::tuple("a@example.com;b@example.com;", "3", "1", "202603070600", "6", "0111110"));
    EXPECT_EQ(FormatScheduleLine(r), line);
}

TEST(ScheduleRecordTest, TheLastTokenKeepsTheRestOfTheLineAndShortLinesLeaveFieldsEmpty) {
    const ScheduleRecord longer =
        ParseScheduleLine("1\b\bk" + std::string(9 * 2, '\b') + "6\b\b1111111\b\bextra\b\b\b");
    EXPECT_EQ(longer.WeekDays, "1111111\b\bextra\b\b\b");
    EXPECT_EQ(longer.Frequency, "6");

    const ScheduleRecord shorter = ParseScheduleLine("2\b\bSQLSERVERBACKUPX\b\b03-07-2026");
    EXPECT_EQ(std::tie(shorter.RecordNo, shorter.JobKind, shorter.NextRun, shorter.SavedAt, shorter.WeekDays),
              std::tuple("2", "SQLSERVERBACKUPX", "03-07-2026", "", ""));

    // Three backspaces: the cut is at the first pair, the odd one starts the next token.
    const ScheduleRecord odd = ParseScheduleLine("1\b\b\bkind");
    EXPECT_EQ(std::tie(odd.RecordNo, odd.JobKind), std::tuple("1", "\bkind"));
    EXPECT_EQ(ParseScheduleLine(FormatScheduleLine(odd)), odd);
}

TEST(ScheduleRecordTest, FieldsThatWouldReadBackAsOtherFieldsOrLinesAreRefused) {
    ScheduleRecord record;
    record.JobKind = "oventbkupjob";
    record.WeekDays = "11\b\b11";  // the last token may hold the separator
    EXPECT_EQ(CheckScheduleLine(record), ScheduleLineProblem::None);
    for (const std::string bad : {"a\nb", "a\b\bb", "a\b"}) {
        ScheduleRecord broken = record;
        broken.MailList = bad;
        EXPECT_EQ(CheckScheduleLine(broken), ScheduleLineProblem::BreaksLayout) << bad;
    }
    record.WeekDays = "111\n";
    EXPECT_EQ(CheckScheduleLine(record), ScheduleLineProblem::BreaksLayout);
}

TEST(ScheduleCodesTest, SortKeyTakesDateByPositionAndPadsHourAndMinuteAndOnlyTwelveDigitsCount) {
    EXPECT_EQ(MakeSortKey("03-07-2026 06:00:00"), "202603070600");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:05:00"), "202612310905");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:5:00"), "202612310905");
    EXPECT_EQ(MakeSortKey("12-31-2026 23:59"), "202612312359");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:05:00 PM"), "202612310905");
    EXPECT_EQ(MakeSortKey(" 03/07/2026  06:00 "), "202603070600");
    // Nothing that could pass for a time: no key rather than digits taken from the date.
    for (const std::string_view text : {"12-31-2026", "", "ab-cd-efgh 10:00:00", ":", "03-07-26 06:00:00"}) {
        EXPECT_EQ(MakeSortKey(text), "") << text;
    }
    EXPECT_TRUE(IsRealSortKey("300012121503"));
    for (const std::string_view bad : {"", "20260307060", "2026030706000", "2026-3070600"}) {
        EXPECT_FALSE(IsRealSortKey(bad)) << bad;
    }
}

TEST(ScheduleCodesTest, FrequencyNamesReadTheCodeLeniently) {
    EXPECT_EQ(GetFreNameFromIndex(" 7 "), "Weekend (Sat - Sun)");
    for (const std::string_view unknown : {"0", "9", "", "x", "6a"}) {
        EXPECT_EQ(GetFreNameFromIndex(unknown), "") << unknown;
    }
}

TEST(ScheduleCodesTest, JobKindsFromKeywordsAndBack) {
    EXPECT_EQ(ScheduleKindFromJobKind("SQLSERVERBACKUP_Payroll"), kScheduleKindSqlServer);
    EXPECT_EQ(ScheduleKindFromJobKind("SQLSERVERBACKU"), kScheduleKindNone);
    EXPECT_EQ(ScheduleKindFromJobKind("OVENTBKUPJOB"), kScheduleKindNone);  // keywords are exact
    EXPECT_EQ(ScheduleKindFromJobKind("OVEXCHANGEBRICKBACKUP"), kScheduleKindExchangeBrick);

    // Kind 4 saves exactly as kind 1; the SQL Server keyword is the profile's backup-set name; an
    // existing number is the engine's and stays.
    const auto applied = [](int kind, std::string_view recordNo) {
        ScheduleRecord record;
        record.RecordNo = recordNo;
        ApplyScheduleKind(record, kind, "SQLSERVERBACKUPdb");
        return record.RecordNo + " " + record.JobKind;
    };
    EXPECT_EQ(applied(kScheduleKindBackupSetAlso, ""), "1 oventbkupjob");
    EXPECT_EQ(applied(kScheduleKindSqlServer, ""), "2 SQLSERVERBACKUPdb");
    EXPECT_EQ(applied(kScheduleKindExchangeBrick, "7"), "7 OVEXCHANGEBRICKBACKUP");
    EXPECT_EQ(RecordNoForScheduleKind(3), "");
}

}  // namespace
}  // namespace ovp
