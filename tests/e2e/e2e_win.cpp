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
ChildProcess::~ChildProcess() {
    if (handle_ != nullptr) {
        ::CloseHandle(handle_);
    }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

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
        child.handle_ = info.hProcess;
        child.id_ = info.dwProcessId;
    }
    return child;
}

bool ChildProcess::IsRunning() const {
    return handle_ != nullptr && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return handle_ != nullptr && ::WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
    DWORD code = 0;
    if (handle_ == nullptr || IsRunning() || !::GetExitCodeProcess(handle_, &code)) {
        return std::nullopt;
    }
    return code;
}

void ChildProcess::Terminate() {
    if (IsRunning()) {
        ::TerminateProcess(handle_, 1);
        ::WaitForSingleObject(handle_, 5000);
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

win::unique_hkey OpenForQuery(HKEY root, std::wstring_view key) {
    win::unique_hkey handle;
    ::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_QUERY_VALUE | ViewOf(root), handle.put());
    return handle;
}

std::optional<std::wstring> QueryString(HKEY root, std::wstring_view key, std::wstring_view name) {
    const win::unique_hkey handle = OpenForQuery(root, key);
    const std::wstring nameText(name);
    DWORD bytes = 0;
    if (!handle || ::RegGetValueW(handle.get(), nullptr, nameText.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
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
    return QueryString(root, key, name);
}

std::optional<DWORD> RegDword(HKEY root, std::wstring_view key, std::wstring_view name) {
    const win::unique_hkey handle = OpenForQuery(root, key);
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (!handle || ::RegGetValueW(handle.get(), nullptr, std::wstring(name).c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                                  &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool SetRegString(HKEY root, std::wstring_view key, std::wstring_view name, std::wstring_view value) {
    const std::wstring text(value);
    return SetValue(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool SetRegDword(HKEY root, std::wstring_view key, std::wstring_view name, DWORD value) {
    return SetValue(root, key, name, REG_DWORD, &value, sizeof(value));
}

bool DeleteRegValue(HKEY root, std::wstring_view key, std::wstring_view name) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_SET_VALUE | ViewOf(root), handle.put()) ==
               ERROR_SUCCESS &&
           ::RegDeleteValueW(handle.get(), std::wstring(name).c_str()) == ERROR_SUCCESS;
}

void DeleteRegTree(HKEY root, std::wstring_view key) {
    {
        win::unique_hkey handle;
        if (::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_ALL_ACCESS | ViewOf(root), handle.put()) ==
            ERROR_SUCCESS) {
            ::RegDeleteTreeW(handle.get(), nullptr);
        }
    }
    ::RegDeleteKeyExW(root, std::wstring(key).c_str(), ViewOf(root), 0);
}

bool RegKeyExists(HKEY root, std::wstring_view key) {
    win::unique_hkey handle;
    return ::RegOpenKeyExW(root, std::wstring(key).c_str(), 0, KEY_READ | ViewOf(root), handle.put()) == ERROR_SUCCESS;
}

// ---- Services -----------------------------------------------------------------------------------
namespace {

win::unique_schandle OpenServiceNamed(std::wstring_view name, DWORD access) {
    win::unique_schandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        return {};
    }
    return win::unique_schandle(::OpenServiceW(manager.get(), std::wstring(name).c_str(), access));
}

}  // namespace

DWORD ServiceStateOf(std::wstring_view name) {
    win::unique_schandle service = OpenServiceNamed(name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    if (!service || !::QueryServiceStatus(service.get(), &status)) {
        return 0;
    }
    return status.dwCurrentState;
}

std::wstring ServiceBinaryPathOf(std::wstring_view name) {
    win::unique_schandle service = OpenServiceNamed(name, SERVICE_QUERY_CONFIG);
    if (!service) {
        return {};
    }
    DWORD bytes = 0;
    ::QueryServiceConfigW(service.get(), nullptr, 0, &bytes);
    std::vector<BYTE> buffer(bytes + sizeof(QUERY_SERVICE_CONFIGW));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!::QueryServiceConfigW(service.get(), config, static_cast<DWORD>(buffer.size()), &bytes) ||
        config->lpBinaryPathName == nullptr) {
        return {};
    }
    return config->lpBinaryPathName;
}

bool ControlServiceNamed(std::wstring_view name, DWORD control) {
    const DWORD access = control == SERVICE_CONTROL_STOP ? SERVICE_STOP : SERVICE_PAUSE_CONTINUE;
    win::unique_schandle service = OpenServiceNamed(name, access);
    SERVICE_STATUS status{};
    return service && ::ControlService(service.get(), control, &status);
}

bool StopAndDeleteService(std::wstring_view name) {
    win::unique_schandle service = OpenServiceNamed(name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (!service) {
        return ServiceStateOf(name) == 0;
    }
    SERVICE_STATUS status{};
    if (::QueryServiceStatus(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
        ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
        WaitUntil(
            [&] { return ::QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_STOPPED; },
            10s);
    }
    ::DeleteService(service.get());
    service.reset();
    return WaitUntil([&] { return ServiceStateOf(name) == 0; }, 10s);
}

// ---- Files --------------------------------------------------------------------------------------
std::optional<Utf16Text> ReadUtf16Text(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    Utf16Text text;
    std::size_t offset = 0;
    if (bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
        static_cast<unsigned char>((*bytes)[1]) == 0xFE) {
        text.hasBom = true;
        offset = 2;
    }
    std::wstring wide;
    for (std::size_t i = offset; i + 1 < bytes->size(); i += 2) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>((*bytes)[i]) |
                                            (static_cast<unsigned char>((*bytes)[i + 1]) << 8)));
    }
    text.crLfLinesOnly = (bytes->size() - offset) % 2 == 0 && !wide.empty() && wide.ends_with(L"\r\n");
    std::size_t start = 0;
    while (start < wide.size()) {
        std::size_t end = wide.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = wide.size();
        }
        const bool hasCr = end > start && wide[end - 1] == L'\r';
        if (!hasCr && end < wide.size()) {
            text.crLfLinesOnly = false;
        }
        std::wstring_view line(wide.data() + start, end - start - (hasCr ? 1 : 0));
        if (line.find(L'\r') != std::wstring_view::npos) {
            text.crLfLinesOnly = false;
        }
        text.lines.push_back(win::Narrow(line));
        start = end + 1;
    }
    return text;
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
