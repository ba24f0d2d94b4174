#include "commands/web_management.h"

#include <algorithm>

#include "base/resume_next.h"
#include "base/text.h"
#include "commands/command_run.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "platform/tray.h"
#include "ui/message_box.h"

namespace ovp {

namespace c = contract;
using Item = TrayMenuItem;

namespace {

constexpr std::string_view kOff = "0";
constexpr std::string_view kOn = "1";

constexpr std::string_view kQuestionTitle = "Web Management";
constexpr std::string_view kSwitchOnQuestion =
    "On enabling this option, you will be able to manage your Backup Set, its Schedule and View Logs remotely via "
    "Web.";
constexpr std::string_view kSwitchOffQuestion =
    "On disabling this feature, you will no longer be able to manage your Backup Set and Schedule via Web.";
constexpr std::string_view kAlertCaptionSuffix = " - Web Management";
constexpr std::string_view kPasswordChangedAlert =
    "Web Manager is disabled as your password has been changed. Login with your new password to continue.";
constexpr std::string_view kOtherErrorAlert = "Web Manager is disabled as an error has occured";
constexpr std::string_view kAlertClose = "Close";
constexpr std::uint32_t kErrorReportWaitMs = 1000;

constexpr int kTextAlertCaptionSuffix = 5710;
constexpr int kTextPasswordChangedAlert = 5711;
constexpr int kTextAccountCanceledAlert = 5712;
constexpr int kTextOtherErrorAlert = 5713;
constexpr int kTextAlertClose = 5714;
constexpr int kTextQuestionTitle = 5715;
constexpr int kTextSwitchOnQuestion = 5716;
constexpr int kTextSwitchOffQuestion = 5717;
constexpr int kTextLoginNeeded = 5718;

// The English texts that name the product are built with its name already.
std::string Text(AppContext& context, int id, std::string_view english) {
    return LocaleStringOr(context.texts, id, english, context.settings.productName);
}

bool LoggedIn(AppContext& context) {
    return !TrimWhitespace(context.values.CurrentUserName()).empty();
}

// The password is only ever tested for presence here, never kept or traced.
bool HasPassword(AppContext& context) {
    return !Trim(context.transfer.Trf_ReadUserProfile(c::kPassword)).empty() ||
           !Trim(context.transfer.Trf_ReadUserProfile(c::kUserPassword)).empty();
}

void WriteSwitch(AppContext& context, std::string_view webPlugin) {
    context.values.WriteProfile(c::kWebSection, c::kWebPlugin, webPlugin);
}

void ClearError(AppContext& context) {
    context.values.WriteProfile(c::kOlwaSection, c::kErrVal, "");
}

void LogOut(AppContext& context) {
    SharedValues& values = context.values;
    values.WriteRegistryDword(RegistryRoot::CurrentUser, values.ConnectionParametersKey(), c::kRegStatus, 0);
}

}  // namespace

bool IsWebManagementError(std::string_view errVal) {
    const std::string value = Trim(errVal);
    return value == c::kWebErrorPasswordChanged || value == c::kWebErrorAccountCanceled || value == c::kWebErrorOther;
}

WebPluginClick WebPlugin_Click(CommandEnv& env) {
    CommandRun run(env, "WebPlugin");
    if (!run.Acquired()) {
        return WebPluginClick::Done;
    }
    AppContext& context = env.context;
    TrayMenuModel& menu = context.trayMenu;
    if (!LoggedIn(context)) {
        Notice(env.messageBox,
               Text(context, kTextLoginNeeded,
                    "To enable web management login to your " + context.settings.productName + " account."),
               env.host.OwnerWindow());
        menu.SetChecked(Item::WebPlugin, false);
        ClearError(context);
        WriteSwitch(context, kOff);
        return WebPluginClick::LoginNeeded;
    }
    const bool on = menu.Item(Item::WebPlugin).checked;
    const std::string question = on ? Text(context, kTextSwitchOffQuestion, kSwitchOffQuestion)
                                    : Text(context, kTextSwitchOnQuestion, kSwitchOnQuestion);
    if (!Question(env.messageBox, question, "Proceed", "Cancel", env.host.OwnerWindow(),
                  Text(context, kTextQuestionTitle, kQuestionTitle))) {
        return WebPluginClick::Done;
    }
    if (on) {
        context.trace.Info("Disabling WebPlugin");
        WriteSwitch(context, kOff);
        ClearError(context);
    } else {
        context.trace.Info("Enabling WebPlugin");
        ClearError(context);
        WriteSwitch(context, kOn);
    }
    env.host.ArmCommandTimer(CommandTimer::WebMTimer, true);
    menu.SetChecked(Item::WebPlugin, !on);
    return WebPluginClick::Done;
}

void WebMTimer_Timer(CommandEnv& env) {
    // Once per click: the notice below lets this timer's messages through while it is open.
    ResumeNext([&] { env.host.ArmCommandTimer(CommandTimer::WebMTimer, false); });
    CommandRun run(env, "WebMTimer");
    if (!run.Acquired()) {
        return;
    }
    AppContext& context = env.context;
    if (!context.trayMenu.Item(Item::WebPlugin).checked) {
        ClearError(context);
        context.trayMenu.SetChecked(Item::WebPlugin, false);
        WriteSwitch(context, kOff);
        return;
    }
    if (LoggedIn(context) && HasPassword(context)) {
        ClearError(context);
        return;
    }
    const std::string displayName = DisplayName(context.settings);
    Notice(
        env.messageBox,
        LocaleStringOr(context.texts, kTextWebLoginHint,
                       "Login to the " + displayName + " desktop application to enable the 'Web Management' feature.",
                       displayName),
        env.host.OwnerWindow());
}

std::optional<WebAlert> WebManagementErrorReport(AppContext& context, std::string_view errVal) {
    const std::string code = Trim(errVal);
    if (!IsWebManagementError(code)) {
        return std::nullopt;
    }
    TrayMenuModel& menu = context.trayMenu;
    menu.SetChecked(Item::WebPlugin, false);
    WriteSwitch(context, kOff);
    context.trace.Info(" Error occurred in web management " + code);
    context.ports.clock.Sleep(kErrorReportWaitMs);
    if (!LoggedIn(context)) {
        return std::nullopt;
    }
    menu.SetChecked(Item::WebPlugin, false);
    ClearError(context);
    WriteSwitch(context, kOff);

    const ProductSettings& settings = context.settings;
    WebAlert alert;
    alert.caption = settings.caption + Text(context, kTextAlertCaptionSuffix, kAlertCaptionSuffix);
    if (code == c::kWebErrorPasswordChanged) {
        alert.text = Text(context, kTextPasswordChangedAlert, kPasswordChangedAlert);
        LogOut(context);
    } else if (code == c::kWebErrorAccountCanceled) {
        alert.text = Text(context, kTextAccountCanceledAlert,
                          "Web Manager is disabled as your " + settings.productName + " account is canceled.");
        LogOut(context);
    } else {
        alert.text = Text(context, kTextOtherErrorAlert, kOtherErrorAlert);
    }
    alert.closeCaption = Text(context, kTextAlertClose, kAlertClose);
    alert.trayTip = CutTrayTip(settings.caption + " - " + alert.text);
    return alert;
}

// ---- frmWelcome -----------------------------------------------------------------------------

std::uint8_t frmWelcome::Form_Load() {
    opacity_ = 0;
    return 0;
}

frmWelcome::Fade frmWelcome::Timer1_Timer() {
    opacity_ = std::min(opacity_ + kWelcomeFadeStep, kWelcomeOpaque);
    return {static_cast<std::uint8_t>(opacity_), opacity_ < kWelcomeOpaque};
}

void frmWelcome::Form_Unload() {
    trace_.Info(" WebpluginAlert Screen is Closed");
}

}  // namespace ovp
