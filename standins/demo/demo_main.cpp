// The Windows side of scripts/demo:
//     ovp_demo_tool layout <application folder> <installation name> <user name>
//         lays out the folder with the monitor and the stand-ins and logs the user in, with the
//         settings that ask the monitor to start the background engine;
//     ovp_demo_tool show <application folder> <control folder>
//         run inside the demo's Wine desktop (the monitor's windows and tray icon are there):
//         starts the monitor, writes "icon" into <control folder>\state.txt once its tray icon is
//         shown (or "failed"), waits for a file named "stop" in the control folder, then chooses
//         "Exit" of the tray menu and ends the stand-ins the monitor started (not the service);
//         Meanwhile it opens the error report on request (see ShowReportWhenAsked);
//     ovp_demo_tool end-folder <application folder>
//         ends every process started from the folder;
//     ovp_demo_tool soak <application folder> <minutes> <report file>
//         run inside the demo's Wine desktop next to the running monitor: the long run of
//         scripts/soak (soak.h);
//     ovp_demo_tool point-at-view-log <control folder>
//         run inside the demo's Wine desktop: moves the status window to the top of the desktop
//         (leaving room below it for a tooltip), puts the mouse pointer on its "View Log" button
//         and writes the window's place (desktop pixels, "left top right bottom") into
//         <control folder>\point.txt.
// Exit code 0 on success, 1 on failure, 2 on a wrong command line. (A program started into a
// Wine desktop cannot hand its exit code back; hence the state file.)

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "app_layout.h"
#include "base/files.h"
#include "context/tray_menu_model.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "soak.h"
#include "standin_processes.h"
#include "standin_product.h"
#include "win32/dialog_ids.h"
#include "win32/main_window.h"
#include "win32/profile_store_win.h"
#include "win32/report_dialog_ids.h"
#include "win32/text_win.h"

namespace {

namespace c = ovp::contract;

constexpr DWORD kIconTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr DWORD kPollMs = 200;
constexpr DWORD kStartPollMs = 10;
// Where the demo puts the status window for its picture with the pointer.
constexpr int kTopMargin = 8;

int Layout(const std::filesystem::path& appFolder, const std::string& installationName, const std::string& user) {
    const ovp::ProductSettings settings = ovp::standin::ExampleProduct(installationName);
    if (!ovp::IsSafeFolderName(settings.installationName)) {
        std::fprintf(stderr, "ovp_demo_tool: the installation name must be one folder name\n");
        return 2;
    }
    bool done = ovp::standin::LayOutApplicationFolder(appFolder, settings);
    done = ovp::standin::WriteLoggedInUser(appFolder, settings, user) && done;
    ovp::win::Win32ProfileStore store;
    const ovp::Folders folders(appFolder, settings.installationName);
    done = store.Write(folders.UserNameFile(), c::kRegistrySection, c::kTray, c::kTrayStartBackground) && done;
    if (!done) {
        std::fprintf(stderr, "ovp_demo_tool: could not lay out %ls\n", appFolder.c_str());
        return 1;
    }
    return 0;
}

HWND MainForm(DWORD processId) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, ovp::win::kMainWindowClassName, nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, ovp::win::kMainWindowClassName, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return window;
        }
    }
    return nullptr;
}

// A modification that changes nothing succeeds only for an icon the shell holds.
bool IconShown(HWND form) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = form;
    data.uID = 0;
    return form != nullptr && ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// The visible top-level window of the process with that title; null while there is none.
HWND WindowTitled(DWORD processId, const wchar_t* title) {
    for (HWND window = ::FindWindowW(nullptr, title); window != nullptr;
         window = ::FindWindowExW(nullptr, window, nullptr, title)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForWindow(DWORD processId, const wchar_t* title) {
    HWND window = nullptr;
    for (DWORD waited = 0; waited < kIconTimeoutMs && window == nullptr; waited += kPollMs) {
        ::Sleep(kPollMs);
        window = WindowTitled(processId, title);
    }
    return window;
}

// User and kernel time of the process so far.
ULONGLONG CpuMs(HANDLE process) {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) {
        return 0;
    }
    const auto ms = [](const FILETIME& time) {
        return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

// "<what> <left> <top> <width> <height>" of the window into the state file, for the screenshot.
void ReportPlace(const std::filesystem::path& stateFile, const char* what, HWND window) {
    RECT place{};
    if (window == nullptr || !::GetWindowRect(window, &place)) {
        ovp::ReplaceFileBytes(stateFile, std::string(what) + "-failed\n");
        return;
    }
    ovp::ReplaceFileBytes(stateFile, std::string(what) + " " + std::to_string(place.left) + " " +
                                         std::to_string(place.top) + " " + std::to_string(place.right - place.left) +
                                         " " + std::to_string(place.bottom - place.top) + "\n");
}

// The error report for the demo's pictures, each step on a request file of the control folder:
// "report" opens the window from the tray menu's command and fills it in as a user would,
// "preview" shows what will be sent, "close-report" closes both.
void ShowReportWhenAsked(const std::filesystem::path& controlFolder,
                         const std::filesystem::path& stateFile,
                         DWORD processId) {
    constexpr wchar_t kReportTitle[] = L"Send your feedback to the technical support team";
    constexpr wchar_t kPreviewTitle[] = L"What will be sent";
    const auto asked = [&](const wchar_t* name) {
        std::error_code error;
        return std::filesystem::remove(controlFolder / name, error);
    };
    if (asked(L"report")) {
        if (const HWND form = MainForm(processId)) {
            ::PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(ovp::CommandId(ovp::TrayMenuItem::MnuSendReport)), 0);
        }
        const HWND report = WaitForWindow(processId, kReportTitle);
        if (report != nullptr) {
            const auto type = [&](int id, const wchar_t* text) {
                ::SendMessageW(::GetDlgItem(report, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
            };
            type(IDC_txtFrom, L"alice@example.com");
            type(IDC_txtContactNumber, L"(555) 0100-200");
            type(IDC_txtTicketNumber, L"4711");
            type(IDC_txtMsg, L"Since Monday the scheduled backup stops at 40%.\r\nThe trace is attached.");
            ::SendMessageW(::GetDlgItem(report, IDC_chkLogs), BM_SETCHECK, BST_CHECKED, 0);
            ::SendMessageW(report, WM_COMMAND, MAKEWPARAM(IDC_chkLogs, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(report, IDC_chkLogs)));
            ::Sleep(500);
        }
        ReportPlace(stateFile, "report", report);
    }
    if (asked(L"preview")) {
        if (const HWND report = WindowTitled(processId, kReportTitle)) {
            ::PostMessageW(report, WM_COMMAND, MAKEWPARAM(IDC_cmdPreview, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(report, IDC_cmdPreview)));
        }
        const HWND preview = WaitForWindow(processId, kPreviewTitle);
        ::Sleep(500);
        ReportPlace(stateFile, "preview", preview);
    }
    if (asked(L"close-report")) {
        if (const HWND preview = WindowTitled(processId, kPreviewTitle)) {
            ::SendMessageW(preview, WM_COMMAND, IDC_cmdPreviewClose, 0);
        }
        if (const HWND report = WindowTitled(processId, kReportTitle)) {
            ::PostMessageW(report, WM_CLOSE, 0, 0);
        }
        ovp::ReplaceFileBytes(stateFile, "report-closed\n");
    }
}

int Show(const std::filesystem::path& appFolder, const std::filesystem::path& controlFolder) {
    const std::filesystem::path stateFile = controlFolder / L"state.txt";
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(appFolder);
    if (!product) {
        ovp::ReplaceFileBytes(stateFile, "failed\n");
        return 1;
    }
    const std::filesystem::path monitor = appFolder / ovp::PathFromUtf8(product->names.tray);
    std::wstring commandLine = L"\"" + monitor.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(monitor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, appFolder.c_str(),
                          &startup, &info)) {
        ovp::ReplaceFileBytes(stateFile, "failed\n");
        return 1;
    }
    ::CloseHandle(info.hThread);

    // Start-up to icon, measured from the process's creation: polled finely, since it is a figure
    // of the performance record ("startup.txt" in the control folder, milliseconds).
    const ULONGLONG started = ::GetTickCount64();
    bool shown = false;
    while (!shown && ::GetTickCount64() - started < kIconTimeoutMs) {
        shown = IconShown(MainForm(info.dwProcessId));
        if (!shown && ::WaitForSingleObject(info.hProcess, kStartPollMs) == WAIT_OBJECT_0) {
            break;
        }
    }
    const ULONGLONG iconAt = ::GetTickCount64();
    const ULONGLONG cpuAtIcon = CpuMs(info.hProcess);
    if (shown) {
        ovp::ReplaceFileBytes(controlFolder / L"startup.txt", std::to_string(iconAt - started) + "\n");
    }
    ovp::ReplaceFileBytes(stateFile, shown ? "icon\n" : "failed\n");

    while (shown && !ovp::FileExists(controlFolder / L"stop") &&
           ::WaitForSingleObject(info.hProcess, kPollMs) == WAIT_TIMEOUT) {
        ShowReportWhenAsked(controlFolder, stateFile, info.dwProcessId);
    }
    // The CPU time the monitor used from its icon to the end of the show, and how long that was.
    ovp::ReplaceFileBytes(controlFolder / L"cpu.txt", std::to_string(CpuMs(info.hProcess) - cpuAtIcon) + " " +
                                                          std::to_string(::GetTickCount64() - iconAt) + "\n");
    if (const HWND form = MainForm(info.dwProcessId)) {
        ::PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(ovp::CommandId(ovp::TrayMenuItem::MnuExit)), 0);
    }
    const bool exited = ::WaitForSingleObject(info.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0;
    ::CloseHandle(info.hProcess);
    // The stand-ins the monitor started; the service is stopped through its batch file instead.
    ovp::standin::EndProcessesUnder(appFolder, ovp::PathFromUtf8(product->names.service));
    ovp::ReplaceFileBytes(stateFile, exited ? "stopped\n" : "ended\n");
    return shown && exited ? 0 : 1;
}

// The status window is the only top-level window of the monitor with that button.
BOOL CALLBACK FindViewLogButton(HWND window, LPARAM found) {
    const HWND button = ::GetDlgItem(window, IDC_Cmd_Yes);
    wchar_t type[32] = {};
    if (button != nullptr && ::IsWindowVisible(window) && ::GetClassNameW(window, type, 32) > 0 &&
        std::wstring_view(type) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = button;
        return FALSE;
    }
    return TRUE;
}

int PointAtViewLog(const std::filesystem::path& controlFolder) {
    HWND button = nullptr;
    ::EnumWindows(&FindViewLogButton, reinterpret_cast<LPARAM>(&button));
    const HWND window = button != nullptr ? ::GetParent(button) : nullptr;
    RECT frame{};
    if (window == nullptr || !::GetWindowRect(window, &frame)) {
        return 1;
    }
    ::SetWindowPos(window, nullptr, frame.left, kTopMargin, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect{};
    if (!::GetWindowRect(window, &frame) || !::GetWindowRect(button, &rect)) {
        return 1;
    }
    // Onto the button in two steps, so that it sees the pointer arrive.
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    ::SetCursorPos(x - 8, y - 4);
    ::Sleep(200);
    ::SetCursorPos(x, y);
    const std::string place = std::to_string(frame.left) + " " + std::to_string(frame.top) + " " +
                              std::to_string(frame.right) + " " + std::to_string(frame.bottom) + "\n";
    return ovp::ReplaceFileBytes(controlFolder / L"point.txt", place) ? 0 : 1;
}

int Run(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"layout" && argc == 5) {
        return Layout(argv[2], ovp::win::Narrow(argv[3]), ovp::win::Narrow(argv[4]));
    }
    if (command == L"show" && argc == 4) {
        return Show(argv[2], argv[3]);
    }
    if (command == L"soak" && argc == 5) {
        const int minutes = _wtoi(argv[3]);
        return minutes > 0 ? ovp::standin::Soak(argv[2], minutes, argv[4]) : 2;
    }
    if (command == L"end-folder" && argc == 3) {
        ovp::standin::EndProcessesUnder(argv[2]);
        return ovp::standin::ProcessesUnder(argv[2]).empty() ? 0 : 1;
    }
    if (command == L"point-at-view-log" && argc == 3) {
        return PointAtViewLog(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: ovp_demo_tool layout <application folder> <installation name> <user name>\n"
                 "       ovp_demo_tool show <application folder> <control folder>\n"
                 "       ovp_demo_tool end-folder <application folder>\n"
                 "       ovp_demo_tool soak <application folder> <minutes> <report file>\n"
                 "       ovp_demo_tool point-at-view-log <control folder>\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    return Run(argc, argv);
}
