#pragma once
// What the end-to-end tests observe of a running monitor, each through the Windows API directly
// (never through the monitor's own adapters): processes, windows, the tray, registry values,
// services and UTF-16 trace files.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standin_processes.h"
#include "win32/unique_resource.h"

namespace ovp::e2e {

using namespace std::chrono_literals;

// Polls the condition every 50 ms until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// ---- Processes ----------------------------------------------------------------------------------
using standin::EndProcessesUnder;
using standin::ProcessesUnder;
using standin::RunningProcess;
using standin::RunningProcesses;

// A program the test started itself.
class ChildProcess {
  public:
    // CreateProcessW with the program's quoted path as the command line; empty on failure.
    static ChildProcess Start(const std::filesystem::path& program,
                              const std::filesystem::path& workingFolder,
                              std::wstring_view arguments = {});

    explicit operator bool() const { return static_cast<bool>(handle_); }
    DWORD Id() const { return id_; }
    bool IsRunning() const;
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    // The exit code once the process has ended.
    std::optional<DWORD> ExitCode() const;
    void Terminate();

  private:
    win::unique_handle handle_;
    DWORD id_ = 0;
};

// ---- Windows and the tray -----------------------------------------------------------------------
// The process's top-level windows (visible or not).
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::wstring ClassNameOf(HWND window);
// True when the notification area holds the icon (window, id): asked by a modification that
// changes nothing, which the shell refuses for an icon it does not have.
bool TrayIconPresent(HWND owner, UINT id);
// Deletes the icon as a restarted taskbar would have lost it.
bool DeleteTrayIcon(HWND owner, UINT id);

// ---- Registry -----------------------------------------------------------------------------------
std::optional<std::wstring> RegString(HKEY root, std::wstring_view key, std::wstring_view name);
bool SetRegString(HKEY root, std::wstring_view key, std::wstring_view name, std::wstring_view value);
bool DeleteRegValue(HKEY root, std::wstring_view key, std::wstring_view name);
void DeleteRegTree(HKEY root, std::wstring_view key);
bool RegKeyExists(HKEY root, std::wstring_view key);

// ---- Files --------------------------------------------------------------------------------------
// The lines (UTF-8, without their CR LF) of a Unicode text file as Notepad writes it.
std::optional<std::vector<std::string>> ReadUtf16Lines(const std::filesystem::path& file);
// Every file and folder below root, as relative paths, sorted.
std::vector<std::string> TreeListing(const std::filesystem::path& root);

}  // namespace ovp::e2e
