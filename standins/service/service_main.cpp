// Stand-in for the backup service: a real Windows service program that does no backup work. The
// service control manager starts it; it reports running, can be paused and continued, and stops
// when asked or when the system shuts down. Each change is recorded in the events file, so a test
// sees that it was this program, in this application folder, that the batch files installed.

#include <windows.h>

#include <cstdio>
#include <string>

#include "standin_product.h"

namespace {

constexpr std::string_view kWho = "service";

struct ServiceContext {
    SERVICE_STATUS_HANDLE handle = nullptr;
    HANDLE stopEvent = nullptr;
    SERVICE_STATUS status{};
    std::filesystem::path appFolder;
};

void Report(ServiceContext& context, DWORD state, std::string_view event) {
    context.status.dwCurrentState = state;
    context.status.dwControlsAccepted =
        state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING || state == SERVICE_STOPPED
            ? 0
            : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_PAUSE_CONTINUE;
    context.status.dwWaitHint = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ? 3000 : 0;
    // The event first: once the service reports itself stopped, the service manager may end its
    // process at any moment, and whoever saw the new state must find the event written.
    if (!event.empty()) {
        ovp::standin::RecordEvent(context.appFolder, kWho, event);
    }
    ::SetServiceStatus(context.handle, &context.status);
}

DWORD WINAPI ControlHandler(DWORD control, DWORD, LPVOID, LPVOID contextPointer) {
    auto& context = *static_cast<ServiceContext*>(contextPointer);
    switch (control) {
        case SERVICE_CONTROL_STOP:
        case SERVICE_CONTROL_SHUTDOWN:
            Report(context, SERVICE_STOP_PENDING, {});
            ::SetEvent(context.stopEvent);
            return NO_ERROR;
        case SERVICE_CONTROL_PAUSE:
            Report(context, SERVICE_PAUSED, "paused");
            return NO_ERROR;
        case SERVICE_CONTROL_CONTINUE:
            Report(context, SERVICE_RUNNING, "continued");
            return NO_ERROR;
        case SERVICE_CONTROL_INTERROGATE:
            ::SetServiceStatus(context.handle, &context.status);
            return NO_ERROR;
        default:
            return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD argc, LPWSTR* argv) {
    ServiceContext context;
    context.appFolder = ovp::standin::OwnFolder();
    context.status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    // An own-process service may be registered under any name; the manager passes it as argv[0].
    const wchar_t* name = argc > 0 ? argv[0] : L"";
    context.handle = ::RegisterServiceCtrlHandlerExW(name, ControlHandler, &context);
    if (context.handle == nullptr) {
        return;
    }
    context.stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (context.stopEvent == nullptr) {
        context.status.dwWin32ExitCode = ::GetLastError();
        Report(context, SERVICE_STOPPED, "could not start");
        return;
    }
    Report(context, SERVICE_START_PENDING, {});
    Report(context, SERVICE_RUNNING, "running");
    ::WaitForSingleObject(context.stopEvent, INFINITE);
    ::CloseHandle(context.stopEvent);
    Report(context, SERVICE_STOPPED, "stopped");
}

}  // namespace

int wmain() {
    wchar_t anyName[] = L"";
    const SERVICE_TABLE_ENTRYW table[] = {{anyName, ServiceMain}, {nullptr, nullptr}};
    if (!::StartServiceCtrlDispatcherW(table)) {
        std::fprintf(stderr,
                     "This is the backup service stand-in; install and start it with the service batch files "
                     "(error %lu).\n",
                     ::GetLastError());
        return 1;
    }
    return 0;
}
