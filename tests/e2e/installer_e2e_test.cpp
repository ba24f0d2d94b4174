// The installer as a user runs it: a silent per-user install that leaves the monitor running and
// starting with Windows, and a silent uninstall that ends the monitor through its own exit, removes
// what was installed and keeps the users' data.
#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

#ifdef OVP_SETUP_EXE
// The one monitor's process, opened to wait for its end; null while there is none.
win::unique_handle RunningMonitor() {
    const HWND window = ::FindWindowW(win::kMainWindowClassName, nullptr);
    DWORD id = 0;
    if (window == nullptr || ::GetWindowThreadProcessId(window, &id) == 0) {
        return {};
    }
    return win::unique_handle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
}

std::optional<DWORD> RunToEnd(const fs::path& program, const fs::path& folder, std::wstring_view arguments) {
    const Child child = Start(program, folder, arguments);
    return child.process ? child.Exit(60s) : std::nullopt;
}

TEST(InstallerE2e, SilentInstallRunsTheMonitorAndUninstallEndsItKeepingTheUsersData) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (L"ovp-install-" + std::to_wstring(::GetCurrentProcessId()));
    // The build passes a Linux path; under Wine the Linux root is drive Z:.
    const fs::path setup = fs::path(L"Z:" + win::Wide(OVP_SETUP_EXE)).make_preferred();
    ASSERT_FALSE(RunningMonitor()) << "another monitor runs already";

    ASSERT_EQ(RunToEnd(setup, setup.parent_path(), L"/S /D=" + folder.wstring()), 0u);
    for (const wchar_t* file : {L"OVPMonitor.exe", L"Configuration.ini", L"Images\\ovlog.ico", L"Uninstall.exe"}) {
        EXPECT_TRUE(fs::exists(folder / file)) << fs::path(file).string();
    }
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunKey, L"OVPMonitor"),
              L"\"" + (folder / L"OVPMonitor.exe").wstring() + L"\"");
    win::unique_handle monitor;
    ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(monitor = RunningMonitor()); }, kStartupTimeout));

    // A user's folder beside the program, as the engine makes it.
    const fs::path userData = folder / L"Orvessa Professionalalice" / L"scheduleData.txt";
    fs::create_directories(userData.parent_path());
    ASSERT_TRUE(ReplaceFileBytes(userData, "0\r\n"));

    // As from the list of installed programs: the uninstaller copies itself away and returns at
    // once, and the copy does the work (and can remove the uninstaller too).
    EXPECT_EQ(RunToEnd(folder / L"Uninstall.exe", folder, L"/S"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder / L"Uninstall.exe"); }, 60s));
    DWORD exitCode = 1;
    EXPECT_EQ(::WaitForSingleObject(monitor.get(), static_cast<DWORD>(kPromptExit / 1ms)), WAIT_OBJECT_0);
    EXPECT_TRUE(::GetExitCodeProcess(monitor.get(), &exitCode) && exitCode == 0) << "not ended by its own exit";
    for (const wchar_t* gone : {L"OVPMonitor.exe", L"Configuration.ini", L"Images", L"Uninstall.exe"}) {
        EXPECT_FALSE(fs::exists(folder / gone)) << fs::path(gone).string();
    }
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunKey, L"OVPMonitor"), std::nullopt);
    EXPECT_TRUE(fs::exists(userData));

    // Whatever a failed expectation left behind.
    if (const auto left = RunningMonitor()) {
        ::TerminateProcess(left.get(), 1);
    }
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"OVPMonitor");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
#else
TEST(InstallerE2e, SilentInstallRunsTheMonitorAndUninstallEndsItKeepingTheUsersData) {
    GTEST_SKIP() << "built without makensis: no installer";
}
#endif

}  // namespace
}  // namespace ovp::e2e
