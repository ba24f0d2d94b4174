#include "app/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/files.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"
#include "support/fake_locale_format.h"
#include "support/fake_tray.h"

namespace ovp {
namespace {

class RecordingFormHost : public IMainFormHost, public IStatusView, public IFailureNotificationView {
  public:
    void RemoveTrayIcon() override { calls.push_back("remove"); }
    void RefreshFormIcon() override { calls.push_back("refresh"); }
    void AddTrayIcon() override { calls.push_back("add"); }
    void EnableHibernationTimer(bool enable) override { calls.push_back(enable ? "timer on" : "timer off"); }
    void ShowStatusWindow() override { calls.push_back("status window"); }
    void ArmCommandTimer(CommandTimer /*timer*/, bool armed) override { calls.push_back(armed ? "arm" : "disarm"); }
    void SetBusyCursor(bool /*busy*/) override {}
    void PopUpTrayMenu(const TrayMenuModel& /*menu*/) override { calls.push_back("menu"); }
    void OpenWindow(FeatureWindow window) override {
        calls.push_back("window " + std::to_string(static_cast<int>(window)));
    }
    std::uintptr_t OwnerWindow() override { return 0; }
    void Exit() override { calls.push_back("exit"); }
    void Render(const StatusViewState& /*state*/) override {}
    void Show(const FailureNotificationState& /*state*/) override { calls.push_back("notification"); }
    // The status window's and the notification's.
    void Close() override { calls.push_back("close"); }
    std::vector<std::string> calls;
};

// Each event reaches exactly its part: the status monitor shows a picture, the watcher starts the
// stopped service, the rest is asked of the window. Close on the failure notification closes it.
TEST(MainFormTest, EachTimerAndCommandReachesItsPart) {
    using Event = std::function<void(MainForm&)>;
    struct Case {
        const char* name;
        Event event;
        std::vector<std::string> hostCalls;
        bool pictureShown;
        bool serviceStarted;
    } cases[] = {
        {"status timer", [](MainForm& f) { f.OnTimer(FormTimer::Status); }, {}, true, false},
        {"watcher timer", [](MainForm& f) { f.OnTimer(FormTimer::Watcher); }, {}, false, true},
        {"hibernation timer", [](MainForm& f) { f.OnTimer(FormTimer::Hibernation); }, {"timer off"}, false, false},
        {"tray retry timer", [](MainForm& f) { f.OnTimer(FormTimer::TrayRetry); }, {"add"}, false, false},
        {"exit", [](MainForm& f) { f.OnMenuCommand(TrayMenuItem::MnuExit); }, {"exit"}, false, false},
        {"shutdown", [](MainForm& f) { f.OnMenuCommand(TrayMenuItem::mnuShutdown); }, {"exit"}, false, false},
        {"other command", [](MainForm& f) { f.OnMenuCommand(TrayMenuItem::mnuStop); }, {}, false, false},
        {"status item", [](MainForm& f) { f.OnMenuCommand(TrayMenuItem::mnuStatus); }, {"window 0"}, false, false},
        {"notification closed", [](MainForm& f) { f.FailureEvents().cancel_Click(); }, {"close"}, false, false},
        {"status window's View Log", [](MainForm& f) { f.StatusEvents().Cmd_Yes_Click(); }, {"window 1"}, false, false},
        {"right button on the icon",
         [](MainForm& f) { f.OnTrayIconMouse(TrayMouse::RightUp); },
         {"menu"},
         false,
         false},
        {"right button by the private message",
         [](MainForm& f) { f.OnTrayMouse(TrayMouse::RightUp); },
         {"menu"},
         false,
         false},
    };
    for (const Case& c : cases) {
        test::AppFixture fx;
        fx.WriteConfiguration();
        fx.system.version = OsVersion{true, 5, 1, 2600};  // the service is looked at on every tick
        fx.services.states["Grp Backup Service"] = kServiceStopped;
        CreateFolders(fx.app / "Images");
        test::WriteAll(fx.app / "Images" / "ovlog.ico", "icon");
        test::FakeTrayIcon tray;
        test::FakeLocaleFormat locale;
        RecordingFormHost host;
        test::ScriptedMessageBox box;
        MainForm form(fx.Context(), host, tray, host, host, locale, box, 1);

        c.event(form);
        EXPECT_EQ(host.calls, c.hostCalls) << c.name;
        EXPECT_EQ(!tray.icons.empty(), c.pictureShown) << c.name;
        const bool started = std::any_of(fx.shell.requests.begin(), fx.shell.requests.end(),
                                         [&](const auto& r) { return r.file == fx.app / "StartGrpService.bat"; });
        EXPECT_EQ(started, c.serviceStarted) << c.name;
    }
}

TEST(MainFormTest, OnlyTheFormsTimerIdsAreItsTimers) {
    EXPECT_EQ(FormTimerOf(5), FormTimer::Status);
    EXPECT_EQ(FormTimerOf(1), FormTimer::Watcher);
    EXPECT_EQ(FormTimerOf(0x7E02), FormTimer::TrayRetry);
    EXPECT_EQ(FormTimerOf(2), std::nullopt);
}

}  // namespace
}  // namespace ovp
