#include "contract/os_info.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(OsInfoTest, NtSixAndEveryLaterVersionIsTheVistaFamilyOlderSystemsKeepTheirNames) {
    const std::pair<OsVersion, std::string_view> cases[] = {
        {{true, 6, 0, 0}, "Vista"},        {{true, 6, 3, 0}, "Vista"},
        {{true, 10, 0, 0}, "Vista"},       {{true, 5, 2, 0}, "2003"},
        {{true, 5, 1, 0}, "XP"},           {{true, 5, 0, 0}, "2000"},
        {{true, 4, 0, 0}, "Windows NT"},   {{true, 3, 51, 0}, ""},
        {{false, 6, 0, 0}, "Windows ME"},  {{false, 4, 10, 0}, "Windows 98"},
        {{false, 4, 90, 0}, "Windows 98"}, {{false, 4, 0, 0}, "Windows 95"},
        {{false, 3, 10, 0}, "Windows 95"},
    };
    for (const auto& [version, name] : cases) {
        EXPECT_EQ(OperatingSystemName(version), name) << version.nt << " " << version.major << "." << version.minor;
        EXPECT_EQ(IsVistaFamily(version), name == "Vista") << version.major << "." << version.minor;
    }
}

}  // namespace
}  // namespace ovp
