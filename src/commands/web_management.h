#pragma once
// Web management from the tray menu: the `WebPlugin` switch with its question, the follow-up of
// `WebMTimer`, the report of an error that the web-management component left in `ErrVal`, and the
// fade of the alert window `frmWelcome` that tells the user about it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_env.h"
#include "contract/trace_sink.h"

namespace ovp {

// Localised text id of the login hint after switching on.
inline constexpr int kTextWebLoginHint = 979;

// `ErrVal` "-1", "-2" or "-3": the component switched web management off and says why.
bool IsWebManagementError(std::string_view errVal);

enum class WebPluginClick {
    Done,
    // No user is logged in: the caller opens the main application for the login.
    LoginNeeded,
};

// `WebPlugin`: asks before switching on or off, records the choice and arms `WebMTimer`.
WebPluginClick WebPlugin_Click(CommandEnv& env);

// `WebMTimer`: switching on needs a user and a password; switching off clears the error.
void WebMTimer_Timer(CommandEnv& env);

// What the alert window `frmWelcome` shows, and the tray tooltip that goes with it.
struct WebAlert {
    std::string caption;  // product caption + " - Web Management"
    std::string text;
    std::string trayTip;  // product caption + " - " + text, as the tray can show it
    std::string closeCaption;
};

// The report of an `ErrVal` of "-1", "-2" or "-3": web management is switched off and, for a
// logged-in user, the error is cleared, "-1" and "-2" log the user out and the alert is given.
// nullopt when there is nothing to tell (no user, or no error).
std::optional<WebAlert> WebManagementErrorReport(AppContext& context, std::string_view errVal);

// `frmWelcome`'s fade: from transparent to opaque by a step per `Timer1` tick, then it stays.
inline constexpr int kWelcomeFadeStep = 15;
inline constexpr int kWelcomeOpaque = 255;
inline constexpr std::uint32_t kWelcomeFadeMs = 50;

class frmWelcome {
  public:
    explicit frmWelcome(ITraceSink& trace) : trace_(trace) {}

    // A new alert starts transparent; the opacity to show.
    std::uint8_t Form_Load();
    // One `Timer1` tick: the next opacity, and whether the timer is to go on.
    struct Fade {
        std::uint8_t opacity;
        bool goOn;
    };
    Fade Timer1_Timer();
    // The window has been closed by its exit button.
    void Form_Unload();

  private:
    ITraceSink& trace_;
    int opacity_ = 0;
};

}  // namespace ovp
