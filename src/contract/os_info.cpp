#include "contract/os_info.h"

namespace ovp {

std::string OperatingSystemName(const OsVersion& version) {
    if (!version.nt) {
        if (version.major >= 5) {
            return "Windows ME";
        }
        return (version.major == 4 && version.minor > 0) ? "Windows 98" : "Windows 95";
    }
    if (IsVistaFamily(version)) {
        return "Vista";
    }
    if (version.major == 5) {
        switch (version.minor) {
            case 0:
                return "2000";
            case 1:
                return "XP";
            case 2:
                return "2003";
            default:
                return "";
        }
    }
    return version.major == 4 ? "Windows NT" : "";
}

bool IsVistaFamily(const OsVersion& version) {
    return version.nt && version.major >= 6;
}

}  // namespace ovp
