#include "win32/shell_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>

#include "base/files.h"
#include "win32/error_text_win.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

int ShowCommand(ShowMode show) {
    switch (show) {
        case ShowMode::Hidden:
            return SW_HIDE;
        case ShowMode::Maximized:
            return SW_SHOWMAXIMIZED;
        case ShowMode::Normal:
            break;
    }
    return SW_SHOWNORMAL;
}

// nullptr for an empty text, as the shell wants for "none".
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

ShellResult Win32Shell::Execute(const ShellRequest& request) {
    ShellResult result;
    if (request.file.empty()) {
        return result;
    }
    const std::wstring verb = Wide(request.verb);
    const std::wstring file = request.file.wstring();
    const std::wstring arguments = Wide(request.arguments);
    const std::wstring folder = request.workingFolder.wstring();

    ::SetLastError(ERROR_SUCCESS);
    const HINSTANCE instance = ::ShellExecuteW(nullptr, OrNull(verb), file.c_str(), OrNull(arguments), OrNull(folder),
                                               ShowCommand(request.show));
    const DWORD error = ::GetLastError();

    result.instance = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(instance));
    if (!result.Succeeded()) {
        result.errorNumber = error;
        result.errorText = error == ERROR_SUCCESS ? std::string() : SystemErrorText(error);
    }
    return result;
}

ShellResult Win32Shell::OpenWithChooser(const std::filesystem::path& file) {
    const ShellRequest request = OpenWithChooserRequest(file);
    return request.file.empty() ? ShellResult{} : Execute(request);
}

ShellRequest OpenWithChooserRequest(const std::filesystem::path& file) {
    ShellRequest request;
    std::wstring system(MAX_PATH, L'\0');
    const UINT length = ::GetSystemDirectoryW(system.data(), static_cast<UINT>(system.size()));
    if (length == 0 || length >= system.size()) {
        return request;  // no file: nothing is started
    }
    system.resize(length);
    request.verb = "open";
    request.file = std::filesystem::path(system) / L"rundll32.exe";
    request.arguments = "shell32.dll,OpenAs_RunDLL " + Utf8FromPath(file);
    request.show = ShowMode::Normal;
    return request;
}

}  // namespace ovp::win
