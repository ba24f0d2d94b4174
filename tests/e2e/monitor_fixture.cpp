#include "monitor_fixture.h"

#include <atomic>
#include <cstdio>

#include "base/files.h"
#include "context/tray_menu_model.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "win32/main_window.h"
#include "win32/text_win.h"

namespace ovp::e2e {

namespace c = contract;

namespace {

// Every test folder's name starts so; what a crashed earlier run left running there is ended.
constexpr std::wstring_view kFolderMark = L"ovp-e2e-";
constexpr std::size_t kTraceDateLength = 19;  // "mm-dd-yyyy HH:mm:ss"

std::filesystem::path NewRootFolder(unsigned number) {
    return std::filesystem::temp_directory_path() /
           (std::wstring(kFolderMark) + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(number));
}

unsigned NextNumber() {
    static std::atomic<unsigned> counter{0};
    return counter++;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& ch : text) {
        ch = static_cast<wchar_t>(::towlower(ch));
    }
    return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return Lower(text).find(Lower(part)) != std::wstring::npos;
}

// Leftovers of a run that crashed: processes started from a test folder.
void EndLeftovers() {
    for (const RunningProcess& process : RunningProcesses()) {
        if (Contains(process.image.wstring(), L"\\" + std::wstring(kFolderMark))) {
            EndProcessesUnder(process.image.parent_path());
        }
    }
}

constexpr std::wstring_view kWineAppDefaults = L"Software\\Wine\\AppDefaults\\";

}  // namespace

MonitorTest::MonitorTest()
    : root_(NewRootFolder(NextNumber())),
      app_(root_ / L"Orvessa App"),
      pin_("OVPe2e" + std::to_string(::GetCurrentProcessId()) + "n" + std::to_string(NextNumber())),
      settings_(standin::ExampleProduct(pin_)),
      names_(BuildExecutableNames(settings_)),
      folders_(app_, pin_) {}

void MonitorTest::SetUp() {
    EndLeftovers();
    std::filesystem::create_directories(app_);
    UseWindowsVersion(L"win10");
}

void MonitorTest::TearDown() {
    if (HasFailure()) {
        PrintEvidence();
    }
    // Monitors leave by their exit path, so that Wine's tray keeps no icon of theirs.
    for (const RunningProcess& process : ProcessesUnder(root_)) {
        if (Lower(process.image.filename().wstring()) == Lower(win::Wide(names_.tray))) {
            ExitMonitor(process.id);
        }
    }
    EndProcessesUnder(root_);
    DeleteRegTree(HKEY_CURRENT_USER, VendorKey());
    DeleteRegTree(HKEY_CURRENT_USER, ProductKey());
    DeleteRegTree(HKEY_LOCAL_MACHINE, ProductKey());
    const std::wstring versionKey = std::wstring(kWineAppDefaults) + win::Wide(names_.tray);
    if (previousMonitorVersion_) {
        SetRegString(HKEY_CURRENT_USER, versionKey, L"Version", *previousMonitorVersion_);
    } else {
        DeleteRegValue(HKEY_CURRENT_USER, versionKey, L"Version");
    }
    // A process that was just ended may hold its files for a moment.
    WaitUntil(
        [&] {
            std::error_code error;
            std::filesystem::remove_all(root_, error);
            return !std::filesystem::exists(root_);
        },
        5s);
}

void MonitorTest::PrintEvidence() {
    const auto print = [](std::string_view title, const std::vector<std::string>& lines) {
        std::printf("---- %.*s (%zu lines)\n", static_cast<int>(title.size()), title.data(), lines.size());
        for (const std::string& line : lines) {
            std::printf("%s\n", line.c_str());
        }
    };
    print("user trace", UserTraceTexts());
    if (StartFolder() != UserFolder()) {
        print("start folder trace",
              ReadUtf16Lines(StartFolder() / PathFromUtf8(c::kTrayTraceFile)).value_or(std::vector<std::string>{}));
    }
    print("stand-in events", {StandInEvents()});
    std::fflush(stdout);
}

void MonitorTest::UseWindowsVersion(std::wstring_view version) {
    const std::wstring versionKey = std::wstring(kWineAppDefaults) + win::Wide(names_.tray);
    if (!previousVersionSaved_) {
        previousMonitorVersion_ = RegString(HKEY_CURRENT_USER, versionKey, L"Version");
        previousVersionSaved_ = true;
    }
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, versionKey, L"Version", version));
}

standin::LayoutParts MonitorTest::NoServiceParts() {
    standin::LayoutParts parts;
    parts.service = false;
    return parts;
}

void MonitorTest::LayOut(standin::LayoutParts parts) {
    ASSERT_TRUE(standin::LayOutApplicationFolder(app_, settings_, parts));
    ASSERT_TRUE(standin::WriteLoggedInUser(app_, settings_, user_));
}

ChildProcess MonitorTest::StartMonitor() {
    // Started from another folder: the monitor must find its files by its own location.
    ChildProcess monitor = ChildProcess::Start(app_ / PathFromUtf8(names_.tray), root_);
    EXPECT_TRUE(monitor) << "could not start " << names_.tray;
    return monitor;
}

bool MonitorTest::WaitForStartup(const ChildProcess& monitor) {
    const auto done = [&] {
        return RegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser)) == std::wstring(L"TRUE");
    };
    WaitUntil([&] { return done() || !monitor.IsRunning(); }, kStartupTimeout);
    return done();
}

HWND MonitorTest::MainWindowOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == win::kMainWindowClassName) {
            return window;
        }
    }
    return nullptr;
}

HWND MonitorTest::WaitForMainWindow(const ChildProcess& monitor) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = MainWindowOf(monitor.Id())) != nullptr || !monitor.IsRunning(); }, 10s);
    return window;
}

bool MonitorTest::ExitMonitor(DWORD processId) {
    const HWND window = MainWindowOf(processId);
    win::unique_handle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (!process) {
        return false;
    }
    if (window != nullptr && ::PostMessageW(window, WM_COMMAND, CommandId(TrayMenuItem::MnuExit), 0) &&
        ::WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0) {
        return true;
    }
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
    return false;
}

std::string MonitorTest::Profile(std::string_view section, std::string_view key) {
    return store_.Read(folders_.ProfileFile(user_), section, key);
}

std::vector<std::string> MonitorTest::UserTraceTexts() {
    std::vector<std::string> texts;
    if (const auto lines = ReadUtf16Lines(UserFolder() / PathFromUtf8(c::kTrayTraceFile))) {
        for (const std::string& line : *lines) {
            texts.push_back(line.substr(std::min(line.size(), kTraceDateLength)));
        }
    }
    return texts;
}

std::string MonitorTest::StandInEvents() {
    return ReadFileBytes(app_ / PathFromUtf8(standin::kEventsFile)).value_or("");
}

std::wstring MonitorTest::VendorKey() const {
    return win::Wide(std::string(c::kVendorKeyPrefix) + pin_);
}

std::wstring MonitorTest::ProductKey() const {
    return win::Wide(std::string(c::kProductKeyPrefix) + pin_);
}

std::size_t FindLine(const std::vector<std::string>& lines, std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == text) {
            return i;
        }
    }
    return std::string::npos;
}

}  // namespace ovp::e2e
