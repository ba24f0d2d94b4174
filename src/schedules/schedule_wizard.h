#pragma once
// The schedule wizard `frmSchStart1`: edits when one job runs, whether it stops at a cut-off time,
// what happens to missed runs and during user activity, and who is mailed. The manager loads the
// row's user's table and makes the job's record current; the wizard writes it back there, into
// that user's file and profile, whoever is logged in meanwhile.

#include <string>
#include <string_view>

#include "context/app_context.h"
#include "platform/message_box.h"
#include "scheduler/schedule_table.h"
#include "schedules/schedule_user.h"
#include "schedules/schedule_wizard_view.h"

namespace ovp {

namespace wizard_text {
inline constexpr ScheduleText kEnterValidAddress{5530, "Enter a valid email address."};
inline constexpr ScheduleText kAddressExists{5531, "Email id already exists"};
inline constexpr ScheduleText kNotSaved{5532, "The schedule could not be saved."};
}  // namespace wizard_text

// The window's fixed texts, localised.
std::vector<WizardCaption> WizardCaptions(ILocaleText& texts, std::string_view brandName);

// The message of a check's refusal (104, 105, 106 or 108, which is also its text id).
ScheduleText ValidationMessage(int code);

// The answers of the notification check.
inline constexpr int kMailCheckPassed = 100;
inline constexpr int kMailCheckNoAddress = 104;
inline constexpr int kMailCheckFirstInvalid = 105;

// `Frequency` and `Schedule Type` of each option.
struct OptionCodes {
    std::string_view frequency;
    ScheduleType scheduleType;
};
OptionCodes CodesOfOption(WizardOption option);
// The option a record opens with, by its `Frequency`.
WizardOption OptionOfFrequency(std::string_view frequency);

// `Sch_Mail_validate`: 100, or 104 for an empty list, 105 when the first address fails the check.
int Sch_Mail_validate(const std::vector<std::string>& addresses);

// `InitializeScheduleJob`: the record is emptied for the kinds whose "no schedule" means no record.
void InitializeScheduleJob(ScheduleRecord& record, int kind);

class frmSchStart1 final : public IScheduleWizardEvents {
  public:
    // table: the user's table, loaded, with the job's record current.
    frmSchStart1(AppContext& context, IMessageBox& box, ScheduleUser& user, ScheduleTable& table, int kind)
        : context_(context), box_(box), user_(user), table_(table), kind_(kind) {}

    void Form_Load(IScheduleWizardView& view) override;
    void OptionClick(const WizardControls& controls) override;
    void WeekDayClick(const WizardControls& controls) override;
    void cmbFrequency_Click(const WizardControls& controls) override;
    void recommendedTime_Click(const WizardControls& controls) override;
    void btnAdd_Click(const WizardControls& controls) override;
    void Sch_Start4_Next_Click(const WizardControls& controls) override;
    void Cancel_Click() override;
    void Sch_Start6_Help_Click() override;

    const WizardControls& Controls() const { return controls_; }
    // The record and the options were written.
    bool Saved() const { return saved_; }

  private:
    // Adds the entry to the list; false (after telling the user why) when it was refused.
    bool AddAddress();
    void Save();
    // Steps 1 and 4: the job without a schedule.
    void SaveUnscheduled();
    bool RewriteFile();
    void WriteMailIdFile();
    // The message localised.
    void Notice(ScheduleText message);
    void Render();
    void Finish();

    AppContext& context_;
    IMessageBox& box_;
    ScheduleUser& user_;
    ScheduleTable& table_;
    int kind_;
    IScheduleWizardView* view_ = nullptr;
    WizardControls controls_;
    bool saved_ = false;
};

}  // namespace ovp
