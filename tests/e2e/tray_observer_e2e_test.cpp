// The tray observer proved on icons of the test's own, whose pictures and tips are known: it must
// find the right icon among others, name its colour as drawn on the screen (also when a window
// lies over the tray), read the tooltip a user would see, and tell a blinking icon from a steady
// one. The monitor's scenarios rely on exactly these answers.

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <stop_token>
#include <thread>

#include "app_layout.h"
#include "base/files.h"
#include "e2e_win.h"
#include "tray_observer.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

constexpr int kSide = 16;

void PutLe(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// A 16-pixel .ico like the product's: a disc of the colour with a soft edge (partial alpha), a
// white up-arrow in the middle and, when asked, a dark badge at the lower right.
std::string DiscIco(Rgb colour, bool badge) {
    std::string bytes;
    PutLe(bytes, 0, 2);  // ICONDIR
    PutLe(bytes, 1, 2);
    PutLe(bytes, 1, 2);
    constexpr std::uint32_t kImageBytes = 40 + kSide * kSide * 4 + kSide * 4;
    PutLe(bytes, kSide, 1);  // ICONDIRENTRY
    PutLe(bytes, kSide, 1);
    PutLe(bytes, 0, 2);
    PutLe(bytes, 1, 2);
    PutLe(bytes, 32, 2);
    PutLe(bytes, kImageBytes, 4);
    PutLe(bytes, 22, 4);
    PutLe(bytes, 40, 4);  // BITMAPINFOHEADER; the height counts colour and mask rows
    PutLe(bytes, kSide, 4);
    PutLe(bytes, 2 * kSide, 4);
    PutLe(bytes, 1, 2);
    PutLe(bytes, 32, 2);
    for (int i = 0; i < 6; ++i) {
        PutLe(bytes, 0, 4);
    }
    for (int row = kSide - 1; row >= 0; --row) {  // bottom-up
        for (int column = 0; column < kSide; ++column) {
            const double distance = std::hypot(column - 7.5, row - 7.5);
            const double alpha = std::clamp(8.0 - distance, 0.0, 1.0);
            const bool shaft = column >= 7 && column <= 8 && row >= 6 && row <= 11;
            const bool head = row >= 3 && row <= 6 && std::abs(column - 7.5) <= row - 2.5;
            const bool dot = badge && std::hypot(column - 12.0, row - 12.0) <= 2.0;
            Rgb pixel = colour;
            if (dot) {
                pixel = Rgb{0x22, 0x22, 0x22};
            } else if (shaft || head) {
                pixel = Rgb{0xFF, 0xFF, 0xFF};
            }
            const auto a = static_cast<std::uint32_t>(std::lround(alpha * 255.0));
            // Premultiplied is not required; straight alpha as icon files store it.
            PutLe(bytes, (a << 24) | (std::uint32_t{pixel.r} << 16) | (std::uint32_t{pixel.g} << 8) | pixel.b, 4);
        }
    }
    bytes.append(static_cast<std::size_t>(kSide * 4), '\0');  // AND mask: all drawn, alpha decides
    return bytes;
}

// An icon of the test's own in the notification area, owned by a hidden window of the test.
class OwnTrayIcon {
  public:
    explicit OwnTrayIcon(UINT id) : id_(id) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        ::RegisterClassW(&windowClass);  // fails harmlessly when a previous icon registered it
        window_ = ::CreateWindowW(kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~OwnTrayIcon() {
        if (added_) {
            NOTIFYICONDATAW data = Data(0);
            ::Shell_NotifyIconW(NIM_DELETE, &data);
        }
        if (icon_ != nullptr) {
            ::DestroyIcon(icon_);
        }
        ::DestroyWindow(window_);
    }
    OwnTrayIcon(const OwnTrayIcon&) = delete;
    OwnTrayIcon& operator=(const OwnTrayIcon&) = delete;

    // Shows the picture from an .ico file, loaded as the monitor loads its pictures.
    bool Show(const std::filesystem::path& file, std::wstring_view tip) {
        const HICON previous = icon_;
        icon_ = static_cast<HICON>(::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE));
        if (icon_ == nullptr) {
            return false;
        }
        NOTIFYICONDATAW data = Data(NIF_ICON | NIF_TIP);
        tip.copy(data.szTip, std::size(data.szTip) - 1);
        const bool shown = ::Shell_NotifyIconW(added_ ? NIM_MODIFY : NIM_ADD, &data) != FALSE;
        added_ = added_ || shown;
        if (previous != nullptr) {
            ::DestroyIcon(previous);
        }
        return shown;
    }
    bool SetTip(std::wstring_view tip) {
        NOTIFYICONDATAW data = Data(NIF_TIP);
        tip.copy(data.szTip, std::size(data.szTip) - 1);
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }

  private:
    static constexpr wchar_t kClassName[] = L"OvpTrayObserverTestOwner";

    NOTIFYICONDATAW Data(UINT flags) const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = window_;
        data.uID = id_;
        data.uFlags = flags;
        data.hIcon = icon_;
        return data;
    }

    UINT id_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    bool added_ = false;
};

class TrayObserverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / (L"ovp-e2e-observer-" + std::to_wstring(::GetCurrentProcessId()));
        ASSERT_TRUE(CreateFolders(folder_));
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    std::filesystem::path Ico(IconColour colour, bool badge = false) {
        return IcoOf(MainColourOf(colour), std::string(NameOf(colour)) + (badge ? " badge" : ""), badge);
    }
    std::filesystem::path IcoOf(Rgb colour, const std::string& name, bool badge = false) {
        const std::filesystem::path file = folder_ / PathFromUtf8(name + ".ico");
        EXPECT_TRUE(ReplaceFileBytes(file, DiscIco(colour, badge)));
        return file;
    }

    // Adds the icon and finds it as a scenario finds the monitor's: the one that was not there.
    static HWND AddAndFind(OwnTrayIcon& icon, const std::filesystem::path& picture, std::wstring_view tip) {
        const std::vector<HWND> before = TrayIconWindows();
        EXPECT_TRUE(icon.Show(picture, tip));
        return WaitForNewTrayIcon(before, 10s);
    }
    // Our icon beside a foreign one that was there first.
    HWND AddBesideForeign(OwnTrayIcon& foreign, OwnTrayIcon& ours, IconColour colour, std::wstring_view tip) {
        EXPECT_TRUE(foreign.Show(Ico(IconColour::Red), L"Foreign icon"));
        EXPECT_TRUE(WaitUntil([] { return !TrayIconWindows().empty(); }, 10s));
        return AddAndFind(ours, Ico(colour), tip);
    }

    std::filesystem::path folder_;
};

// Shows the pictures in turn, each for its time, over and over until stopped.
std::jthread Animate(OwnTrayIcon& icon,
                     std::vector<std::pair<std::filesystem::path, std::chrono::milliseconds>> script) {
    return std::jthread([&icon, script = std::move(script)](std::stop_token stop) {
        for (std::size_t i = 0; !stop.stop_requested(); i = (i + 1) % script.size()) {
            icon.Show(script[i].first, L"Animated");
            const auto until = std::chrono::steady_clock::now() + script[i].second;
            while (!stop.stop_requested() && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(5ms);
            }
        }
    });
}

TEST_F(TrayObserverTest, FindsItsIconAmongOthersAndNamesEveryColourAsDrawn) {
    OwnTrayIcon foreign(1);
    OwnTrayIcon ours(2);
    const HWND icon = AddBesideForeign(foreign, ours, IconColour::Green, L"Ours");
    ASSERT_NE(icon, nullptr) << "no single new icon appeared in the tray";
    const std::vector<HWND> icons = TrayIconWindows();
    ASSERT_GE(icons.size(), 2u);

    const IconColour all[] = {IconColour::Normal,   IconColour::Yellow,   IconColour::Red,    IconColour::Green,
                              IconColour::CdpBlue1, IconColour::CdpBlue2, IconColour::Quota1, IconColour::Quota2};
    for (const IconColour colour : all) {
        SCOPED_TRACE(std::string(NameOf(colour)));
        ASSERT_TRUE(ours.Show(Ico(colour), L"Ours"));
        EXPECT_TRUE(WaitForIconColour(icon, colour, 5s)) << "seen: " << DescribeIcon(icon);
    }
    // The badge of the branded running picture does not make it another colour.
    ASSERT_TRUE(ours.Show(Ico(IconColour::Yellow, true), L"Ours"));
    EXPECT_TRUE(WaitForIconColour(icon, IconColour::Yellow, 5s)) << DescribeIcon(icon);
    // A picture of none of the colours (grey, as the system's default icon) is not forced into one.
    ASSERT_TRUE(ours.Show(IcoOf(Rgb{0x80, 0x80, 0x80}, "grey"), L"Ours"));
    EXPECT_TRUE(WaitForIconColour(icon, IconColour::Unknown, 5s)) << DescribeIcon(icon);

    // The foreign icon kept its own colour throughout: we read ours, not the first in the tray.
    const HWND other = icons.front() == icon ? icons.back() : icons.front();
    EXPECT_EQ(IconColourOf(other), IconColour::Red);
}

// The product's own pictures, as the layout copies them for the monitor, each named by the colour
// of its state: the scenarios' verdicts depend on it.
TEST_F(TrayObserverTest, NamesEachOfTheProductsPicturesByItsStateColour) {
    struct Picture {
        std::string_view file;
        IconColour colour;
    };
    constexpr Picture kPictures[] = {
        {"ovlog.ico", IconColour::Normal},        {"ovlogyellow.ico", IconColour::Yellow},
        {"ovlogyellowp.ico", IconColour::Yellow}, {"ovlogred.ico", IconColour::Red},
        {"ovloggreen.ico", IconColour::Green},    {"CDPBlue1.ico", IconColour::CdpBlue1},
        {"CDPBlue2.ico", IconColour::CdpBlue2},   {"QExceed1.ico", IconColour::Quota1},
        {"QExceed2.ico", IconColour::Quota2},
    };
    OwnTrayIcon ours(3);
    const HWND icon = AddAndFind(ours, Ico(IconColour::Unknown), L"Pictures");
    ASSERT_NE(icon, nullptr);
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(std::string(picture.file));
        ASSERT_TRUE(ours.Show(standin::AssetImagesFolder() / PathFromUtf8(picture.file), L"Pictures"));
        EXPECT_TRUE(WaitForIconColour(icon, picture.colour, 5s)) << "seen: " << DescribeIcon(icon);
    }
}

TEST_F(TrayObserverTest, ReadsTheTooltipShownForItsIconAndFollowsChanges) {
    OwnTrayIcon foreign(1);
    OwnTrayIcon ours(2);
    // 63 characters, as long as a tray tip can be, with letters beyond ASCII.
    const std::wstring first = L"Sicherung l\u00e4uft \u2013 Orvessa Professional - a tip of 63 characters";
    ASSERT_EQ(first.size(), 63u);
    const HWND icon = AddBesideForeign(foreign, ours, IconColour::Normal, first);
    ASSERT_NE(icon, nullptr);

    EXPECT_EQ(HoverTooltip(icon), std::optional<std::wstring>(first));
    // A changed tip is read afresh, not the text the hidden tooltip kept from before.
    ASSERT_TRUE(ours.SetTip(L"Second tip"));
    std::wstring last;
    EXPECT_TRUE(WaitForTooltip(icon, L"Second tip", 10s, &last)) << win::Narrow(last);
    POINT cursor{};
    ASSERT_TRUE(::GetCursorPos(&cursor));
    RECT rect{};
    ASSERT_TRUE(::GetWindowRect(icon, &rect));
    EXPECT_FALSE(::PtInRect(&rect, cursor)) << "the mouse was left resting on the icon";
}

TEST_F(TrayObserverTest, SeesTheIconThroughAWindowLyingOverTheTray) {
    OwnTrayIcon ours(3);
    const HWND icon = AddAndFind(ours, Ico(IconColour::Quota1), L"Covered tip");
    ASSERT_NE(icon, nullptr);

    // A black always-on-top window over the top left of the screen, where Wine shows the tray, as
    // the monitor's status window may lie.
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"OvpTrayObserverTestCover";
    ::RegisterClassW(&windowClass);
    const HWND cover = ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                         400, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(cover, nullptr);
    // Above the tray even when an earlier observation raised it.
    ::SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(cover);
    RECT rect{};
    ASSERT_TRUE(::GetWindowRect(icon, &rect));
    ASSERT_EQ(::WindowFromPoint(POINT{rect.left + 1, rect.top + 1}), cover);

    EXPECT_TRUE(WaitForIconColour(icon, IconColour::Quota1, 5s)) << DescribeIcon(icon);
    EXPECT_EQ(HoverTooltip(icon), std::optional<std::wstring>(L"Covered tip"));
    ::DestroyWindow(cover);
}

TEST_F(TrayObserverTest, TellsSteadyBlinkingAndFlashingIconsApart) {
    OwnTrayIcon ours(4);
    const std::filesystem::path green = Ico(IconColour::Green);
    const HWND icon = AddAndFind(ours, green, L"Steady");
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(WaitForIconColour(icon, IconColour::Green, 5s));
    const ColourSequence steady = SampleIconColours(icon, 2s);
    EXPECT_EQ(steady.Seen(), std::set<IconColour>{IconColour::Green}) << steady.Describe();
    EXPECT_EQ(steady.Changes(), 0u) << steady.Describe();

    // Red for about 10 ms every half second, as long as a tick may take between two of its steps:
    // seen, and told apart from the picture the user settles on.
    {
        std::jthread flasher = Animate(ours, {{Ico(IconColour::Red), 10ms}, {green, 500ms}});
        const ColourSequence flashing = SampleIconColours(icon, 3s);
        EXPECT_EQ(flashing.Seen(), (std::set<IconColour>{IconColour::Green, IconColour::Red})) << flashing.Describe();
        EXPECT_EQ(flashing.Settled().Seen(), std::set<IconColour>{IconColour::Green}) << flashing.Describe();
    }

    // Swapped every second, the continuous-backup pair as the monitor alternates it.
    std::jthread blinker = Animate(ours, {{Ico(IconColour::CdpBlue1), 1000ms}, {Ico(IconColour::CdpBlue2), 1000ms}});
    ASSERT_TRUE(WaitForIconColour(icon, IconColour::CdpBlue1, 5s)) << DescribeIcon(icon);
    const ColourSequence blinking = SampleIconColours(icon, 4500ms);
    EXPECT_TRUE(blinking.Alternates(IconColour::CdpBlue1, IconColour::CdpBlue2, 3)) << blinking.Describe();
}

}  // namespace
}  // namespace ovp::e2e
