#pragma once
// What the tray status monitor asks of the window side when the engine wants the scheduled-backup
// status window shown. The Win32 side implements it; tests record the calls.

namespace ovp {

class IStatusWindowHost {
  public:
    virtual ~IStatusWindowHost() = default;
    // Loads the status window when it is not loaded, refreshes it and shows it.
    virtual void ShowStatusWindow() = 0;
};

}  // namespace ovp
