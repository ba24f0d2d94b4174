#pragma once
// What the tray menu's commands work with: the application context, the product's message box, the
// tray icon and what they ask of the hidden main window.

#include <cstdint>
#include <string>
#include <string_view>

#include "context/app_context.h"
#include "context/tray_menu_model.h"
#include "platform/message_box.h"
#include "platform/tray.h"

namespace ovp {

// The one-shot form timers of the commands that wait or ask: armed by the click, so that the menu
// has closed before the question or the wait begins.
enum class CommandTimer {
    CDPTimer,   // continuous backup on or off
    WebMTimer,  // web management on or off
};
inline constexpr std::uint32_t kCommandTimerMs = 100;

// The windows that commands open; each belongs to its own feature.
enum class FeatureWindow {
    StatusWindow,     // the scheduled backup status window
    LogViewer,        // the activity log viewer
    ScheduleManager,  // the schedule manager
    ErrorReport,      // the error report
    About,            // the about window
};

class ICommandHost {
  public:
    virtual ~ICommandHost() = default;
    virtual void ArmCommandTimer(CommandTimer timer, bool armed) = 0;
    // The hourglass while a command works, the normal cursor afterwards.
    virtual void SetBusyCursor(bool busy) = 0;
    // Pops the tray menu up at the cursor as the model has it (hidden items left out), and returns
    // once it has closed; the chosen item arrives as a menu command afterwards.
    virtual void PopUpTrayMenu(const TrayMenuModel& menu) = 0;
    virtual void OpenWindow(FeatureWindow window) = 0;
    // The window that the message boxes of the commands belong to (a window handle); 0 for none.
    virtual std::uintptr_t OwnerWindow() = 0;
    // `MnuExit`: the icon goes, the window procedure is put back and the message loop ends.
    virtual void Exit() = 0;
};

struct CommandEnv {
    AppContext& context;
    IMessageBox& messageBox;
    ITrayIcon& tray;
    ICommandHost& host;
};

// Sets the context's "command running" flag for its lifetime. `Acquired` is false when another
// command runs already: the caller then does nothing but trace that it was ignored.
class CommandScope {
  public:
    explicit CommandScope(AppContext& context) : context_(context), acquired_(!context.commandRunning) {
        if (acquired_) {
            context_.commandRunning = true;
        }
    }
    ~CommandScope() {
        if (acquired_) {
            context_.commandRunning = false;
        }
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
    bool Acquired() const { return acquired_; }

  private:
    AppContext& context_;
    bool acquired_;
};

}  // namespace ovp
