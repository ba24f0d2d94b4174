#include "win32/shell_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdint>

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

}  // namespace ovp::win
