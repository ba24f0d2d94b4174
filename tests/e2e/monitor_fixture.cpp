#include "monitor_fixture.h"

#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/files.h"
#include "context/tray_menu_model.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "standin_product.h"
#include "win32/main_window.h"
#include "win32/text_win.h"

namespace ovp::e2e {

namespace c = contract;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

ChildProcess ChildProcess::Start(const std::filesystem::path& program,
                                 const std::filesystem::path& workingFolder,
                                 std::wstring_view arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ChildProcess child;
    if (::CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         workingFolder.wstring().c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        child.handle_.reset(info.hProcess);
        child.id_ = info.dwProcessId;
    }
    return child;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return handle_ && ::WaitForSingleObject(handle_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
    DWORD code = 0;
    if (!handle_ || IsRunning() || !::GetExitCodeProcess(handle_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& [id, found] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == id) {
                found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(std::max(0, ::GetClassNameW(window, name, 256))));
}

bool TrayIconPresent(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::optional<std::wstring> RegString(HKEY root, std::wstring_view key, std::wstring_view name) {
    wchar_t value[512] = {};
    DWORD bytes = sizeof(value);
    if (::RegGetValueW(root, std::wstring(key).c_str(), std::wstring(name).c_str(), RRF_RT_REG_SZ, nullptr, value,
                       &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

HWND MainWindowOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == win::kMainWindowClassName) {
            return window;
        }
    }
    return nullptr;
}

namespace {

// Every test folder's name starts so; what a crashed earlier run left running there is ended.
constexpr std::wstring_view kFolderMark = L"ovp-e2e-";

unsigned NextNumber() {
    static std::atomic<unsigned> counter{0};
    return counter++;
}

void SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    ::RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Ends the monitor the way the user does, with "Exit" of the tray menu, so that Wine's tray keeps
// no icon of it; a monitor that does not end on that is terminated.
void ExitMonitor(DWORD processId) {
    const HWND window = MainWindowOf(processId);
    win::unique_handle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (process && !(window != nullptr && ::PostMessageW(window, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0) &&
                     ::WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0)) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 5000);
    }
}

}  // namespace

MonitorTest::MonitorTest()
    : root_(std::filesystem::temp_directory_path() /
            (std::wstring(kFolderMark) + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(NextNumber()))),
      app_(root_ / L"Orvessa App"),
      pin_("OVPe2e" + std::to_string(::GetCurrentProcessId()) + "n" + std::to_string(NextNumber())),
      settings_(standin::ExampleProduct(pin_)),
      names_(BuildExecutableNames(settings_)),
      folders_(app_, pin_) {}

std::wstring MonitorTest::WineVersionKey() const {
    return L"Software\\Wine\\AppDefaults\\" + win::Wide(names_.tray);
}

void MonitorTest::SetUp() {
    for (const standin::RunningProcess& process : standin::RunningProcesses()) {
        if (process.image.wstring().find(L"\\" + std::wstring(kFolderMark)) != std::wstring::npos) {
            standin::EndProcessesUnder(process.image.parent_path());
        }
    }
    std::filesystem::create_directories(app_);
    // Which Windows Wine pretends to be for the monitor: the same for every test, so that start-up
    // takes the same path whatever the prefix says.
    previousWineVersion_ = RegString(HKEY_CURRENT_USER, WineVersionKey(), L"Version");
    SetRegString(HKEY_CURRENT_USER, WineVersionKey(), L"Version", L"win10");
}

void MonitorTest::TearDown() {
    if (HasFailure()) {
        // The user's trace (UTF-16LE) for whoever reads the failure.
        const std::string bytes =
            ReadFileBytes(folders_.UserFolder(user_) / PathFromUtf8(c::kTrayTraceFile)).value_or("");
        std::wstring trace(bytes.size() / 2, L'\0');
        std::memcpy(trace.data(), bytes.data(), trace.size() * sizeof(wchar_t));
        std::printf("---- user trace\n%s\n", win::Narrow(trace).c_str());
    }
    for (const standin::RunningProcess& process : standin::ProcessesUnder(root_)) {
        if (_wcsicmp(process.image.filename().c_str(), win::Wide(names_.tray).c_str()) == 0) {
            ExitMonitor(process.id);
        }
    }
    standin::EndProcessesUnder(root_);
    for (const auto& [root, key] :
         {std::pair{HKEY_CURRENT_USER, VendorKey()}, std::pair{HKEY_CURRENT_USER, ProductKey()},
          std::pair{HKEY_LOCAL_MACHINE, ProductKey()}}) {
        ::RegDeleteTreeW(root, key.c_str());
        ::RegDeleteKeyW(root, key.c_str());
    }
    if (previousWineVersion_) {
        SetRegString(HKEY_CURRENT_USER, WineVersionKey(), L"Version", *previousWineVersion_);
    } else {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, WineVersionKey().c_str(), L"Version");
    }
    // A process that was just ended may hold its files for a moment.
    WaitUntil(
        [&] {
            std::error_code error;
            std::filesystem::remove_all(root_, error);
            return !std::filesystem::exists(root_);
        },
        5s);
}

standin::LayoutParts MonitorTest::NoServiceParts() {
    standin::LayoutParts parts;
    parts.service = false;
    return parts;
}

void MonitorTest::LayOut(standin::LayoutParts parts) {
    ASSERT_TRUE(standin::LayOutApplicationFolder(app_, settings_, parts));
    ASSERT_TRUE(standin::WriteLoggedInUser(app_, settings_, user_));
}

ChildProcess MonitorTest::StartMonitor() {
    // Started from another folder: the monitor must find its files by its own location.
    ChildProcess monitor = ChildProcess::Start(app_ / PathFromUtf8(names_.tray), root_);
    EXPECT_TRUE(monitor) << "could not start " << names_.tray;
    return monitor;
}

bool MonitorTest::WaitForStartup(const ChildProcess& monitor) {
    const auto done = [&] {
        return RegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser)) == std::wstring(L"TRUE");
    };
    WaitUntil([&] { return done() || !monitor.IsRunning(); }, kStartupTimeout);
    return done();
}

HWND MonitorTest::WaitForMainWindow(const ChildProcess& monitor) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = MainWindowOf(monitor.Id())) != nullptr || !monitor.IsRunning(); }, 10s);
    return window;
}

std::wstring MonitorTest::VendorKey() const {
    return win::Wide(std::string(c::kVendorKeyPrefix) + pin_);
}

std::wstring MonitorTest::ProductKey() const {
    return win::Wide(std::string(c::kProductKeyPrefix) + pin_);
}

}  // namespace ovp::e2e
