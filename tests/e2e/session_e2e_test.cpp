// The monitor's window as Windows and the shell talk to it: the end of the logon session, the
// re-created taskbar and the way out.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "base/files.h"
#include "context/tray_menu_model.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

class SessionTest : public MonitorTest {
  protected:
    // A running monitor past start-up, with its main window.
    void StartAndWait() {
        monitor_ = StartMonitor();
        ASSERT_TRUE(WaitForStartup(monitor_));
        window_ = WaitForMainWindow(monitor_);
        ASSERT_NE(window_, nullptr) << "the monitor has no main form";
    }

    // What Windows sends when the user logs off: the question, then the end.
    void EndSession() {
        DWORD_PTR answer = 0;
        ASSERT_NE(
            ::SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer),
            0);
        EXPECT_NE(answer, 0u) << "the monitor refused to let the session end";
        ASSERT_NE(
            ::SendMessageTimeoutW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 30000, &answer),
            0);
    }

    std::wstring ClientTitle() const { return win::Wide(settings_.caption + " (" + user_ + ")"); }
    std::wstring HiddenDialogTitle() const { return win::Wide(pin_ + "HiddenWindow"); }

    ChildProcess monitor_;
    HWND window_ = nullptr;
};

TEST_F(SessionTest, EndOfSessionResetsTheConnectionAndEndsTheClient) {
    LayOut();
    StartAndWait();
    // The engine is connected and its client is open when the user logs off.
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, ConnectionParametersKey(), win::Wide(c::kRegStatus), 1));
    ChildProcess client = StartClientStandIn();
    ASSERT_NE(::FindWindowW(nullptr, ClientTitle().c_str()), nullptr);

    EndSession();

    EXPECT_EQ(RegDword(HKEY_CURRENT_USER, ConnectionParametersKey(), win::Wide(c::kRegStatus)), 0u);
    EXPECT_TRUE(client.WaitForExit(10s)) << "the client stand-in is still running";
    EXPECT_EQ(::FindWindowW(nullptr, ClientTitle().c_str()), nullptr);
    EXPECT_EQ(::FindWindowW(L"#32770", HiddenDialogTitle().c_str()), nullptr);
}

TEST_F(SessionTest, EndOfSessionDuringAScheduledRunLeavesTheClientToCloseItself) {
    LayOut();
    StartAndWait();
    // The engine runs scheduled job 1: the run marker, line 1 of the schedule database.
    ASSERT_TRUE(CreateFolders(UserFolder()));
    ASSERT_TRUE(ReplaceFileBytes(UserFolder() / PathFromUtf8(c::kScheduleFile), "1\r\n"));
    ChildProcess client = StartClientStandIn();

    EndSession();

    // Not ended by the monitor: it closed on the messages it was sent (a process that is ended
    // records no "ended").
    EXPECT_TRUE(client.WaitForExit(10s));
    const std::string events = StandInEvents();
    EXPECT_NE(events.find("client: ended"), std::string::npos) << events;
    EXPECT_NE(events.find("client: main window closed"), std::string::npos) << events;
    EXPECT_NE(events.find("client: hidden dialog got 0x40A"), std::string::npos) << events;
}

TEST_F(SessionTest, BroadcastTaskbarCreatedBringsTheIconBack) {
    LayOut();
    StartAndWait();
    ASSERT_TRUE(TrayIconPresent(window_, 0));

    // Explorer restarted: the new taskbar knows no icons and tells every top-level window.
    ASSERT_TRUE(DeleteTrayIcon(window_, 0));
    // Nothing else brings it back (two status ticks pass).
    std::this_thread::sleep_for(4500ms);
    ASSERT_FALSE(TrayIconPresent(window_, 0));
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);

    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(window_, 0); }, 10s));
    EXPECT_TRUE(monitor_.IsRunning());
}

TEST_F(SessionTest, ExitFromTheTrayMenuRemovesTheIconAndEndsCleanly) {
    LayOut();
    StartAndWait();
    ASSERT_TRUE(TrayIconPresent(window_, 0));

    ASSERT_TRUE(::PostMessageW(window_, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0));
    ASSERT_TRUE(monitor_.WaitForExit(15s)) << "the monitor did not end on Exit";
    EXPECT_EQ(monitor_.ExitCode(), std::optional<DWORD>(0));
    EXPECT_FALSE(TrayIconPresent(window_, 0)) << "the icon was left behind in the notification area";
    // The mark of a running monitor went with it (unless another program of the same name runs
    // in this Wine session), and the next start runs again.
    const std::wstring exeName = win::Wide(names_.tray);
    const std::vector<RunningProcess> processes = RunningProcesses();
    const bool otherMonitor = std::any_of(processes.begin(), processes.end(), [&](const RunningProcess& process) {
        return _wcsicmp(process.image.filename().c_str(), exeName.c_str()) == 0;
    });
    if (!otherMonitor) {
        const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, win::Wide(names_.mutexName).c_str());
        EXPECT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        ::CloseHandle(mutex);
    }
    DeleteRegValue(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser));
    ChildProcess again = StartMonitor();
    EXPECT_TRUE(WaitForStartup(again));
}

}  // namespace
}  // namespace ovp::e2e
