#include "win32/system_info_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace ovp::win {
namespace {

TEST(SystemInfoWinTest, TheVersionIsTheRealOneNotTheManifestCappedOne) {
    OSVERSIONINFOW capped{};
    capped.dwOSVersionInfoSize = sizeof(capped);
    ASSERT_TRUE(::GetVersionExW(&capped));
    const OsVersion version = Win32SystemInfo().Version();
    EXPECT_TRUE(version.nt);
    EXPECT_GE(version.major, 6);
    EXPECT_GT(version.build, 0);
    // The kernel's own record of the version, which no compatibility layer adjusts.
    const auto* shared = reinterpret_cast<const volatile ULONG*>(0x7FFE0000);
    EXPECT_EQ(version.major, static_cast<int>(shared[0x26C / 4]));
    EXPECT_EQ(version.minor, static_cast<int>(shared[0x270 / 4]));
    EXPECT_GE(version.major * 100 + version.minor,
              static_cast<int>(capped.dwMajorVersion * 100 + capped.dwMinorVersion));
}

}  // namespace
}  // namespace ovp::win
