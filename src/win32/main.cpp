// Entry point of the monitor: the adapters of every port, start-up, and the message loop of the
// hidden main form until the user exits from the tray menu or the logon session ends.
#include <windows.h>

#include <objbase.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/startup.h"
#include "platform/std_random.h"
#include "win32/child_process_win.h"
#include "win32/clock_win.h"
#include "win32/code_page_win.h"
#include "win32/companions_win.h"
#include "win32/file_system_win.h"
#include "win32/http_win.h"
#include "win32/mail_paths_win.h"
#include "win32/main_window.h"
#include "win32/message_dispatch.h"
#include "win32/power_win.h"
#include "win32/processes_win.h"
#include "win32/profile_store_win.h"
#include "win32/registry_win.h"
#include "win32/secure_random_win.h"
#include "win32/service_manager_win.h"
#include "win32/shell_folders_win.h"
#include "win32/shell_win.h"
#include "win32/system_info_win.h"
#include "win32/windows_win.h"

namespace {

std::filesystem::path OwnExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// COM for the thread, as the shell's execute requires before its first call: the handlers it
// may hand a request to run in a single-threaded apartment. Ends with the program.
class ComApartment {
  public:
    ComApartment()
        : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        ovp::win::DispatchWindowMessage(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        const std::filesystem::path executable = OwnExecutable();
        const std::filesystem::path appFolder = executable.parent_path();
        if (appFolder.empty()) {
            return 0;
        }
        const ComApartment com;
        ovp::win::InstallFileFlush();

        // The adapters trace into the monitor's trace once the context has made it.
        ovp::TraceRelay adapterTrace;
        ovp::win::Win32Registry registry(ovp::win::Win32Registry::View::Registry32, &adapterTrace);
        ovp::win::Win32ProfileStore profiles(&adapterTrace);
        ovp::win::Win32Clock clock;
        ovp::win::Win32SystemInfo system;
        ovp::win::Win32Processes processes;
        ovp::win::Win32ServiceManager services(&adapterTrace);
        ovp::win::Win32Shell shell;
        ovp::win::Win32CodePage codePage;
        ovp::StdRandom random(static_cast<std::uint64_t>(::GetTickCount64()));
        ovp::win::Win32MailPaths mailPaths(appFolder);
        ovp::win::Win32ShellFolders shellFolders;
        ovp::win::Win32Power power;
        ovp::win::Win32Windows windows;
        ovp::win::Win32FileSystem files;
        ovp::win::Win32ProcessLauncher launcher;
        ovp::win::Win32CompanionLibraries companions(&adapterTrace);
        ovp::win::Win32SecureRandom secureRandom;
        ovp::win::Win32Http http(&adapterTrace);
        const ovp::PlatformPorts ports{registry, profiles, clock,    system,     processes,    services,
                                       shell,    codePage, random,   mailPaths,  shellFolders, power,
                                       windows,  files,    launcher, companions, secureRandom, http,  &adapterTrace};

        // The context outlives the form, whose window logic works on it to the end.
        std::unique_ptr<ovp::AppContext> context;
        ovp::win::MainWindow form(instance, executable);
        ovp::StartupResult started = ovp::Main(ports, form, appFolder);
        context = std::move(started.context);
        if (started.outcome != ovp::StartupOutcome::Running) {
            return 0;
        }
        const int code = RunMessageLoop();
        // However the loop ended, the icon goes and the procedure is put back.
        form.Shutdown();
        return code;
    } catch (...) {
        return 0;
    }
}
