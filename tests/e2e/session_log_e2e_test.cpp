// The activity log viewer as the user meets it: opened from the tray menu on a session folder the
// engine simulator filled with logs of every kind and encoding, read back from the window (rows,
// page label), paged forward, and two ticked rows deleted. How each row is worded is the unit
// tests'; here the real window, list view and files act.

#include "monitor_fixture.h"

#include <commctrl.h>

#include "win32/session_log_dialog_ids.h"

namespace ovp::e2e {
namespace {

// A list view of another process: messages that carry pointers need their memory in that process.
class RemoteListView {
  public:
    RemoteListView(HWND list, DWORD processId)
        : list_(list),
          process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
        if (process_) {
            memory_ = ::VirtualAllocEx(process_.get(), nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteListView() {
        if (memory_ != nullptr) {
            ::VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE);
        }
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    int Count() const { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Cell(int item, int column) const {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.cchTextMax = kTextChars;
        cell.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + sizeof(LVITEMW));
        if (!Write(cell)) {
            return {};
        }
        ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
        std::wstring text(kTextChars, L'\0');
        ::ReadProcessMemory(process_.get(), cell.pszText, text.data(), kTextChars * sizeof(wchar_t), nullptr);
        text.resize(std::wcslen(text.c_str()));
        return text;
    }

    void Tick(int item) const {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        if (Write(state)) {
            ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(memory_));
        }
    }

  private:
    static constexpr int kTextChars = 512;
    static constexpr SIZE_T kBytes = sizeof(LVITEMW) + kTextChars * sizeof(wchar_t);

    bool Write(const LVITEMW& item) const {
        return memory_ != nullptr && ::WriteProcessMemory(process_.get(), memory_, &item, sizeof(item), nullptr);
    }

    HWND list_;
    win::unique_handle process_;
    void* memory_ = nullptr;
};

// "Backup 12-06-2026 09-05-07.txt" -> "12-06-2026 9:05:07", as the viewer shows a log's start.
std::wstring StartTimeOfName(const std::wstring& name) {
    const std::wstring stamp = name.substr(name.size() - 23, 19);
    const int hour = std::stoi(stamp.substr(11, 2));
    return stamp.substr(0, 10) + L" " + std::to_wstring(hour) + L":" + stamp.substr(14, 2) + L":" + stamp.substr(17, 2);
}

class SessionLogTest : public MonitorTest {};

TEST_F(SessionLogTest, OpenedFromTheTrayItPagesAndDeletesTheTickedLogs) {
    LayOut();
    ASSERT_EQ(Start(app_ / PathFromUtf8(standin::kSimulatorProgram), app_, L"logs 60").Exit(60s),
              std::optional<DWORD>(0));
    const std::filesystem::path session = folders_.UserFolder(user_) / PathFromUtf8(contract::kSessionFolder);
    Child monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    const HWND main = WaitForMainWindow(monitor);
    ASSERT_NE(main, nullptr);

    ::PostMessageW(main, WM_COMMAND, CommandId(TrayMenuItem::MnuViewLog), 0);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(monitor.id)) {
                wchar_t title[64] = {};
                ::GetWindowTextW(window, title, 64);
                if (std::wstring(title) == L"Session Log" && ::IsWindowVisible(window)) {
                    viewer = window;
                }
            }
            return viewer != nullptr;
        },
        20s))
        << "the log viewer did not open";
    const auto label = [&] {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(viewer, IDC_lblPage, text, 64);
        return std::wstring(text);
    };
    RemoteListView list(::GetDlgItem(viewer, IDC_LstSessionLogView), monitor.id);
    EXPECT_EQ(label(), L"1 - 50 of 60");
    ASSERT_EQ(list.Count(), 50);
    // The simulator's newest logs: a scheduled backup (ANSI), an interactive one (UTF-8), continuous
    // backup (UTF-16); its ninth a scheduled backup that failed.
    const std::wstring descriptions[] = {L"Scheduled Backup ( 3 Files )", L"Interactive Backup( 4 Files )",
                                         L"Continuous Backup( 5 Files )"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.Cell(row, 2), descriptions[row]);
        EXPECT_EQ(list.Cell(row, 1), StartTimeOfName(list.Cell(row, 3)));
    }
    EXPECT_EQ(list.Cell(8, 2), L"Scheduled Backup - Failed");

    ::SendDlgItemMessageW(viewer, IDC_NextImg, BM_CLICK, 0, 0);
    EXPECT_EQ(label(), L"51 - 60 of 60");
    ASSERT_EQ(list.Count(), 10);

    const std::wstring first = list.Cell(0, 3);
    const std::wstring third = list.Cell(2, 3);
    ASSERT_TRUE(std::filesystem::exists(session / first) && std::filesystem::exists(session / third));
    list.Tick(0);
    list.Tick(2);
    ::SendDlgItemMessageW(viewer, IDC_cmdDelete, BM_CLICK, 0, 0);
    EXPECT_FALSE(std::filesystem::exists(session / first));
    EXPECT_FALSE(std::filesystem::exists(session / third));
    EXPECT_EQ(label(), L"51 - 58 of 58");
    EXPECT_EQ(list.Count(), 8);
}

}  // namespace
}  // namespace ovp::e2e
