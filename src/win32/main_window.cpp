#include "win32/main_window.h"

#include <tlhelp32.h>

#include <optional>
#include <string>

#include "context/tray_menu_model.h"
#include "contract/engine_contract.h"
#include "win32/text_win.h"
#include "win32/tray_menu_win.h"

namespace ovp::win {

namespace {

std::wstring FileNameLower(const std::filesystem::path& path) {
    std::wstring name = path.filename().wstring();
    if (!name.empty()) {
        ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    }
    return name;
}

std::filesystem::path ProcessImage(DWORD processId) {
    unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return {};
    }
    std::wstring path(MAX_PATH * 4, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) {
        return {};
    }
    path.resize(size);
    return path;
}

DWORD SessionOf(DWORD processId) {
    DWORD session = 0;
    return ::ProcessIdToSessionId(processId, &session) ? session : 0xFFFFFFFFu;
}

bool FileIdentity(const std::filesystem::path& path, BY_HANDLE_FILE_INFORMATION& info) {
    unique_hfile file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    return file && ::GetFileInformationByHandle(file.get(), &info);
}

PowerEvent PowerEventOf(WPARAM event) {
    switch (event) {
        case PBT_APMQUERYSUSPEND:
            return PowerEvent::QuerySuspend;
        case PBT_APMSUSPEND:
            return PowerEvent::Suspend;
        default:
            return PowerEvent::Other;
    }
}

// The private tray message carries a mouse message number as its second parameter.
std::optional<TrayMouse> TrayMouseOf(LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK:
            return TrayMouse::DoubleClick;
        case WM_RBUTTONUP:
            return TrayMouse::RightUp;
        default:
            return std::nullopt;
    }
}

}  // namespace

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return FileIdentity(a, first) && FileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

MainWindow::MainWindow(HINSTANCE instance, std::filesystem::path executable)
    : instance_(instance), executable_(std::move(executable)) {}

MainWindow::~MainWindow() {
    Shutdown();
}

// ---- IStartupHost ---------------------------------------------------------------------------

bool MainWindow::SetCurrentFolder(const std::filesystem::path& folder) {
    // A full path sets the current drive and the directory on it in one call (a share too).
    return ::SetCurrentDirectoryW(folder.c_str()) != FALSE;
}

bool MainWindow::CreateAppMutex(std::string_view name) {
    const std::wstring wideName = Wide(name);
    unique_handle mutex(::CreateMutexW(nullptr, TRUE, wideName.c_str()));
    if (!mutex) {
        return false;
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::ReleaseMutex(mutex.get());
        return false;  // closed here
    }
    mutex_ = std::move(mutex);
    return true;
}

bool MainWindow::OtherInstanceRunning() {
    const DWORD self = ::GetCurrentProcessId();
    const DWORD session = SessionOf(self);
    const std::wstring ownName = FileNameLower(executable_);
    unique_hfile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self || FileNameLower(entry.szExeFile) != ownName ||
            SessionOf(entry.th32ProcessID) != session) {
            continue;
        }
        // The same executable file, wherever its path is spelled differently; a monitor of
        // another installation (another folder) is another program.
        const std::filesystem::path image = ProcessImage(entry.th32ProcessID);
        if (!image.empty() && IsSameFile(image, executable_)) {
            return true;
        }
    }
    return false;
}

int MainWindow::ScreenDpiX() {
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) {
        return 0;
    }
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

bool MainWindow::RegisterFormClass() {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = &MainWindow::WindowProc;
    form.hInstance = instance_;
    form.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kMainWindowClassName;
    return ::RegisterClassExW(&form) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool MainWindow::LoadMainForm(AppContext& context) {
    if (window_ != nullptr || !RegisterFormClass()) {
        return window_ != nullptr;
    }
    context_ = &context;
    window_ = ::CreateWindowExW(0, kMainWindowClassName, kMainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    tray_ = std::make_unique<Win32TrayIcon>(window_, &context.trace);
    // 0 for one that could not be registered: it then matches no message.
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(kTaskbarCreatedMessage);
    closeInteractiveWindowMessage_ = ::RegisterWindowMessageW(kCloseInteractiveWindowMessage);
    exitRequestMessage_ = ::RegisterWindowMessageW(kExitRequestMessage);
    statusView_ = std::make_unique<StatusWindowView>(context.texts, context.settings.productName, instance_);
    statusView_->SetPictures(context.folders.ImagesFolder(),
                             StatusPictures(context.settings, context.folders.ImagesFolder()));
    statusView_->SetLinkPorts(context.ports.shell, context.trace);
    failureView_ = std::make_unique<FailureNotificationView>(context.texts, context.settings.productName, instance_);
    welcomeView_ = std::make_unique<WelcomeView>(context.trace, instance_);
    welcomeView_->SetImagesFolder(context.folders.ImagesFolder());
    productBox_.SetDefaultTitle(context.settings.caption);
    productBox_.SetImagesFolder(context.folders.ImagesFolder());
    messageBox_.UseTexts(context.texts, context.settings.productName);
    logView_ = std::make_unique<SessionLogView>(context.texts, context.settings.productName, instance_);
    logView_->SetImagesFolder(context.folders.ImagesFolder());
    logForm_ = std::make_unique<frmSessionLog>(context, messageBox_, *logView_);
    form_ = std::make_unique<MainForm>(context, *this, *tray_, *statusView_, *failureView_, localeFormat_, messageBox_,
                                       reinterpret_cast<std::uintptr_t>(instance_));
    failureView_->SetEvents(&form_->FailureEvents());
    return true;
}

void MainWindow::SetFormIcon(const std::filesystem::path& iconFile) {
    formIconFile_ = iconFile;
    RefreshFormIcon();
}

void MainWindow::AddTrayIcon() {
    Subclass();
    TryAddTrayIcon();
}

void MainWindow::TryAddTrayIcon() {
    if (tray_ == nullptr) {
        return;
    }
    if (tray_->Add(formIconFile_, "")) {
        KillFormTimer(FormTimer::TrayRetry);
    } else {
        SetFormTimer(FormTimer::TrayRetry, kTrayRetryMs);
    }
}

void MainWindow::SetFormTimer(FormTimer timer, std::uint32_t periodMs) {
    ::SetTimer(window_, static_cast<UINT_PTR>(timer), periodMs, nullptr);
}

void MainWindow::KillFormTimer(FormTimer timer) {
    ::KillTimer(window_, static_cast<UINT_PTR>(timer));
}

void MainWindow::StartTimer(int timerId, std::uint32_t periodMs) {
    ::SetTimer(window_, static_cast<UINT_PTR>(timerId), periodMs, nullptr);
}

void MainWindow::MinimizeAndHide() {
    // The form has never been shown: minimising it first would only flash it on the screen, so
    // it is simply kept hidden.
    ::ShowWindow(window_, SW_HIDE);
}

void MainWindow::ShowWebManagementAlert(const WebAlert& alert) {
    if (tray_ != nullptr) {
        tray_->SetTip(alert.trayTip);
    }
    if (welcomeView_ != nullptr) {
        welcomeView_->Show(alert);
    }
}

// ---- ITrayHost ------------------------------------------------------------------------------

void MainWindow::Subclass() {
    if (subclassed_ || window_ == nullptr) {
        return;  // a second replacement would save our own procedure as the previous one
    }
    const LONG_PTR previous =
        ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::TrayWindowProc));
    if (previous != 0) {
        previousProc_ = reinterpret_cast<WNDPROC>(previous);
        subclassed_ = true;
    }
}

void MainWindow::RestoreProcedure() {
    if (!subclassed_ || window_ == nullptr) {
        return;
    }
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    subclassed_ = false;
}

void MainWindow::RemoveTrayIcon() {
    if (window_ != nullptr) {
        KillFormTimer(FormTimer::TrayRetry);
    }
    if (tray_ != nullptr) {
        tray_->Remove();
    }
    RestoreProcedure();
}

void MainWindow::RefreshFormIcon() {
    formIcon_.Load(formIconFile_);
    if (window_ != nullptr) {
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(formIcon_.Get()));
    }
}

void MainWindow::EnableHibernationTimer(bool enable) {
    if (window_ == nullptr) {
        return;
    }
    if (enable) {
        SetFormTimer(FormTimer::Hibernation, kHibernationTimerMs);
    } else {
        KillFormTimer(FormTimer::Hibernation);
    }
}

// ---- IStatusWindowHost ----------------------------------------------------------------------

void MainWindow::ShowStatusWindow() {
    if (statusView_ == nullptr || form_ == nullptr) {
        return;
    }
    // Unowned, so that the window has a taskbar button of its own: the form it would belong to
    // is never shown.
    statusView_->Show(form_->StatusEvents(), nullptr);
}

// ---- ICommandHost ------------------------------------------------------------------------------

void MainWindow::ArmCommandTimer(CommandTimer timer, bool armed) {
    if (window_ == nullptr) {
        return;
    }
    if (armed) {
        SetFormTimer(FormTimerOf(timer), kCommandTimerMs);
    } else {
        KillFormTimer(FormTimerOf(timer));
    }
}

void MainWindow::SetBusyCursor(bool busy) {
    if (busy) {
        const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (previousCursor_ == nullptr) {
            previousCursor_ = previous != nullptr ? previous : ::LoadCursorW(nullptr, IDC_ARROW);
        }
    } else if (previousCursor_ != nullptr) {
        ::SetCursor(previousCursor_);
        previousCursor_ = nullptr;
    }
}

void MainWindow::PopUpTrayMenu(const TrayMenuModel& menu) {
    if (window_ == nullptr) {
        return;
    }
    const unique_hmenu popup = BuildPopupMenu(menu.TrayPopup());
    if (!popup) {
        return;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere, and without
    // the message after it the next pop-up would close at once.
    ::SetForegroundWindow(window_);
    ::TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    ::PostMessageW(window_, WM_NULL, 0, 0);
}

void MainWindow::OpenWindow(FeatureWindow window) {
    if (window == FeatureWindow::StatusWindow) {
        ShowStatusWindow();
        return;
    }
    if (window == FeatureWindow::ScheduleManager) {
        ShowScheduleManager();
        return;
    }
    if (window == FeatureWindow::LogViewer) {
        if (logView_ != nullptr && logForm_ != nullptr) {
            logView_->Show(*logForm_);
        }
        return;
    }
    if (window == FeatureWindow::ErrorReport && context_ != nullptr) {
        if (errorReport_ == nullptr) {
            errorReport_ = std::make_unique<ErrorReportWindow>(*context_, messageBox_, localeFormat_, instance_);
        }
        errorReport_->Open();
        return;
    }
    // The about window is not part of this version yet.
    const char* name = "AboutOVEnterprise";
    if (context_ != nullptr) {
        context_->trace.Info(std::string("Not available in this version: ") + name);
    }
}

void MainWindow::ShowScheduleManager() {
    if (context_ == nullptr || form_ == nullptr) {
        return;
    }
    // One manager: a second request brings the open one to the front.
    if (scheduleView_ == nullptr) {
        scheduleView_ =
            std::make_unique<ScheduleManagerView>(context_->texts, context_->settings.productName, instance_);
        scheduleManager_ = std::make_unique<SchedulerFrm>(
            *context_, messageBox_, *scheduleView_,
            [this](std::string_view userName) { form_->Commands().mnuStop_Click(userName); });
    }
    scheduleView_->Show(*scheduleManager_, nullptr);
}

std::uintptr_t MainWindow::OwnerWindow() {
    return reinterpret_cast<std::uintptr_t>(window_);
}

// ---- Exit -----------------------------------------------------------------------------------

void MainWindow::Shutdown() noexcept {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    try {
        if (form_ != nullptr) {
            form_->StopWaiting();
        }
        if (window_ != nullptr) {
            for (const FormTimer timer : kFormTimers) {
                KillFormTimer(timer);
            }
        }
        if (statusView_ != nullptr && statusView_->IsLoaded()) {
            statusView_->Close();
        }
        if (failureView_ != nullptr) {
            failureView_->Close();
        }
        if (welcomeView_ != nullptr) {
            welcomeView_->Close();
        }
        // Only the window goes: a report on its way keeps its presenter until the program ends.
        if (errorReport_ != nullptr) {
            errorReport_->View().Close();
        }
        if (logView_ != nullptr && logView_->IsLoaded()) {
            logView_->Close();
        }
        if (scheduleView_ != nullptr && scheduleView_->IsLoaded()) {
            scheduleView_->Close();
        }
        RemoveTrayIcon();
        if (window_ != nullptr) {
            const HWND window = window_;
            ::DestroyWindow(window);
            window_ = nullptr;
        }
        if (mutex_) {
            ::ReleaseMutex(mutex_.get());
            mutex_.reset();
        }
    } catch (...) {
    }
}

void MainWindow::Exit() noexcept {
    Shutdown();
    ::PostQuitMessage(0);
}

// ---- Window procedures ----------------------------------------------------------------------

LRESULT CALLBACK MainWindow::TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = FromWindow(window);
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    self->PassToWindowLogic(message, wParam, lParam);
    // The saved procedure stays known after a restore (TaskbarCreated removes and adds the icon
    // inside this very call), so the message always reaches the form.
    const WNDPROC previous = self->previousProc_ != nullptr ? self->previousProc_ : &MainWindow::WindowProc;
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

void MainWindow::PassToWindowLogic(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (form_ == nullptr) {
        return;
    }
    MainForm& logic = *form_;
    if (message == WM_POWERBROADCAST) {
        logic.OnPowerBroadcast(PowerEventOf(wParam));
    } else if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        logic.OnTaskbarCreated();
    } else if (closeInteractiveWindowMessage_ != 0 && message == closeInteractiveWindowMessage_) {
        logic.OnCloseInteractiveWindow();
    } else if (message == WM_ENDSESSION) {
        logic.OnEndSession(wParam != FALSE);
    } else if (message == kTrayMouseMessage) {
        if (const std::optional<TrayMouse> mouse = TrayMouseOf(lParam)) {
            logic.OnTrayMouse(*mouse);
        }
    }
    logic.RereadCurrentUser();
}

void MainWindow::OnWindowGone(HWND /*window*/) noexcept {
    subclassed_ = false;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (exitRequestMessage_ != 0 && message == exitRequestMessage_) {
        if (form_ != nullptr) {
            form_->OnMenuCommand(TrayMenuItem::MnuExit);
        }
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (const std::optional<FormTimer> timer = FormTimerOf(wParam); timer && form_ != nullptr) {
                form_->OnTimer(*timer);
            }
            return 0;
        case WM_COMMAND:
            if (const std::optional<TrayMenuItem> item = ItemFromCommandId(LOWORD(wParam)); item && form_ != nullptr) {
                form_->OnMenuCommand(*item);
            }
            return 0;
        case kTrayCallbackMessage:
            // The tray icon's callback shares its number with the mouse-move message.
            OnTrayIconMouse(lParam);
            return 0;
        case WM_CLOSE:
            // A request to close the form is refused: it hides and stays loaded. Only the menu's
            // exit ends the monitor.
            ::ShowWindow(window_, SW_HIDE);
            if (context_ != nullptr) {
                context_->trayMenu.SetEnabled(TrayMenuItem::MnuOpen, true);
            }
            return 0;
        case WM_DPICHANGED:
            // The tray shows its picture at the size of small icons for the new DPI. The form is
            // never shown, so the suggested window rectangle is of no use.
            if (tray_ != nullptr) {
                tray_->OnDpiChanged(LOWORD(wParam));
            }
            return 0;
        case WM_ENDSESSION:
            // The window logic has done its part of the session end; the monitor then ends as
            // from its exit entry, so that no dead icon is left in the tray.
            if (wParam != FALSE) {
                Exit();
            }
            return 0;
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MainWindow::OnTrayIconMouse(LPARAM mouseMessage) {
    if (const std::optional<TrayMouse> mouse = TrayMouseOf(mouseMessage); mouse && form_ != nullptr) {
        form_->OnTrayIconMouse(*mouse);
    }
}

}  // namespace ovp::win
