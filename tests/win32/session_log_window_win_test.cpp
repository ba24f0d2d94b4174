#include "win32/session_log_window_win.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"
#include "win32/session_log_dialog_ids.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

using test::ItemText;

SessionLogRow Row(const char* name, const char* time, const char* description, SessionLogIcon icon) {
    return {name, time, description, icon, "2026"};
}

// Renders on load like the presenter, and records the rows each button is given.
class RecordingEvents : public ISessionLogEvents {
  public:
    explicit RecordingEvents(SessionLogView& view) : view_(view) {
        state.title = "Session Log";
        state.pageLabel = "1 - 3 of 3";
        state.viewCaption = "View Details";
        state.helpCaption = "Help";
        state.deleteEnabled = true;
        state.nextEnabled = true;
        state.rows = {Row("a.txt", "12-01-2026 9:00:00", "Interactive Backup( 3 Files )", SessionLogIcon::Backup),
                      Row("b.txt", "12-01-2026 8:00:00", "Restore", SessionLogIcon::Restore),
                      Row("c.txt", "12-01-2026 7:00:00", "Other", SessionLogIcon::None)};
    }
    void Form_Load() override {
        ++loads;
        view_.Render(state);
    }
    void NextImg_Click() override {}
    void PrevImg_Click() override {}
    void LstSessionLogView_ColumnClick(int /*column*/) override {}
    void chkSelectAll_Click(bool /*checked*/) override {}
    void cmdView_Click(const ChosenSessionLogs& /*chosen*/) override {}
    void LstSessionLogView_DblClick(const ChosenSessionLogs& /*chosen*/) override {}
    void cmdDelete_Click(const ChosenSessionLogs& chosen) override { deleted.push_back(chosen); }
    void cmdCloseSessionLog_Click() override { view_.Close(); }
    void Image6_Click() override { ++helps; }

    SessionLogViewState state;
    int loads = 0;
    int helps = 0;
    std::vector<ChosenSessionLogs> deleted;

  private:
    SessionLogView& view_;
};

class SessionLogWindowTest : public ::testing::Test {
  protected:
    void TearDown() override { view_.Close(); }

    HWND List() const { return ::GetDlgItem(view_.Window(), IDC_LstSessionLogView); }
    std::wstring Cell(int item, int column) const {
        wchar_t text[256] = {};
        ListView_GetItemText(List(), item, column, text, 256);
        return text;
    }

    ovp::test::FakeLocaleText texts_;
    SessionLogView view_{texts_, "Grp Backup"};
    RecordingEvents events_{view_};
};

TEST_F(SessionLogWindowTest, RowsTicksAndTheChosenRows) {
    ASSERT_TRUE(view_.Show(events_));
    const HWND window = view_.Window();
    EXPECT_EQ(ItemText(window, IDC_lblPage), L"1 - 3 of 3");
    EXPECT_EQ(ItemText(window, IDC_cmdView), L"View Details");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_cmdView)));
    ASSERT_EQ(ListView_GetItemCount(List()), 3);
    EXPECT_EQ(Cell(0, 1) + L"|" + Cell(0, 2) + L"|" + Cell(0, 3),
              L"12-01-2026 9:00:00|Interactive Backup( 3 Files )|a.txt");
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    ListView_GetItem(List(), &item);
    EXPECT_EQ(item.iImage, 1);  // the restore picture

    // A second request brings the same window forward without loading it again.
    ASSERT_TRUE(view_.Show(events_));
    EXPECT_EQ(view_.Window(), window);
    EXPECT_EQ(events_.loads, 1);

    // Ticked and selected rows together, each once, in display order; a re-sort keeps the ticks.
    ListView_SetCheckState(List(), 2, TRUE);
    ListView_SetItemState(List(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(List(), 2, LVIS_SELECTED, LVIS_SELECTED);
    ::SendDlgItemMessageW(window, IDC_cmdDelete, BM_CLICK, 0, 0);
    std::swap(events_.state.rows[0], events_.state.rows[2]);
    view_.Render(events_.state);
    EXPECT_TRUE(ListView_GetCheckState(List(), 0));
    EXPECT_FALSE(ListView_GetCheckState(List(), 2));
    view_.CheckAllRows(true);
    ::SendDlgItemMessageW(window, IDC_cmdDelete, BM_CLICK, 0, 0);
    ASSERT_EQ(events_.deleted.size(), 2u);
    EXPECT_EQ(events_.deleted[0], (ChosenSessionLogs{"a.txt", "c.txt"}));
    EXPECT_EQ(events_.deleted[1], (ChosenSessionLogs{"c.txt", "b.txt", "a.txt"}));
}

// The paging buttons show the images folder's pictures, a third one while there is no page that
// way; the help picture carries its word and reports its click.
TEST_F(SessionLogWindowTest, PagingPicturesFollowTheButtonsStateAndHelpIsClickable) {
    const std::filesystem::path images = OVP_ASSET_IMAGES;
    view_.SetImagesFolder(images);
    ASSERT_TRUE(view_.Show(events_));
    const HWND window = view_.Window();
    const auto shows = [&](int id, std::string_view key) {
        test::Pump(100);
        EXPECT_EQ(view_.PictureKeyShown(id), key);
        const HWND button = ::GetDlgItem(window, id);
        RECT client{};
        ::GetClientRect(button, &client);
        EXPECT_EQ(test::PixelAt(button, client.right / 2, client.bottom - 4), test::PictureColour(images, key)) << key;
    };
    shows(IDC_PrevImg, "prev dis");
    shows(IDC_NextImg, "next def");
    events_.state.previousEnabled = true;
    events_.state.nextEnabled = false;
    view_.Render(events_.state);
    shows(IDC_PrevImg, "prev def");
    shows(IDC_NextImg, "next dis");

    EXPECT_EQ(ItemText(window, IDC_Image6), L"Help");
    ::SendDlgItemMessageW(window, IDC_Image6, BM_CLICK, 0, 0);
    EXPECT_EQ(events_.helps, 1);
}

TEST_F(SessionLogWindowTest, OpeningAndClosingLeakNothing) {
    view_.SetImagesFolder(OVP_ASSET_IMAGES);
    test::ExpectNoGrowth("log viewer", [&] {
        ASSERT_TRUE(view_.Show(events_));
        ::SendDlgItemMessageW(view_.Window(), IDC_cmdCloseSessionLog, BM_CLICK, 0, 0);
        ASSERT_FALSE(view_.IsLoaded());
    });
}

}  // namespace
}  // namespace ovp::win
