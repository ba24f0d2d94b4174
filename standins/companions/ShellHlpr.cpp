// Stand-in for the shell helper library: records each message it is asked to pass on
// ("shellhlpr: SendMsgToApp <message>") and answers 1. It tells no application anything.

#include <string>

#include "companion_record.h"
#include "win32/companions_abi.h"

extern "C" int WINAPI SendMsgToApp(int message) {
    ovp::standin::RecordLibraryEvent("shellhlpr", "SendMsgToApp " + std::to_string(message));
    return 1;
}

[[maybe_unused]] constexpr ovp::win::SendMsgToAppFunction kExport = &SendMsgToApp;
