#include "tray_observer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <thread>

#include "e2e_win.h"
#include "icon_palette.h"
#include "win32/text_win.h"

namespace ovp::e2e {

namespace {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The observer's colours by the picture that shows them (the badged yellow one shares its colour).
constexpr std::array<std::pair<IconColour, std::string_view>, 8> kPictures = {{
    {IconColour::Normal, "ovlog.ico"},
    {IconColour::Yellow, "ovlogyellow.ico"},
    {IconColour::Red, "ovlogred.ico"},
    {IconColour::Green, "ovloggreen.ico"},
    {IconColour::CdpBlue1, "CDPBlue1.ico"},
    {IconColour::CdpBlue2, "CDPBlue2.ico"},
    {IconColour::Quota1, "QExceed1.ico"},
    {IconColour::Quota2, "QExceed2.ico"},
}};

const standin::IconPaint& PaintOf(std::size_t picture) {
    for (const standin::IconPaint& paint : standin::kIconPalette) {
        if (paint.file == kPictures[picture].second) {
            return paint;
        }
    }
    return standin::kIconPalette[0];
}

Rgb MainColour(std::size_t picture) {
    const std::uint32_t rgb = PaintOf(picture).rgb;
    return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
               static_cast<std::uint8_t>(rgb)};
}

// The glyph is white; anything this light is glyph or its blended edge.
constexpr int kWhiteish = 225;
// A pixel this close to the background is background (or its blend with the picture's edge).
constexpr int kBackgroundDistance = 24;
// A pixel votes only for a main colour it lies this close to. Red and orange, the nearest two main
// colours, are about 60 apart, so a vote is never ambiguous.
constexpr int kVoteDistance = 48;
// The winner needs this share (in percent) of the picture's coloured pixels, and this many.
constexpr std::size_t kWinningShare = 50;
constexpr std::size_t kMinimumVotes = 12;

int DistanceSquared(Rgb a, Rgb b) {
    const int dr = a.r - b.r;
    const int dg = a.g - b.g;
    const int db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

constexpr std::wstring_view kTrayTitle = L"Wine System Tray";
constexpr std::wstring_view kTrayClass = L"__winex11_standalone_tray";
constexpr wchar_t kTooltipClass[] = L"tooltips_class32";

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
    auto& found = *reinterpret_cast<std::vector<HWND>*>(parameter);
    if (::IsWindowVisible(window)) {
        found.push_back(window);
    }
    return TRUE;
}

HWND VisibleTooltipOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (::IsWindowVisible(window) && ClassNameOf(window) == kTooltipClass) {
            return window;
        }
    }
    return nullptr;
}

POINT CentreOf(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Where the mouse rests when it is not on the icon: the screen's far corner, away from the tray.
POINT ParkingPoint() {
    return POINT{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1};
}

bool IsUncovered(HWND icon) {
    RECT rect{};
    if (!::GetWindowRect(icon, &rect)) {
        return false;
    }
    const POINT corners[] = {CentreOf(rect), {rect.left, rect.top}, {rect.right - 1, rect.bottom - 1}};
    return std::all_of(std::begin(corners), std::end(corners),
                       [&](POINT point) { return ::WindowFromPoint(point) == icon; });
}

// A window the monitor opens (the always-on-top status window among them) may lie over the
// tray, which in a real taskbar could not happen; the tray is raised above it.
bool Uncover(HWND icon) {
    if (IsUncovered(icon)) {
        return true;
    }
    const HWND tray = ::GetAncestor(icon, GA_ROOT);
    if (tray == nullptr ||
        !::SetWindowPos(tray, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW)) {
        return false;
    }
    if (!WaitUntil([&] { return IsUncovered(icon); }, 2s)) {
        return false;
    }
    // Explorer repaints what was covered on its own time.
    std::this_thread::sleep_for(150ms);
    return true;
}

}  // namespace

std::string_view NameOf(IconColour colour) {
    for (std::size_t i = 0; i < kPictures.size(); ++i) {
        if (kPictures[i].first == colour) {
            return PaintOf(i).state;
        }
    }
    return "unknown";
}

namespace {

// What the picture's pixels say. The background is the colour of the first pixel (a corner of the
// icon's window, outside the picture); the white glyph and the background take no part. Each
// remaining pixel votes for the nearest main colour if it lies close to one, so the blended edges
// and the dark badge of the branded picture do not tip the result as they would an average. The
// class with most votes wins when the votes are a fair share of the picture, else Unknown.
IconColour ClassifyPixels(std::span<const Rgb> pixels) {
    if (pixels.empty()) {
        return IconColour::Unknown;
    }
    const Rgb background = pixels.front();
    std::array<std::size_t, kPictures.size()> votes{};
    std::size_t coloured = 0;
    for (const Rgb pixel : pixels) {
        const bool white = pixel.r >= kWhiteish && pixel.g >= kWhiteish && pixel.b >= kWhiteish;
        if (white || DistanceSquared(pixel, background) <= kBackgroundDistance * kBackgroundDistance) {
            continue;
        }
        ++coloured;
        std::size_t nearest = 0;
        for (std::size_t i = 1; i < kPictures.size(); ++i) {
            if (DistanceSquared(pixel, MainColour(i)) < DistanceSquared(pixel, MainColour(nearest))) {
                nearest = i;
            }
        }
        if (DistanceSquared(pixel, MainColour(nearest)) <= kVoteDistance * kVoteDistance) {
            ++votes[nearest];
        }
    }
    const auto winner = std::max_element(votes.begin(), votes.end());
    if (*winner < kMinimumVotes || *winner * 100 < coloured * kWinningShare) {
        return IconColour::Unknown;
    }
    return kPictures[static_cast<std::size_t>(winner - votes.begin())].first;
}

}  // namespace

// ---- Finding the icon -------------------------------------------------------------------------
HWND TrayWindow() {
    if (const HWND byTitle = ::FindWindowW(nullptr, std::wstring(kTrayTitle).c_str())) {
        return byTitle;
    }
    return ::FindWindowW(std::wstring(kTrayClass).c_str(), nullptr);
}

std::vector<HWND> TrayIconWindows() {
    std::vector<HWND> icons;
    const HWND tray = TrayWindow();
    if (tray == nullptr) {
        return icons;
    }
    ::EnumChildWindows(tray, CollectChild, reinterpret_cast<LPARAM>(&icons));
    return icons;
}

HWND WaitForNewTrayIcon(const std::vector<HWND>& before, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> added;
            for (HWND icon : TrayIconWindows()) {
                if (std::find(before.begin(), before.end(), icon) == before.end()) {
                    added.push_back(icon);
                }
            }
            found = added.size() == 1 ? added.front() : nullptr;
            return found != nullptr;
        },
        timeout);
    return found;
}

// ---- Its picture --------------------------------------------------------------------------------
namespace {

// The pixels of the icon's window on the screen, row by row; empty when the icon is gone or
// remains covered by another window.
std::vector<Rgb> CaptureIcon(HWND icon) {
    std::vector<Rgb> pixels;
    RECT rect{};
    if (!::IsWindow(icon) || !::IsWindowVisible(icon) || !Uncover(icon) || !::GetWindowRect(icon, &rect)) {
        return pixels;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && bitmap != nullptr && bits != nullptr) {
        const HGDIOBJ previous = ::SelectObject(memory, bitmap);
        if (::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            ::GdiFlush();
            const auto* row = static_cast<const std::uint8_t*>(bits);
            const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
            pixels.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                // Blue, green, red, unused: the byte order of a 32-bit DIB.
                pixels.push_back(Rgb{row[4 * i + 2], row[4 * i + 1], row[4 * i]});
            }
        }
        ::SelectObject(memory, previous);
    }
    if (bitmap != nullptr) {
        ::DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        ::DeleteDC(memory);
    }
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

IconColour IconColourOf(HWND icon) {
    return ClassifyPixels(CaptureIcon(icon));
}

std::string DescribeIcon(HWND icon) {
    if (!::IsWindow(icon)) {
        return "no icon (its window is gone)";
    }
    const std::vector<Rgb> pixels = CaptureIcon(icon);
    RECT rect{};
    ::GetWindowRect(icon, &rect);
    if (pixels.empty()) {
        const HWND over = ::WindowFromPoint(CentreOf(rect));
        return "not seen: covered by a window of class \"" + win::Narrow(ClassNameOf(over)) + "\"";
    }
    const IconColour colour = ClassifyPixels(pixels);
    const Rgb centre =
        pixels[std::min(pixels.size() - 1, pixels.size() / 2 + static_cast<std::size_t>(rect.right - rect.left) / 2)];
    char text[48];
    std::snprintf(text, sizeof(text), " (centre #%02X%02X%02X)", centre.r, centre.g, centre.b);
    return std::string(NameOf(colour)) + (colour == IconColour::Unknown ? text : "");
}

bool WaitForIconColour(HWND icon, IconColour colour, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return IconColourOf(icon) == colour; }, timeout);
}

// ---- Texts of other programs' windows ----------------------------------------------------------
std::optional<std::wstring> SentWindowText(HWND window) {
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) == 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                              2000, &copied) == 0) {
        return std::nullopt;
    }
    text.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), text.size() - 1));
    return text;
}

// ---- Its tooltip --------------------------------------------------------------------------------
std::optional<std::wstring> HoverTooltip(HWND icon) {
    const HWND tray = ::GetAncestor(icon, GA_ROOT);
    DWORD trayProcess = 0;
    if (tray == nullptr || ::GetWindowThreadProcessId(tray, &trayProcess) == 0 || !Uncover(icon)) {
        return std::nullopt;
    }
    // A tooltip still shown from before would be read in place of a fresh one.
    const POINT park = ParkingPoint();
    ::SetCursorPos(park.x, park.y);
    WaitUntil([&] { return VisibleTooltipOf(trayProcess) == nullptr; }, 2s);

    RECT rect{};
    ::GetWindowRect(icon, &rect);
    const POINT centre = CentreOf(rect);
    ::SetCursorPos(centre.x, centre.y);
    // The X server delivers the move to the window it believes on top, which lags behind a
    // raised tray; the move the icon would have been sent is posted to it as well, and once more
    // if no tooltip showed (each move restarts the tooltip's half-second delay, so not more often).
    POINT client = centre;
    ::ScreenToClient(icon, &client);
    const LPARAM position = MAKELPARAM(client.x, client.y);
    ::PostMessageW(icon, WM_MOUSEMOVE, 0, position);
    std::optional<std::wstring> text;
    const auto readShown = [&] {
        if (const HWND tip = VisibleTooltipOf(trayProcess)) {
            text = SentWindowText(tip);
        }
        return text.has_value();
    };
    if (!WaitUntil(readShown, 1500ms)) {
        ::SetCursorPos(centre.x, centre.y);
        ::PostMessageW(icon, WM_MOUSEMOVE, 0, position);
        WaitUntil(readShown, 2s);
    }
    ::SetCursorPos(park.x, park.y);
    return text;
}

bool WaitForTooltip(HWND icon, std::wstring_view text, std::chrono::milliseconds timeout, std::wstring* last) {
    return WaitUntil(
        [&] {
            const std::optional<std::wstring> shown = HoverTooltip(icon);
            if (last != nullptr) {
                *last = shown.value_or(L"(no tooltip)");
            }
            return shown == text;
        },
        timeout);
}

}  // namespace ovp::e2e
