#pragma once
// One end-to-end scenario: a fresh application folder laid out as the installer and login leave
// it (configuration with reserved example hosts, images, the monitor, the engine stand-ins, a
// logged-in user), the monitor started from there, and the test acting as the engine by writing
// the shared files and values. Each test has an installation name of its own, so its folders and
// registry keys never meet another test's or a real installation's; everything it created is
// removed afterwards (processes, the service, registry keys, the folder).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "app_layout.h"
#include "contract/folders.h"
#include "contract/product_config.h"
#include "e2e_win.h"
#include "standin_product.h"
#include "win32/profile_store_win.h"

namespace ovp::e2e {

// How long start-up may take: two 1-second waits around the service batch files, the 1-second
// wait of `Main` and the process starts, with room for a slow machine.
inline constexpr auto kStartupTimeout = 45s;
// A monitor that must end "at once" ends well within this.
inline constexpr auto kPromptExit = 15s;

class MonitorTest : public ::testing::Test {
  protected:
    MonitorTest();
    void SetUp() override;
    void TearDown() override;

    // ---- Layout ----
    // Lays out the application folder (without the service stand-in unless asked: a test that
    // does not look at the service should not install one) and logs the user in.
    void LayOut(standin::LayoutParts parts = NoServiceParts());
    static standin::LayoutParts NoServiceParts();

    // ---- The monitor ----
    ChildProcess StartMonitor();
    // Until start-up has written its last value ("FirstTimeUser"), or the monitor has ended.
    bool WaitForStartup(const ChildProcess& monitor);
    // The hidden main form `frmOVWinService` of that monitor process; null when it has none.
    static HWND MainWindowOf(DWORD processId);
    HWND WaitForMainWindow(const ChildProcess& monitor);
    // Ends the monitor the way the user does, with "Exit" of the tray menu, so that its tray
    // icon goes with it; a monitor that does not end on that is terminated. True when it ended
    // on its own.
    static bool ExitMonitor(DWORD processId);

    // ---- Shared values, as the engine reads them ----
    // Plain values of the user's profile file.
    std::string Profile(std::string_view section, std::string_view key);

    // ---- Traces and events ----
    // The trace lines without their leading date; empty when there is no trace.
    std::vector<std::string> UserTraceTexts();
    std::string StandInEvents();

    // ---- Paths and names ----
    std::filesystem::path StartFolder() const { return folders_.StartFolder(); }
    std::filesystem::path UserFolder() const { return folders_.UserFolder(user_); }
    std::wstring VendorKey() const;   // HKCU "Software\Harrowlane\" + PIN
    std::wstring ProductKey() const;  // "Software\" + PIN (HKCU fallback, HKLM values)

    std::filesystem::path root_;  // the test's own folder; the application folder lies inside
    std::filesystem::path app_;
    std::string pin_;
    ProductSettings settings_;
    ExecutableNames names_;
    Folders folders_;
    std::string user_ = "alice";
    win::Win32ProfileStore store_;

  private:
    // Which Windows Wine pretends to be for the monitor: "win10" for every test, so that start-up
    // takes the same path whatever the prefix says.
    void UseWindowsVersion(std::wstring_view version);

    // What a failed test leaves for whoever reads its output: the traces and the stand-ins' events.
    void PrintEvidence();

    bool previousVersionSaved_ = false;
    std::optional<std::wstring> previousMonitorVersion_;
};

// The index of the first line at or after `from` that is exactly text; npos when none.
std::size_t FindLine(const std::vector<std::string>& lines, std::string_view text, std::size_t from = 0);

}  // namespace ovp::e2e
