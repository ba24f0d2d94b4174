#include "scheduler/schedule_record.h"

#include <gtest/gtest.h>

#include "scheduler/schedule_codes.h"

namespace ovp {
namespace {

constexpr std::string_view kSep = "\b\b";

std::string Join(std::initializer_list<std::string_view> tokens) {
    std::string line;
    bool first = true;
    for (const auto token : tokens) {
        if (!first) {
            line += kSep;
        }
        first = false;
        line += token;
    }
    return line;
}

TEST(ScheduleRecordTest, TokensLandInTheirFieldsWithMailNotifyBeforeAttachLogInTheFile) {
    const std::string line = Join({"1", "oventbkupjob", "03-07-2026 06:00:00", "03-01-2026 10:11:12", "3", "1",
                                   "a@example.com;b@example.com;", "3", "1", "202603070600", "6", "0111110"});
    const ScheduleRecord record = ParseScheduleLine(line);
    EXPECT_EQ(record.RecordNo, "1");
    EXPECT_EQ(record.JobKind, "oventbkupjob");
    EXPECT_EQ(record.NextRun, "03-07-2026 06:00:00");
    EXPECT_EQ(record.SavedAt, "03-01-2026 10:11:12");
    EXPECT_EQ(record.MonthDay, "3");
    EXPECT_EQ(record.JobFlag, "1");
    EXPECT_EQ(record.MailList, "a@example.com;b@example.com;");
    EXPECT_EQ(record.MailNotify, "3");  // token 7
    EXPECT_EQ(record.AttachLog, "1");   // token 8
    EXPECT_EQ(record.SortKey, "202603070600");
    EXPECT_EQ(record.Frequency, "6");
    EXPECT_EQ(record.WeekDays, "0111110");
    EXPECT_EQ(FormatScheduleLine(record), line);

    ScheduleRecord distinct;
    distinct.MailNotify = "2";
    distinct.AttachLog = "0";
    EXPECT_EQ(FormatScheduleLine(distinct), std::string(7 * 2, '\b') + "2\b\b0" + std::string(3 * 2, '\b'));
}

TEST(ScheduleRecordTest, TheLastTokenKeepsTheRestOfTheLineAndShortLinesLeaveFieldsEmpty) {
    const ScheduleRecord longer =
        ParseScheduleLine(Join({"1", "k", "", "", "", "", "", "", "", "", "6", "1111111"}) + "\b\bextra\b\b\b");
    EXPECT_EQ(longer.WeekDays, "1111111\b\bextra\b\b\b");
    EXPECT_EQ(longer.Frequency, "6");

    const ScheduleRecord shorter = ParseScheduleLine("2\b\bSQLSERVERBACKUPX\b\b03-07-2026");
    EXPECT_EQ(shorter.RecordNo, "2");
    EXPECT_EQ(shorter.JobKind, "SQLSERVERBACKUPX");
    EXPECT_EQ(shorter.NextRun, "03-07-2026");
    EXPECT_EQ(shorter.SavedAt, "");
    EXPECT_EQ(shorter.WeekDays, "");

    // Three backspaces: the cut is at the first pair, the odd one starts the next token.
    const ScheduleRecord odd = ParseScheduleLine("1\b\b\bkind");
    EXPECT_EQ(odd.RecordNo, "1");
    EXPECT_EQ(odd.JobKind, "\bkind");
    EXPECT_EQ(ParseScheduleLine(FormatScheduleLine(odd)), odd);
}

TEST(ScheduleRecordTest, FieldsThatWouldReadBackAsOtherFieldsOrLinesAreRefused) {
    ScheduleRecord record;
    record.JobKind = "oventbkupjob";
    EXPECT_EQ(CheckScheduleLine(record), ScheduleLineProblem::None);
    record.WeekDays = "11\b\b11";  // the last token may hold the separator
    EXPECT_EQ(CheckScheduleLine(record), ScheduleLineProblem::None);

    for (const std::string bad : {"a\r\nb", "a\nb", "a\b\bb", "a\b"}) {
        ScheduleRecord broken = record;
        broken.MailList = bad;
        EXPECT_EQ(CheckScheduleLine(broken), ScheduleLineProblem::BreaksLayout) << bad;
    }
    ScheduleRecord brokenLast = record;
    brokenLast.WeekDays = "111\n";
    EXPECT_EQ(CheckScheduleLine(brokenLast), ScheduleLineProblem::BreaksLayout);
}

TEST(ScheduleCodesTest, SortKeyTakesDateByPositionAndPadsHourAndMinute) {
    EXPECT_EQ(MakeSortKey("03-07-2026 06:00:00"), "202603070600");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:05:00"), "202612310905");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:5:00"), "202612310905");
    EXPECT_EQ(MakeSortKey("12-31-2026 23:59"), "202612312359");
    EXPECT_EQ(MakeSortKey("12-31-2026 9:05:00 PM"), "202612310905");
    // Nothing that could pass for a time: no key rather than digits taken from the date.
    EXPECT_EQ(MakeSortKey("12-31-2026"), "");
    EXPECT_EQ(MakeSortKey(""), "");
    EXPECT_EQ(MakeSortKey("ab-cd-efgh 10:00:00"), "");
    EXPECT_EQ(MakeSortKey(":"), "");
}

TEST(ScheduleCodesTest, OnlyTwelveDigitKeysAreRealKeys) {
    EXPECT_TRUE(IsRealSortKey("202603070600"));
    EXPECT_TRUE(IsRealSortKey("300012121503"));
    EXPECT_FALSE(IsRealSortKey(""));
    EXPECT_FALSE(IsRealSortKey("20260307060"));
    EXPECT_FALSE(IsRealSortKey("2026030706000"));
    EXPECT_FALSE(IsRealSortKey("2026-3070600"));
}

TEST(ScheduleCodesTest, FrequencyNamesReadTheCodeLeniently) {
    EXPECT_EQ(GetFreNameFromIndex("6"), "Week-Day");
    EXPECT_EQ(GetFreNameFromIndex(" 7 "), "Weekend (Sat - Sun)");
    EXPECT_EQ(GetFreNameFromIndex("4"), "Once");
    for (const std::string_view unknown : {"0", "9", "", "x", "6a"}) {
        EXPECT_EQ(GetFreNameFromIndex(unknown), "") << unknown;
    }
}

TEST(ScheduleCodesTest, JobKindsFromKeywordsAndBack) {
    EXPECT_EQ(ScheduleKindFromJobKind("SQLSERVERBACKUP_Payroll"), kScheduleKindSqlServer);
    EXPECT_EQ(ScheduleKindFromJobKind("SQLSERVERBACKU"), kScheduleKindNone);
    EXPECT_EQ(ScheduleKindFromJobKind("OVENTBKUPJOB"), kScheduleKindNone);  // keywords are exact
    EXPECT_EQ(ScheduleKindFromJobKind("OVEXCHANGEBRICKBACKUP"), kScheduleKindExchangeBrick);

    // Kind 4 saves exactly as kind 1; the SQL Server keyword is the profile's backup-set name.
    ScheduleRecord fresh;
    ApplyScheduleKind(fresh, kScheduleKindBackupSetAlso, "SQLSERVERBACKUPdb");
    EXPECT_EQ(fresh.JobKind, "oventbkupjob");
    EXPECT_EQ(fresh.RecordNo, "1");
    ScheduleRecord sql;
    ApplyScheduleKind(sql, kScheduleKindSqlServer, "SQLSERVERBACKUPdb");
    EXPECT_EQ(sql.JobKind, "SQLSERVERBACKUPdb");
    EXPECT_EQ(sql.RecordNo, "2");
    ScheduleRecord existing;
    existing.RecordNo = "7";  // the engine's number stays
    ApplyScheduleKind(existing, kScheduleKindExchangeBrick, "");
    EXPECT_EQ(existing.RecordNo, "7");
    EXPECT_EQ(existing.JobKind, "OVEXCHANGEBRICKBACKUP");
    EXPECT_EQ(RecordNoForScheduleKind(3), "");

    EXPECT_EQ(JobKindFromManagerRowText(ManagerRowText("oventbkupjob")), "oventbkupjob");
    EXPECT_EQ(ManagerRowText("oventbkupjob"), "DEFAULT BACKUPSET");
    EXPECT_EQ(ManagerRowText("OVEXCHANGEBACKUP"), "OVEXCHANGEBACKUP");
}

}  // namespace
}  // namespace ovp
