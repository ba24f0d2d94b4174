#include "win32/images_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ovp::win {

namespace {

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);
constexpr UINT_PTR kSubclassId = 0x0BE0;
// Room between the picture's edge and the focus rectangle or the caption box.
constexpr int kInset = 3;

// The opaque pixels of an icon, from its mask (a set bit is see-through).
std::vector<unsigned char> OpaquePixels(HBITMAP mask, int width, int height) {
    std::vector<unsigned char> opaque;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, mask, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) {
        return opaque;
    }
    opaque.reserve(pixels.size());
    for (const DWORD pixel : pixels) {
        opaque.push_back((pixel & 0x00FFFFFF) == 0 ? 1 : 0);
    }
    return opaque;
}

// The icon as a pointer that clicks with its fingertip.
HCURSOR CursorFromIcon(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return nullptr;
    }
    const unique_hbitmap mask(info.hbmMask);
    const unique_hbitmap colour(info.hbmColor);
    BITMAP shape{};
    if (!mask || ::GetObjectW(mask.get(), sizeof(shape), &shape) == 0) {
        return nullptr;
    }
    // A monochrome icon keeps its mask and picture one above the other in the mask.
    const int height = colour ? shape.bmHeight : shape.bmHeight / 2;
    const std::vector<unsigned char> opaque = OpaquePixels(mask.get(), shape.bmWidth, height);
    const PixelPoint spot = FingertipHotSpot(opaque, shape.bmWidth, height);
    info.fIcon = FALSE;
    info.xHotspot = static_cast<DWORD>(spot.x);
    info.yHotspot = static_cast<DWORD>(spot.y);
    return static_cast<HCURSOR>(::CreateIconIndirect(&info));
}

// A button caption as the words it shows: "&&" stands for one '&'.
std::wstring PlainCaption(const wchar_t* caption) {
    std::wstring plain;
    for (const wchar_t* c = caption; c != nullptr && *c != L'\0'; ++c) {
        if (*c == L'&' && c[1] == L'&') {
            ++c;
        }
        plain += *c;
    }
    return plain;
}

}  // namespace

unique_hbitmap LoadBitmapFile(const std::filesystem::path& file) {
    return unique_hbitmap(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, file.wstring().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

unique_hicon LoadIconFile(const std::filesystem::path& file, int size) {
    return unique_hicon(static_cast<HICON>(::LoadImageW(nullptr, file.wstring().c_str(), IMAGE_ICON, size, size,
                                                        LR_LOADFROMFILE | (size == 0 ? LR_DEFAULTSIZE : 0))));
}

void DrawPicture(HDC dc, const RECT& rect, HBITMAP picture, bool seeThrough) {
    BITMAP size{};
    if (picture == nullptr || ::GetObjectW(picture, sizeof(size), &size) == 0) {
        return;
    }
    const HDC source = ::CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    const HGDIOBJ old = ::SelectObject(source, picture);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (seeThrough) {
        ::TransparentBlt(dc, rect.left, rect.top, width, height, source, 0, 0, size.bmWidth, size.bmHeight,
                         kSeeThrough);
    } else {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, rect.left, rect.top, width, height, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    }
    ::SelectObject(source, old);
    ::DeleteDC(source);
}

COLORREF PictureMiddleColour(HBITMAP picture, COLORREF fallback) {
    BITMAP size{};
    if (picture == nullptr || ::GetObjectW(picture, sizeof(size), &size) == 0) {
        return fallback;
    }
    const HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return fallback;
    }
    const HGDIOBJ old = ::SelectObject(dc, picture);
    const COLORREF colour = ::GetPixel(dc, size.bmWidth / 2, size.bmHeight / 2);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return colour == CLR_INVALID ? fallback : colour;
}

void DrawSystemIconPicture(const DRAWITEMSTRUCT& item, const wchar_t* systemIcon) {
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    const int size = std::min(rect.right - rect.left, rect.bottom - rect.top);
    ::DrawIconEx(item.hDC, (rect.left + rect.right - size) / 2, (rect.top + rect.bottom - size) / 2,
                 ::LoadIconW(nullptr, systemIcon), size, size, 0, nullptr, DI_NORMAL);
    if (item.CtlType == ODT_BUTTON && (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        ::DrawFocusRect(item.hDC, &rect);
    }
}

void HandCursor::Load(const std::filesystem::path& imagesFolder) {
    owned_.reset();
    if (const auto file = HandCursorFile(imagesFolder)) {
        const unique_hicon icon = LoadIconFile(*file, 0);
        if (icon) {
            owned_.reset(CursorFromIcon(icon.get()));
        }
    }
}

bool HoverPicture::Attach(HWND control,
                          const std::filesystem::path& imagesFolder,
                          HoverPictures keys,
                          COLORREF textColour) {
    Detach();
    if (control == nullptr ||
        !::SetWindowSubclass(control, &HoverPicture::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    control_ = control;
    keys_ = keys;
    textColour_ = textColour;
    for (const bool hover : {false, true}) {
        auto& picture = pictures_[hover ? 1 : 0];
        picture = LoadBitmapFile(PictureFile(imagesFolder, PictureKey(keys, hover)));
        middles_[hover ? 1 : 0].reset(
            ::CreateSolidBrush(PictureMiddleColour(picture.get(), ::GetSysColor(COLOR_BTNFACE))));
    }
    pictures_[2].reset();
    if (!keys.disabled.empty()) {
        pictures_[2] = LoadBitmapFile(PictureFile(imagesFolder, keys.disabled));
    }
    return true;
}

std::string_view HoverPicture::PictureKeyShown() const {
    return PictureKey(keys_, hovered_, control_ == nullptr || ::IsWindowEnabled(control_));
}

void HoverPicture::Detach() noexcept {
    if (captionBox_ != nullptr) {
        ::RemoveWindowSubclass(captionBox_, &HoverPicture::CaptionBoxProc, kSubclassId);
        ::DestroyWindow(captionBox_);
        captionBox_ = nullptr;
    }
    if (control_ != nullptr) {
        ::RemoveWindowSubclass(control_, &HoverPicture::ControlProc, kSubclassId);
        control_ = nullptr;
    }
    hovered_ = false;
}

bool HoverPicture::AddCaptionBox() {
    if (control_ == nullptr) {
        return false;
    }
    if (captionBox_ == nullptr) {
        wchar_t caption[256] = {};
        ::GetWindowTextW(control_, caption, 256);
        captionBox_ = ::CreateWindowExW(0, L"EDIT", PlainCaption(caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | ES_CENTER | ES_READONLY, 0, 0, 0, 0, control_, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
        if (captionBox_ == nullptr) {
            return false;
        }
        ::SetWindowSubclass(captionBox_, &HoverPicture::CaptionBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        // The box is drawn by itself, not painted over by the button.
        ::SetWindowLongPtrW(control_, GWL_STYLE, ::GetWindowLongPtrW(control_, GWL_STYLE) | WS_CLIPCHILDREN);
    }
    ::SendMessageW(captionBox_, WM_SETFONT, ::SendMessageW(control_, WM_GETFONT, 0, 0), FALSE);
    PlaceCaptionBox();
    return true;
}

void HoverPicture::PlaceCaptionBox() {
    if (captionBox_ == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(control_, &client);
    const HDC dc = ::GetDC(captionBox_);
    TEXTMETRICW metrics{};
    if (dc != nullptr) {
        const HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(captionBox_, WM_GETFONT, 0, 0)));
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        ::ReleaseDC(captionBox_, dc);
    }
    const int height = std::min<int>(metrics.tmHeight + 2, client.bottom - 2 * kInset);
    const int width = client.right - 4 * kInset;
    ::SetWindowPos(captionBox_, nullptr, 2 * kInset, (client.bottom - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void HoverPicture::SetHovered(bool hovered) {
    if (hovered_ == hovered) {
        return;
    }
    hovered_ = hovered;
    if (hovered) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, control_, 0};
        ::TrackMouseEvent(&track);
    }
    ::RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool HoverPicture::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.hwndItem != control_ || control_ == nullptr) {
        return false;
    }
    const HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool button = item.CtlType == ODT_BUTTON;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const HBITMAP picture = disabled && pictures_[2] ? pictures_[2].get() : pictures_[hovered_ ? 1 : 0].get();
    if (picture != nullptr) {
        DrawPicture(dc, rect, picture);
        if (pushed) {
            ::DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
        }
    } else if (button) {
        ::DrawFrameControl(dc, &rect, DFC_BUTTON,
                           DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (hovered_ ? DFCS_HOT : 0));
    } else {
        ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    if (captionBox_ == nullptr) {
        wchar_t caption[256] = {};
        const int length = ::GetWindowTextW(control_, caption, 256);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : textColour_);
        RECT text = rect;
        if (pushed) {
            ::OffsetRect(&text, 1, 1);
        }
        // A button's caption marks '&' as "&&" (see ButtonCaption); a static's is plain text.
        ::DrawTextW(dc, caption, length, &text,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | (button ? 0 : DT_NOPREFIX));
    }
    if (button && (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = rect;
        ::InflateRect(&focus, -kInset + 1, -kInset + 1);
        ::DrawFocusRect(dc, &focus);
    }
    return true;
}

LRESULT CALLBACK HoverPicture::ControlProc(HWND window,
                                           UINT message,
                                           WPARAM wParam,
                                           LPARAM lParam,
                                           UINT_PTR /*id*/,
                                           DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<HoverPicture*>(data);
    switch (message) {
        case WM_MOUSEMOVE:
            self->SetHovered(true);
            break;
        case WM_MOUSELEAVE:
            self->SetHovered(false);
            break;
        case WM_ENABLE:
            // A button greyed under the mouse is at rest when it comes back.
            if (wParam == FALSE) {
                self->SetHovered(false);
            }
            break;
        case WM_CTLCOLORSTATIC:
            // The caption box shows the picture's own colour around its words.
            if (reinterpret_cast<HWND>(lParam) == self->captionBox_) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                const HBRUSH brush = self->middles_[self->hovered_ ? 1 : 0].get();
                LOGBRUSH colour{};
                ::GetObjectW(brush, sizeof(colour), &colour);
                ::SetBkColor(dc, colour.lbColor);
                ::SetTextColor(dc, ::IsWindowEnabled(window) ? self->textColour_ : ::GetSysColor(COLOR_GRAYTEXT));
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_SETTEXT: {
            // The caption box follows the button's caption.
            const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
            if (self->captionBox_ != nullptr) {
                ::SetWindowTextW(self->captionBox_, PlainCaption(reinterpret_cast<const wchar_t*>(lParam)).c_str());
            }
            return result;
        }
        case WM_SIZE:
            self->PlaceCaptionBox();
            break;
        case WM_NCDESTROY:
            self->Detach();
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK HoverPicture::CaptionBoxProc(HWND window,
                                              UINT message,
                                              WPARAM wParam,
                                              LPARAM lParam,
                                              UINT_PTR /*id*/,
                                              DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<HoverPicture*>(data);
    switch (message) {
        case WM_NCHITTEST:
            // Clicks and the mouse's moves belong to the button under the box.
            return HTTRANSPARENT;
        case WM_SETFOCUS:
            // The box only shows the caption: the focus, and with it the keyboard, goes to the
            // button, and no caret ever blinks in the box.
            ::SetFocus(self->control_);
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &HoverPicture::CaptionBoxProc, kSubclassId);
            if (self->captionBox_ == window) {
                self->captionBox_ = nullptr;
            }
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ovp::win
