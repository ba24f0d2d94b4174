#include "e2e_win.h"

#include <shellapi.h>

#include <algorithm>
#include <thread>

#include "base/files.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::e2e {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
}

// ---- Processes ----------------------------------------------------------------------------------
ChildProcess ChildProcess::Start(const std::filesystem::path& program,
                                 const std::filesystem::path& workingFolder,
                                 std::wstring_view arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty()) {
        commandLine += L" ";
        commandLine += arguments;
    }
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

bool ChildProcess::IsRunning() const {
    return handle_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
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

void ChildProcess::Terminate() {
    if (IsRunning()) {
        ::TerminateProcess(handle_.get(), 1);
        ::WaitForSingleObject(handle_.get(), 5000);
    }
}

// ---- Windows and the tray -----------------------------------------------------------------------
namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) {
        search.found.push_back(window);
    }
    return TRUE;
}

NOTIFYICONDATAW IconData(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    return data;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool TrayIconPresent(HWND owner, UINT id) {
    NOTIFYICONDATAW data = IconData(owner, id);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool DeleteTrayIcon(HWND owner, UINT id) {
    NOTIFYICONDATAW data = IconData(owner, id);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

// ---- Registry -----------------------------------------------------------------------------------
namespace {

// The installer and the engine are 32-bit programs: their HKLM values are in the 32-bit view.
REGSAM ViewOf(HKEY root) {
    return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0;
}

bool SetValue(HKEY root, std::wstring_view key, std::wstring_view name, DWORD type, const void* data, DWORD size) {
    win::unique_hkey handle;
    if (::RegCreateKeyExW(root, std::wstring(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | ViewOf(root), nullptr,
                          handle.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return ::RegSetValueExW(handle.get(), std::wstring(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

}  // namespace

std::optional<std::wstring> RegString(HKEY root, std::wstring_view key, std::wstring_view name) {
    win::unique_hkey handle;
    if (::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_QUERY_VALUE | ViewOf(root), handle.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring nameText(name);
    DWORD bytes = 0;
    if (::RegGetValueW(handle.get(), nullptr, nameText.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegGetValueW(handle.get(), nullptr, nameText.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(::wcsnlen(value.c_str(), value.size()));
    return value;
}

bool SetRegString(HKEY root, std::wstring_view key, std::wstring_view name, std::wstring_view value) {
    const std::wstring text(value);
    return SetValue(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool DeleteRegValue(HKEY root, std::wstring_view key, std::wstring_view name) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_SET_VALUE | ViewOf(root), handle.put()) ==
               ERROR_SUCCESS &&
           ::RegDeleteValueW(handle.get(), std::wstring(name).c_str()) == ERROR_SUCCESS;
}

void DeleteRegTree(HKEY root, std::wstring_view key) {
    win::unique_hkey handle;
    if (::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_ALL_ACCESS | ViewOf(root), handle.put()) ==
        ERROR_SUCCESS) {
        ::RegDeleteTreeW(handle.get(), nullptr);
    }
    ::RegDeleteKeyExW(root, std::wstring(key).c_str(), ViewOf(root), 0);
}

bool RegKeyExists(HKEY root, std::wstring_view key) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_READ | ViewOf(root), handle.put()) == ERROR_SUCCESS;
}

// ---- Files --------------------------------------------------------------------------------------
std::optional<std::vector<std::string>> ReadUtf16Lines(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    const std::size_t offset = bytes->starts_with("\xFF\xFE") ? 2 : 0;
    std::wstring wide;
    for (std::size_t i = offset; i + 1 < bytes->size(); i += 2) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>((*bytes)[i]) |
                                            (static_cast<unsigned char>((*bytes)[i + 1]) << 8)));
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < wide.size();) {
        const std::size_t end = std::min(wide.find(L"\r\n", start), wide.size());
        lines.push_back(win::Narrow(std::wstring_view(wide).substr(start, end - start)));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> TreeListing(const std::filesystem::path& root) {
    std::vector<std::string> entries;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        entries.push_back(Utf8FromPath(std::filesystem::relative(it->path(), root, error)));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace ovp::e2e
