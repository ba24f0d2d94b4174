#pragma once
// The operating system's short name and family, as the monitor's decisions use them.

#include <string>

#include "platform/system_info.h"

namespace ovp {

// NT: 5.2 "2003", 5.1 "XP", 5.0 "2000", 4.x "Windows NT", 6.0 and every later version "Vista".
// Older platforms: "Windows 95", "Windows 98" (4.1 and later 4.x) and "Windows ME" (5 and above).
// Anything else gives "".
//
// "Vista" names the whole family that starts with NT 6.0: the callers compare against it to choose
// what Vista brought (the execution-state requests that keep a running backup awake), and those
// needs hold on every later version just as well.
std::string OperatingSystemName(const OsVersion& version);

// True on NT 6.0 and every later version: the systems with user account control, where a normal
// user gets only read access to the service manager and cannot start the service.
bool IsVistaFamily(const OsVersion& version);

}  // namespace ovp
