#pragma once
// The view of the schedule manager `SchedulerFrm`: a modeless dialog (IDD_SchedulerFrm in
// schedule_dialogs.rc) with the jobs in a report-mode list view. It renders what its presenter
// decides, reports the clicks with the selected row, and runs the wizard modally over itself.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/locale_text.h"
#include "schedules/schedule_manager_view.h"
#include "win32/modeless_dialog.h"
#include "win32/tooltip_win.h"

namespace ovp::win {

class ScheduleManagerView final : public ModelessDialog<ScheduleManagerView>, public IScheduleManagerView {
  public:
    // instance: the module whose resources hold the templates; nullptr for the executable.
    ScheduleManagerView(ILocaleText& texts, std::string brandName, HINSTANCE instance = nullptr);
    ~ScheduleManagerView() override;

    // Loads the window (events.Form_Load fills it) or, when it is open already, brings it to the
    // front as it is. False when it cannot be loaded. events must outlive the window.
    bool Show(IScheduleManagerEvents& events, HWND owner);
    bool IsLoaded() const { return window_ != nullptr; }

    void ShowCaptions(const std::vector<ManagerCaption>& captions) override;
    void Render(const ScheduleManagerViewState& state) override;
    void ShowWizard(IScheduleWizardEvents& wizard) override;
    std::uintptr_t OwnerWindow() override { return reinterpret_cast<std::uintptr_t>(window_); }
    void Close() override { Destroy(); }

  private:
    friend class WindowBase<ScheduleManagerView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id);
    void OnListNotify(const NMHDR& header);
    void OnWindowGone(HWND window) noexcept;
    int SelectedRow() const;

    ILocaleText& texts_;
    std::string brandName_;
    HINSTANCE instance_;
    IScheduleManagerEvents* events_ = nullptr;
    std::unique_ptr<clsToolTip> toolTip_;
    // The list is being filled: its selection changes are the view's own, not the user's.
    bool rendering_ = false;
};

}  // namespace ovp::win
