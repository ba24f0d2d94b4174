#include "schedules/schedule_wizard.h"

#include <gtest/gtest.h>

#include "unit/schedules/schedules_test_env.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::RecordLine;

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// bob's job is edited while alice is logged in: everything must land in bob's files.
class WizardTest : public ::testing::Test {
  protected:
    void Open(std::string_view records, std::string_view marker = "0") {
        f_.WriteSchedule("bob", marker, records);
        table_.SetFilePath(f_.Schedule("bob"));
        DB_ReadAllRecord(table_, f_.fx.codePage);
        table_.SelectCurrent(*table_.FindJobKind(table_.Record(table_.ScheduleCount() - 1).JobKind));
        wizard_ = std::make_unique<frmSchStart1>(f_.Context(), f_.box, bob_, table_,
                                                 ScheduleKindFromJobKind(table_.Current().JobKind));
        wizard_->Form_Load(view_);
        f_.profiles.writes.clear();
    }
    WizardControls Controls() const { return view_.shown; }
    void Save(const WizardControls& controls) { wizard_->Sch_Start4_Next_Click(controls); }
    ScheduleRecord Saved() {
        ScheduleTable table(f_.Schedule("bob"));
        DB_ReadAllRecord(table, f_.fx.codePage);
        return table.ScheduleCount() == 0 ? ScheduleRecord{} : table.Record(table.ScheduleCount() - 1);
    }

    test::SchedulesFixture f_;
    ScheduleUser bob_{f_.Context(), "bob"};
    ScheduleTable table_;
    test::FakeWizardView view_;
    std::unique_ptr<frmSchStart1> wizard_;
};

TEST_F(WizardTest, OpensWithTheRecordsDatesTheStoredOptionsAndTheProfilesAddresses) {
    f_.fx.profiles.Write(f_.Names(), "Registry", "StopSchedule", "1");
    f_.fx.profiles.Write(f_.Names(), "Registry", "StopScheduleTime", "03-20-2026 23:30:00");
    f_.fx.profiles.Write(f_.ProfileOf("bob"), "Orvessa", "Mail-ID", "a@example.com;b@example.com;");
    Open(RecordLine("4", "OVEXCHANGEBACKUP", "03-20-2026 22:15:00", "5"));
    const WizardControls w = Controls();
    EXPECT_EQ(w.option, WizardOption::optRecommendedTime);
    EXPECT_EQ(FormatStamp(w.calendar), "03-20-2026 22:15:00");
    EXPECT_EQ(w.monthDayIndex, 19);
    EXPECT_TRUE(w.cutOff);
    EXPECT_EQ(std::tuple(w.cutOffTime.hour, w.cutOffTime.minute), std::tuple(23, 30));
    EXPECT_EQ(w.mailList, (std::vector<std::string>{"a@example.com", "b@example.com"}));
    EXPECT_EQ(w.weekDays, ParseWeekDays("0111110"));
    EXPECT_EQ(view_.enabled, (WizardEnabling{false, true, true, true, false}));
    WizardControls weekly = w;
    weekly.option = WizardOption::optCustomTime;
    weekly.cutOff = false;
    weekly.mailNotify = MailNotifyChoice::OnFailure;
    wizard_->OptionClick(weekly);
    EXPECT_EQ(view_.enabled, (WizardEnabling{true, false, true, false, true}));

    for (const auto& [frequency, option] : {std::pair{"1", WizardOption::optNoSchedule},
                                            {"4", WizardOption::optOnlyOnce},
                                            {"5", WizardOption::optRecommendedTime},
                                            {"6", WizardOption::optCustomTime},
                                            {"3", WizardOption::optCustomTime}}) {
        EXPECT_EQ(OptionOfFrequency(frequency), option) << frequency;
    }
    wizard_->Sch_Start6_Help_Click();
    EXPECT_EQ(f_.fx.shell.requests.at(0).file, f_.fx.app / "GrpHelp.chm");
}

TEST_F(WizardTest, AnAddressIsAddedOnlyWhenNewAndValidAndTheEntryIsAlwaysCleared) {
    Open(RecordLine("1", "oventbkupjob"));
    for (const std::string_view entry : {"", "x@example", "a b@example.com", "a;b@example.com", "a\b\b@example.com",
                                         " a@example.com ", "a@example.com"}) {
        WizardControls w = Controls();
        w.mailEntry = entry;
        wizard_->btnAdd_Click(w);
        EXPECT_EQ(Controls().mailEntry, "") << entry;
    }
    EXPECT_EQ(Controls().mailList, std::vector<std::string>{"a@example.com"});
    EXPECT_EQ(f_.box.Messages(),
              "Enter a valid email address.|Enter a valid email address.|Enter a valid email address.|"
              "Enter a valid email address.|Enter a valid email address.|Email id already exists|");
}

TEST_F(WizardTest, EveryTextComesFromTheLanguageFile) {
    test::WriteNumberedLanguage(f_.fx.app);
    Open(RecordLine("1", "oventbkupjob"));
    test::ExpectEveryCaptionTranslated(view_.captions, WizardLabel::Help);
    // The check's answer picks the message.
    WizardControls w = Controls();
    w.mailNotify = MailNotifyChoice::Always;
    w.mailList = {"a(b@example.com"};
    Save(w);
    w.mailList.clear();
    Save(w);
    const DateTime start = w.calendar;
    w.calendar = {2026, 3, 12, 0, 0, 0};
    Save(w);
    EXPECT_EQ(f_.box.Messages(), "<105>|<104>|<108>|");
    // What is stored does not depend on the language.
    w.calendar = start;
    w.mailNotify = MailNotifyChoice::DoNotNotify;
    Save(w);
    ASSERT_TRUE(wizard_->Saved());
    EXPECT_EQ(f_.ReadSchedule("bob").find('<'), std::string::npos);
}

// Each way a save ends: what the file holds and which options were written before it ended.
TEST_F(WizardTest, EachSavePathWritesWhatItShouldAndNoMore) {
    struct Case {
        const char* name;
        const char* jobKind;
        std::function<void(WizardControls&)> edit;
        const char* message;
        const char* frequency;  // of the saved record; "" when the record is gone, "-" when unchanged
        const char* writes;     // Orvessa writes to bob's profile, obscured keys shown plain
    };
    const Case cases[] = {
        {"week days, none ticked", "oventbkupjob", [](WizardControls& w) { w.weekDays = {}; }, "", "",
         "Schedule Type=1|Recomended=0|"},
        {"no schedule, a kind that keeps its record", "OVEXCHANGEBRICKBACKUP",
         [](WizardControls& w) { w.option = WizardOption::optNoSchedule; }, "", "-", "Schedule Type=1|Mail-ID=|"},
        {"no schedule", "SYSTEMSTATEBACKUP", [](WizardControls& w) { w.option = WizardOption::optNoSchedule; }, "", "",
         "Schedule Type=1|Mail-ID=|"},
        {"start passed even a day later", "oventbkupjob",
         [](WizardControls& w) { w.calendar = {2026, 3, 12, 0, 0, 0}; },
         "Set the schedule backup frequency for a future date and time.|", "-",
         "Schedule Type=3|Mail-ID=|Recomended=0|"},
        {"notify without an address", "oventbkupjob",
         [](WizardControls& w) { w.mailNotify = MailNotifyChoice::Always; },
         "Enter a valid email address to receive notifications.|", "-", "Schedule Type=3|Mail-ID=|Recomended=0|"},
        {"week days", "oventbkupjob", [](WizardControls&) {}, "", "6",
         "Schedule Type=3|Mail-ID=|Recomended=0|StartMissedJob=0|"},
        {"notify with a bad first address", "oventbkupjob",
         [](WizardControls& w) {
             w.mailNotify = MailNotifyChoice::OnFailure;
             w.mailList = {"a(b@example.com"};
         },
         "Enter your valid email address.|", "-", "Schedule Type=3|Mail-ID=a(b@example.com;|Recomended=0|"},
        {"a refused entry", "oventbkupjob", [](WizardControls& w) { w.mailEntry = "nobody"; },
         "Enter a valid email address.|", "-", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f_.box.shown.clear();
        const std::string line = RecordLine("9", c.jobKind);
        Open(line);
        WizardControls w = Controls();
        c.edit(w);
        Save(w);
        EXPECT_EQ(f_.box.Messages(), c.message);
        EXPECT_EQ(wizard_->Saved(), std::string(c.message).empty());
        const std::string frequency = c.frequency;
        if (frequency == "-") {
            EXPECT_EQ(f_.ReadSchedule("bob"), "0\r\n" + line);
        } else {
            EXPECT_EQ(Saved().Frequency, frequency);
        }
        std::string writes = f_.profiles.Writes("Orvessa/");
        writes = ReplaceAll(ReplaceAll(writes, Obscure("Schedule Type") + "=" + Obscure("1"), "Schedule Type=1"),
                            Obscure("Schedule Type") + "=" + Obscure("3"), "Schedule Type=3");
        EXPECT_EQ(writes, c.writes);
    }
    // Nothing ever went to the logged-in user.
    EXPECT_FALSE(FileExists(f_.Schedule("alice")));
    EXPECT_EQ(f_.Obscured("alice", "Schedule Type"), "");
}

TEST_F(WizardTest, TheSavedRecordCarriesEveryFieldAndKeepsARunningJobsMarker) {
    Open(RecordLine("2", "oventbkupjob") + RecordLine("", "SYSTEMSTATEBACKUP"), "2");
    WizardControls w = Controls();
    w.weekDays = ParseWeekDays("0100000");  // Monday; the start is Saturday 14 March
    w.calendar = {2026, 3, 14, 0, 0, 0};
    w.startTime = {2000, 1, 1, 21, 5, 0};
    w.mailNotify = MailNotifyChoice::OnFailure;
    w.attachLog = true;
    w.mailList = {"a@example.com", "b@example.com", "a@example.com"};
    w.cutOff = true;
    w.cutOffTime = {2000, 1, 1, 23, 0, 0};
    w.backupIdle = true;
    w.desktop = true;
    Save(w);

    ASSERT_TRUE(wizard_->Saved());
    EXPECT_TRUE(view_.closed);
    const std::string file = f_.ReadSchedule("bob");
    EXPECT_EQ(file.substr(0, 3), "2\r\n");
    EXPECT_EQ(file.find(RecordLine("2", "oventbkupjob")), 3u);  // the other record stays as it was
    const ScheduleRecord saved = Saved();
    EXPECT_EQ(saved,
              (ScheduleRecord{"3", "SYSTEMSTATEBACKUP", "03-16-2026 21:05:00", "03-14-2026 09:30:00", "20", "0",
                              "a@example.com;b@example.com;a@example.com;", "1", "2", "202603162105", "6", "0100000"}));
    EXPECT_EQ(ReadAll(f_.Folder("bob") / "Mailid.txt"), "a@example.com\r\nb@example.com\r\n");
    EXPECT_EQ(std::tuple(f_.Registry("StopSchedule"), f_.Registry("StopScheduleTime"), f_.Registry("BackupIdle")),
              std::tuple("1", "03-14-2026 23:00:00", "1"));
    EXPECT_EQ(f_.Profile("bob", "BackupStatus", "DesktopNotification"), "1");
    EXPECT_EQ(f_.Profile("alice", "BackupStatus", "DesktopNotification"), "");
    EXPECT_EQ(f_.Obscured("bob", "Schedule Type"), "3");

    // A day-first user's start is stored as chosen.
    f_.fx.profiles.Write(f_.ProfileOf("bob"), "DateFormat", Obscure("DateFormat"), Obscure("dd/MM/yyyy"));
    Open(RecordLine("1", "oventbkupjob"));
    w.mailNotify = MailNotifyChoice::DoNotNotify;
    Save(w);
    EXPECT_EQ(Saved().NextRun, "03-14-2026 21:05:00");
    EXPECT_EQ(Saved().MailList, "");
    EXPECT_FALSE(FileExists(f_.Folder("bob") / "Mailid.txt"));
}

TEST_F(WizardTest, ImmediateAndMonthlyStartsAreFixedAtSaveTime) {
    Open(RecordLine("1", "oventbkupjob"));
    WizardControls w = Controls();
    w.option = WizardOption::optOnlyOnce;
    wizard_->OptionClick(w);
    f_.fx.clock.Set({2026, 3, 14, 10, 0, 0});  // half an hour later
    Save(view_.shown);
    EXPECT_EQ(std::tuple(Saved().NextRun, Saved().Frequency), std::tuple("03-14-2026 10:01:00", "4"));

    // Day 31 chosen in January, saved on the 31st after the time: the retry lands on 28 February.
    f_.fx.clock.Set({2026, 1, 31, 12, 0, 0});
    Open(RecordLine("1", "oventbkupjob"));
    w = Controls();
    w.option = WizardOption::optRecommendedTime;
    w.monthDayIndex = 30;
    w.calendar = {2026, 1, 31, 0, 0, 0};
    w.startTime = {2026, 1, 31, 8, 0, 0};
    Save(w);
    EXPECT_EQ(std::tuple(Saved().NextRun, Saved().MonthDay, Saved().Frequency),
              std::tuple("02-28-2026 08:00:00", "31", "5"));
}

}  // namespace
}  // namespace ovp
