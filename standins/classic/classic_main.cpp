// Stand-in for the main backup application (the classic client): the windows the monitor looks
// for. A top-level window titled ProductCaption + " (" + user + ")" while the user is logged in, or
// the login window titled with the service display name + " - Login" while logged out; and the
// hidden dialog (class "#32770") titled ProductInstallationName + "HiddenWindow". Closing the
// window ends the program at once; the message 0x40A to the dialog ends it a moment later, as an
// application that saves its state would, so that what else reaches it meanwhile is seen too.
// Everything that reaches it is recorded in the events file ("classic: started <command line>",
// "classic: main window closed" or "classic: login window closed", "classic: hidden dialog got
// 0x40A", "classic: ended"). It does no backup work.

#include <windows.h>

#include <string>
#include <vector>

#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "standin_product.h"
#include "win32/text_win.h"

namespace {

constexpr std::string_view kWho = "classic";
constexpr wchar_t kWindowClass[] = L"OVPStandInClassic";
constexpr UINT_PTR kClosingTimerId = 1;
constexpr UINT kClosingDelayMs = 1000;

struct ClientContext {
    std::filesystem::path appFolder;
    HWND mainWindow = nullptr;
    bool loginWindow = false;
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* context = reinterpret_cast<ClientContext*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CLOSE:
            if (context != nullptr) {
                ovp::standin::RecordEvent(context->appFolder, kWho,
                                          context->loginWindow ? "login window closed" : "main window closed");
            }
            ::DestroyWindow(window);
            return 0;
        case WM_TIMER:
            if (wParam == kClosingTimerId) {
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

INT_PTR CALLBACK HiddenDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    auto* context = reinterpret_cast<ClientContext*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == ovp::contract::kHiddenWindowSessionEndMessage && context != nullptr) {
        ovp::standin::RecordEvent(context->appFolder, kWho, "hidden dialog got 0x40A");
        ::SetTimer(context->mainWindow, kClosingTimerId, kClosingDelayMs, nullptr);
        return TRUE;
    }
    return FALSE;
}

// An in-memory dialog template: no controls, never visible, just the title.
std::vector<WORD> HiddenDialogTemplate(const std::wstring& title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = WS_POPUP;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showMode) {
    ClientContext context;
    context.appFolder = ovp::standin::OwnFolder();
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(context.appFolder);
    if (!product) {
        return 1;
    }
    context.loginWindow = !ovp::standin::LoggedIn(product->settings);
    const std::string user = ovp::standin::CurrentUserName(context.appFolder, product->settings);
    const std::wstring title = ovp::win::Wide(context.loginWindow ? ovp::DisplayName(product->settings) + " - Login"
                                                                  : product->settings.caption + " (" + user + ")");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass);
    context.mainWindow = ::CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                           CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, &context);
    if (context.mainWindow == nullptr) {
        return 1;
    }
    const std::vector<WORD> dialogTemplate = HiddenDialogTemplate(
        ovp::win::Wide(product->settings.installationName + std::string(ovp::contract::kHiddenWindowSuffix)));
    const HWND hiddenDialog =
        ::CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr,
                                     HiddenDialogProc, reinterpret_cast<LPARAM>(&context));
    if (hiddenDialog == nullptr) {
        return 1;
    }
    ::ShowWindow(context.mainWindow, showMode);
    ovp::standin::RecordEvent(context.appFolder, kWho, "started " + ovp::standin::OwnCommandLine());

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(hiddenDialog, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    ::DestroyWindow(hiddenDialog);
    ovp::standin::RecordEvent(context.appFolder, kWho, "ended");
    return 0;
}
