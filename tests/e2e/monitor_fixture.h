#pragma once
// One end-to-end scenario: a fresh application folder laid out as the installer and login leave
// it (configuration with reserved example hosts, images, the monitor, the engine stand-ins, a
// logged-in user), the monitor started from there, and the test acting as the engine. Each test
// has an installation name of its own, so its folders and registry keys never meet another test's
// or a real installation's; everything it created is removed afterwards. What the tests observe
// they ask of Windows directly, never through the monitor's own adapters.

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "app_layout.h"
#include "base/files.h"
#include "context/tray_menu_model.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "standin_processes.h"
#include "standin_product.h"
#include "win32/main_window.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::e2e {

using namespace std::chrono_literals;

// How long start-up may take: two 1-second waits around the service batch files, the 1-second
// wait of `Main` and the process starts, with room for a slow machine.
inline constexpr auto kStartupTimeout = 45s;
// A monitor that must end "at once" ends well within this.
inline constexpr auto kPromptExit = 15s;

// Polls the condition every 50 ms until it holds or the time is up; true when it held.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// A program the test started itself.
struct Child {
    win::unique_handle process;
    DWORD id = 0;

    bool Running() const { return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT; }
    // The exit code once it has ended within the time.
    std::optional<DWORD> Exit(std::chrono::milliseconds timeout) const {
        DWORD code = 0;
        if (::WaitForSingleObject(process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(process.get(), &code)) {
            return std::nullopt;
        }
        return code;
    }
};

inline Child Start(const std::filesystem::path& program,
                   const std::filesystem::path& folder,
                   std::wstring_view arguments = {}) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    Child child;
    if (::CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.wstring().c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        child.process.reset(info.hProcess);
        child.id = info.dwProcessId;
    }
    return child;
}

inline std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
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

inline std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, static_cast<std::size_t>(std::max(0, ::GetClassNameW(window, name, 256))));
}

// The title of a window (asked without waiting for its thread), or the text of its control of that
// id (which only WM_GETTEXT reads across processes for every kind of control).
inline std::wstring WindowText(HWND window, int id = 0) {
    wchar_t text[512] = {};
    if (id == 0) {
        ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    } else {
        ::SendMessageW(::GetDlgItem(window, id), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    }
    return text;
}

// The visible top-level window of that process with that title or, given a control id, holding
// that control; null when none is shown.
inline HWND VisibleWindowOf(DWORD processId, std::wstring_view title, int control = 0) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (::IsWindowVisible(window) &&
            (control != 0 ? ::GetDlgItem(window, control) != nullptr : WindowText(window) == title)) {
            return window;
        }
    }
    return nullptr;
}

// A list view of another process: messages that carry pointers need their memory in that process.
class RemoteListView {
  public:
    RemoteListView(HWND list, DWORD processId)
        : list_(list),
          process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
          memory_(process_ ? ::VirtualAllocEx(process_.get(),
                                              nullptr,
                                              sizeof(LVITEMW) + sizeof(Text),
                                              MEM_COMMIT | MEM_RESERVE,
                                              PAGE_READWRITE)
                           : nullptr) {}
    ~RemoteListView() {
        if (memory_ != nullptr) {
            ::VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE);
        }
    }

    int Count() const { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Cell(int item, int column) const {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.cchTextMax = static_cast<int>(std::extent_v<Text>) - 1;
        cell.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + sizeof(LVITEMW));
        Text text = {};
        if (Send(LVM_GETITEMTEXTW, item, cell)) {
            ::ReadProcessMemory(process_.get(), cell.pszText, text, sizeof(text) - sizeof(wchar_t), nullptr);
        }
        return text;
    }

    void Tick(int item) const {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        Send(LVM_SETITEMSTATE, item, state);
    }

  private:
    using Text = wchar_t[512];

    // Copies the item over and sends the message that points to it; false without memory there.
    bool Send(UINT message, int item, const LVITEMW& data) const {
        if (memory_ == nullptr || !::WriteProcessMemory(process_.get(), memory_, &data, sizeof(data), nullptr)) {
            return false;
        }
        ::SendMessageW(list_, message, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
        return true;
    }

    HWND list_;
    win::unique_handle process_;
    void* memory_;
};

// The hidden main form of that monitor process; null when it has none (yet).
inline HWND MainWindowOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == win::kMainWindowClassName) {
            return window;
        }
    }
    return nullptr;
}

// The icons of the notification area. Without a desktop shell Wine shows it as a small top-level
// window "Wine System Tray" (owned by explorer.exe) with one child window per icon.
inline std::vector<HWND> TrayIcons() {
    std::vector<HWND> icons;
    if (const HWND tray = ::FindWindowW(nullptr, L"Wine System Tray")) {
        ::EnumChildWindows(
            tray,
            [](HWND window, LPARAM found) -> BOOL {
                if (::IsWindowVisible(window)) {
                    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&icons));
    }
    return icons;
}

// Asked by a modification that changes nothing, which the shell refuses for an icon it lacks.
inline bool TrayIconPresent(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

inline std::optional<std::wstring> RegString(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD bytes = sizeof(value);
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

inline void SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    ::RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Ends the monitor the way the user does, with "Exit" of the tray menu, so that Wine's tray keeps
// no icon of it; a monitor that does not end on that is terminated.
inline void ExitMonitor(DWORD processId) {
    const HWND window = MainWindowOf(processId);
    win::unique_handle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (process && !(window != nullptr && ::PostMessageW(window, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0) &&
                     ::WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0)) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 5000);
    }
}

class MonitorTest : public ::testing::Test {
  protected:
    // Every test folder's name starts so; what a crashed earlier run left running there is ended.
    static constexpr std::wstring_view kFolderMark = L"ovp-e2e-";

    static unsigned NextNumber() {
        static std::atomic<unsigned> counter{0};
        return counter++;
    }

    void SetUp() override {
        for (const standin::RunningProcess& process : standin::RunningProcesses()) {
            if (process.image.wstring().find(L"\\" + std::wstring(kFolderMark)) != std::wstring::npos) {
                standin::EndProcessesUnder(process.image.parent_path());
            }
        }
        std::filesystem::create_directories(app_);
        // The links the monitor opens reach the recorder, which writes them into this test's file.
        ASSERT_TRUE(standin::RegisterUrlRecorder());
        ::SetEnvironmentVariableW(win::Wide(standin::kUrlRecordVariable).c_str(), urlRecord_.c_str());
        // Which Windows Wine pretends to be for the monitor: the same for every test, so that
        // start-up takes the same path whatever the prefix says.
        previousWineVersion_ = RegString(HKEY_CURRENT_USER, WineVersionKey(), L"Version");
        SetRegString(HKEY_CURRENT_USER, WineVersionKey(), L"Version", L"win10");
    }

    void TearDown() override {
        if (HasFailure()) {  // for whoever reads the failure
            std::printf("---- user trace\n%s\n", UserTrace().c_str());
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
            // The installer and the engine are 32-bit programs: their HKLM values are in the 32-bit view.
            const REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0;
            win::unique_hkey handle;
            if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | view, handle.put()) == ERROR_SUCCESS) {
                ::RegDeleteTreeW(handle.get(), nullptr);
            }
            ::RegDeleteKeyExW(root, key.c_str(), view, 0);
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

    // Lays out the application folder (without the service stand-in unless asked: a test that
    // does not look at the service should not install one) and logs the user in.
    void LayOut(bool configuration = true) {
        standin::LayoutParts parts;
        parts.service = false;
        parts.configuration = configuration;
        ASSERT_TRUE(standin::LayOutApplicationFolder(app_, settings_, parts));
        ASSERT_TRUE(standin::WriteLoggedInUser(app_, settings_, user_));
    }

    // Started from another folder: the monitor must find its files by its own location.
    Child StartMonitor() {
        Child monitor = Start(app_ / PathFromUtf8(names_.tray), root_);
        EXPECT_TRUE(monitor.process) << "could not start " << names_.tray;
        return monitor;
    }

    // Until start-up has written its last value ("FirstTimeUser"), or the monitor has ended.
    bool WaitForStartup(const Child& monitor) {
        const auto done = [&] {
            return RegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(contract::kRegFirstTimeUser).c_str()) ==
                   std::wstring(L"TRUE");
        };
        WaitUntil([&] { return done() || !monitor.Running(); }, kStartupTimeout);
        return done();
    }

    // The visible window of that monitor with that title or holding that control, once it shows;
    // null when none came in time or the monitor ended.
    static HWND WaitForWindowOf(const Child& monitor,
                                std::wstring_view title,
                                int control = 0,
                                std::chrono::milliseconds timeout = 10s) {
        HWND window = nullptr;
        WaitUntil(
            [&] { return (window = VisibleWindowOf(monitor.id, title, control)) != nullptr || !monitor.Running(); },
            timeout);
        return window;
    }

    // The user's trace (UTF-16LE) as text.
    std::string UserTrace() const {
        const std::string bytes =
            ReadFileBytes(folders_.UserFolder(user_) / PathFromUtf8(contract::kTrayTraceFile)).value_or("");
        std::wstring trace(bytes.size() / 2, L'\0');
        std::memcpy(trace.data(), bytes.data(), trace.size() * sizeof(wchar_t));
        return win::Narrow(trace);
    }

    // The main form once start-up has finished; null when either did not come in time.
    HWND WaitForMainWindow(const Child& monitor) {
        HWND window = nullptr;
        if (WaitForStartup(monitor)) {
            WaitUntil([&] { return (window = MainWindowOf(monitor.id)) != nullptr || !monitor.Running(); }, 10s);
        }
        return window;
    }

    // The one icon that has appeared in the tray since `before`; null when none came in time.
    static HWND WaitForNewTrayIcon(const std::vector<HWND>& before) {
        HWND icon = nullptr;
        WaitUntil(
            [&] {
                std::vector<HWND> added = TrayIcons();
                std::erase_if(added,
                              [&](HWND i) { return std::find(before.begin(), before.end(), i) != before.end(); });
                icon = added.size() == 1 ? added.front() : nullptr;
                return icon != nullptr;
            },
            20s);
        return icon;
    }

    static std::wstring ReadIni(const std::filesystem::path& file, std::string_view section, std::string_view key) {
        wchar_t value[256] = {};
        ::GetPrivateProfileStringW(win::Wide(section).c_str(), win::Wide(key).c_str(), L"", value,
                                   static_cast<DWORD>(std::size(value)), file.c_str());
        return value;
    }
    static void WriteIni(const std::filesystem::path& file,
                         std::string_view section,
                         std::string_view key,
                         std::string_view value) {
        ::WritePrivateProfileStringW(win::Wide(section).c_str(), win::Wide(key).c_str(), win::Wide(value).c_str(),
                                     file.c_str());
    }
    // The engine's "logged in" (1) or "logged out" (0), read afresh by every command.
    void SetConnectionStatus(DWORD status) const {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, (VendorKey() + L"\\Connection Parameters").c_str(), L"Status", REG_DWORD,
                          &status, sizeof(status));
    }

    // What reached the stand-ins, one "<who>: <event>" line each (standins/common/standin_product.h).
    std::string StandInEvents() const { return ReadFileBytes(app_ / PathFromUtf8(standin::kEventsFile)).value_or(""); }

    // The client stand-in's answers to the next requests, one entry a line
    // (standins/client/client_main.cpp).
    void ScriptClientAnswers(std::string_view entries) const {
        ASSERT_TRUE(ReplaceFileBytes(app_ / PathFromUtf8(standin::kClientScriptFile), entries));
    }

    // The links opened so far, in order.
    std::vector<std::string> OpenedUrls() const {
        std::vector<std::string> urls;
        const std::string text = ReadFileBytes(urlRecord_).value_or("");
        for (std::size_t begin = 0, end; begin < text.size(); begin = end + 2) {
            end = text.find("\r\n", begin);
            if (end == std::string::npos) {
                break;
            }
            urls.push_back(text.substr(begin, end - begin));
        }
        return urls;
    }

    std::wstring VendorKey() const { return win::Wide(std::string(contract::kVendorKeyPrefix) + pin_); }
    std::wstring ProductKey() const { return win::Wide(std::string(contract::kProductKeyPrefix) + pin_); }
    std::wstring WineVersionKey() const { return L"Software\\Wine\\AppDefaults\\" + win::Wide(names_.tray); }

    // The test's own folder; the application folder lies inside.
    const std::filesystem::path root_ =
        std::filesystem::temp_directory_path() /
        (std::wstring(kFolderMark) + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(NextNumber()));
    const std::filesystem::path app_ = root_ / L"Orvessa App";
    const std::filesystem::path urlRecord_ = root_ / L"opened-urls.txt";
    const std::string pin_ = "OVPe2e" + std::to_string(::GetCurrentProcessId()) + "n" + std::to_string(NextNumber());
    const ProductSettings settings_ = standin::ExampleProduct(pin_);
    const ExecutableNames names_ = BuildExecutableNames(settings_);
    const Folders folders_{app_, pin_};
    const std::string user_ = "alice";
    std::optional<std::wstring> previousWineVersion_;
};

}  // namespace ovp::e2e
