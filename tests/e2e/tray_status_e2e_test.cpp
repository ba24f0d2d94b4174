// The tray icon and its tooltip as the user sees them through one scheduled backup: the engine
// simulator writes what the engine would, and the test watches the notification area on the
// screen, never the monitor's own state. Which picture and tip each engine state earns is the
// unit tests'; here the real shell shows them.
//
// Without a desktop shell Wine shows the notification area as a small top-level window "Wine
// System Tray" (owned by explorer.exe) with one child window per icon. As measured there: the
// icon's pixels can be read only from the screen DC, so the tray is raised above any window before
// reading; every icon has a "tooltips_class32" window of its own in explorer's process, which shows
// about half a second after the mouse rests on the icon, and WM_GETTEXT, which Windows carries
// across processes, reads its text (GetWindowTextW does not).

#include <algorithm>

#include "icon_palette.h"
#include "monitor_fixture.h"

namespace ovp::e2e {
namespace {

// A few of the monitor's 2-second ticks.
constexpr auto kFewTicks = 15s;

bool IsUncovered(HWND icon) {
    RECT rect{};
    ::GetWindowRect(icon, &rect);
    return ::WindowFromPoint({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}) == icon;
}

// A window of the monitor may lie over the tray, which in a real taskbar could not happen.
bool Uncover(HWND icon) {
    if (IsUncovered(icon)) {
        return true;
    }
    ::SetWindowPos(::GetAncestor(icon, GA_ROOT), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool uncovered = WaitUntil([&] { return IsUncovered(icon); }, 2s);
    std::this_thread::sleep_for(150ms);  // explorer repaints what was covered on its own time
    return uncovered;
}

// The state of the palette whose colour most of the picture's coloured pixels lie close to; the
// white glyph, the background (the corner pixel) and blended edges take no part. Empty when no
// picture of ours shows.
std::string_view IconState(HWND icon) {
    RECT rect{};
    if (!::IsWindowVisible(icon) || !Uncover(icon) || !::GetWindowRect(icon, &rect)) {
        return {};
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));  // 0x00RRGGBB
    const bool read = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!read || pixels.empty()) {
        return {};
    }
    const auto distance = [](std::uint32_t a, std::uint32_t b) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    std::vector<std::size_t> votes(std::size(standin::kIconPalette));
    for (const std::uint32_t pixel : pixels) {
        for (std::size_t i = 0; i < votes.size(); ++i) {
            votes[i] += distance(pixel & 0xFFFFFF, standin::kIconPalette[i].rgb) <= 48 * 48 &&
                        distance(pixel & 0xFFFFFF, pixels.front() & 0xFFFFFF) > 24 * 24;
        }
    }
    const auto winner = std::max_element(votes.begin(), votes.end());
    return *winner < 12 ? std::string_view() : standin::kIconPalette[winner - votes.begin()].state;
}

// Rests the mouse on the icon until its tooltip shows and reads it.
std::optional<std::wstring> HoverTooltip(HWND icon) {
    DWORD trayProcess = 0;
    ::GetWindowThreadProcessId(::GetAncestor(icon, GA_ROOT), &trayProcess);
    const auto shownTip = [&]() -> HWND {
        for (HWND window : TopLevelWindowsOf(trayProcess)) {
            if (::IsWindowVisible(window) && ClassNameOf(window) == L"tooltips_class32") {
                return window;
            }
        }
        return nullptr;
    };
    // A hidden tooltip keeps its last text; one still shown from before would be read in place of
    // a fresh one, so the mouse leaves first.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    WaitUntil([&] { return shownTip() == nullptr; }, 2s);
    RECT rect{};
    if (!Uncover(icon) || !::GetWindowRect(icon, &rect)) {
        return std::nullopt;
    }
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    // The X server delivers the move to the window it believes on top, which lags behind a raised
    // tray: the move the icon would have been sent is posted to it as well.
    ::PostMessageW(icon, WM_MOUSEMOVE, 0, MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2));
    std::optional<std::wstring> text;
    WaitUntil(
        [&] {
            wchar_t buffer[128] = {};
            DWORD_PTR copied = 0;
            if (const HWND tip = shownTip(); tip != nullptr && ::SendMessageTimeoutW(tip, WM_GETTEXT, std::size(buffer),
                                                                                     reinterpret_cast<LPARAM>(buffer),
                                                                                     SMTO_ABORTIFHUNG, 2000, &copied)) {
                text = buffer;
            }
            return text.has_value();
        },
        3s);
    return text;
}

using TrayStatusTest = MonitorTest;

TEST_F(TrayStatusTest, AScheduledBackupBlinksWhileRunningThenShowsItsResult) {
    LayOut();
    const std::vector<HWND> before = TrayIcons();
    const Child monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    const HWND icon = WaitForNewTrayIcon(before);  // the monitor's: the one that appeared with it
    ASSERT_NE(icon, nullptr) << "no single new icon appeared in the tray";
    const auto waitForState = [&](std::string_view state) {
        EXPECT_TRUE(WaitUntil([&] { return IconState(icon) == state; }, kFewTicks))
            << "never " << state << "; seen: \"" << IconState(icon) << "\"";
    };
    const auto simulate = [&](std::wstring_view arguments) {
        ASSERT_EQ(Start(app_ / PathFromUtf8(standin::kSimulatorProgram), app_, arguments).Exit(30s),
                  std::optional<DWORD>(0))
            << "the engine simulator failed: " << win::Narrow(arguments);
    };
    waitForState("normal");

    ASSERT_NO_FATAL_FAILURE(simulate(L"start"));
    waitForState("running");
    waitForState("normal");
    const std::wstring runningTip =
        win::Wide(settings_.productName + " - The scheduled backup job is in progress...").substr(0, 63);
    std::optional<std::wstring> tip;
    EXPECT_TRUE(WaitUntil([&] { return (tip = HoverTooltip(icon)) == runningTip; }, kFewTicks))
        << "tooltip: " << win::Narrow(tip.value_or(L"(none)"));

    ASSERT_NO_FATAL_FAILURE(simulate(L"finish success --no-window"));
    waitForState("completed");
    EXPECT_TRUE(
        WaitUntil([&] { return HoverTooltip(icon).value_or(L"").starts_with(L"Files backed up "); }, kFewTicks));
}

}  // namespace
}  // namespace ovp::e2e
