// Stand-in for the background engine: it reports that it has started ("Started" "1" in the Orvessa
// section of UserName.ini, as the engine does) and then stays running without a visible window
// until it is ended, closed or the session ends. It does no backup work.

#include <windows.h>

#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "standin_product.h"
#include "win32/profile_store_win.h"

namespace {

constexpr std::string_view kWho = "background";
constexpr wchar_t kWindowClass[] = L"OVPStandInBackground";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    namespace c = ovp::contract;
    const std::filesystem::path appFolder = ovp::standin::OwnFolder();
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(appFolder);
    if (!product) {
        return 1;
    }
    const ovp::Folders folders(appFolder, product->settings.installationName);
    ovp::win::Win32ProfileStore store;
    store.Write(folders.UserNameFile(), c::kOrvessaSection, c::kStarted, "1");
    ovp::standin::RecordEvent(appFolder, kWho, "started");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass);
    // Never shown, whatever show mode the starter asked for: the engine works unseen. The window
    // is there so that the stand-in can be closed politely and hears the end of the session.
    if (::CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) ==
        nullptr) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    ovp::standin::RecordEvent(appFolder, kWho, "ended");
    return 0;
}
