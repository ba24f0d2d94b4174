#include "win32/child_process_win.h"

#include <windows.h>

#include <string>

#include "win32/message_dispatch.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

class Win32ChildProcess final : public IChildProcess {
  public:
    Win32ChildProcess(unique_handle process, DWORD id) : process_(std::move(process)), id_(id) {}

    bool WaitPumping(std::uint32_t ms) override {
        const ULONGLONG deadline = ::GetTickCount64() + ms;
        std::optional<int> quitCode;
        bool ended = false;
        for (;;) {
            if (const auto code = DispatchPendingMessages()) {
                quitCode = code;
            }
            if (::WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) {
                ended = true;
                break;
            }
            const ULONGLONG now = ::GetTickCount64();
            if (now >= deadline) {
                break;
            }
            const HANDLE process = process_.get();
            ::MsgWaitForMultipleObjectsEx(1, &process, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                          MWMO_INPUTAVAILABLE);
        }
        if (quitCode) {
            ::PostQuitMessage(*quitCode);
        }
        return ended;
    }

    bool Terminate() override {
        if (::WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) {
            return false;
        }
        return ::TerminateProcess(process_.get(), 0) != FALSE;
    }

    std::uint32_t Id() const override { return id_; }

  private:
    unique_handle process_;
    DWORD id_;
};

}  // namespace

std::unique_ptr<IChildProcess> Win32ProcessLauncher::Launch(const LaunchRequest& request) {
    // The program's own name in quotes, as its first argument; CreateProcessW may write into the
    // command line, so it is a buffer of our own.
    std::wstring commandLine = L"\"" + request.executable.wstring() + L"\"";
    if (!request.arguments.empty()) {
        commandLine += L" " + Wide(request.arguments);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(request.hidden ? SW_HIDE : SW_SHOWNORMAL);
    PROCESS_INFORMATION started{};
    const std::wstring folder = request.workingFolder.wstring();
    if (!::CreateProcessW(request.executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        return nullptr;
    }
    ::CloseHandle(started.hThread);
    return std::make_unique<Win32ChildProcess>(unique_handle(started.hProcess), started.dwProcessId);
}

}  // namespace ovp::win
