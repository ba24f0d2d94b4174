#include "context/tray_menu_model.h"

#include "contract/locale_file.h"

namespace ovp {

namespace {

struct DesignItem {
    TrayMenuItem item;
    std::string_view name;
    std::string_view caption;  // "-" is a separator
    bool visible;
    bool enabled;
};

constexpr std::string_view kSeparator = "-";

// The menus as designed, in enum order.
constexpr std::array<DesignItem, kTrayMenuItemCount> kDesign{{
    {TrayMenuItem::MnuQuotaExceeded, "MnuQuotaExceeded", "Quota Exceeded. Upgrade Now!", false, true},
    {TrayMenuItem::mnuStatus, "mnuStatus", "Status", true, true},
    {TrayMenuItem::GBAdditional, "GBAdditional", "Get 10 GB additional storage free!", false, true},
    {TrayMenuItem::BLLine, "BLLine", kSeparator, false, true},
    {TrayMenuItem::MnuOptions, "MnuOptions", "&TalluxE Classic - Schedule Backup", true, true},
    {TrayMenuItem::MnuOpenDrive, "MnuOpenDrive", "&TalluxE Drive", true, true},
    {TrayMenuItem::blankline10, "blankline10", kSeparator, true, true},
    {TrayMenuItem::MnuViewLog, "MnuViewLog", "&Activity Log", true, true},
    {TrayMenuItem::mnuSession, "mnuSession", "&Session Log", false, false},
    {TrayMenuItem::blaknline11, "blaknline11", kSeparator, true, true},
    {TrayMenuItem::WebPlugin, "WebPlugin", "&Web Management", true, true},
    {TrayMenuItem::menuDesktop, "menuDesktop", "&Enable Desktop Search", false, false},
    {TrayMenuItem::mnuCDP, "mnuCDP", "", true, true},
    {TrayMenuItem::mnuStop, "mnuStop", "&Stop Scheduled Backup", true, true},
    {TrayMenuItem::MnuDisableAutobkup, "MnuDisableAutobkup", "&Disable Automatic Backup", true, true},
    {TrayMenuItem::mnuschinfo, "mnuschinfo", "&Manage all the Scheduled Jobs", true, true},
    {TrayMenuItem::mnuBackupNowIDE, "mnuBackupNowIDE", "&Backup Now", true, true},
    {TrayMenuItem::blankline3, "blankline3", kSeparator, true, true},
    {TrayMenuItem::mnuVersionUpdate, "mnuVersionUpdate", "Check for Updates", true, true},
    {TrayMenuItem::blankline2, "blankline2", kSeparator, true, true},
    {TrayMenuItem::MnuAbout, "MnuAbout", "&About", false, true},
    {TrayMenuItem::MnuSendReport, "MnuSendReport", "&Send Error Report", true, true},
    {TrayMenuItem::MnuHelp, "MnuHelp", "&Help", true, true},
    {TrayMenuItem::blnklin3, "blnklin3", kSeparator, false, true},
    {TrayMenuItem::MnuLogin, "MnuLogin", "&Logout", false, true},
    {TrayMenuItem::blnklin4, "blnklin4", kSeparator, true, true},
    {TrayMenuItem::MnuExit, "MnuExit", "&Exit", true, true},
    {TrayMenuItem::MnuSessionlog, "MnuSessionlog", "&View Session Log", false, true},
    {TrayMenuItem::MnuOpen, "MnuOpen", "&Recent log", true, true},
    {TrayMenuItem::mnuStop1, "mnuStop1", "&Stop", true, true},
    {TrayMenuItem::mnuBackupNow, "mnuBackupNow", "&Backup Now", true, true},
    {TrayMenuItem::mnuschinfo1, "mnuschinfo1", "&Manage all the Scheduled Jobs", true, true},
    {TrayMenuItem::mnuEnableScheduleBackup, "mnuEnableScheduleBackup", "&Enable Scheduled Backup", true, true},
    {TrayMenuItem::mnuschinfo11, "mnuschinfo11", "&Scheduler information", true, true},
    {TrayMenuItem::mnuShutdown, "mnuShutdown", "&Exit", true, true},
}};

constexpr std::array<LocalisedCaption, 13> kStartupCaptions{{
    {TrayMenuItem::mnuCDP, 972, "Continuous Backup"},
    {TrayMenuItem::MnuViewLog, 409, "Activity Log"},
    {TrayMenuItem::mnuBackupNowIDE, 421, "Backup Now"},
    {TrayMenuItem::MnuSendReport, 451, "Send Error Report"},
    {TrayMenuItem::MnuExit, 433, "Exit"},
    {TrayMenuItem::mnuStatus, 1440, "Status"},
    {TrayMenuItem::GBAdditional, 1441, "Get 10 GB additional storage free!"},
    {TrayMenuItem::WebPlugin, 1442, "Web Management"},
    {TrayMenuItem::mnuStop, 1443, "Stop Scheduled Backup"},
    {TrayMenuItem::mnuschinfo, 1444, "Manage all the Scheduled Jobs"},
    {TrayMenuItem::mnuVersionUpdate, 1445, "Check for Updates"},
    {TrayMenuItem::MnuHelp, 410, "Help"},
    {TrayMenuItem::MnuDisableAutobkup, 966, "Disable Scheduled Backup"},
}};

constexpr std::size_t Index(TrayMenuItem item) {
    return static_cast<std::size_t>(item);
}

}  // namespace

int CommandId(TrayMenuItem item) {
    return kTrayMenuCommandBase + static_cast<int>(item);
}

std::optional<TrayMenuItem> ItemFromCommandId(int commandId) {
    const int number = commandId - kTrayMenuCommandBase;
    if (number < 0 || number >= static_cast<int>(kTrayMenuItemCount)) {
        return std::nullopt;
    }
    return static_cast<TrayMenuItem>(number);
}

std::span<const LocalisedCaption> StartupLocalisedCaptions() {
    return kStartupCaptions;
}

TrayMenuModel::TrayMenuModel() {
    for (std::size_t i = 0; i < kDesign.size(); ++i) {
        const DesignItem& design = kDesign[i];
        TrayMenuEntry& entry = items_[i];
        entry.item = design.item;
        entry.name = design.name;
        entry.separator = design.caption == kSeparator;
        entry.caption = entry.separator ? std::string() : std::string(design.caption);
        entry.visible = design.visible;
        entry.enabled = design.enabled;
    }
}

const TrayMenuEntry& TrayMenuModel::Item(TrayMenuItem item) const {
    return items_[Index(item)];
}

TrayMenuEntry& TrayMenuModel::At(TrayMenuItem item) {
    return items_[Index(item)];
}

void TrayMenuModel::SetCaption(TrayMenuItem item, std::string caption) {
    At(item).caption = std::move(caption);
}

void TrayMenuModel::SetVisible(TrayMenuItem item, bool visible) {
    At(item).visible = visible;
}

void TrayMenuModel::SetEnabled(TrayMenuItem item, bool enabled) {
    At(item).enabled = enabled;
}

void TrayMenuModel::SetChecked(TrayMenuItem item, bool checked) {
    At(item).checked = checked;
}

void TrayMenuModel::Hide(TrayMenuItem item) {
    At(item).visible = false;
    At(item).enabled = false;
}

void TrayMenuModel::ApplyLocalisedCaptions(ILocaleText& texts, std::string_view productName) {
    // Without a localised text the designed caption stays, with its "&" key; the English text
    // stands in only where the design has none.
    for (const LocalisedCaption& caption : kStartupCaptions) {
        const std::string& designed = At(caption.item).caption;
        SetCaption(caption.item,
                   LocaleStringOr(texts, caption.textId, designed.empty() ? caption.english : designed, productName));
    }
}

std::span<const TrayMenuEntry> TrayMenuModel::TrayPopup() const {
    return std::span<const TrayMenuEntry>(items_).first(kTrayPopupItemCount);
}

std::span<const TrayMenuEntry> TrayMenuModel::OldTrayMenu() const {
    return std::span<const TrayMenuEntry>(items_).subspan(kTrayPopupItemCount);
}

}  // namespace ovp
