#include "standin_processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <string>

#include "win32/unique_resource.h"

namespace ovp::standin {

namespace {

std::filesystem::path ImageOf(DWORD id) {
    win::unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
        return {};
    }
    std::wstring buffer(32768, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, buffer.data(), &size)) {
        return {};
    }
    buffer.resize(size);
    return buffer;
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t ch) { return ::towlower(ch); });
    return text;
}

bool IsInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const std::wstring prefix = Lower(folder.lexically_normal().wstring());
    const std::wstring path = Lower(file.lexically_normal().wstring());
    return !prefix.empty() && path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
           (path[prefix.size()] == L'\\' || path[prefix.size()] == L'/');
}

}  // namespace

std::vector<RunningProcess> RunningProcesses() {
    std::vector<RunningProcess> processes;
    win::unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return processes;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        processes.push_back(RunningProcess{entry.th32ProcessID, ImageOf(entry.th32ProcessID)});
    }
    return processes;
}

std::vector<RunningProcess> ProcessesUnder(const std::filesystem::path& folder) {
    std::vector<RunningProcess> inside;
    for (RunningProcess& process : RunningProcesses()) {
        if (IsInside(process.image, folder)) {
            inside.push_back(std::move(process));
        }
    }
    return inside;
}

void EndProcessesUnder(const std::filesystem::path& folder, const std::filesystem::path& except) {
    const std::wstring spared = Lower(except.wstring());
    for (const RunningProcess& process : ProcessesUnder(folder)) {
        if (!spared.empty() && Lower(process.image.filename().wstring()) == spared) {
            continue;
        }
        win::unique_handle handle(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process.id));
        if (handle && ::TerminateProcess(handle.get(), 1)) {
            ::WaitForSingleObject(handle.get(), 5000);
        }
    }
}

}  // namespace ovp::standin
