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

bool InOwnSession(DWORD id) {
    DWORD own = 0;
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &own) && ::ProcessIdToSessionId(id, &session) &&
           session == own;
}

constexpr DWORD kAskAndEnd = PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE;

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

std::size_t Win32Processes::EndMatching(const std::function<bool(std::string_view imagePath)>& matches) {
    const DWORD self = ::GetCurrentProcessId();
    std::size_t matched = 0;
    for (const DWORD id : ProcessIds()) {
        if (id == 0) {
            continue;
        }
        // The handle keeps this very process: the path read and the process ended are its own,
        // whatever becomes of the id.
        const unique_handle process(::OpenProcess(kAskAndEnd, FALSE, id));
        if (!process) {
            continue;
        }
        const std::string path = ImagePath(process.get());
        if (path.empty() || !matches(path) || !InOwnSession(::GetProcessId(process.get()))) {
            continue;
        }
        ++matched;
        if (::GetProcessId(process.get()) != self) {
            ::TerminateProcess(process.get(), 0);
        }
    }
    return matched;
}

EndByIdResult Win32Processes::EndById(std::uint32_t id,
                                      const std::function<bool(std::string_view imagePath)>& matches) {
    if (id == 0) {
        return EndByIdResult::NotRunning;
    }
    const unique_handle process(::OpenProcess(kAskAndEnd, FALSE, id));
    if (!process) {
        return ::GetLastError() == ERROR_ACCESS_DENIED ? EndByIdResult::Refused : EndByIdResult::NotRunning;
    }
    // Everything below is asked of the handle: the id may pass to another program meanwhile.
    if (::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
        return EndByIdResult::NotRunning;
    }
    const DWORD processId = ::GetProcessId(process.get());
    const std::string path = ImagePath(process.get());
    if (processId == ::GetCurrentProcessId() || path.empty() || !matches(path) || !InOwnSession(processId)) {
        return EndByIdResult::Refused;
    }
    return ::TerminateProcess(process.get(), 0) ? EndByIdResult::Ended : EndByIdResult::Failed;
}

}  // namespace ovp::win
