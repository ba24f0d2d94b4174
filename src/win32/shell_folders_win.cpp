#include "win32/shell_folders_win.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

#include "win32/text_win.h"

namespace ovp::win {

namespace {

// Far beyond any folder path; a call that keeps asking for more gives up here.
constexpr DWORD kMaxChars = 32768;

std::wstring CutAtNul(std::wstring text) {
    const auto nul = text.find(L'\0');
    if (nul != std::wstring::npos) {
        text.resize(nul);
    }
    return text;
}

// Runs a Win32 call of the "fill this buffer, or tell me the size you need" kind.
template <typename Call>
std::wstring FillBuffer(Call call) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = call(buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return CutAtNul(std::move(buffer));
        }
        if (length > kMaxChars) {
            return {};
        }
        buffer.assign(length + 1, L'\0');
    }
    return {};
}

}  // namespace

std::string Win32ShellFolders::WindowsFolder() {
    return Narrow(FillBuffer([](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); }));
}

std::string Win32ShellFolders::TempFolder() {
    const std::wstring shortForm = FillBuffer([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
    if (shortForm.empty()) {
        return {};
    }
    const std::wstring longForm =
        FillBuffer([&](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(shortForm.c_str(), buffer, size); });
    return Narrow(longForm.empty() ? shortForm : longForm);
}

std::string Win32ShellFolders::SpecialFolder(int csidl) {
    // SHGetFolderPathW writes at most MAX_PATH characters; it does not create the folder.
    std::wstring buffer(MAX_PATH + 1, L'\0');
    if (csidl < 0 || FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer.data()))) {
        return {};
    }
    return Narrow(CutAtNul(std::move(buffer)));
}

}  // namespace ovp::win
