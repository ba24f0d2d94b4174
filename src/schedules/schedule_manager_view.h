#pragma once
// The schedule manager `SchedulerFrm` as its presenter sees the view.

#include <cstdint>
#include <string>
#include <vector>

#include "schedules/schedule_texts.h"
#include "schedules/schedule_wizard_view.h"

namespace ovp {

// One row of `Sch_list_lv`.
struct ScheduleManagerRow {
    std::string backupSet;     // "DEFAULT BACKUPSET" or the keyword
    std::string nextTransfer;  // in the user's date format
    std::string frequency;
    std::string status;  // the disabled or the in-progress text, or ""
    std::string userName;
    std::string recordNo;  // hidden column
    std::string sortKey;   // hidden column

    bool operator==(const ScheduleManagerRow&) const = default;
};

struct ScheduleManagerViewState {
    std::vector<ScheduleManagerRow> rows;
    std::string progressLabel;  // `lblMsgProgres`; "" while no listed job runs
};

// The window's fixed texts.
enum class ManagerLabel {
    Title,
    BackupSetColumn,
    NextTransferColumn,
    FrequencyColumn,
    StatusColumn,
    UserNameColumn,
    CannotEditNote,  // `lblCannotEdit`
    StopNote,        // `lblStopNote`
    Edit,
    Delete,
    StopTransfer,
    Refresh,
    ViewLog,
    Close,
};
using ManagerCaption = Caption<ManagerLabel>;

class IScheduleManagerView {
  public:
    virtual ~IScheduleManagerView() = default;
    // Once, before the first Render.
    virtual void ShowCaptions(const std::vector<ManagerCaption>& captions) = 0;
    virtual void Render(const ScheduleManagerViewState& state) = 0;
    // Shows the wizard modally over the manager and returns when it has closed.
    virtual void ShowWizard(IScheduleWizardEvents& wizard) = 0;
    virtual std::uintptr_t OwnerWindow() = 0;
    virtual void Close() = 0;
};

// The list's selection travels with each event: -1 when no row is selected.
class IScheduleManagerEvents {
  public:
    virtual ~IScheduleManagerEvents() = default;
    virtual void Form_Load() = 0;
    virtual void Sch_list_lv_Click(int row) = 0;
    virtual void Sch_list_lv_DblClick(int row) = 0;
    virtual void Pic_Edit_Click(int row) = 0;
    virtual void Pic_Delete_Click(int row) = 0;
    virtual void Pic_Sttrf_Click(int row) = 0;
    virtual void Pic_Refresh_Click() = 0;
    virtual void ViewLog_Click(int row) = 0;
    virtual void cmdCancel_Click() = 0;
};

}  // namespace ovp
