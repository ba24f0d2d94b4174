#include "scheduler/schedule_file.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/fake_code_page.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using test::ReadAll;
using Status = ScheduleWriteStatus;

ScheduleRecord Job(const std::string& recordNo, const std::string& jobKind, const std::string& sortKey) {
    return ParseScheduleLine(recordNo + "\b\b" + jobKind +
                             "\b\b03-07-2026 06:00:00\b\b03-01-2026 10:11:12\b\b3\b\b1\b\b\b\b1\b\b0\b\b" + sortKey +
                             "\b\b6\b\b1111111");
}

std::string Line(const ScheduleRecord& record) {
    return FormatScheduleLine(record) + "\r\n";
}

class ScheduleFileTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return ScheduleFilePath(dir_.Path()); }
    void WriteFile(std::string_view bytes) const { test::WriteAll(File(), bytes); }
    ScheduleTable Load(std::size_t* smallest = nullptr) {
        ScheduleTable table(File());
        const std::size_t position = DB_ReadAllRecord(table, codePage_);
        if (smallest != nullptr) {
            *smallest = position;
        }
        return table;
    }
    Status Write(ScheduleTable& table, ScheduleWriter writer = ScheduleWriter::Wizard) {
        return DB_WriteAllRecord(table, codePage_, writer).status;
    }

    test::TempDir dir_;
    test::FakeCodePage codePage_;
};

TEST_F(ScheduleFileTest, LoadReturnsTheFirstOfTheSmallestRealKeys) {
    WriteFile("0\r\n" + Line(Job("1", "a", "202605010900")) + Line(Job("2", "b", "")) +
              Line(Job("3", "c", "2026x4010900")) + Line(Job("4", "d", "202604010900")) +
              Line(Job("5", "e", "202604010900")) + Line(Job("6", "f", "20260401")));
    std::size_t smallest = 99;
    EXPECT_EQ(Load(&smallest).ScheduleCount(), 6u);
    EXPECT_EQ(smallest, 3u);  // not "" (position 1), which sorts first as text

    WriteFile("0\r\n" + Line(Job("1", "a", "")) + Line(Job("2", "b", "300012121503")));
    Load(&smallest);
    EXPECT_EQ(smallest, 0u);
}

TEST_F(ScheduleFileTest, EachWriterDecidesLineOneFromTheFileAsItIsAtWriteTime) {
    const std::string records = Line(Job("1", "oventbkupjob", "202603070600")) + Line(Job("2", "SQLSERVERBACKUPx", ""));
    const std::pair<ScheduleWriter, std::string_view> expected[] = {
        {ScheduleWriter::Manager, "0"}, {ScheduleWriter::Wizard, "2"}, {ScheduleWriter::FirstRun, "2"}};
    for (const auto& [writer, header] : expected) {
        WriteFile("0\r\n" + records);
        ScheduleTable table = Load();
        WriteFile("2\r\n" + records);  // the engine starts job 2 after the table was loaded
        table.Record(0).MonthDay = "12";
        ASSERT_EQ(Write(table, writer), Status::Written);
        EXPECT_EQ(ReadAll(File()).substr(0, ReadAll(File()).find("\r\n")), header);
        EXPECT_EQ(Readfirstline(File(), codePage_), header);
        EXPECT_EQ(Load().Record(0).MonthDay, "12");
    }
}

TEST_F(ScheduleFileTest, AnEmptyOrMissingLineOneBecomesZeroAndTheCurrentRecordIsStoredInPlace) {
    const ScheduleRecord stored = Job("1", "oventbkupjob", "202603080600");
    // A zero-byte file, a blank line 1, and no file at all (the first run).
    for (const std::string before : {"", "  \r\n", "missing"}) {
        if (before == "missing") {
            ASSERT_TRUE(DeleteFileIfExists(File()));
        } else {
            WriteFile(before.empty() ? before : before + Line(Job("1", "oventbkupjob", "202603070600")));
        }
        ScheduleTable table = Load();
        table.Current() = stored;
        table.SetCurrentIndex(0);
        ASSERT_TRUE(table.StoreCurrent());  // replaces record 0, or appends to an empty table
        ASSERT_EQ(Write(table, before == "missing" ? ScheduleWriter::FirstRun : ScheduleWriter::Wizard),
                  Status::Written);
        EXPECT_EQ(ReadAll(File()), "0\r\n" + Line(stored)) << before;
    }
    ScheduleTable table = Load();
    EXPECT_FALSE(table.SelectCurrent(1));
    table.SetCurrentIndex(2);  // beyond the end: refused, not written out of range
    EXPECT_FALSE(table.StoreCurrent());
}

TEST_F(ScheduleFileTest, DeletingDropsTheRecordAndTheLastOneTakesTheFileWithIt) {
    const ScheduleRecord a = Job("1", "oventbkupjob", "202603070600");
    const ScheduleRecord b = Job("3", "SYSTEMSTATEBACKUP", "202603070700");
    const ScheduleRecord c = Job("4", "OVEXCHANGEBACKUP", "202603070800");
    WriteFile("0\r\n" + Line(a) + Line(b) + Line(c));

    ScheduleTable table = Load();
    table.Record(*table.FindJobKind("SYSTEMSTATEBACKUP")).JobKind.clear();
    ASSERT_EQ(Write(table, ScheduleWriter::Manager), Status::Written);
    EXPECT_EQ(ReadAll(File()), "0\r\n" + Line(a) + Line(c));
    EXPECT_EQ(CountRecords(File()), 2u);

    table = Load();
    table.Record(0).JobKind.clear();
    table.DeleteRecord(1);
    ASSERT_EQ(Write(table, ScheduleWriter::Manager), Status::Removed);
    EXPECT_FALSE(FileExists(File()));
    std::size_t smallest = 99;
    EXPECT_EQ(Load(&smallest).ScheduleCount(), 0u);
    EXPECT_EQ(smallest, 0u);
    EXPECT_EQ(CountRecords(File()), 0u);
    EXPECT_EQ(Readfirstline(File(), codePage_), "");

    // A file with line 1 only is an empty schedule: the next rewrite removes it.
    WriteFile("2\r\n");
    table = Load();
    EXPECT_EQ(Write(table), Status::Removed);
    EXPECT_FALSE(FileExists(File()));
}

TEST_F(ScheduleFileTest, LinesTheMonitorDidNotChangeGoBackByteForByte) {
    const std::string garbage = "garbage without separators";
    const std::string shortLine = "1\b\bOVEXCHANGEBACKUP\b\bbad date";
    const std::string oddKey = FormatScheduleLine(Job("3", "SYSTEMSTATEBACKUP", "2026x3070600"));
    ScheduleRecord impossible = Job("5", "OVEXCHANGEBRICKBACKUP", "202602309999");
    impossible.NextRun = "02-30-2026 99:99:99";
    // Bytes the code page leaves undefined, trailing blanks, a backspace inside a token.
    const std::string odd = "2\b\bSQLSERVERBACKUP\x81\xFF  \b\b\b" + std::string("\0x", 2) + "\b\b  ";
    const std::string kept = garbage + "\r\n" + shortLine + "\r\n" + oddKey + "\r\n" + FormatScheduleLine(impossible) +
                             "\r\n" + odd + "\r\n";
    WriteFile("2\r\n" + kept + "\r\n" + Line(Job("1", "oventbkupjob", "202603070600")));

    ScheduleTable table = Load();
    ASSERT_EQ(table.ScheduleCount(), 7u);
    EXPECT_EQ(table.Record(4).JobKind, "SQLSERVERBACKUP\xC2\x81\xC3\xBF  ");  // undefined bytes still read
    EXPECT_EQ(table.Record(5), ScheduleRecord{});

    table.Record(6).NextRun = "03-08-2026 06:00:00";
    table.Record(6).SortKey = "202603080600";
    ASSERT_EQ(Write(table), Status::Written);
    EXPECT_EQ(ReadAll(File()), "2\r\n" + kept + Line(table.Record(6)));

    // Only the user's delete removes a line that never had a keyword.
    table = Load();
    table.DeleteRecord(0);
    ASSERT_EQ(Write(table), Status::Written);
    EXPECT_EQ(ReadAll(File()).find(garbage), std::string::npos);
    EXPECT_EQ(Load().ScheduleCount(), 5u);
}

TEST_F(ScheduleFileTest, LinesEndInCrLfWhateverTheyEndedInBefore) {
    const ScheduleRecord a = Job("1", "oventbkupjob", "202603070600");
    const ScheduleRecord b = Job("3", "SYSTEMSTATEBACKUP", "202603070700");
    WriteFile("0\n" + FormatScheduleLine(a) + "\n" + FormatScheduleLine(b));  // no final line end
    ScheduleTable table = Load();
    ASSERT_EQ(table.ScheduleCount(), 2u);
    EXPECT_EQ(table.Record(1), b);
    EXPECT_EQ(CountRecords(File()), 2u);
    ASSERT_EQ(Write(table, ScheduleWriter::Manager), Status::Written);
    EXPECT_EQ(ReadAll(File()), "0\r\n" + Line(a) + Line(b));
}

TEST_F(ScheduleFileTest, TextTheCodePageCannotHoldIsRefusedAndTheFileLeftAlone) {
    const std::string before = "0\r\n" + Line(Job("1", "oventbkupjob", "202603070600"));
    WriteFile(before);
    ScheduleTable table = Load();
    table.Record(0).MailList = "j\xC3\xB6rg@example.com;";  // "ö" is in Windows-1252
    ASSERT_EQ(Write(table), Status::Written);
    EXPECT_NE(ReadAll(File()).find("j\xF6rg@example.com;"), std::string::npos);
    EXPECT_EQ(Load().Record(0).MailList, "j\xC3\xB6rg@example.com;");

    WriteFile(before);
    table = Load();
    table.SetScheduleCount(2);
    table.Record(1) = Job("3", "SYSTEMSTATEBACKUP", "202603070700");
    table.Record(1).MailList = "\xC5\x82ukasz@example.com;";  // "Ł" is not in Windows-1252
    const ScheduleWriteResult result = DB_WriteAllRecord(table, codePage_, ScheduleWriter::Wizard);
    EXPECT_EQ(result.status, Status::NotRepresentable);
    EXPECT_EQ(result.record, 1u);
    EXPECT_EQ(ReadAll(File()), before);

    table = Load();
    table.Record(0).JobKind = "oventbkupjob\r\n1\b\bINJECTED";
    EXPECT_EQ(Write(table, ScheduleWriter::Manager), Status::BreaksLayout);
    EXPECT_EQ(ReadAll(File()), before);
}

// A writer killed mid-rewrite must leave the old content or the new, never a torn file: the new
// content goes into a file of its own that replaces the old one whole.
TEST_F(ScheduleFileTest, ARewriteNeverWritesIntoTheOldFile) {
    const std::string before = "0\r\n" + Line(Job("1", "oventbkupjob", "202603070600"));
    WriteFile(before);
    std::error_code error;
    std::filesystem::create_hard_link(File(), dir_ / "old", error);
    ASSERT_FALSE(error) << error.message();
    ScheduleTable table = Load();
    table.Record(0).MonthDay = "12";
    ASSERT_EQ(Write(table), Status::Written);
    EXPECT_EQ(ReadAll(dir_ / "old"), before);
    EXPECT_NE(ReadAll(File()), before);
}

TEST_F(ScheduleFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    std::string big = "0\r\n" + Line(Job("1", "oventbkupjob", "202603070600"));
    big.resize(static_cast<std::size_t>(kMaxScheduleFileBytes) + 1, 'x');
    WriteFile(big);
    ScheduleTable table = Load();
    EXPECT_TRUE(table.IsUnreadable());
    EXPECT_EQ(table.ScheduleCount(), 0u);
    table.Current() = Job("1", "oventbkupjob", "202603080600");
    ASSERT_TRUE(table.StoreCurrent());
    EXPECT_EQ(Write(table, ScheduleWriter::FirstRun), Status::Unreadable);
    EXPECT_EQ(FileSize(File()), big.size());

    WriteFile("0\r\n");
    DB_ReadAllRecord(table, codePage_);
    EXPECT_FALSE(table.IsUnreadable());
}

}  // namespace
}  // namespace ovp
