#include "win32/mail_paths_win.h"

#include <windows.h>

#include <string>

#include "base/files.h"
#include "contract/engine_contract.h"
#include "win32/mail_paths_abi.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

// A relative path would be looked up on the search path (the library) or in the Windows folder
// (the ini file); both must be exactly the files we mean.
std::wstring FullPath(const std::filesystem::path& path) {
    std::error_code error;
    auto full = std::filesystem::absolute(path, error);
    if (error) {
        return {};
    }
    return full.make_preferred().wstring();
}

// No "cannot load" message box may stop the tray at log-on for a damaged library.
class QuietErrorMode {
  public:
    QuietErrorMode() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietErrorMode() { ::SetThreadErrorMode(previous_, nullptr); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

  private:
    DWORD previous_ = 0;
};

}  // namespace

Win32MailPaths::Win32MailPaths(const std::filesystem::path& appFolder)
    : library_(appFolder / PathFromUtf8(contract::kMailPathsLibrary)) {}

bool Win32MailPaths::Detect(std::string_view function, const std::filesystem::path& iniFile) {
    try {
        const std::wstring library = FullPath(library_);
        const std::wstring ini = FullPath(iniFile);
        if (library.empty() || ini.empty() || function.empty()) {
            return false;
        }
        unique_hmodule module;
        {
            QuietErrorMode quiet;
            // A full path, so that the search path is never asked; the library's own imports are
            // looked for beside it first.
            module.reset(::LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        }
        if (!module) {
            return false;
        }
        const std::string name(function);
        // Through void(*)() so that the compiler accepts the cast between function types.
        const auto detect = reinterpret_cast<MailPathFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module.get(), name.c_str())));
        return detect != nullptr && detect(ini.c_str()) != FALSE;
    } catch (...) {
        return false;
    }
}

}  // namespace ovp::win
