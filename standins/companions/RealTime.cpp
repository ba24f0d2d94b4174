// Stand-in for the real-time library: records each state it is given ("realtime:
// PostCDPStatusMsg <state>") and answers 1. It watches nothing.

#include <string>

#include "companion_record.h"
#include "win32/companions_abi.h"

extern "C" int WINAPI PostCDPStatusMsg(int state) {
    ovp::standin::RecordLibraryEvent("realtime", "PostCDPStatusMsg " + std::to_string(state));
    return 1;
}

[[maybe_unused]] constexpr ovp::win::PostCdpStatusMsgFunction kExport = &PostCDPStatusMsg;
