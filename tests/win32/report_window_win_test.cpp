#include "win32/report_window_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/report_dialog_ids.h"
#include "win32/text_win.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

// Records what the window reports; like the presenter it renders on load, takes only digits into
// the contact number and refuses Close while a report is on its way.
class RecordingReportEvents : public IErrorReportEvents {
  public:
    explicit RecordingReportEvents(ErrorReportView& view) : view_(view) {
        state.title = "Send your feedback to the technical support team";
        state.sendCaption = "Submit";
        state.closeCaption = "Close";
        state.previewCaption = "What will be sent...";
        state.logsCaption = "Attach log / trace files";
        state.subject = "Grp : user feedback";
    }
    void Form_Load() override { view_.Render(state); }
    void txtFrom_Change(const std::string& text) override { calls.push_back("from " + text); }
    void txtContactNumber_Change(const std::string& text) override { calls.push_back("contact " + text); }
    bool txtContactNumber_KeyPress(char32_t key) override { return key >= U'0' && key <= U'9'; }
    void txtTicketNumber_Change(const std::string& text) override { calls.push_back("ticket " + text); }
    void txtSubject_Change(const std::string& text) override { calls.push_back("subject " + text); }
    void txtMsg_Change(const std::string& text) override { calls.push_back("message " + text); }
    void chkLogs_Click(bool checked) override { calls.push_back(checked ? "logs on" : "logs off"); }
    void cmdSend_Click() override { calls.push_back("send"); }
    void cmdPreview_Click() override { calls.push_back("preview"); }
    bool cmdExit_Click() override {
        calls.push_back("exit");
        if (!sending) {
            view_.Close();
        }
        return !sending;
    }

    ErrorReportViewState state;
    std::vector<std::string> calls;
    bool sending = false;

  private:
    ErrorReportView& view_;
};

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

TEST(ErrorReportViewTest, TypingReachesThePresenterAndTheContactNumberTakesOnlyItsKeys) {
    ErrorReportView view;
    RecordingReportEvents events(view);
    ASSERT_TRUE(view.Show(events, nullptr));
    const HWND window = view.Window();
    EXPECT_EQ(TextOf(window), L"Send your feedback to the technical support team");
    for (const auto& [id, caption] :
         {std::pair{IDC_cmdSend, L"Submit"}, std::pair{IDC_cmdExit, L"Close"},
          std::pair{IDC_cmdPreview, L"What will be sent..."}, std::pair{IDC_chkLogs, L"Attach log / trace files"}}) {
        EXPECT_EQ(TextOf(::GetDlgItem(window, id)), caption);
    }
    EXPECT_EQ(TextOf(::GetDlgItem(window, IDC_txtSubject)), L"Grp : user feedback");
    EXPECT_TRUE(events.calls.empty());  // what the view wrote itself is not the user's typing

    const HWND contact = ::GetDlgItem(window, IDC_txtContactNumber);
    for (const wchar_t key : {L'a', L'5', L'&', L'7'}) {
        ::SendMessageW(contact, WM_CHAR, key, 1);
    }
    EXPECT_EQ(TextOf(contact), L"57");
    ::SendMessageW(::GetDlgItem(window, IDC_txtMsg), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"line 1\r\nline 2"));
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_cmdSend, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_cmdSend)));
    // The boxes are passed on once more before the click: a multi-line box set from outside reports
    // no change of its own.
    EXPECT_EQ(events.calls,
              (std::vector<std::string>{"contact 5", "contact 57", "from ", "contact 57", "subject Grp : user feedback",
                                        "message line 1\nline 2", "send"}));

    // The preview shows its captions as the presenter gives them; a timer of this thread reads it
    // from inside its modal loop and closes it.
    static ErrorReportView* shown = nullptr;
    static std::wstring read;
    shown = &view;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (const HWND preview = shown->PreviewWindow()) {
            read = TextOf(preview) + L"|" + TextOf(::GetDlgItem(preview, IDC_cmdPreviewClose));
            ::EndDialog(preview, 0);
        }
    });
    view.ShowPreview({"Lo que se enviar\u00e1", "Salir", "body"});
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(read, L"Lo que se enviar\u00e1|Salir");

    // While a report is on its way the window's own close does not close it.
    events.sending = true;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(view.IsLoaded());
    events.sending = false;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(view.IsLoaded());
    test::Pump();
}

}  // namespace
}  // namespace ovp::win
