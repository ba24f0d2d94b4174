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
#include "ui/open_document.h"

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

constexpr CaptionRow<WizardLabel> kCaptions[] = {
    {WizardLabel::Title, {5500, "Backup job scheduling wizard"}},
    {WizardLabel::Heading, {5501, "Scheduler"}},
    {WizardLabel::WhenGroup, {5502, "When"}},
    {WizardLabel::NoSchedule, {5503, "No backup schedule"}},
    {WizardLabel::OnlyOnce, {5504, "Start backup immediately"}},
    {WizardLabel::WeekDay, {5505, "WeekDay"}},
    {WizardLabel::Month, {5506, "Month"}},
    {WizardLabel::Sunday, {5507, "Sun"}},
    {WizardLabel::Monday, {5508, "Mon"}},
    {WizardLabel::Tuesday, {5509, "Tue"}},
    {WizardLabel::Wednesday, {5510, "Wed"}},
    {WizardLabel::Thursday, {5511, "Thu"}},
    {WizardLabel::Friday, {5512, "Fri"}},
    {WizardLabel::Saturday, {5513, "Sat"}},
    {WizardLabel::StartTime, {5514, "Start time:"}},
    {WizardLabel::Recommended, {5515, "Recommended time (for faster backups at off-peak hours)"}},
    {WizardLabel::CutOff, {5516, "Cut-Off Time: "}},
    {WizardLabel::StartMissed, {5517, " Start the missed scheduled backup when the computer is turned on"}},
    {WizardLabel::BackupIdle, {5518, "Auto-Pause: Halt backup in case user activity is detected"}},
    {WizardLabel::Desktop, {5519, "Show desktop notification on scheduled backup"}},
    {WizardLabel::MailGroup, {5520, "Mail notification"}},
    {WizardLabel::DoNotNotify, {5521, "Do not notify"}},
    {WizardLabel::NotifyOnFailure, {5522, "Notify on failure"}},
    {WizardLabel::NotifyAlways, {5523, "Notify always"}},
    {WizardLabel::AttachLog, {5524, "Attach Log"}},
    {WizardLabel::MailTo, {5525, "Mail To :"}},
    {WizardLabel::Add, {5526, "Add"}},
    {WizardLabel::Back, {5527, "< Back"}},
    {WizardLabel::Save, {5528, "Save"}},
    {WizardLabel::Cancel, {5529, "Cancel"}},
    {WizardLabel::Help, {410, "Help"}},  // the tray menu's word
};

// By the check's answer, which is the text id.
constexpr ScheduleText kValidationMessages[] = {
    {108, "Set the schedule backup frequency for a future date and time."},
    {104, "Enter a valid email address to receive notifications."},
    {105, "Enter your valid email address."},
    {106, "Enter your valid email address."},
};

}  // namespace

std::vector<WizardCaption> WizardCaptions(ILocaleText& texts, std::string_view brandName) {
    return LocalisedCaptions<WizardLabel>(kCaptions, texts, brandName);
}

ScheduleText ValidationMessage(int code) {
    const auto found = std::find_if(std::begin(kValidationMessages), std::end(kValidationMessages),
                                    [code](const ScheduleText& message) { return message.id == code; });
    return found != std::end(kValidationMessages) ? *found : kValidationMessages[0];
}

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
    view.ShowCaptions(WizardCaptions(context_.texts, context_.settings.productName));
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

void frmSchStart1::Sch_Start6_Help_Click() {
    OpenHelpGuide(context_);
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
        Notice(ValidationMessage(check.code));
        return;
    }
    if (w.mailNotify != MailNotifyChoice::DoNotNotify) {
        if (const int mail = Sch_Mail_validate(w.mailList); mail != kMailCheckPassed) {
            Notice(ValidationMessage(mail));
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

void frmSchStart1::Notice(ScheduleText message) {
    ovp::Notice(box_, Localised(context_.texts, message, context_.settings.productName),
                view_ != nullptr ? view_->OwnerWindow() : 0);
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
