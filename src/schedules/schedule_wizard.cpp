#include "schedules/schedule_wizard.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "net/email_address.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_proposals.h"
#include "scheduler/schedule_time_draws.h"
#include "ui/message_box.h"

namespace ovp {

namespace c = contract;

namespace {

std::vector<std::string> SplitMailList(std::string_view list) {
    std::vector<std::string> addresses;
    for (const std::string& piece : Split(list, c::kMailListSeparator)) {
        if (const std::string address = Trim(piece); !address.empty()) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

std::string JoinMailList(const std::vector<std::string>& addresses) {
    std::string list;
    for (const std::string& address : addresses) {
        list += address;
        list += c::kMailListSeparator;
    }
    return list;
}

}  // namespace

WizardEnabling EnablingOf(const WizardControls& controls) {
    const bool weekDays = controls.option == WizardOption::optCustomTime;
    const bool monthDay = controls.option == WizardOption::optRecommendedTime;
    return WizardEnabling{weekDays, monthDay, weekDays || monthDay, controls.cutOff,
                          controls.mailNotify != MailNotifyChoice::DoNotNotify};
}

OptionCodes CodesOfOption(WizardOption option) {
    switch (option) {
        case WizardOption::optNoSchedule:
            return {"1", ScheduleType::NoSchedule};
        case WizardOption::optCustomTime:
            return {kSchFrequencyWeekDays, ScheduleType::WeekDays};
        case WizardOption::optRecommendedTime:
            return {kSchFrequencyMonthly, ScheduleType::Monthly};
        case WizardOption::optOnlyOnce:
            break;
    }
    return {"4", ScheduleType::StartImmediately};
}

WizardOption OptionOfFrequency(std::string_view frequency) {
    const std::string code = Trim(frequency);
    return code == "1"                    ? WizardOption::optNoSchedule
           : code == "4"                  ? WizardOption::optOnlyOnce
           : code == kSchFrequencyMonthly ? WizardOption::optRecommendedTime
                                          : WizardOption::optCustomTime;
}

int Sch_Mail_validate(const std::vector<std::string>& addresses) {
    if (addresses.empty()) {
        return kMailCheckNoAddress;
    }
    return IsValidEmail(addresses.front()) ? kMailCheckPassed : kMailCheckFirstInvalid;
}

void InitializeScheduleJob(ScheduleRecord& record, int kind) {
    if (kind == kScheduleKindBackupSet || kind == kScheduleKindSqlServer || kind == kScheduleKindSystemState ||
        kind == kScheduleKindExchange) {
        record = ScheduleRecord{};
    }
}

void frmSchStart1::Form_Load(IScheduleWizardView& view) {
    view_ = &view;
    const ScheduleRecord& record = table_.Current();
    const ScheduleJobOptions options = user_.Options().Read();

    WizardControls& w = controls_;
    w.option = OptionOfFrequency(record.Frequency);
    w.weekDays = ParseWeekDays(record.WeekDays);
    const bool hasFile = FileExists(table_.FilePath());
    const ProposedStart start = Sch_ProposeOpeningStart(hasFile ? record.NextRun : "", context_.ports.clock);
    w.calendar = start.start;
    w.startTime = start.start;
    w.monthDayIndex = start.monthDay - 1;
    w.recommended = options.recommended;
    w.cutOff = options.stopAtCutOff;
    const auto cutOff = ReadScheduleStamp(options.cutOffTime);
    w.cutOffTime = w.cutOff && cutOff ? *cutOff : start.start;
    w.startMissed = options.startMissed;
    w.backupIdle = options.pauseOnActivity;
    w.desktop = options.desktopNotification;
    const std::string notify = Trim(record.MailNotify);
    w.mailNotify = notify == "3"   ? MailNotifyChoice::Always
                   : notify == "2" ? MailNotifyChoice::OnFailure
                                   : MailNotifyChoice::DoNotNotify;
    w.attachLog = Trim(record.AttachLog) == "1";
    w.mailEntry.clear();
    w.mailList = SplitMailList(user_.Transfer().Trf_ReadOutputValue(c::kOrvessaSection, c::kMailId));
    Render();
}

void frmSchStart1::OptionClick(const WizardControls& controls) {
    const bool nowImmediate =
        controls.option == WizardOption::optOnlyOnce && controls_.option != WizardOption::optOnlyOnce;
    controls_ = controls;
    if (nowImmediate) {
        const ProposedStart start = Sch_ProposeImmediateStart(context_.ports.clock);
        controls_.calendar = start.start;
        controls_.startTime = start.start;
        controls_.monthDayIndex = start.monthDay - 1;
        controls_.recommended = false;
    }
    Render();
}

void frmSchStart1::WeekDayClick(const WizardControls& controls) {
    controls_ = controls;
    controls_.calendar = Sch_CalendarOnWeekDayToggle(controls_.startTime, context_.ports.clock);
    Render();
}

void frmSchStart1::cmbFrequency_Click(const WizardControls& controls) {
    controls_ = controls;
    controls_.calendar = Sch_CalendarOnMonthDay(controls_.calendar, controls_.monthDayIndex + 1);
    Render();
}

void frmSchStart1::recommendedTime_Click(const WizardControls& controls) {
    controls_ = controls;
    if (controls_.recommended) {
        controls_.startTime = Sch_RecommendedStart(context_.ports.random, context_.ports.clock);
    }
    Render();
}

void frmSchStart1::btnAdd_Click(const WizardControls& controls) {
    controls_ = controls;
    AddAddress();
    Render();
}

void frmSchStart1::Sch_Start4_Next_Click(const WizardControls& controls) {
    controls_ = controls;
    Save();
    if (!saved_) {
        Render();
    }
}

void frmSchStart1::Cancel_Click() {
    if (view_ != nullptr) {
        view_->Close();
    }
}

bool frmSchStart1::AddAddress() {
    const std::string address = Trim(controls_.mailEntry);
    controls_.mailEntry.clear();
    const auto& list = controls_.mailList;
    if (!address.empty() && std::find(list.begin(), list.end(), address) != list.end()) {
        Notice(wizard_text::kAddressExists);
        return false;
    }
    if (address.empty() || !IsValidEmail(address)) {
        Notice(wizard_text::kEnterValidAddress);
        return false;
    }
    controls_.mailList.push_back(address);
    return true;
}

void frmSchStart1::Save() {
    ScheduleRecord& record = table_.Current();
    WizardControls& w = controls_;
    const bool noDayTicked = std::none_of(w.weekDays.begin(), w.weekDays.end(), [](bool day) { return day; });
    if (w.option == WizardOption::optCustomTime && noDayTicked) {
        user_.Options().WriteScheduleType(ScheduleType::NoSchedule);
        user_.Options().WriteRecommended(false);
        SaveUnscheduled();
        return;
    }
    if (!Trim(w.mailEntry).empty() && !AddAddress()) {
        return;
    }
    const OptionCodes codes = CodesOfOption(w.option);
    user_.Options().WriteScheduleType(codes.scheduleType);
    user_.Transfer().Trf_WriteUserNameProfileEmail(c::kMailId, JoinMailList(w.mailList));
    if (w.option == WizardOption::optNoSchedule) {
        SaveUnscheduled();
        return;
    }
    record.Frequency = std::string(codes.frequency);
    record.MonthDay = std::to_string(w.monthDayIndex + 1);
    record.WeekDays = FormatWeekDays(w.weekDays);
    user_.Options().WriteRecommended(w.recommended);

    IClock& clock = context_.ports.clock;
    if (w.option == WizardOption::optOnlyOnce) {
        // The start is one minute from the moment of saving, not of the click on the option.
        const ProposedStart start = Sch_ProposeImmediateStart(clock);
        w.calendar = start.start;
        w.startTime = start.start;
        w.monthDayIndex = start.monthDay - 1;
    }
    const StartCheck check =
        Sch_CheckStartWithRetry(w.calendar, w.startTime, record.Frequency, w.monthDayIndex + 1, clock);
    w.calendar = check.calendar;
    if (check.code != kSchStartAccepted) {
        Notice(wizard_text::kFutureStart);
        return;
    }
    if (w.mailNotify != MailNotifyChoice::DoNotNotify) {
        if (const int mail = Sch_Mail_validate(w.mailList); mail != kMailCheckPassed) {
            Notice(mail == kMailCheckNoAddress ? wizard_text::kNeedAddress : wizard_text::kFirstAddressInvalid);
            return;
        }
    }

    record.AttachLog = std::string(1, w.attachLog ? '1' : '0');
    user_.Options().WriteDesktopNotification(w.desktop);
    record.MailNotify = std::to_string(static_cast<int>(w.mailNotify) + 1);
    if (w.mailNotify == MailNotifyChoice::DoNotNotify) {
        w.mailList.clear();
        DeleteFileIfExists(user_.MailIdFile());
    } else {
        WriteMailIdFile();
    }

    const std::string sqlBackupSet = user_.Transfer().Trf_ReadUserProfile(c::kSqlBackupSet);
    const std::string keyword = record.JobKind;
    ApplyScheduleKind(record, kind_, sqlBackupSet);
    if (record.JobKind.empty()) {
        // A kind we cannot name (or a SQL Server job whose profile lost its set's name) keeps the
        // keyword it has: an empty one would delete the job being edited.
        record.JobKind = keyword;
    }
    const bool dayFirst = IsDayFirstDateFormat(user_.DateFormat());
    const SavedRunDates dates =
        Sch_SavedRunDates(w.calendar, w.startTime, record.Frequency, record.WeekDays, dayFirst, clock);
    record.SavedAt = dates.savedAt;
    record.NextRun = dates.nextRun;
    record.SortKey = dates.sortKey;
    record.MailList = JoinMailList(w.mailList);
    user_.Options().WriteStopSchedule(w.cutOff, Sch_End_Date(w.calendar, w.cutOffTime));
    table_.StoreCurrent();
    if (!RewriteFile()) {
        return;
    }
    user_.Options().WriteBackupIdle(w.backupIdle);
    user_.Options().WriteStartMissedSchedule(w.startMissed);
    user_.Options().WriteDesktopNotification(w.desktop);
    Finish();
}

void frmSchStart1::SaveUnscheduled() {
    ScheduleRecord& record = table_.Current();
    InitializeScheduleJob(record, kind_);
    record.Frequency = std::string(CodesOfOption(WizardOption::optNoSchedule).frequency);
    if (table_.CurrentIndex() < table_.ScheduleCount()) {
        // Only these fields go back: for a kind whose record is kept, the rest stays as it was.
        ScheduleRecord& stored = table_.Record(table_.CurrentIndex());
        stored.RecordNo = record.RecordNo;
        stored.JobKind = record.JobKind;
        stored.SavedAt = record.SavedAt;
        stored.NextRun = record.NextRun;
        stored.SortKey = record.SortKey;
        stored.MailList = record.MailList;
    }
    if (RewriteFile()) {
        Finish();
    }
}

bool frmSchStart1::RewriteFile() {
    table_.SetFilePath(user_.ScheduleFile());
    const ScheduleWriteResult result = DB_WriteAllRecord(table_, context_.ports.codePage, ScheduleWriter::Wizard);
    if (result.Succeeded()) {
        return true;
    }
    context_.trace.Error("The schedule of " + user_.Name() + " could not be written");
    Notice(wizard_text::kNotSaved);
    return false;
}

void frmSchStart1::WriteMailIdFile() {
    std::vector<std::string> unique;
    std::string text;
    for (const std::string& address : controls_.mailList) {
        if (std::find(unique.begin(), unique.end(), address) == unique.end()) {
            unique.push_back(address);
            text += address + std::string(c::kScheduleLineEnd);
        }
    }
    const AnsiText encoded = context_.ports.codePage.Utf8ToAnsi(text);
    if (!ReplaceFileBytes(user_.MailIdFile(), encoded.bytes)) {
        context_.trace.Error("The notification addresses of " + user_.Name() + " could not be written");
    }
}

void frmSchStart1::Notice(std::string_view message) {
    ovp::Notice(box_, message, view_ != nullptr ? view_->OwnerWindow() : 0);
}

void frmSchStart1::Render() {
    if (view_ != nullptr) {
        view_->Render(controls_, EnablingOf(controls_));
    }
}

void frmSchStart1::Finish() {
    saved_ = true;
    if (view_ != nullptr) {
        view_->Close();
    }
}

}  // namespace ovp
