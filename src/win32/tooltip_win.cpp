#include "win32/tooltip_win.h"

#include <algorithm>
#include <vector>

#include "ui/tooltip_links.h"
#include "ui/tooltips.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

// The control copies at most this much of a tip; reading one back uses a buffer of one more, so
// a control that ignores the buffer size it is given cannot write past it.
constexpr std::size_t kMaxTipChars = 1023;
// TTM_SETTITLE takes at most 100 characters including the terminator.
constexpr std::size_t kMaxTitleChars = 99;
// The delay times travel in 16 bits, the top one meaning "default".
constexpr int kMaxDelayMs = 32767;

std::wstring Limited(std::string_view text, std::size_t limit) {
    std::wstring wide = Wide(text);
    if (wide.size() > limit) {
        wide.resize(limit);
    }
    return wide;
}

}  // namespace

bool clsToolTip::Create(HWND parent) {
    if (window_ != nullptr) {
        return true;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | (balloon_ ? TTS_BALLOON : 0);
    const DWORD exStyle = WS_EX_TOPMOST | (rightToLeft_ ? WS_EX_LAYOUTRTL : 0);
    window_ = ::CreateWindowExW(exStyle, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        return false;
    }
    parent_ = parent;
    if (font_ != nullptr) {
        ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void clsToolTip::Destroy() {
    // The tooltip dies with the window that owns it; only a window that is still ours is destroyed.
    if (window_ != nullptr && ::IsWindow(window_) && ::GetWindow(window_, GW_OWNER) == parent_) {
        ::DestroyWindow(window_);
    }
    window_ = nullptr;
    parent_ = nullptr;
}

TTTOOLINFOW clsToolTip::ToolInfo(HWND control) const {
    TTTOOLINFOW info{};
    // The size without the newest field, which older common controls reject.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    // Links in a tip can be followed where the control draws them as links. Wine 8's control
    // does not: it shows the markup as plain text and never reports a followed link.
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_PARSELINKS;
    info.hwnd = parent_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

bool clsToolTip::AddTool(HWND control, std::string_view text) {
    if (window_ == nullptr || control == nullptr) {
        return false;
    }
    TTTOOLINFOW info = ToolInfo(control);
    std::wstring wide = Limited(text, kMaxTipChars);
    info.lpszText = wide.data();
    TTTOOLINFOW existing = ToolInfo(control);
    if (::SendMessageW(window_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing)) != FALSE) {
        ::SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    return ::SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void clsToolTip::RemoveToolTip(HWND control) {
    if (window_ == nullptr) {
        return;
    }
    TTTOOLINFOW info = ToolInfo(control);
    ::SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

std::string clsToolTip::ToolTipText(HWND control) const {
    if (window_ == nullptr) {
        return {};
    }
    std::vector<wchar_t> buffer(kMaxTipChars + 1, L'\0');
    TTTOOLINFOW info = ToolInfo(control);
    info.lpszText = buffer.data();
    ::SendMessageW(window_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    buffer.back() = L'\0';
    return Narrow(buffer.data());
}

void clsToolTip::SetToolTipText(HWND control, std::string_view text) {
    if (window_ == nullptr) {
        return;
    }
    TTTOOLINFOW info = ToolInfo(control);
    std::wstring wide = Limited(text, kMaxTipChars);
    info.lpszText = wide.data();
    ::SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void clsToolTip::SetToolTipTitle(std::string_view title, int icon) {
    title_ = std::string(title);
    titleIcon_ = icon;
    if (window_ != nullptr) {
        const std::wstring wide = Limited(title, kMaxTitleChars);
        ::SendMessageW(window_, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

COLORREF clsToolTip::BackColor() const {
    return window_ == nullptr ? 0 : static_cast<COLORREF>(::SendMessageW(window_, TTM_GETTIPBKCOLOR, 0, 0));
}

void clsToolTip::SetBackColor(COLORREF colour) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_SETTIPBKCOLOR, colour, 0);
    }
}

COLORREF clsToolTip::ForeColor() const {
    return window_ == nullptr ? 0 : static_cast<COLORREF>(::SendMessageW(window_, TTM_GETTIPTEXTCOLOR, 0, 0));
}

void clsToolTip::SetForeColor(COLORREF colour) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_SETTIPTEXTCOLOR, colour, 0);
    }
}

int clsToolTip::DelayTime(DWORD kind) const {
    return window_ == nullptr ? 0 : static_cast<int>(::SendMessageW(window_, TTM_GETDELAYTIME, kind, 0));
}

void clsToolTip::SetDelayTime(DWORD kind, int ms) {
    if (window_ != nullptr) {
        const auto time = static_cast<WORD>(std::clamp(ms, 0, kMaxDelayMs));
        ::SendMessageW(window_, TTM_SETDELAYTIME, kind, MAKELPARAM(time, 0));
    }
}

int clsToolTip::MaxTipWidth() const {
    return window_ == nullptr ? 0 : static_cast<int>(::SendMessageW(window_, TTM_GETMAXTIPWIDTH, 0, 0));
}

void clsToolTip::SetMaxTipWidth(int pixels) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, pixels);
    }
}

RECT clsToolTip::Margins() const {
    RECT margins{};
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
    return margins;
}

void clsToolTip::SetMargins(const RECT& margins) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
}

void clsToolTip::SetFont(HFONT font) {
    font_ = font;
    if (window_ != nullptr) {
        ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

int clsToolTip::ToolTipCount() const {
    return window_ == nullptr ? 0 : static_cast<int>(::SendMessageW(window_, TTM_GETTOOLCOUNT, 0, 0));
}

void clsToolTip::Hide() {
    if (window_ != nullptr) {
        ::SendMessageW(window_, TTM_POP, 0, 0);
    }
}

bool clsToolTip::OnNotify(const NMHDR& header) {
    if (window_ == nullptr || header.hwndFrom != window_) {
        return false;
    }
    if (header.code != TTN_LINKCLICK || !OnHyperlinkClick) {
        return true;
    }
    // The notification names the tool whose tip holds the link; failing that, the tool whose tip
    // is showing.
    auto control = reinterpret_cast<HWND>(header.idFrom);
    TTTOOLINFOW named = ToolInfo(control);
    if (::SendMessageW(window_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&named)) == FALSE) {
        TTTOOLINFOW current{};
        current.cbSize = TTTOOLINFOW_V2_SIZE;
        if (::SendMessageW(window_, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) == FALSE) {
            return true;
        }
        control = reinterpret_cast<HWND>(current.uId);
    }
    const std::string link = TooltipLinkTarget(ToolTipText(control));
    if (!link.empty()) {
        OnHyperlinkClick(link);
    }
    return true;
}

std::unique_ptr<clsToolTip> AssignToolTip(HWND form,
                                          std::span<const ToolTipBinding> tools,
                                          ILocaleText& texts,
                                          std::string_view brandName) {
    auto tip = std::make_unique<clsToolTip>();
    if (!tip->Create(form)) {
        return nullptr;
    }
    tip->SetMaxTipWidth(100);
    tip->SetDelayTime(TTDT_INITIAL, 0);
    tip->SetDelayTime(TTDT_AUTOPOP, 1000000);
    for (const ToolTipBinding& tool : tools) {
        const std::string text = ToolTipText(texts, tool.key, brandName);
        if (tool.control != nullptr && !text.empty()) {
            tip->AddTool(tool.control, text);
        }
    }
    return tip;
}

}  // namespace ovp::win
