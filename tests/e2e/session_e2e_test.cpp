// The monitor's window as the shell talks to it: the re-created taskbar and the way out.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

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

    ChildProcess monitor_;
    HWND window_ = nullptr;
};

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
