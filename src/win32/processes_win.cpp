#include "win32/processes_win.h"

#include <windows.h>

#include <psapi.h>

#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

// Every process id; the buffer grows until the answer no longer fills it.
std::vector<DWORD> ProcessIds() {
    constexpr std::size_t kMaxIds = 1u << 20;
    std::vector<DWORD> ids(1024);
    for (;;) {
        DWORD bytes = 0;
        const auto capacity = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        if (!::EnumProcesses(ids.data(), capacity, &bytes)) {
            return {};
        }
        if (bytes < capacity || ids.size() >= kMaxIds) {
            ids.resize(bytes / sizeof(DWORD));
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

std::string ImagePath(HANDLE process) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        auto length = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
            path.resize(length);
            return Narrow(path);
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 4);
    }
}

}  // namespace

std::vector<ProcessInfo> Win32Processes::List() {
    std::vector<ProcessInfo> processes;
    for (const DWORD id : ProcessIds()) {
        if (id == 0) {  // the idle process has no image
            continue;
        }
        const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        processes.push_back({id, process ? ImagePath(process.get()) : std::string()});
    }
    return processes;
}

bool Win32Processes::End(std::uint32_t id) {
    if (id == 0 || id == ::GetCurrentProcessId()) {
        return false;
    }
    const unique_handle process(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
    return process && ::TerminateProcess(process.get(), 0);
}

}  // namespace ovp::win
