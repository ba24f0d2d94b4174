#pragma once
// One end-to-end scenario: a fresh application folder laid out as the installer and login leave
// it (configuration with reserved example hosts, images, the monitor, the engine stand-ins, a
// logged-in user), the monitor started from there, and the test acting as the engine. Each test
// has an installation name of its own, so its folders and registry keys never meet another test's
// or a real installation's; everything it created is removed afterwards. What the tests observe
// they ask of Windows directly, never through the monitor's own adapters.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_layout.h"
#include "contract/folders.h"
#include "contract/product_config.h"
#include "standin_processes.h"
#include "win32/unique_resource.h"

namespace ovp::e2e {

using namespace std::chrono_literals;

// How long start-up may take: two 1-second waits around the service batch files, the 1-second
// wait of `Main` and the process starts, with room for a slow machine.
inline constexpr auto kStartupTimeout = 45s;
// A monitor that must end "at once" ends well within this.
inline constexpr auto kPromptExit = 15s;

// Polls the condition every 50 ms until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A program the test started itself.
class ChildProcess {
  public:
    // CreateProcessW with the program's quoted path and the arguments; empty on failure.
    static ChildProcess Start(const std::filesystem::path& program,
                              const std::filesystem::path& workingFolder,
                              std::wstring_view arguments = {});

    explicit operator bool() const { return static_cast<bool>(handle_); }
    DWORD Id() const { return id_; }
    bool IsRunning() const { return handle_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT; }
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    std::optional<DWORD> ExitCode() const;  // once the process has ended

  private:
    win::unique_handle handle_;
    DWORD id_ = 0;
};

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::wstring ClassNameOf(HWND window);
// Asked by a modification that changes nothing, which the shell refuses for an icon it lacks.
bool TrayIconPresent(HWND owner, UINT id);
// The hidden main form of that monitor process; null when it has none (yet).
HWND MainWindowOf(DWORD processId);
std::optional<std::wstring> RegString(HKEY root, std::wstring_view key, std::wstring_view name);

class MonitorTest : public ::testing::Test {
  protected:
    MonitorTest();
    void SetUp() override;
    void TearDown() override;

    // Lays out the application folder (without the service stand-in unless asked: a test that
    // does not look at the service should not install one) and logs the user in.
    void LayOut(standin::LayoutParts parts = NoServiceParts());
    static standin::LayoutParts NoServiceParts();

    ChildProcess StartMonitor();
    // Until start-up has written its last value ("FirstTimeUser"), or the monitor has ended.
    bool WaitForStartup(const ChildProcess& monitor);
    HWND WaitForMainWindow(const ChildProcess& monitor);

    std::wstring VendorKey() const;   // HKCU "Software\<vendor>\" + PIN
    std::wstring ProductKey() const;  // "Software\" + PIN (HKCU fallback, HKLM values)

    std::filesystem::path root_;  // the test's own folder; the application folder lies inside
    std::filesystem::path app_;
    std::string pin_;
    ProductSettings settings_;
    ExecutableNames names_;
    std::string user_ = "alice";

  private:
    std::wstring WineVersionKey() const;
    Folders folders_;
    std::optional<std::wstring> previousWineVersion_;
};

}  // namespace ovp::e2e
