#pragma once
// The exports of the two companion libraries that the tray commands call, shared by the monitor's
// adapter and the stand-in libraries so that the two cannot disagree. Both libraries sit in the
// application folder and are loaded by their full path.
//
// The real-time library (ExecutableNames::realTimeLibrary):
//     int WINAPI PostCDPStatusMsg(int state);
// state 1: continuous backup on, or resumed after a pause; 0: off. The component starts or stops
// its watching by itself; the monitor ignores the result.
//
// The shell helper library (contract::kShellHelperLibrary):
//     int WINAPI SendMsgToApp(int message);
// message contract::kUserChangeMessage (1034) tells the running main application that the user
// changes. The monitor ignores the result.
//
// Both take and return a 32-bit int, use the WINAPI (__stdcall) convention and are exported under
// the plain names through .def files, so GetProcAddress finds these names on every architecture.
// They keep no state between calls, so the caller may load and free a library around every call.

#include <windows.h>

namespace ovp::win {

using PostCdpStatusMsgFunction = int(WINAPI*)(int state);
using SendMsgToAppFunction = int(WINAPI*)(int message);

inline constexpr char kPostCdpStatusMsgExport[] = "PostCDPStatusMsg";
inline constexpr char kSendMsgToAppExport[] = "SendMsgToApp";

inline constexpr int kCdpStatusOff = 0;
inline constexpr int kCdpStatusOn = 1;

}  // namespace ovp::win
