#include "app/os_info.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(OsInfoTest, VistaFamilyIsNtSixAndEveryLaterVersion) {
    for (const auto& [major, minor] : {std::pair{6, 0}, {6, 1}, {6, 2}, {6, 3}, {10, 0}}) {
        const OsVersion version{true, major, minor, 0};
        EXPECT_TRUE(IsVistaOr7(version)) << major << "." << minor;
        EXPECT_EQ(OperatingSystemName(version), "Vista") << major << "." << minor;
    }
    EXPECT_FALSE(IsVistaOr7(OsVersion{true, 5, 2, 0}));
    EXPECT_FALSE(IsVistaOr7(OsVersion{false, 6, 0, 0}));
}

TEST(OsInfoTest, OlderSystemsKeepTheirNames) {
    EXPECT_EQ(OperatingSystemName({true, 5, 2, 0}), "2003");
    EXPECT_EQ(OperatingSystemName({true, 5, 1, 0}), "XP");
    EXPECT_EQ(OperatingSystemName({true, 5, 0, 0}), "2000");
    EXPECT_EQ(OperatingSystemName({true, 4, 0, 0}), "Windows NT");
    EXPECT_EQ(OperatingSystemName({true, 3, 51, 0}), "");
    EXPECT_EQ(OperatingSystemName({false, 4, 10, 0}), "Windows 98");
    EXPECT_EQ(OperatingSystemName({false, 4, 0, 0}), "Windows 95");
    EXPECT_EQ(OperatingSystemName({false, 3, 10, 0}), "Windows 95");
    EXPECT_EQ(OperatingSystemName({false, 4, 90, 0}), "Windows 98");
    EXPECT_EQ(OperatingSystemName({false, 5, 0, 0}), "Windows ME");
}

}  // namespace
}  // namespace ovp
