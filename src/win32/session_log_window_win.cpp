#include "win32/session_log_window_win.h"

#include <array>
#include <cstdint>
#include <set>

#include "win32/dialog_controls.h"
#include "win32/message_dispatch.h"
#include "win32/session_log_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr int kIconPixels = 16;
// The hidden columns keep the file name and the sort value of each row.
constexpr std::array<int, 5> kColumnWidths = {80, 130, 354, 0, 0};

// A round picture of one colour: green backup, blue restore, grey delete, red failure.
HICON DotIcon(COLORREF colour) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = kIconPixels;
    header.bV5Height = -kIconPixels;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    unique_hbitmap colourBits(
        ::CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    ::ReleaseDC(nullptr, screen);
    unique_hbitmap mask(::CreateBitmap(kIconPixels, kIconPixels, 1, 1, nullptr));
    if (!colourBits || !mask || bits == nullptr) {
        return nullptr;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::uint32_t rgb = (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
                              (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    for (int y = 0; y < kIconPixels; ++y) {
        for (int x = 0; x < kIconPixels; ++x) {
            const int dx = 2 * x + 1 - kIconPixels;
            const int dy = 2 * y + 1 - kIconPixels;
            const bool inside = dx * dx + dy * dy <= (kIconPixels - 4) * (kIconPixels - 4);
            pixels[y * kIconPixels + x] = inside ? 0xFF000000u | rgb : 0u;
        }
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colourBits.get();
    info.hbmMask = mask.get();
    return ::CreateIconIndirect(&info);
}

constexpr std::array<COLORREF, 4> kIconColours = {RGB(46, 160, 67), RGB(33, 118, 210), RGB(120, 120, 120),
                                                  RGB(215, 38, 38)};

void Enable(HWND dialog, int id, bool enabled) {
    ::EnableWindow(::GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

}  // namespace

SessionLogView::SessionLogView(ILocaleText& texts, std::string brandName, HINSTANCE instance)
    : texts_(texts), brandName_(std::move(brandName)), instance_(instance) {}

SessionLogView::~SessionLogView() {
    Close();
}

bool SessionLogView::Show(ISessionLogEvents& events) {
    events_ = &events;
    if (window_ != nullptr) {
        BringToFront();
        return true;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!Create(instance_, IDD_frmSessionLog)) {
        return false;
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    return true;
}

HWND SessionLogView::List() const {
    return ::GetDlgItem(window_, IDC_LstSessionLogView);
}

void SessionLogView::Render(const SessionLogViewState& state) {
    if (window_ == nullptr) {
        return;
    }
    ::SetWindowTextW(window_, Wide(state.title).c_str());
    SetControlText(window_, IDC_lblSubTitle, state.subtitle);
    SetControlText(window_, IDC_lblBackupLegend, state.backupLegend);
    SetControlText(window_, IDC_lblRestoreLegend, state.restoreLegend);
    SetControlText(window_, IDC_lblDeleteLegend, state.deleteLegend);
    SetControlText(window_, IDC_chkSelectAll, state.selectAllCaption);  // "&Select All": its key is Alt+S
    SetButtonText(window_, IDC_cmdView, state.viewCaption);
    SetButtonText(window_, IDC_cmdDelete, state.deleteCaption);
    SetButtonText(window_, IDC_cmdCloseSessionLog, state.closeCaption);
    SetButtonText(window_, IDC_PrevImg, state.previousCaption);
    SetButtonText(window_, IDC_NextImg, state.nextCaption);
    SetButtonText(window_, IDC_Image6, state.helpCaption);
    SetControlText(window_, IDC_lblPage, state.pageLabel);
    Enable(window_, IDC_PrevImg, state.previousEnabled);
    Enable(window_, IDC_NextImg, state.nextEnabled);
    Enable(window_, IDC_cmdView, state.viewEnabled);
    Enable(window_, IDC_cmdDelete, state.deleteEnabled);
    Enable(window_, IDC_chkSelectAll, state.selectAllEnabled);
    ::CheckDlgButton(window_, IDC_chkSelectAll, state.selectAllChecked ? BST_CHECKED : BST_UNCHECKED);

    const HWND list = List();
    const std::array<const std::string*, 3> headers = {&state.operationColumn, &state.startTimeColumn,
                                                       &state.descriptionColumn};
    for (int column = 0; column < static_cast<int>(headers.size()); ++column) {
        std::wstring header = Wide(*headers[column]);
        LVCOLUMNW heading{};
        heading.mask = LVCF_TEXT;
        heading.pszText = header.data();
        ::SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&heading));
    }

    // Rows that stay (a re-sort) keep their ticks.
    std::set<std::string> ticked;
    for (std::size_t item = 0; item < rows_.size(); ++item) {
        if (ListView_GetCheckState(list, static_cast<int>(item))) {
            ticked.insert(rows_[item]);
        }
    }
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    rows_.clear();
    for (const SessionLogRow& row : state.rows) {
        const int item = static_cast<int>(rows_.size());
        LVITEMW entry{};
        entry.mask = LVIF_TEXT | LVIF_IMAGE;
        entry.iItem = item;
        entry.pszText = const_cast<wchar_t*>(L"");
        entry.iImage = row.icon == SessionLogIcon::None ? I_IMAGENONE : static_cast<int>(row.icon) - 1;
        if (::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)) != item) {
            continue;
        }
        SetListCell(list, item, 1, row.startTime);
        SetListCell(list, item, 2, row.description);
        SetListCell(list, item, 3, row.fileName);
        SetListCell(list, item, 4, row.sortValue);
        if (ticked.count(row.fileName) != 0) {
            ListView_SetCheckState(list, item, TRUE);
        }
        rows_.push_back(row.fileName);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void SessionLogView::CheckAllRows(bool checked) {
    if (window_ == nullptr) {
        return;
    }
    ListView_SetCheckState(List(), -1, checked ? TRUE : FALSE);
}

std::string_view SessionLogView::PictureKeyShown(int id) const {
    for (const HoverPicture* picture : {&previousButton_, &nextButton_}) {
        if (window_ != nullptr && picture->Control() == ::GetDlgItem(window_, id)) {
            return picture->PictureKeyShown();
        }
    }
    return {};
}

ChosenSessionLogs SessionLogView::Chosen() const {
    ChosenSessionLogs chosen;
    if (window_ == nullptr) {
        return chosen;
    }
    const HWND list = List();
    for (std::size_t item = 0; item < rows_.size(); ++item) {
        const int index = static_cast<int>(item);
        if (ListView_GetCheckState(list, index) || ListView_GetItemState(list, index, LVIS_SELECTED) == LVIS_SELECTED) {
            chosen.push_back(rows_[item]);
        }
    }
    return chosen;
}

INT_PTR SessionLogView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == IDC_Image6) {
                DrawSystemIconPicture(item, IDI_QUESTION);
                return TRUE;
            }
            return previousButton_.Draw(item) || nextButton_.Draw(item) ? TRUE : FALSE;
        }
        case WM_CLOSE:
            Close();
            return TRUE;
        default:
            return FALSE;
    }
}

void SessionLogView::OnInitDialog() {
    const HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // The list owns its picture list and destroys it with itself, as it does the check boxes' list.
    const HIMAGELIST images = ImageList_Create(kIconPixels, kIconPixels, ILC_COLOR32 | ILC_MASK, 4, 0);
    for (const COLORREF colour : kIconColours) {
        unique_hicon icon(DotIcon(colour));
        if (images != nullptr) {
            ImageList_AddIcon(images, icon.get());
        }
        legendIcons_.push_back(std::move(icon));
    }
    ListView_SetImageList(list, images, LVSIL_SMALL);
    const std::array<int, 3> legends = {IDC_imgBackupLegend, IDC_imgRestoreLegend, IDC_imgDeleteLegend};
    for (std::size_t i = 0; i < legends.size(); ++i) {
        ::SendDlgItemMessageW(window_, legends[i], STM_SETICON, reinterpret_cast<WPARAM>(legendIcons_[i].get()), 0);
    }
    for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column) {
        LVCOLUMNW heading{};
        heading.mask = LVCF_WIDTH | LVCF_SUBITEM;
        heading.cx = kColumnWidths[static_cast<std::size_t>(column)];
        heading.iSubItem = column;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&heading));
    }

    previousButton_.Attach(::GetDlgItem(window_, IDC_PrevImg), imagesFolder_, kPreviousPagePictures, RGB(0, 0, 0));
    nextButton_.Attach(::GetDlgItem(window_, IDC_NextImg), imagesFolder_, kNextPagePictures, RGB(0, 0, 0));

    const std::array tools = {
        ToolTipBinding{::GetDlgItem(window_, IDC_cmdView), "frmSessionLog.cmdView"},
        ToolTipBinding{::GetDlgItem(window_, IDC_cmdDelete), "frmSessionLog.cmdDelete"},
        ToolTipBinding{::GetDlgItem(window_, IDC_cmdCloseSessionLog), "frmSessionLog.cmdCloseSessionLog"},
        ToolTipBinding{::GetDlgItem(window_, IDC_NextImg), "frmSessionLog.NextImg"},
        ToolTipBinding{::GetDlgItem(window_, IDC_PrevImg), "frmSessionLog.PrevImg"},
        ToolTipBinding{::GetDlgItem(window_, IDC_chkSelectAll), "frmSessionLog.chkSelectAll"},
        ToolTipBinding{::GetDlgItem(window_, IDC_Image6), "frmSessionLog.Image6"}};
    toolTip_ = AssignToolTip(window_, tools, texts_, brandName_);

    if (events_ != nullptr) {
        events_->Form_Load();
    }
}

void SessionLogView::OnCommand(int id, int code) {
    if (events_ == nullptr || code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case IDC_NextImg:
            events_->NextImg_Click();
            break;
        case IDC_PrevImg:
            events_->PrevImg_Click();
            break;
        case IDC_chkSelectAll:
            events_->chkSelectAll_Click(::IsDlgButtonChecked(window_, IDC_chkSelectAll) == BST_CHECKED);
            break;
        case IDC_cmdView:
            events_->cmdView_Click(Chosen());
            break;
        case IDC_cmdDelete:
            events_->cmdDelete_Click(Chosen());
            break;
        case IDC_cmdCloseSessionLog:
            events_->cmdCloseSessionLog_Click();
            break;
        case IDC_Image6:
            events_->Image6_Click();
            break;
        case IDCANCEL:  // Esc
            Close();
            break;
        default:
            break;
    }
}

INT_PTR SessionLogView::OnNotify(const NMHDR& header) {
    if (events_ == nullptr || header.idFrom != IDC_LstSessionLogView) {
        return FALSE;
    }
    switch (header.code) {
        case LVN_COLUMNCLICK:
            events_->LstSessionLogView_ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return TRUE;
        case NM_DBLCLK:
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
                events_->LstSessionLogView_DblClick(Chosen());
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void SessionLogView::OnWindowGone(HWND /*window*/) noexcept {
    toolTip_.reset();
    rows_.clear();
    legendIcons_.clear();
}

}  // namespace ovp::win
