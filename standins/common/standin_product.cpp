#include "standin_product.h"

#include <windows.h>

#include <string>

#include "app/startup.h"
#include "base/files.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "settings/current_user.h"
#include "win32/profile_store_win.h"
#include "win32/text_win.h"

namespace ovp::standin {

std::filesystem::path OwnFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<Product> LoadProduct(const std::filesystem::path& appFolder) {
    // The same settings the monitor derives at start-up, so the names cannot drift.
    const std::optional<ProductSettings> settings = ReadStartupSettings(appFolder);
    if (!settings) {
        return std::nullopt;
    }
    Product product{*settings, BuildExecutableNames(*settings)};
    return product;
}

std::string CurrentUserName(const std::filesystem::path& appFolder, const ProductSettings& settings) {
    win::Win32ProfileStore store;
    const Folders folders(appFolder, settings.installationName);
    return CurrentUser(store, folders).CurrentUserName();
}

void RecordEvent(const std::filesystem::path& appFolder, std::string_view who, std::string_view event) {
    std::string line(who);
    line += ": ";
    line += event;
    line += "\r\n";
    AppendFileBytes(appFolder / PathFromUtf8(kEventsFile), line);
}

std::string OwnCommandLine() {
    return win::Narrow(::GetCommandLineW());
}

bool LoggedIn(const ProductSettings& settings) {
    const std::wstring key = win::Wide(std::string(contract::kVendorKeyPrefix) + settings.installationName +
                                       std::string(contract::kConnectionParametersSubkey));
    const std::wstring name = win::Wide(contract::kRegStatus);
    DWORD number = 0;
    DWORD bytes = sizeof(number);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &number, &bytes) ==
        ERROR_SUCCESS) {
        return number == 1 || number == 2;
    }
    wchar_t text[16] = {};
    bytes = sizeof(text);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &bytes) ==
        ERROR_SUCCESS) {
        return std::wstring_view(text) == L"1" || std::wstring_view(text) == L"2";
    }
    return false;
}

namespace {

LRESULT CALLBACK IdleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ENDSESSION:
            if (wParam != 0) {
                ::DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int StayUntilClosed(const std::filesystem::path& appFolder, std::string_view who, const wchar_t* windowClass) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClassInfo{};
    windowClassInfo.lpfnWndProc = IdleWindowProc;
    windowClassInfo.hInstance = instance;
    windowClassInfo.lpszClassName = windowClass;
    ::RegisterClassW(&windowClassInfo);
    // Never shown, whatever show mode the starter asked for: the engine works unseen. The window
    // is there so that the program can be closed politely and hears the end of the session.
    if (::CreateWindowExW(0, windowClass, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) ==
        nullptr) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    RecordEvent(appFolder, who, "ended");
    return 0;
}

}  // namespace ovp::standin
