#include "win32/schedule_manager_win.h"

#include <commctrl.h>

#include <array>
#include <utility>

#include "win32/dialog_controls.h"
#include "win32/general_message_win.h"
#include "win32/message_dispatch.h"
#include "win32/schedule_dialog_ids.h"
#include "win32/schedule_wizard_win.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

struct Column {
    const wchar_t* heading;
    int width;  // pixels; 0 keeps the column hidden
};

// The record number and sort key travel in hidden columns, as the engine's tools read them.
constexpr std::array<Column, 7> kColumns = {{{L"Backup set", 150},
                                             {L"Next Transfer", 140},
                                             {L"Frequency", 80},
                                             {L"Status", 80},
                                             {L"User Name", 100},
                                             {L"RecordNo", 0},
                                             {L"SortKey", 0}}};

// The buttons and notes, by their captions; the title and the column headings go elsewhere.
constexpr std::array<std::pair<ManagerLabel, int>, 8> kCaptionItems = {
    {{ManagerLabel::CannotEditNote, IDC_lblCannotEdit},
     {ManagerLabel::StopNote, IDC_lblStopNote},
     {ManagerLabel::Edit, IDC_Pic_Edit},
     {ManagerLabel::Delete, IDC_Pic_Delete},
     {ManagerLabel::StopTransfer, IDC_Pic_Sttrf},
     {ManagerLabel::Refresh, IDC_Pic_Refresh},
     {ManagerLabel::ViewLog, IDC_cmdViewLog},
     {ManagerLabel::Close, IDC_cmdCancel}}};

}  // namespace

ScheduleManagerView::ScheduleManagerView(ILocaleText& texts, std::string brandName, HINSTANCE instance)
    : texts_(texts), brandName_(std::move(brandName)), instance_(instance) {}

ScheduleManagerView::~ScheduleManagerView() {
    Close();
}

bool ScheduleManagerView::Show(IScheduleManagerEvents& events, HWND owner) {
    events_ = &events;
    if (window_ == nullptr) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&controls);
        if (!Create(instance_, IDD_SchedulerFrm, owner)) {
            return false;
        }
        ::ShowWindow(window_, SW_SHOW);
    }
    // While the wizard is open over the manager, the wizard is what comes to the front.
    BringToFront(::GetLastActivePopup(window_));
    return true;
}

void ScheduleManagerView::ShowCaptions(const std::vector<ManagerCaption>& captions) {
    if (window_ == nullptr) {
        return;
    }
    for (const ManagerCaption& caption : captions) {
        std::wstring text = Wide(caption.text);
        const int column = static_cast<int>(caption.control) - static_cast<int>(ManagerLabel::BackupSetColumn);
        if (caption.control == ManagerLabel::Title) {
            ::SetWindowTextW(window_, text.c_str());
        } else if (caption.control <= ManagerLabel::UserNameColumn) {
            LVCOLUMNW heading{};
            heading.mask = LVCF_TEXT;
            heading.pszText = text.data();
            ::SendDlgItemMessageW(window_, IDC_Sch_list_lv, LVM_SETCOLUMNW, static_cast<WPARAM>(column),
                                  reinterpret_cast<LPARAM>(&heading));
        }
        for (const auto& [control, item] : kCaptionItems) {
            if (control == caption.control) {
                ::SetDlgItemTextW(window_, item, text.c_str());
            }
        }
    }
}

void ScheduleManagerView::Render(const ScheduleManagerViewState& state) {
    if (window_ == nullptr) {
        return;
    }
    rendering_ = true;
    const HWND list = ::GetDlgItem(window_, IDC_Sch_list_lv);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const ScheduleManagerRow& row : state.rows) {
        std::wstring text = Wide(row.backupSet);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = text.data();
        const auto at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        const std::array<const std::string*, 6> cells = {&row.nextTransfer, &row.frequency, &row.status,
                                                         &row.userName,     &row.recordNo,  &row.sortKey};
        for (std::size_t column = 0; column < cells.size(); ++column) {
            SetListCell(list, at, static_cast<int>(column + 1), *cells[column]);
        }
        ++index;
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    SetControlText(window_, IDC_lblMsgProgres, state.progressLabel);
    rendering_ = false;
}

void ScheduleManagerView::ShowWizard(IScheduleWizardEvents& wizard) {
    if (window_ != nullptr) {
        ScheduleWizardView::Run(wizard, window_, texts_, brandName_, instance_);
    }
}

INT_PTR ScheduleManagerView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCommand(LOWORD(wParam));
            }
            return TRUE;
        case WM_NOTIFY:
            if (const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                header != nullptr && header->idFrom == IDC_Sch_list_lv) {
                OnListNotify(*header);
            }
            return FALSE;
        case WM_CLOSE:
            Close();
            return TRUE;
        default:
            return FALSE;
    }
}

void ScheduleManagerView::OnInitDialog() {
    const HWND list = ::GetDlgItem(window_, IDC_Sch_list_lv);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                   LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(kColumns[i].heading);
        column.cx = kColumns[i].width;
        column.iSubItem = static_cast<int>(i);
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    const std::array tools = {ToolTipBinding{::GetDlgItem(window_, IDC_Pic_Edit), "SchedulerFrm.Pic_Edit"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_Pic_Delete), "SchedulerFrm.Pic_Delete"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_Pic_Sttrf), "SchedulerFrm.Pic_Sttrf"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_Pic_Refresh), "SchedulerFrm.Pic_Refresh"},
                              ToolTipBinding{::GetDlgItem(window_, IDC_cmdCancel), "SchedulerFrm.cmdCancel"}};
    toolTip_ = AssignToolTip(window_, tools, texts_, brandName_);
    if (events_ != nullptr) {
        events_->Form_Load();
    }
}

void ScheduleManagerView::OnCommand(int id) {
    if (events_ == nullptr) {
        return;
    }
    switch (id) {
        case IDOK:  // Enter
        case IDC_Pic_Edit:
            events_->Pic_Edit_Click(SelectedRow());
            break;
        case IDC_Pic_Delete:
            events_->Pic_Delete_Click(SelectedRow());
            break;
        case IDC_Pic_Sttrf:
            events_->Pic_Sttrf_Click(SelectedRow());
            break;
        case IDC_Pic_Refresh:
            events_->Pic_Refresh_Click();
            break;
        case IDC_cmdViewLog:
            events_->ViewLog_Click(SelectedRow());
            break;
        case IDCANCEL:  // Esc
        case IDC_cmdCancel:
            events_->cmdCancel_Click();
            break;
        default:
            break;
    }
}

void ScheduleManagerView::OnListNotify(const NMHDR& header) {
    if (events_ == nullptr || rendering_) {
        return;
    }
    if (header.code == NM_DBLCLK) {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (activate.iItem >= 0) {
            events_->Sch_list_lv_DblClick(activate.iItem);
        }
    } else if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_SELECTED) != 0 &&
            (change.uOldState & LVIS_SELECTED) == 0) {
            events_->Sch_list_lv_Click(change.iItem);
        }
    }
}

int ScheduleManagerView::SelectedRow() const {
    return static_cast<int>(
        ::SendDlgItemMessageW(window_, IDC_Sch_list_lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ScheduleManagerView::OnWindowGone(HWND /*window*/) noexcept {
    toolTip_.reset();
}

}  // namespace ovp::win
