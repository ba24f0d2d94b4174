#include "win32/schedule_wizard_win.h"

#include <commctrl.h>

#include <array>
#include <initializer_list>
#include <utility>

#include "win32/dialog_controls.h"
#include "win32/images_win.h"
#include "win32/schedule_dialog_ids.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

constexpr std::array<int, 7> kWeekDayBoxes = {IDC_CheckSun, IDC_CheckMon, IDC_CheckTue, IDC_CheckWed,
                                              IDC_CheckThu, IDC_CheckFri, IDC_CheckSat};
constexpr std::array<int, 4> kOptions = {IDC_optNoSchedule, IDC_optOnlyOnce, IDC_optCustomTime, IDC_optRecommendedTime};
constexpr std::array<int, 3> kMailNotify = {IDC_rdMailNotify0, IDC_rdMailNotify1, IDC_rdMailNotify2};
constexpr int kMonthDays = 31;

// The dialog item of each caption but the title.
constexpr std::array<std::pair<WizardLabel, int>, 32> kCaptionItems = {{
    {WizardLabel::Heading, IDC_lblHeading},
    {WizardLabel::WhenGroup, IDC_grpWhen},
    {WizardLabel::NoSchedule, IDC_optNoSchedule},
    {WizardLabel::OnlyOnce, IDC_optOnlyOnce},
    {WizardLabel::WeekDay, IDC_optCustomTime},
    {WizardLabel::Month, IDC_optRecommendedTime},
    {WizardLabel::Sunday, IDC_CheckSun},
    {WizardLabel::Monday, IDC_CheckMon},
    {WizardLabel::Tuesday, IDC_CheckTue},
    {WizardLabel::Wednesday, IDC_CheckWed},
    {WizardLabel::Thursday, IDC_CheckThu},
    {WizardLabel::Friday, IDC_CheckFri},
    {WizardLabel::Saturday, IDC_CheckSat},
    {WizardLabel::StartTime, IDC_lblStartTime},
    {WizardLabel::Recommended, IDC_recommendedTime},
    {WizardLabel::CutOff, IDC_ChkEndTime},
    {WizardLabel::StartMissed, IDC_ChkStartMissedJob},
    {WizardLabel::BackupIdle, IDC_chkBackupIdle},
    {WizardLabel::Desktop, IDC_chkdesktop},
    {WizardLabel::MailGroup, IDC_grpMail},
    {WizardLabel::DoNotNotify, IDC_rdMailNotify0},
    {WizardLabel::NotifyOnFailure, IDC_rdMailNotify1},
    {WizardLabel::NotifyAlways, IDC_rdMailNotify2},
    {WizardLabel::AttachLog, IDC_chkMailLog},
    {WizardLabel::MailTo, IDC_lblMailTo},
    {WizardLabel::Add, IDC_btnAdd},
    {WizardLabel::Back, IDC_wiz_back},
    {WizardLabel::Save, IDC_Sch_Start4_Next},
    {WizardLabel::Cancel, IDC_Sch_Start4_Cancel},
    {WizardLabel::Help, IDC_Sch_Start6_Help},
    {WizardLabel::Help, IDC_ImageHelp},
    {WizardLabel::Help, IDC_PicMissedhelp},
}};

SYSTEMTIME ToSystemTime(const DateTime& at) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(at.year);
    time.wMonth = static_cast<WORD>(at.month);
    time.wDay = static_cast<WORD>(at.day);
    time.wHour = static_cast<WORD>(at.hour);
    time.wMinute = static_cast<WORD>(at.minute);
    time.wSecond = static_cast<WORD>(at.second);
    return time;
}

DateTime FromSystemTime(const SYSTEMTIME& time) {
    return DateTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

bool IsChecked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

DateTime PickerTime(HWND dialog, int id) {
    SYSTEMTIME time{};
    ::SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return FromSystemTime(time);
}

void SetPickerTime(HWND dialog, int id, const DateTime& at) {
    if (at.IsValid()) {
        SYSTEMTIME time = ToSystemTime(at);
        ::SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }
}

std::string ItemText(HWND dialog, int id) {
    const HWND item = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

}  // namespace

void ScheduleWizardView::Run(IScheduleWizardEvents& events,
                             HWND owner,
                             ILocaleText& texts,
                             std::string_view brandName,
                             HINSTANCE instance) {
    ScheduleWizardView view(events, texts, brandName);
    ::DialogBoxParamW(instance != nullptr ? instance : ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_frmSchStart1),
                      owner, &ScheduleWizardView::DialogProc, reinterpret_cast<LPARAM>(&view));
}

void ScheduleWizardView::ShowCaptions(const std::vector<WizardCaption>& captions) {
    if (window_ == nullptr) {
        return;
    }
    for (const WizardCaption& caption : captions) {
        const std::wstring text = Wide(caption.text);
        if (caption.control == WizardLabel::Title) {
            ::SetWindowTextW(window_, text.c_str());
        }
        for (const auto& [control, item] : kCaptionItems) {
            if (control == caption.control) {
                ::SetDlgItemTextW(window_, item, text.c_str());
            }
        }
    }
}

void ScheduleWizardView::Render(const WizardControls& w, const WizardEnabling& enabling) {
    if (window_ == nullptr) {
        return;
    }
    const auto enable = [&](std::initializer_list<int> ids, bool enabled) {
        for (const int id : ids) {
            ::EnableWindow(::GetDlgItem(window_, id), enabled ? TRUE : FALSE);
        }
    };
    for (const int id : kWeekDayBoxes) {
        enable({id}, enabling.weekDays);
    }
    enable({IDC_cmbFrequency}, enabling.monthDay);
    enable({IDC_OVcalendar, IDC_DTPicker, IDC_recommendedTime}, enabling.start);
    enable({IDC_DTPicker1}, enabling.cutOffTime);
    enable({IDC_cmbMailTo, IDC_btnAdd, IDC_listMailAdd, IDC_chkMailLog}, enabling.mail);
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        Check(window_, kOptions[i], static_cast<std::size_t>(w.option) == i);
    }
    for (std::size_t i = 0; i < kWeekDayBoxes.size(); ++i) {
        Check(window_, kWeekDayBoxes[i], w.weekDays[i]);
    }
    ::SendDlgItemMessageW(window_, IDC_cmbFrequency, CB_SETCURSEL, static_cast<WPARAM>(w.monthDayIndex), 0);
    if (w.calendar.IsValid()) {
        SYSTEMTIME day = ToSystemTime(w.calendar);
        day.wHour = day.wMinute = day.wSecond = 0;
        ::SendDlgItemMessageW(window_, IDC_OVcalendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    }
    SetPickerTime(window_, IDC_DTPicker, w.startTime);
    Check(window_, IDC_recommendedTime, w.recommended);
    Check(window_, IDC_ChkEndTime, w.cutOff);
    SetPickerTime(window_, IDC_DTPicker1, w.cutOffTime);
    Check(window_, IDC_ChkStartMissedJob, w.startMissed);
    Check(window_, IDC_chkBackupIdle, w.backupIdle);
    Check(window_, IDC_chkdesktop, w.desktop);
    for (std::size_t i = 0; i < kMailNotify.size(); ++i) {
        Check(window_, kMailNotify[i], static_cast<std::size_t>(w.mailNotify) == i);
    }
    Check(window_, IDC_chkMailLog, w.attachLog);
    SetControlText(window_, IDC_cmbMailTo, w.mailEntry);
    const HWND list = ::GetDlgItem(window_, IDC_listMailAdd);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& address : w.mailList) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(address).c_str()));
    }
}

WizardControls ScheduleWizardView::Read() const {
    WizardControls w;
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        if (IsChecked(window_, kOptions[i])) {
            w.option = static_cast<WizardOption>(i);
        }
    }
    for (std::size_t i = 0; i < kWeekDayBoxes.size(); ++i) {
        w.weekDays[i] = IsChecked(window_, kWeekDayBoxes[i]);
    }
    const auto day = ::SendDlgItemMessageW(window_, IDC_cmbFrequency, CB_GETCURSEL, 0, 0);
    w.monthDayIndex = day == CB_ERR ? 0 : static_cast<int>(day);
    SYSTEMTIME calendar{};
    ::SendDlgItemMessageW(window_, IDC_OVcalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&calendar));
    w.calendar = FromSystemTime(calendar);
    w.calendar.hour = w.calendar.minute = w.calendar.second = 0;
    w.startTime = PickerTime(window_, IDC_DTPicker);
    w.recommended = IsChecked(window_, IDC_recommendedTime);
    w.cutOff = IsChecked(window_, IDC_ChkEndTime);
    w.cutOffTime = PickerTime(window_, IDC_DTPicker1);
    w.startMissed = IsChecked(window_, IDC_ChkStartMissedJob);
    w.backupIdle = IsChecked(window_, IDC_chkBackupIdle);
    w.desktop = IsChecked(window_, IDC_chkdesktop);
    for (std::size_t i = 0; i < kMailNotify.size(); ++i) {
        if (IsChecked(window_, kMailNotify[i])) {
            w.mailNotify = static_cast<MailNotifyChoice>(i);
        }
    }
    w.attachLog = IsChecked(window_, IDC_chkMailLog);
    w.mailEntry = ItemText(window_, IDC_cmbMailTo);
    const HWND list = ::GetDlgItem(window_, IDC_listMailAdd);
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        const auto length = ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
        w.mailList.push_back(Narrow(text));
    }
    return w;
}

void ScheduleWizardView::Close() {
    if (window_ != nullptr) {
        ::EndDialog(window_, 0);
    }
}

INT_PTR ScheduleWizardView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            events_.Cancel_Click();
            return TRUE;
        case WM_DRAWITEM: {
            // The only owner-drawn controls: the help picture and the two information pictures.
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            DrawSystemIconPicture(item, item.CtlID == IDC_Sch_Start6_Help ? IDI_QUESTION : IDI_INFORMATION);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void ScheduleWizardView::OnInitDialog() {
    const HWND days = ::GetDlgItem(window_, IDC_cmbFrequency);
    for (int day = 1; day <= kMonthDays; ++day) {
        ::SendMessageW(days, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(day).c_str()));
    }
    const std::array tools = {
        ToolTipBinding{::GetDlgItem(window_, IDC_btnAdd), "frmSchStart1.btnAdd"},
        ToolTipBinding{::GetDlgItem(window_, IDC_Sch_Start4_Next), "frmSchStart1.Sch_Start4_Next"},
        ToolTipBinding{::GetDlgItem(window_, IDC_wiz_back), "frmSchStart1.wiz_back"},
        ToolTipBinding{::GetDlgItem(window_, IDC_chkBackupIdle), "frmSchStart1.chkBackupIdle"},
        ToolTipBinding{::GetDlgItem(window_, IDC_Sch_Start6_Help), "frmSchStart1.Sch_Start6_Help"},
        ToolTipBinding{::GetDlgItem(window_, IDC_ImageHelp), "frmSchStart1.ImageHelp"},
        ToolTipBinding{::GetDlgItem(window_, IDC_PicMissedhelp), "autobkwiz5.PicMissedhelp"}};
    toolTip_ = AssignToolTip(window_, tools, texts_, brandName_);
    events_.Form_Load(*this);
}

void ScheduleWizardView::OnCommand(int id, int code) {
    if (id == IDC_cmbFrequency) {
        if (code == CBN_SELCHANGE) {
            events_.cmbFrequency_Click(Read());
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
        case IDC_optNoSchedule:
        case IDC_optOnlyOnce:
        case IDC_optCustomTime:
        case IDC_optRecommendedTime:
            events_.OptionClick(Read());
            break;
        case IDC_CheckSun:
        case IDC_CheckMon:
        case IDC_CheckTue:
        case IDC_CheckWed:
        case IDC_CheckThu:
        case IDC_CheckFri:
        case IDC_CheckSat:
            events_.WeekDayClick(Read());
            break;
        case IDC_recommendedTime:
            events_.recommendedTime_Click(Read());
            break;
        case IDC_ChkEndTime:
        case IDC_rdMailNotify0:
        case IDC_rdMailNotify1:
        case IDC_rdMailNotify2:
            events_.OptionClick(Read());
            break;
        case IDC_btnAdd:
            events_.btnAdd_Click(Read());
            break;
        case IDOK:  // Enter
        case IDC_Sch_Start4_Next:
            events_.Sch_Start4_Next_Click(Read());
            break;
        case IDCANCEL:  // Esc
        case IDC_wiz_back:
        case IDC_Sch_Start4_Cancel:
            events_.Cancel_Click();
            break;
        case IDC_Sch_Start6_Help:
            events_.Sch_Start6_Help_Click();
            break;
        default:
            break;
    }
}

void ScheduleWizardView::OnWindowGone(HWND /*window*/) noexcept {
    toolTip_.reset();
}

}  // namespace ovp::win
