#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "schedules/schedule_manager.h"
#include "schedules/schedule_wizard.h"
#include "support/fakes.h"
#include "win32/message_dispatch.h"
#include "win32/schedule_dialog_ids.h"
#include "win32/schedule_manager_win.h"
#include "win32/schedule_wizard_win.h"
#include "win32/text_win.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

using test::ItemText;

WizardControls SomeControls() {
    WizardControls w;
    w.option = WizardOption::optRecommendedTime;
    w.weekDays = {true, false, true, false, false, false, true};
    w.monthDayIndex = 30;
    w.calendar = {2026, 2, 27, 0, 0, 0};
    w.startTime = {2026, 2, 27, 21, 5, 0};
    w.recommended = true;
    w.cutOff = true;
    w.cutOffTime = {2026, 2, 27, 23, 40, 0};
    w.startMissed = true;
    w.desktop = true;
    w.mailNotify = MailNotifyChoice::Always;
    w.attachLog = true;
    w.mailEntry = "c@example.com";
    w.mailList = {"a@example.com", "b@example.com"};
    return w;
}

// The title and the texts of the buttons, the labels (not the progress label) and the columns.
std::set<std::wstring> Captions(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    std::set<std::wstring> texts{text};
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::GetClassNameW(child, text, 512);
        const bool list = _wcsicmp(text, WC_LISTVIEWW) == 0;
        if ((_wcsicmp(text, L"Button") == 0 || _wcsicmp(text, L"Static") == 0) &&
            ::GetDlgCtrlID(child) != IDC_lblMsgProgres) {
            ::GetWindowTextW(child, text, 512);
            texts.insert(text);
        }
        for (int column = 0; list && column < 5; ++column) {
            LVCOLUMNW query{};
            query.mask = LVCF_TEXT;
            query.pszText = text;
            query.cchTextMax = 512;
            ::SendMessageW(child, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&query));
            texts.insert(text);
        }
    }
    return texts;
}

// Renders the given controls on load, then presses a key; records what each event hands over.
class KeyedWizard : public IScheduleWizardEvents {
  public:
    KeyedWizard(WizardControls shown, WPARAM key) : shown_(std::move(shown)), key_(key) {}
    void Form_Load(IScheduleWizardView& view) override {
        view_ = &view;
        const HWND window = reinterpret_cast<HWND>(view.OwnerWindow());
        if (!captions.empty()) {
            view.ShowCaptions(captions);
            shownCaptions = Captions(window);
        }
        view.Render(shown_, WizardEnabling{});
        ::PostMessageW(::GetDlgItem(window, IDC_Sch_Start6_Help), BM_CLICK, 0, 0);
        ::PostMessageW(window, WM_KEYDOWN, key_, 0);
        // Should the key be lost, the dialog still ends rather than hang the test.
        ::SetTimer(window, 1, 5000, [](HWND w, UINT, UINT_PTR, DWORD) { ::EndDialog(w, 0); });
    }
    void OptionClick(const WizardControls&) override { calls.push_back("option"); }
    void WeekDayClick(const WizardControls&) override { calls.push_back("weekday"); }
    void cmbFrequency_Click(const WizardControls&) override { calls.push_back("day"); }
    void recommendedTime_Click(const WizardControls&) override { calls.push_back("recommended"); }
    void btnAdd_Click(const WizardControls&) override { calls.push_back("add"); }
    void Sch_Start4_Next_Click(const WizardControls& controls) override {
        calls.push_back("save");
        saved = controls;
        view_->Close();
    }
    void Cancel_Click() override {
        calls.push_back("cancel");
        view_->Close();
    }
    void Sch_Start6_Help_Click() override { calls.push_back("help"); }
    std::vector<WizardCaption> captions;
    std::set<std::wstring> shownCaptions;
    std::vector<std::string> calls;
    WizardControls saved;

  private:
    WizardControls shown_;
    WPARAM key_;
    IScheduleWizardView* view_ = nullptr;
};

// Lists two users' rows on load and records the clicks.
class ListingManager : public IScheduleManagerEvents {
  public:
    explicit ListingManager(ScheduleManagerView& view) : view_(view) {}
    void Form_Load() override {
        ++loads;
        view_.ShowCaptions(captions);
        view_.Render(
            {{{"DEFAULT BACKUPSET", "03-20-2026 22:00:00", "Week-Day", "In Progress", "alice", "1", "202603202200"},
              {"SYSTEMSTATEBACKUP", "04-01-2026 01:00:00", "Monthly", "", "bob", "3", "202604010100"}},
             "Scheduled backup (Username:alice) for the Backup set : 'oventbkupjob' is in progress"});
    }
    void Sch_list_lv_Click(int row) override { calls.push_back("select " + std::to_string(row)); }
    void Sch_list_lv_DblClick(int row) override { calls.push_back("double " + std::to_string(row)); }
    void Pic_Edit_Click(int row) override { calls.push_back("edit " + std::to_string(row)); }
    void Pic_Delete_Click(int row) override { calls.push_back("delete " + std::to_string(row)); }
    void Pic_Sttrf_Click(int row) override { calls.push_back("stop " + std::to_string(row)); }
    void Pic_Refresh_Click() override { calls.push_back("refresh"); }
    void ViewLog_Click(int row) override { calls.push_back("log " + std::to_string(row)); }
    void cmdCancel_Click() override {
        calls.push_back("cancel");
        view_.Close();
    }
    int loads = 0;
    std::vector<ManagerCaption> captions;
    std::vector<std::string> calls;

  private:
    ScheduleManagerView& view_;
};

std::wstring Cell(HWND list, int item, int column) {
    wchar_t text[256] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return text;
}

class ScheduleWindowsTest : public ::testing::Test {
  protected:
    void TearDown() override { manager_.Close(); }

    ovp::test::FakeLocaleText texts_;
    ScheduleManagerView manager_{texts_, "Grp Backup"};
    ListingManager events_{manager_};
};

// The pickers, the calendar and the lists give back exactly what was shown, and Enter saves.
TEST_F(ScheduleWindowsTest, TheWizardsControlsGiveBackWhatTheyShowAndEnterSavesEscCancels) {
    KeyedWizard enter(SomeControls(), VK_RETURN);
    ScheduleWizardView::Run(enter, nullptr, texts_, "Grp Backup");
    EXPECT_EQ(enter.calls, (std::vector<std::string>{"help", "save"}));
    EXPECT_EQ(enter.saved, SomeControls());

    KeyedWizard esc(SomeControls(), VK_ESCAPE);
    ScheduleWizardView::Run(esc, nullptr, texts_, "Grp Backup");
    EXPECT_EQ(esc.calls, (std::vector<std::string>{"help", "cancel"}));
}

TEST_F(ScheduleWindowsTest, TheManagerListsItsRowsAndASecondRequestKeepsTheOpenWindow) {
    ASSERT_TRUE(manager_.Show(events_, nullptr));
    const HWND window = manager_.Window();
    const HWND list = ::GetDlgItem(window, IDC_Sch_list_lv);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    std::wstring second;
    for (int column = 0; column < 7; ++column) {
        second += Cell(list, 1, column) + L"|";
    }
    EXPECT_EQ(second, L"SYSTEMSTATEBACKUP|04-01-2026 01:00:00|Monthly||bob|3|202604010100|");
    EXPECT_EQ(Cell(list, 0, 3), L"In Progress");
    // RecordNo and SortKey are carried, not shown.
    EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 5, 0), 0);
    EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 6, 0), 0);
    EXPECT_NE(ItemText(window, IDC_lblMsgProgres).find(L"alice"), std::wstring::npos);
    EXPECT_EQ(ItemText(window, IDC_Pic_Sttrf), L"Stop Transfer");

    ASSERT_TRUE(manager_.Show(events_, nullptr));
    EXPECT_EQ(manager_.Window(), window);
    EXPECT_EQ(events_.loads, 1);

    // The user's selection reaches the presenter; Enter edits it, Esc closes the window.
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_Pic_Sttrf, BN_CLICKED), 0);
    ::SetFocus(list);
    MSG key{window, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    DispatchWindowMessage(key);
    key.wParam = VK_ESCAPE;
    DispatchWindowMessage(key);
    EXPECT_EQ(events_.calls, (std::vector<std::string>{"select 1", "stop 1", "edit 1", "cancel"}));
    EXPECT_FALSE(manager_.IsLoaded());
}

// Each caption lands on a control of its own: none of the templates' texts is left.
TEST_F(ScheduleWindowsTest, EveryCaptionReplacesItsTemplateText) {
    for (int id = 5400; id < 5600; ++id) {
        texts_.texts[id] = std::to_string(id);
    }
    texts_.texts[410] = "410";  // the help pictures' word
    events_.captions = ManagerCaptions(texts_, "");
    ASSERT_TRUE(manager_.Show(events_, nullptr));
    KeyedWizard wizard(SomeControls(), VK_ESCAPE);
    wizard.captions = WizardCaptions(texts_, "");
    ScheduleWizardView::Run(wizard, nullptr, texts_, "Grp Backup");
    for (const auto& [shown, count] : {std::pair(Captions(manager_.Window()), events_.captions.size()),
                                       std::pair(wizard.shownCaptions, wizard.captions.size())}) {
        EXPECT_EQ(shown.size(), count);
        for (const std::wstring& text : shown) {
            EXPECT_EQ(text.find_first_not_of(L"0123456789"), std::wstring::npos) << Narrow(text);
        }
    }
}

// Opening and closing the manager and its wizard leaks neither memory nor handles. About a minute
// under Wine: ctest runs it on its own, labelled "soak".
using ScheduleWindowsSoakTest = ScheduleWindowsTest;
TEST_F(ScheduleWindowsSoakTest, FiveHundredOpeningsOfTheManagerAndTheWizardLeaveMemoryAsItWas) {
    const auto round = [&] {
        manager_.Show(events_, nullptr);
        KeyedWizard wizard(SomeControls(), VK_ESCAPE);
        manager_.ShowWizard(wizard);
        manager_.Close();
        test::Pump();
    };
    for (int i = 0; i < 50; ++i) {
        round();
    }
    const SIZE_T before = test::PagefileUsage();
    for (int i = 0; i < 500; ++i) {
        round();
    }
    const long long grown = static_cast<long long>(test::PagefileUsage()) - static_cast<long long>(before);
    std::printf("500 openings of the schedule manager and wizard: PagefileUsage grew %lld bytes\n", grown);
    EXPECT_LT(grown, 256 * 1024);
}

}  // namespace
}  // namespace ovp::win
