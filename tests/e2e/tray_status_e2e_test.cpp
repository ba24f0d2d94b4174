// The tray icon and its tooltip as the user sees them while the engine works: the engine
// simulator writes what the engine would, and the test watches the notification area and the
// windows on the screen, never the monitor's own state.

#include <gtest/gtest.h>

#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"
#include "tray_observer.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

// A tray tip shows at most 63 characters.
constexpr std::size_t kTipLimit = 63;
// A few of the monitor's 2-second ticks.
constexpr auto kFewTicks = 15s;

class TrayStatusTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        LayOut();
    }

    // Starts the monitor and finds its icon: the one that appears in the tray with it.
    void StartAndFindIcon() {
        const std::vector<HWND> before = TrayIconWindows();
        monitor_ = StartMonitor();
        ASSERT_TRUE(WaitForStartup(monitor_));
        icon_ = WaitForNewTrayIcon(before, 20s);
        ASSERT_NE(icon_, nullptr) << "no single new icon appeared in the tray (" << before.size() << " before, "
                                  << TrayIconWindows().size() << " now"
                                  << (TrayWindow() == nullptr ? ", no tray window" : "") << ")";
        ASSERT_TRUE(WaitForIconColour(icon_, IconColour::Normal, kFewTicks))
            << "an idle monitor shows " << DescribeIcon(icon_);
    }

    ChildProcess StartSimulator(std::wstring_view arguments) {
        return ChildProcess::Start(app_ / PathFromUtf8(standin::kSimulatorProgram), app_, arguments);
    }
    ::testing::AssertionResult Simulate(std::wstring_view arguments) {
        ChildProcess simulator = StartSimulator(arguments);
        if (!simulator || !simulator.WaitForExit(30s)) {
            return ::testing::AssertionFailure() << "the engine simulator did not run: " << win::Narrow(arguments);
        }
        if (simulator.ExitCode() != std::optional<DWORD>(0)) {
            return ::testing::AssertionFailure() << "the engine simulator failed: " << win::Narrow(arguments);
        }
        return ::testing::AssertionSuccess();
    }

    // "<ProductName> - " + text, as far as a tray tip shows it.
    std::wstring ProductTip(std::string_view text) const {
        return win::Wide(settings_.productName + " - " + std::string(text)).substr(0, kTipLimit);
    }

    void ExpectTooltip(const std::wstring& expected) {
        std::wstring last;
        EXPECT_TRUE(WaitForTooltip(icon_, expected, kFewTicks, &last))
            << "tooltip: \"" << win::Narrow(last) << "\"\nwanted:  \"" << win::Narrow(expected) << "\"";
    }
    std::wstring Tooltip() { return HoverTooltip(icon_).value_or(L"(no tooltip)"); }

    // The icon alternates between the two pictures, each shown within a tick or two.
    void ExpectBlinking(IconColour a, IconColour b) {
        for (const IconColour colour : {a, b, a, b}) {
            EXPECT_TRUE(WaitForIconColour(icon_, colour, 5s))
                << "never " << NameOf(colour) << "; seen: " << DescribeIcon(icon_);
        }
    }
    // The icon settles on the picture and shows no other for two ticks (a reading that met a
    // repaint is no picture).
    void ExpectSteady(IconColour colour) {
        ASSERT_TRUE(WaitForIconColour(icon_, colour, kFewTicks))
            << "never " << NameOf(colour) << "; seen: " << DescribeIcon(icon_);
        IconColour other = IconColour::Unknown;
        EXPECT_FALSE(WaitUntil(
            [&] {
                other = IconColourOf(icon_);
                return other != colour && other != IconColour::Unknown;
            },
            4500ms))
            << NameOf(colour) << " changed to " << NameOf(other);
    }

    // ---- The status window ----
    std::wstring StatusWindowTitle() const { return win::Wide(DisplayName(settings_) + " - Scheduled Backup Status"); }

    HWND WaitForStatusWindow() {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window : TopLevelWindowsOf(monitor_.Id())) {
                    if (::IsWindowVisible(window) && SentWindowText(window) == StatusWindowTitle()) {
                        found = window;
                    }
                }
                return found != nullptr;
            },
            kFewTicks);
        return found;
    }

    // Whether a visible control of the window reads that text (asked as a screen reader would).
    static bool ShowsText(HWND window, std::wstring_view text) {
        for (HWND child = ::FindWindowExW(window, nullptr, nullptr, nullptr); child != nullptr;
             child = ::FindWindowExW(window, child, nullptr, nullptr)) {
            if (::IsWindowVisible(child) && SentWindowText(child) == text) {
                return true;
            }
        }
        return false;
    }

    // Presses the button with that caption the way a click on it ends.
    static bool PressButton(HWND window, std::wstring_view caption) {
        HWND button = nullptr;
        while ((button = ::FindWindowExW(window, button, nullptr, nullptr)) != nullptr) {
            if (SentWindowText(button) == caption) {
                return ::PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
            }
        }
        return false;
    }

    // Checks the window the engine asked for after a scheduled backup and closes it with "Close".
    void CheckAndCloseStatusWindow(std::wstring_view statusLine) {
        const HWND window = WaitForStatusWindow();
        ASSERT_NE(window, nullptr) << "no \"" << win::Narrow(StatusWindowTitle()) << "\" window appeared";
        // The monitor took the request: the engine's flag is down again.
        EXPECT_EQ(Profile(c::kBackupStatusSection, c::kStatusWindow), "0");
        EXPECT_TRUE(WaitUntil([&] { return ShowsText(window, statusLine); }, 5s))
            << "no status line \"" << win::Narrow(statusLine) << "\"";
        ASSERT_TRUE(PressButton(window, L"Close"));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, 10s))
            << "the status window stayed open after \"Close\"";
        EXPECT_TRUE(monitor_.IsRunning());
    }

    ChildProcess monitor_;
    HWND icon_ = nullptr;
};

TEST_F(TrayStatusTest, ScheduledBackupBlinksWhileRunningThenShowsItsResultAndTheStatusWindow) {
    ASSERT_NO_FATAL_FAILURE(StartAndFindIcon());

    ASSERT_TRUE(Simulate(L"start"));
    ExpectBlinking(IconColour::Yellow, IconColour::Normal);
    ExpectTooltip(ProductTip("The scheduled backup job is in progress..."));

    ASSERT_TRUE(Simulate(L"finish success"));
    ExpectSteady(IconColour::Green);
    CheckAndCloseStatusWindow(L"Backup completed successfully.");
    // Closing the window changes nothing the icon shows, and the tip no longer says it runs.
    ExpectSteady(IconColour::Green);
    const std::wstring tip = Tooltip();
    EXPECT_TRUE(tip.starts_with(L"Files backed up ") && tip.ends_with(L"minute(s) ago.")) << win::Narrow(tip);

    // The whole run from one command, as the engine plays it: running for a few seconds, then failing.
    ChildProcess play = StartSimulator(L"play failure 6");
    ASSERT_TRUE(play);
    EXPECT_TRUE(WaitForIconColour(icon_, IconColour::Yellow, kFewTicks)) << DescribeIcon(icon_);
    ASSERT_TRUE(play.WaitForExit(30s));
    ASSERT_EQ(play.ExitCode(), std::optional<DWORD>(0));
    ExpectSteady(IconColour::Red);
    CheckAndCloseStatusWindow(L"Backup has failed");
    ExpectTooltip(L"Backup has failed");
}

TEST_F(TrayStatusTest, ContinuousBackupOutranksTheLastResultWhileItRunsOrFails) {
    ASSERT_NO_FATAL_FAILURE(StartAndFindIcon());
    ASSERT_TRUE(Simulate(L"start"));
    ASSERT_TRUE(Simulate(L"finish success --no-window"));
    ExpectSteady(IconColour::Green);

    ASSERT_TRUE(Simulate(L"cdp 1"));
    ExpectBlinking(IconColour::CdpBlue1, IconColour::CdpBlue2);
    ExpectTooltip(ProductTip("Continuous Backup is in progress"));

    ASSERT_TRUE(Simulate(L"cdp 3"));
    ExpectSteady(IconColour::Red);
    ExpectTooltip(ProductTip("Continuous Backup has failed"));

    // Continuous backup idle again: the last scheduled backup's result shows once more.
    ASSERT_TRUE(Simulate(L"cdp 0"));
    ExpectSteady(IconColour::Green);
}

}  // namespace
}  // namespace ovp::e2e
