#include "win32/companions_win.h"

#include <windows.h>

#include <string>

#include "win32/companions_abi.h"
#include "win32/error_text_win.h"
#include "win32/text_win.h"

namespace ovp::win {

void* Win32CompanionLibraries::Function(const std::filesystem::path& library, const char* name) {
    auto found = modules_.find(library);
    if (found == modules_.end()) {
        // A relative path would be searched for, and the current folder holds whatever a user put
        // there: only a full path is loaded.
        HMODULE module =
            library.is_absolute() ? ::LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
        if (module == nullptr && trace_ != nullptr) {
            trace_->Error(ApiFailureText("LoadLibraryExW", ::GetLastError(), Narrow(library.wstring())));
        }
        // A library that is missing now is looked for again at the next call.
        if (module == nullptr) {
            return nullptr;
        }
        found = modules_.emplace(library, module).first;
    }
    FARPROC function = ::GetProcAddress(static_cast<HMODULE>(found->second), name);
    if (function == nullptr && trace_ != nullptr) {
        trace_->Error(ApiFailureText("GetProcAddress", ::GetLastError(), std::string(name)));
    }
    return reinterpret_cast<void*>(function);
}

bool Win32CompanionLibraries::PostCDPStatusMsg(const std::filesystem::path& library, std::int32_t state) {
    const auto function = reinterpret_cast<PostCdpStatusMsgFunction>(Function(library, kPostCdpStatusMsgExport));
    if (function == nullptr) {
        return false;
    }
    function(state);
    return true;
}

bool Win32CompanionLibraries::SendMsgToApp(const std::filesystem::path& library, std::int32_t message) {
    const auto function = reinterpret_cast<SendMsgToAppFunction>(Function(library, kSendMsgToAppExport));
    if (function == nullptr) {
        return false;
    }
    function(message);
    return true;
}

}  // namespace ovp::win
