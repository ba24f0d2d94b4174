#include "win32/main_window.h"

#include <windows.h>

#include <chrono>

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "context/tray_menu_model.h"
#include "support/app_fixture.h"
#include "win32/system_info_win.h"
#include "win32/text_win.h"
#include "win32/tray_menu_win.h"
#include "window_test_helpers.h"

namespace ovp::win {
namespace {

std::filesystem::path OwnExecutable() {
    wchar_t path[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return path;
}

bool TakeQuitMessage() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return true;
        }
        ::DispatchMessageW(&message);
    }
    return false;
}

// A 16 x 16 icon file with one 32-bit image, as an .ico on disk holds it.
std::string IconFileBytes(std::uint8_t shade) {
    std::string bytes;
    auto put16 = [&](std::uint16_t v) { bytes.append({static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}); };
    auto put32 = [&](std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v & 0xFFFF));
        put16(static_cast<std::uint16_t>(v >> 16));
    };
    const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put16(0), put16(1), put16(1);                       // ICONDIR
    bytes.append({16, 16, 0, 0}), put16(1), put16(32);  // ICONDIRENTRY
    put32(imageSize), put32(6 + 16);
    put32(40), put32(16), put32(32), put16(1), put16(32), put32(0), put32(16 * 16 * 4), put32(0), put32(0), put32(0),
        put32(0);  // BITMAPINFOHEADER (height counts both masks)
    for (int pixel = 0; pixel < 16 * 16; ++pixel) {
        bytes.append({static_cast<char>(shade), 0, static_cast<char>(0xFF - shade), static_cast<char>(0xFF)});
    }
    bytes.append(16 * 4, '\0');  // AND mask
    return bytes;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration(configuration_);
        CreateFolders(fx_.app / "Images");
        ovp::test::WriteAll(fx_.app / "Images" / "ovlog.ico", IconFileBytes(0x20));
        ovp::test::WriteAll(fx_.app / "Images" / "ovlogred.ico", IconFileBytes(0xE0));
        ASSERT_TRUE(form_.LoadMainForm(fx_.Context()));
        form_.SetFormIcon(fx_.app / "Images" / "ovlog.ico");
    }
    void TearDown() override {
        form_.Shutdown();
        TakeQuitMessage();
    }

    // alice logged in, the captions localised as at start-up, the icon in the tray.
    AppContext& LogInWithIcon() {
        fx_.SetCurrentUser("alice");
        AppContext& context = fx_.Context();
        CreateFolders(context.values.UserFolder());
        context.trayMenu.ApplyLocalisedCaptions(context.texts, context.settings.productName);
        fx_.registry.WriteDword(RegistryRoot::CurrentUser, context.values.ConnectionParametersKey(), "Status", 1);
        form_.AddTrayIcon();
        return context;
    }

    WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(form_.Window(), GWLP_WNDPROC)); }

    std::string configuration_ = ovp::test::GroupConfiguration();
    ovp::test::AppFixture fx_;
    MainWindow form_{::GetModuleHandleW(nullptr), OwnExecutable()};
};

TEST_F(MainWindowTest, TheHiddenFormIsFoundAndAddingTheIconReplacesTheProcedureOnceAndRemovingPutsItBack) {
    EXPECT_EQ(::FindWindowW(kMainWindowClassName, kMainWindowTitle), form_.Window());
    form_.MinimizeAndHide();
    EXPECT_FALSE(::IsWindowVisible(form_.Window()));
    const WNDPROC original = Procedure();
    form_.AddTrayIcon();
    ASSERT_TRUE(form_.IsSubclassed());
    const WNDPROC replaced = Procedure();
    EXPECT_NE(replaced, original);
    EXPECT_TRUE(form_.TrayIcon()->IsAdded());

    form_.AddTrayIcon();
    EXPECT_EQ(Procedure(), replaced);
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    ::SendMessageW(form_.Window(), taskbarCreated, 0, 0);  // a recreated taskbar gets the icon back
    EXPECT_TRUE(form_.IsSubclassed() && form_.TrayIcon()->IsAdded());

    form_.RemoveTrayIcon();
    EXPECT_EQ(Procedure(), original);
    EXPECT_FALSE(form_.TrayIcon()->IsAdded());
}

TEST_F(MainWindowTest, ADpiChangeLoadsTheTrayPictureAgainAtTheNewSize) {
    form_.AddTrayIcon();
    const HICON before = form_.TrayIcon()->Icon();
    RECT suggested{};
    ::SendMessageW(form_.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NE(form_.TrayIcon()->Icon(), before);
}

TEST_F(MainWindowTest, OnlyTheSuspendNotificationsReachTheWindowLogic) {
    CreateFolders(fx_.app / "Grp Backup");  // the trace's folder while no user is known
    form_.AddTrayIcon();
    for (const WPARAM event : {PBT_APMRESUMEAUTOMATIC, PBT_APMSUSPEND, PBT_APMPOWERSTATUSCHANGE, PBT_APMQUERYSUSPEND}) {
        ::SendMessageW(form_.Window(), WM_POWERBROADCAST, event, 0);
    }
    const std::string trace = DecodeTextFile(ovp::test::ReadAll(fx_.app / "Grp Backup" / "TrayTraceFile.txt"));
    EXPECT_EQ(Split(trace, "Hibernation Message Arrived").size(), 3u) << trace;
}

TEST_F(MainWindowTest, BothPeriodicTimersFire) {
    form_.StartTimer(kStatusTimerId, 20);
    form_.StartTimer(kWatcherTimerId, 30);
    test::Pump(400);
    EXPECT_GT(form_.StatusTicks(), 1);
    EXPECT_GT(form_.WatcherTicks(), 1);
}

TEST_F(MainWindowTest, AClosingRequestIsRefused) {
    fx_.Context().trayMenu.SetEnabled(TrayMenuItem::MnuOpen, false);
    form_.AddTrayIcon();
    ::SendMessageW(form_.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(form_.Window()));
    EXPECT_TRUE(fx_.Context().trayMenu.Item(TrayMenuItem::MnuOpen).enabled);
    EXPECT_TRUE(form_.TrayIcon()->IsAdded());
}

TEST_F(MainWindowTest, TheExitCommandRemovesTheIconDestroysTheFormAndEndsTheLoop) {
    form_.AddTrayIcon();
    form_.StartTimer(kWatcherTimerId, 20000);
    const HWND window = form_.Window();
    ::SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(CommandId(TrayMenuItem::MnuExit)), 0);
    EXPECT_FALSE(::IsWindow(window) || form_.TrayIcon()->IsAdded() || form_.IsSubclassed());
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(MainWindowTest, TheEndOfTheLogonSessionEndsTheMonitorCleanly) {
    form_.AddTrayIcon();
    const HWND window = form_.Window();
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(window));  // the session goes on after all

    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(::IsWindow(window) || form_.TrayIcon()->IsAdded());
    EXPECT_TRUE(TakeQuitMessage());
}

// The open pop-up menu of this thread; null while none is shown.
HWND OpenMenu() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM parameter) -> BOOL {
            wchar_t name[16] = {};
            ::GetClassNameW(window, name, 16);
            if (::IsWindowVisible(window) && std::wstring_view(name) == L"#32768") {
                *reinterpret_cast<HWND*>(parameter) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The captions of the open menu, "-" for a separator, " [x]" for a check mark, " (grey)" for a
// disabled item; each line ends with "|".
std::wstring ReadOpenMenu() {
    const HWND open = OpenMenu();
    const auto menu = open != nullptr ? reinterpret_cast<HMENU>(::SendMessageW(open, MN_GETHMENU, 0, 0)) : nullptr;
    std::wstring lines;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if ((info.fType & MFT_SEPARATOR) != 0) {
            lines += L"-|";  // Wine reports separators as disabled
            continue;
        }
        lines += std::wstring(text) + ((info.fState & MFS_CHECKED) != 0 ? L" [x]" : L"") +
                 ((info.fState & MFS_DISABLED) != 0 ? L" (grey)" : L"") + L"|";
    }
    return lines;
}

// While the tray menu is open, its modal loop runs this thread's timers: the timer reads the menu
// and closes it, as a click elsewhere would.
std::wstring PopUpAndRead(HWND form) {
    static std::wstring read;
    read.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (OpenMenu() != nullptr) {
            read = ReadOpenMenu();
            ::EndMenu();
        }
    });
    ::SendMessageW(form, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    ::KillTimer(nullptr, timer);
    return read;
}

// The product's Spanish file in the language folder and "Spanish" configured.
class SpanishMainWindowTest : public MainWindowTest {
  protected:
    SpanishMainWindowTest() {
        configuration_.replace(configuration_.find("Language=English"), 16, "Language=Spanish");
        CreateFolders(fx_.app / "Lang");
        std::filesystem::copy_file(std::filesystem::path(OVP_ASSET_LANG) / "Spanish.txt",
                                   fx_.app / "Lang" / "Spanish.txt");
    }
};

// Which caption and state each value earns is the core's; here the real menu shows them, with the
// hidden items (separators too) left out, in the shipped language file's words.
TEST_F(SpanishMainWindowTest, TheRightButtonPopsTheRefreshedMenuUp) {
    AppContext& context = LogInWithIcon();
    context.transfer.Trf_WriteUserProfileWithoutEncryptIdle("RealTimeBackup", "1");
    context.transfer.Trf_WriteUserProfile("ScheduleDisable", "TRUE");

    EXPECT_EQ(PopUpAndRead(form_.Window()),
              L"Ampliar cuenta|Estado|-|Grp Online - Programar copia|Abrir el explorador de Grp Online|-|Registro de "
              L"actividad|-|Administración web [x]|Copia continua [x]|Detener copia programada (grey)|Desactivar "
              L"copia programada [x]|Administrar las tareas programadas|Hacer copia ahora|-|Buscar actualizaciones|-|"
              L"Enviar informe de errores|Ayuda|-|Salir|");
}

TEST_F(MainWindowTest, BlinkingTicksAndMenusDoNotLeak) {
    // A scheduled job runs: every tick of the status monitor changes the picture (the running and
    // the normal one alternate) and sets the tooltip, through the shell, as for hours on end.
    ovp::test::WriteAll(fx_.app / "Images" / "ovlogyellow.ico", IconFileBytes(0x80));
    AppContext& context = LogInWithIcon();
    ovp::test::WriteAll(context.values.UserFolder() / "scheduleData.txt", "1\r\n");
    context.values.WriteProfile("BackupStatus", "Status", "1");
    // Each round also pops the real menu up (refreshed, built, tracked and closed).
    test::ExpectNoGrowth("tray ticks and menu pop-ups", [&] {
        ::SendMessageW(form_.Window(), WM_TIMER, static_cast<WPARAM>(kStatusTimerId), 0);
        EXPECT_FALSE(PopUpAndRead(form_.Window()).empty());
    });
    EXPECT_EQ(form_.StatusTicks(), 1050);
}

TEST(TrayIconCacheTest, LoadsEachPictureOnceAndAgainOnlyWhenItsFileChanges) {
    ovp::test::TempDir dir;
    const std::filesystem::path file = dir / "ovlog.ico";
    ovp::test::WriteAll(file, IconFileBytes(0x20));
    TrayIconCache cache;
    const HICON first = cache.Get(file);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.Get(dir / "." / "OVLOG.ICO"), first);  // the same file, however it is written

    // Same size, new content: the write time tells the change.
    ovp::test::WriteAll(file, IconFileBytes(0xE0));
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(10));
    const HICON second = cache.Get(file);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(first, &info));  // still alive: the shell may show it
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    cache.Trim(second);
    EXPECT_EQ(cache.Size(), 1u);

    // A missing or damaged file gives no picture, so the caller keeps the one it shows.
    EXPECT_EQ(cache.Get(dir / "missing.ico"), nullptr);
    ovp::test::WriteAll(dir / "damaged.ico", "not an icon");
    EXPECT_EQ(cache.Get(dir / "damaged.ico"), nullptr);
}

TEST(TrayMenuWinTest, TheMenuHoldsTheVisibleItemsWithTheirStates) {
    TrayMenuModel model;
    model.SetChecked(TrayMenuItem::MnuDisableAutobkup, true);
    model.SetEnabled(TrayMenuItem::mnuStop, false);
    const unique_hmenu menu = BuildPopupMenu(model.TrayPopup());
    ASSERT_TRUE(menu);

    int visible = 0;
    for (const TrayMenuEntry& entry : model.TrayPopup()) {
        visible += entry.visible ? 1 : 0;
    }
    EXPECT_EQ(::GetMenuItemCount(menu.get()), visible);
    const auto state = [&](TrayMenuItem item) {
        return ::GetMenuState(menu.get(), static_cast<UINT>(CommandId(item)), MF_BYCOMMAND);
    };
    EXPECT_TRUE(state(TrayMenuItem::mnuStop) & MF_GRAYED);
    EXPECT_TRUE(state(TrayMenuItem::MnuDisableAutobkup) & MF_CHECKED);
    EXPECT_EQ(state(TrayMenuItem::MnuAbout), static_cast<UINT>(-1));  // hidden: not in the menu

    wchar_t caption[64] = {};
    ::GetMenuStringW(menu.get(), static_cast<UINT>(CommandId(TrayMenuItem::MnuExit)), caption, 64, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"&Exit");
}

TEST(SingleInstanceTest, OnlyTheSameExecutableFileCounts) {
    const std::filesystem::path self = OwnExecutable();
    EXPECT_TRUE(IsSameFile(self, self));
    ovp::test::TempDir dir;
    ovp::test::WriteAll(dir / "a.exe", "a");
    ovp::test::WriteAll(dir / "b.exe", "b");
    EXPECT_FALSE(IsSameFile(dir / "a.exe", dir / "b.exe"));
    EXPECT_FALSE(IsSameFile(dir / "missing.exe", dir / "missing.exe"));

    MainWindow form(::GetModuleHandleW(nullptr), self);
    EXPECT_FALSE(form.OtherInstanceRunning());
}

TEST(ProcessUserNameTest, NamesTheAccountThisProcessRunsAs) {
    wchar_t name[257] = {};
    DWORD size = 257;
    ASSERT_TRUE(::GetUserNameW(name, &size));
    EXPECT_EQ(Win32SystemInfo().ProcessUserName(), Narrow(name));
    EXPECT_FALSE(Win32SystemInfo().ProcessUserName().empty());
}

}  // namespace
}  // namespace ovp::win
