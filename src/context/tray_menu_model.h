#pragma once
// The tray menus of `frmOVWinService` as data: every item with its caption, visibility, enabled
// and checked state, in the order the menus show them. The core decides these states; the Win32
// layer only turns the model into a pop-up menu when one is shown.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/locale_text.h"

namespace ovp {

// The items of both menus, under the names the program gives them. `MnuTrayMenu` (the tray
// pop-up) comes first, top to bottom, then the older `TrayMenu`, which is never popped up: its
// items stay reachable only through their handlers.
enum class TrayMenuItem : int {
    // MnuTrayMenu
    MnuQuotaExceeded,
    mnuStatus,
    GBAdditional,
    BLLine,
    MnuOptions,
    MnuOpenDrive,
    blankline10,
    MnuViewLog,
    mnuSession,
    blaknline11,
    WebPlugin,
    menuDesktop,
    mnuCDP,
    mnuStop,
    MnuDisableAutobkup,
    mnuschinfo,
    mnuBackupNowIDE,
    blankline3,
    mnuVersionUpdate,
    blankline2,
    MnuAbout,
    MnuSendReport,
    MnuHelp,
    blnklin3,
    MnuLogin,
    blnklin4,
    MnuExit,
    MnuSessionlog,
    // TrayMenu
    MnuOpen,
    mnuStop1,
    mnuBackupNow,
    mnuschinfo1,
    mnuEnableScheduleBackup,
    mnuschinfo11,
    mnuShutdown,
};

inline constexpr std::size_t kTrayPopupItemCount = 28;
inline constexpr std::size_t kOldTrayMenuItemCount = 7;
inline constexpr std::size_t kTrayMenuItemCount = kTrayPopupItemCount + kOldTrayMenuItemCount;

// The two top-level menus; both are hidden and serve only as pop-ups.
inline constexpr std::string_view kTrayPopupMenuName = "MnuTrayMenu";
inline constexpr std::string_view kTrayPopupMenuCaption = "TrayMenu1";
inline constexpr std::string_view kOldTrayMenuName = "TrayMenu";
inline constexpr std::string_view kOldTrayMenuCaption = "TrayMenu";

// Menu command ids: this base plus the item's number. Other programs (the end-to-end harness)
// may post them to the main window as WM_COMMAND, so they never change meaning.
inline constexpr int kTrayMenuCommandBase = 1000;
int CommandId(TrayMenuItem item);
std::optional<TrayMenuItem> ItemFromCommandId(int commandId);

struct TrayMenuEntry {
    TrayMenuItem item{};
    std::string_view name;  // "MnuExit"
    bool separator = false;
    std::string caption;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

// A caption replaced by a localised text at start-up, and its built-in English text.
struct LocalisedCaption {
    TrayMenuItem item;
    int textId;
    std::string_view english;
};
// The captions localised at start-up, in the order they are set. (The quota item's two texts and
// the drive and schedule items' words belong to the menu refresh, which sets them every time.)
std::span<const LocalisedCaption> StartupLocalisedCaptions();

class TrayMenuModel {
  public:
    // Every item with its design caption and design state.
    TrayMenuModel();

    const TrayMenuEntry& Item(TrayMenuItem item) const;
    void SetCaption(TrayMenuItem item, std::string caption);
    void SetVisible(TrayMenuItem item, bool visible);
    void SetEnabled(TrayMenuItem item, bool enabled);
    void SetChecked(TrayMenuItem item, bool checked);
    // Hidden and disabled at once.
    void Hide(TrayMenuItem item);

    // The localised captions of StartupLocalisedCaptions: a localised text (with the brand word
    // replaced by productName) where there is one, else the built-in English text.
    void ApplyLocalisedCaptions(ILocaleText& texts, std::string_view productName);

    // `MnuTrayMenu` and `TrayMenu`, top to bottom.
    std::span<const TrayMenuEntry> TrayPopup() const;
    std::span<const TrayMenuEntry> OldTrayMenu() const;

  private:
    TrayMenuEntry& At(TrayMenuItem item);

    std::array<TrayMenuEntry, kTrayMenuItemCount> items_;
};

}  // namespace ovp
