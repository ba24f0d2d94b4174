#pragma once
// The schedule wizard `frmSchStart1` as its presenter sees the view: the values of every control,
// which the view hands over with each event and renders back as the presenter leaves them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "scheduler/schedule_dates.h"
#include "schedules/schedule_texts.h"

namespace ovp {

// The four schedule options; the names are the controls' own.
enum class WizardOption {
    optNoSchedule,       // "No backup schedule"
    optOnlyOnce,         // "Start backup immediately"
    optCustomTime,       // week days at a time
    optRecommendedTime,  // one day of the month at a time
};

// `rdMailNotify` 0, 1, 2.
enum class MailNotifyChoice { DoNotNotify = 0, OnFailure = 1, Always = 2 };

struct WizardControls {
    WizardOption option = WizardOption::optCustomTime;
    WeekDayTable weekDays{};   // `CheckSun` .. `CheckSat`
    int monthDayIndex = 0;     // `cmbFrequency`, 0 for day 1
    DateTime calendar;         // `OVcalendar`: its date
    DateTime startTime;        // `DTPicker`: its time of day
    bool recommended = false;  // `recommendedTime`
    bool cutOff = false;       // `ChkEndTime`
    DateTime cutOffTime;       // `DTPicker1`: its time of day
    bool startMissed = false;  // `ChkStartMissedJob`
    bool backupIdle = false;   // `chkBackupIdle`
    bool desktop = false;      // `chkdesktop`
    MailNotifyChoice mailNotify = MailNotifyChoice::DoNotNotify;
    bool attachLog = false;             // `chkMailLog`
    std::string mailEntry;              // `cmbMailTo`
    std::vector<std::string> mailList;  // `listMailAdd`

    bool operator==(const WizardControls&) const = default;
};

// Which controls take input; the others are greyed.
struct WizardEnabling {
    bool weekDays = true;    // `CheckSun` .. `CheckSat`
    bool monthDay = true;    // `cmbFrequency`
    bool start = true;       // `OVcalendar`, `DTPicker` and `recommendedTime`
    bool cutOffTime = true;  // `DTPicker1`
    bool mail = true;        // `cmbMailTo`, `btnAdd`, `listMailAdd` and `chkMailLog`

    bool operator==(const WizardEnabling&) const = default;
};

// The week days for the week-day option, the day list for the monthly one, a start to pick only
// for those two (an immediate start is taken at saving), the cut-off time while its box is ticked
// and the addresses unless nobody is notified.
WizardEnabling EnablingOf(const WizardControls& controls);

// The window's fixed texts.
enum class WizardLabel {
    Title,
    Heading,    // `lblHeading`
    WhenGroup,  // the group box of the options
    NoSchedule,
    OnlyOnce,
    WeekDay,
    Month,
    Sunday,  // .. Saturday: `CheckSun` .. `CheckSat`
    Monday,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday,
    StartTime,  // the start picker's label
    Recommended,
    CutOff,
    StartMissed,
    BackupIdle,
    Desktop,
    MailGroup,  // the group box of the notification
    DoNotNotify,
    NotifyOnFailure,
    NotifyAlways,
    AttachLog,
    MailTo,  // the address entry's label
    Add,
    Back,
    Save,
    Cancel,
    Help,  // `Sch_Start6_Help`, the help picture
};
using WizardCaption = Caption<WizardLabel>;

class IScheduleWizardView {
  public:
    virtual ~IScheduleWizardView() = default;
    // Once, before the first Render.
    virtual void ShowCaptions(const std::vector<WizardCaption>& captions) = 0;
    virtual void Render(const WizardControls& controls, const WizardEnabling& enabling) = 0;
    // The window the wizard's message boxes belong to.
    virtual std::uintptr_t OwnerWindow() = 0;
    // The wizard ends (after a save, "Cancel" or "< Back").
    virtual void Close() = 0;
};

// What the view reports. Every event carries the controls as the user has left them.
class IScheduleWizardEvents {
  public:
    virtual ~IScheduleWizardEvents() = default;
    virtual void Form_Load(IScheduleWizardView& view) = 0;
    // An option, the cut-off box or a notification choice was clicked.
    virtual void OptionClick(const WizardControls& controls) = 0;
    virtual void WeekDayClick(const WizardControls& controls) = 0;
    virtual void cmbFrequency_Click(const WizardControls& controls) = 0;
    virtual void recommendedTime_Click(const WizardControls& controls) = 0;
    virtual void btnAdd_Click(const WizardControls& controls) = 0;
    virtual void Sch_Start4_Next_Click(const WizardControls& controls) = 0;
    virtual void Cancel_Click() = 0;
    virtual void Sch_Start6_Help_Click() = 0;
};

}  // namespace ovp
