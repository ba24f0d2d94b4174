#pragma once
// The view of the schedule wizard `frmSchStart1`: a modal dialog (IDD_frmSchStart1 in
// schedule_dialogs.rc) with date-time pickers and a month calendar. It hands the presenter the
// values of every control with each event and shows the values the presenter gives back.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/locale_text.h"
#include "schedules/schedule_wizard_view.h"
#include "win32/tooltip_win.h"
#include "win32/window_base.h"

namespace ovp::win {

class ScheduleWizardView final : public WindowBase<ScheduleWizardView>, public IScheduleWizardView {
  public:
    // Runs the wizard modally over owner until it closes.
    static void Run(IScheduleWizardEvents& events,
                    HWND owner,
                    ILocaleText& texts,
                    std::string_view brandName,
                    HINSTANCE instance = nullptr);

    void ShowCaptions(const std::vector<WizardCaption>& captions) override;
    void Render(const WizardControls& controls, const WizardEnabling& enabling) override;
    std::uintptr_t OwnerWindow() override { return reinterpret_cast<std::uintptr_t>(window_); }
    void Close() override;

    // What the controls hold now.
    WizardControls Read() const;

  private:
    friend class WindowBase<ScheduleWizardView>;

    ScheduleWizardView(IScheduleWizardEvents& events, ILocaleText& texts, std::string_view brandName)
        : events_(events), texts_(texts), brandName_(brandName) {}

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnWindowGone(HWND window) noexcept;

    IScheduleWizardEvents& events_;
    ILocaleText& texts_;
    std::string brandName_;
    std::unique_ptr<clsToolTip> toolTip_;
};

}  // namespace ovp::win
