#include "soak.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "context/tray_menu_model.h"
#include "win32/main_window.h"
#include "win32/text_win.h"
#include "win32/tray_icon_win.h"
#include "win32/unique_resource.h"

namespace ovp::standin {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kStep = 5s;
constexpr auto kProbeEvery = 500ms;
// The UI thread runs the 2-second tick: an answer slower than this is a tick come late.
constexpr UINT kLateMs = 1000;
constexpr SIZE_T kAllowedGrowth = 1024 * 1024;

// One step of the cycle: an engine state for the simulator, or something a user does.
struct Step {
    const wchar_t* simulator;  // OVPEngineSim.exe arguments; nullptr for a user action
    enum class Act { None, Menu, Open, CloseWindows, TaskbarCreated } act = Act::None;
    TrayMenuItem item = TrayMenuItem::MnuExit;  // for Open
};

const Step kCycle[] = {
    {L"start 1"},
    {nullptr, Step::Act::Menu},
    {L"finish success"},
    {nullptr, Step::Act::CloseWindows},
    {L"start 1"},
    {L"finish failure --no-window"},
    {nullptr, Step::Act::Open, TrayMenuItem::mnuStatus},
    {nullptr, Step::Act::CloseWindows},
    {L"cdp 1"},
    {nullptr, Step::Act::Menu},
    {L"cdp 6"},
    {L"cdp 0"},
    {L"quota 4294967297 4294967296"},
    {L"quota-marker on"},
    {nullptr, Step::Act::Open, TrayMenuItem::MnuViewLog},
    {nullptr, Step::Act::CloseWindows},
    {L"quota-marker off"},
    {L"quota 1073741824 4294967296"},
    {nullptr, Step::Act::Open, TrayMenuItem::mnuschinfo},
    {nullptr, Step::Act::CloseWindows},
    {L"connection-status 0"},
    {nullptr, Step::Act::Menu},
    {L"connection-status 1"},
    {nullptr, Step::Act::Open, TrayMenuItem::MnuSendReport},
    {nullptr, Step::Act::CloseWindows},
    {nullptr, Step::Act::TaskbarCreated},
    {L"reset"},
};

struct Sample {
    SIZE_T pagefileUsage = 0;
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    double cpuSeconds = 0;
};

// The handle count from the system's process list: Wine answers GetProcessHandleCount with 0 for
// other processes, but keeps the list's count.
DWORD HandleCountFromProcessList(DWORD processId) {
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    if (::NtQuerySystemInformation(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                   &needed) != 0) {
        return 0;
    }
    for (std::size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<std::uintptr_t>(entry->UniqueProcessId) == processId) {
            return entry->HandleCount;
        }
        if (entry->NextEntryOffset == 0) {
            return 0;
        }
        offset += entry->NextEntryOffset;
    }
}

Sample Measure(HANDLE process) {
    Sample sample;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(process, &memory, sizeof(memory))) {
        sample.pagefileUsage = memory.PagefileUsage;
    }
    if (!::GetProcessHandleCount(process, &sample.handles) || sample.handles == 0) {
        sample.handles = HandleCountFromProcessList(::GetProcessId(process));
    }
    sample.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
    sample.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
    FILETIME created{}, exited{}, kernel{}, user{};
    if (::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        const auto ticks = [](const FILETIME& time) {
            return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                       time.dwLowDateTime);
        };
        sample.cpuSeconds = (ticks(kernel) + ticks(user)) / 1e7;
    }
    return sample;
}

void RunSimulator(const std::filesystem::path& appFolder, const wchar_t* arguments) {
    const std::filesystem::path program = appFolder / L"OVPEngineSim.exe";
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                         appFolder.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        ::WaitForSingleObject(info.hProcess, 30000);
        ::CloseHandle(info.hProcess);
    }
}

// The visible top-level windows of the process other than its hidden main form.
std::vector<HWND> WindowsOf(DWORD processId, HWND form) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& [id, found] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == id && ::IsWindowVisible(window)) {
                found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::erase(search.second, form);
    return search.second;
}

void Act(const Step& step, HWND form, DWORD processId) {
    switch (step.act) {
        case Step::Act::Menu: {
            ::PostMessageW(form, win::kTrayCallbackMessage, 0, WM_RBUTTONUP);
            std::this_thread::sleep_for(1500ms);
            // The pop-up menu's own window takes the keys while it is open.
            if (const HWND menu = ::FindWindowW(L"#32768", nullptr)) {
                ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                ::PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0);
            }
            break;
        }
        case Step::Act::Open:
            ::PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(CommandId(step.item)), 0);
            break;
        case Step::Act::CloseWindows:
            for (HWND window : WindowsOf(processId, form)) {
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            }
            break;
        case Step::Act::TaskbarCreated:
            if (const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated")) {
                ::PostMessageW(form, message, 0, 0);
            }
            break;
        case Step::Act::None:
            break;
    }
}

std::string Line(int minute, const Sample& sample, int late) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "soak: minute %3d  PagefileUsage %8zu KB  handles %5lu  GDI %4lu  USER %4lu  "
                  "CPU %8.2f s  late ticks %d",
                  minute, static_cast<std::size_t>(sample.pagefileUsage / 1024), sample.handles, sample.gdiObjects,
                  sample.userObjects, sample.cpuSeconds, late);
    return text;
}

}  // namespace

int Soak(const std::filesystem::path& appFolder, int minutes, const std::filesystem::path& reportFile) {
    const HWND form = ::FindWindowW(win::kMainWindowClassName, nullptr);
    DWORD processId = 0;
    if (form == nullptr || ::GetWindowThreadProcessId(form, &processId) == 0) {
        AppendFileBytes(reportFile, "soak: no running monitor\n");
        return 1;
    }
    const win::unique_handle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, processId));
    if (!process) {
        AppendFileBytes(reportFile, "soak: the monitor's process cannot be opened\n");
        return 1;
    }

    std::atomic<bool> done{false};
    std::atomic<int> late{0};
    std::thread probe([&] {
        while (!done) {
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kLateMs, &result) == 0 &&
                ::IsWindow(form)) {
                ++late;
            }
            std::this_thread::sleep_for(kProbeEvery);
        }
    });

    const auto report = [&](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        AppendFileBytes(reportFile, line + "\n");
    };
    Sample first{};
    Sample last{};
    std::size_t step = 0;
    const auto start = Clock::now();
    for (int minute = 1; minute <= minutes; ++minute) {
        while (Clock::now() < start + std::chrono::minutes(minute)) {
            if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
                done = true;
                probe.join();
                report("soak: the monitor ended during the run");
                return 1;
            }
            const Step& now = kCycle[step++ % std::size(kCycle)];
            if (now.simulator != nullptr) {
                RunSimulator(appFolder, now.simulator);
            } else {
                Act(now, form, processId);
            }
            std::this_thread::sleep_for(kStep);
        }
        last = Measure(process.get());
        if (minute == 1) {
            first = last;
        }
        report(Line(minute, last, late));
    }
    done = true;
    probe.join();

    const SIZE_T growth = last.pagefileUsage > first.pagefileUsage ? last.pagefileUsage - first.pagefileUsage : 0;
    const bool passed = growth <= kAllowedGrowth && late == 0;
    char summary[200];
    std::snprintf(summary, sizeof summary,
                  "soak: %s: memory %+lld KB and handles %+ld after the first minute, %d late ticks, CPU %.2f s",
                  passed ? "passed" : "FAILED",
                  (static_cast<long long>(last.pagefileUsage) - static_cast<long long>(first.pagefileUsage)) / 1024,
                  static_cast<long>(last.handles) - static_cast<long>(first.handles), late.load(), last.cpuSeconds);
    report(summary);
    return passed ? 0 : 1;
}

}  // namespace ovp::standin
