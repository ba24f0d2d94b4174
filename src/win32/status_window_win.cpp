#include "win32/status_window_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>

#include "net/web_link.h"
#include "win32/dialog_controls.h"
#include "win32/dialog_ids.h"
#include "win32/message_dispatch.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr UINT_PTR kRefreshTimerId = 1;
constexpr int kStatusFontPoints = 9;
constexpr COLORREF kButtonTextColour = RGB(0, 0, 0);
constexpr COLORREF kUpgradeTextColour = RGB(255, 255, 255);

void SetVisible(HWND dialog, int id, bool visible) {
    ::ShowWindow(::GetDlgItem(dialog, id), visible ? SW_SHOWNA : SW_HIDE);
}

// The dialog's own font at another size.
HFONT FontOfSize(HWND dialog, int points) {
    LOGFONTW font{};
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || ::GetObjectW(dialogFont, sizeof(font), &font) == 0) {
        return nullptr;
    }
    const HDC dc = ::GetDC(dialog);
    const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr) {
        ::ReleaseDC(dialog, dc);
    }
    font.lfHeight = -::MulDiv(points, dpi, 72);
    return ::CreateFontIndirectW(&font);
}

// The pictures and buttons that can be clicked, over which the hand shows.
bool IsClickable(HWND dialog, HWND control) {
    if (control == nullptr) {
        return false;
    }
    for (const int id : {IDC_imgUpgrade, IDC_imgViewLog, IDC_Cmd_Yes, IDC_Cmd_No}) {
        if (control == ::GetDlgItem(dialog, id)) {
            return true;
        }
    }
    return false;
}

}  // namespace

StatusWindowView::StatusWindowView(ILocaleText& texts, std::string brandName, HINSTANCE instance)
    : texts_(texts), brandName_(std::move(brandName)), instance_(instance) {}

StatusWindowView::~StatusWindowView() {
    Close();
}

void StatusWindowView::SetPictures(std::filesystem::path imagesFolder, StatusWindowPictures pictures) {
    imagesFolder_ = std::move(imagesFolder);
    pictures_ = std::move(pictures);
}

void StatusWindowView::SetLinkPorts(IShell& shell, ITraceSink& trace) {
    shell_ = &shell;
    trace_ = &trace;
}

std::string_view StatusWindowView::PictureKeyShown(int id) const {
    for (const HoverPicture* picture : {&viewLogButton_, &closeButton_, &upgradePicture_}) {
        if (window_ != nullptr && picture->Control() == ::GetDlgItem(window_, id)) {
            return picture->PictureKeyShown();
        }
    }
    return {};
}

bool StatusWindowView::Show(IStatusEvents& events, HWND owner) {
    events_ = &events;
    if (window_ == nullptr) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        Create(instance_, IDD_frmStatus, owner);
    } else {
        events.frmStatusTimer_Timer();
    }
    // The load or the refresh may have closed the window again.
    if (window_ == nullptr) {
        return false;
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void StatusWindowView::Render(const StatusViewState& state) {
    if (window_ == nullptr) {
        return;
    }
    ::SetWindowTextW(window_, Wide(state.title).c_str());
    SetControlText(window_, IDC_lblHoursInfo, state.statusMessage);
    SetControlText(window_, IDC_lblBkupInfo, state.nextBackup);
    SetControlText(window_, IDC_lblUserName, state.userName);
    SetControlText(window_, IDC_lblQuotaInfo, state.quotaText);
    SetControlText(window_, IDC_lblSpaceUsed, state.spaceUsedCaption);
    // The pictures carry their words as window text, which screen readers read; the upgrade
    // picture also shows them.
    SetControlText(window_, IDC_imgUpgrade, state.upgradeTip);
    SetControlText(window_, IDC_imgViewLog, state.viewLogCaption);
    SetButtonText(window_, IDC_chkDesNotify1, state.checkboxCaption);
    SetButtonText(window_, IDC_Cmd_Yes, state.viewLogCaption);
    SetButtonText(window_, IDC_Cmd_No, state.closeCaption);

    for (const int id : {IDC_lblQuotaInfo, IDC_lblSpaceUsed, IDC_QuotaProgressbar}) {
        SetVisible(window_, id, state.quotaVisible);
    }
    const HWND bar = ::GetDlgItem(window_, IDC_QuotaProgressbar);
    ::SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(state.quotaColour));
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(std::clamp(state.quotaPercent, 0, 100)), 0);
    SetVisible(window_, IDC_imgUpgrade, state.upgradeVisible);
    if (state.notifyChecked.has_value()) {
        ::CheckDlgButton(window_, IDC_chkDesNotify1, *state.notifyChecked ? BST_CHECKED : BST_UNCHECKED);
    }
}

INT_PTR StatusWindowView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kRefreshTimerId && events_ != nullptr) {
                events_->frmStatusTimer_Timer();
            }
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        case WM_SETCURSOR:
            if (IsClickable(window_, reinterpret_cast<HWND>(wParam))) {
                ::SetCursor(hand_.Get());
                ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            if (toolTip_ != nullptr) {
                toolTip_->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            }
            return FALSE;
        case WM_DESTROY:
            ::KillTimer(window_, kRefreshTimerId);
            return FALSE;
        default:
            return FALSE;
    }
}

void StatusWindowView::OnInitDialog() {
    statusFont_.reset(FontOfSize(window_, kStatusFontPoints));
    if (statusFont_) {
        ::SendDlgItemMessageW(window_, IDC_lblHoursInfo, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_.get()),
                              FALSE);
    }
    const HWND bar = ::GetDlgItem(window_, IDC_QuotaProgressbar);
    // A themed bar ignores the colour it is given.
    ::SetWindowTheme(bar, L"", L"");
    ::SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    LoadPictures();

    const std::array tools = {ToolTipBinding{::GetDlgItem(window_, IDC_Cmd_Yes), "frmStatus.Cmd_Yes"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_Cmd_No), "frmStatus.Cmd_No"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_imgUpgrade), "frmStatus.imgUpgrade"}};
    toolTip_ = AssignToolTip(window_, tools, texts_, brandName_);
    if (toolTip_ != nullptr) {
        toolTip_->OnHyperlinkClick = [this](const std::string& link) { ObjTooltip_OnHyperlinkClick(link); };
    }

    ::SetTimer(window_, kRefreshTimerId, refreshMs_, nullptr);
    if (events_ != nullptr) {
        events_->Form_Load();
    }
}

void StatusWindowView::LoadPictures() {
    hand_.Load(imagesFolder_);
    bigIcon_ = LoadIconFile(pictures_.formIcon, ::GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadIconFile(pictures_.formIcon, ::GetSystemMetrics(SM_CXSMICON));
    if (bigIcon_) {
        ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    }
    if (smallIcon_) {
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    logo_ = LoadBitmapFile(pictures_.logo);
    if (!logo_) {
        ::ShowWindow(::GetDlgItem(window_, IDC_imgTopRightLogo), SW_HIDE);
    }
    viewLogButton_.Attach(::GetDlgItem(window_, IDC_Cmd_Yes), imagesFolder_, kSmallButtonPictures, kButtonTextColour);
    closeButton_.Attach(::GetDlgItem(window_, IDC_Cmd_No), imagesFolder_, kSmallButtonPictures, kButtonTextColour);
    upgradePicture_.Attach(::GetDlgItem(window_, IDC_imgUpgrade), imagesFolder_, kUpgradePictures, kUpgradeTextColour);
}

bool StatusWindowView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDC_imgViewLog: {
            const int side = std::min(item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top);
            ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_3DFACE));
            const HICON icon = bigIcon_ ? bigIcon_.get() : ::LoadIconW(nullptr, IDI_INFORMATION);
            ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon, side, side, 0, nullptr, DI_NORMAL);
            return true;
        }
        case IDC_imgTopRightLogo:
            ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_3DFACE));
            DrawPicture(item.hDC, item.rcItem, logo_.get(), true);
            return true;
        default:
            return viewLogButton_.Draw(item) || closeButton_.Draw(item) || upgradePicture_.Draw(item);
    }
}

void StatusWindowView::ObjTooltip_OnHyperlinkClick(const std::string& link) {
    if (shell_ != nullptr && trace_ != nullptr) {
        OpenWebPage(*shell_, *trace_, link, ShellRetry::OnAnyFailure);
    }
}

void StatusWindowView::OnCommand(int id, int code) {
    if (events_ == nullptr) {
        return;
    }
    // Enter answers for the button that has the focus.
    if (code == BN_SETFOCUS && (id == IDC_Cmd_Yes || id == IDC_Cmd_No)) {
        ::SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
        return;
    }
    // Pictures report STN_CLICKED and buttons BN_CLICKED, which share the value 0.
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case IDC_Cmd_Yes:
            events_->Cmd_Yes_Click();
            break;
        case IDC_Cmd_No:
            events_->Cmd_No_Click();
            break;
        case IDC_imgViewLog:
            events_->imgViewLog_Click();
            break;
        case IDC_imgUpgrade:
            events_->imgUpgrade_Click();
            break;
        case IDC_chkDesNotify1:
            events_->chkDesNotify1_Click(::IsDlgButtonChecked(window_, IDC_chkDesNotify1) == BST_CHECKED);
            break;
        case IDCANCEL:  // Esc
            Close();
            break;
        default:
            break;
    }
}

void StatusWindowView::OnWindowGone(HWND /*window*/) noexcept {
    // The children are gone: the label's font can go, and the tooltip went with its owner.
    toolTip_.reset();
    statusFont_.reset();
    bigIcon_.reset();
    smallIcon_.reset();
    logo_.reset();
}

}  // namespace ovp::win
