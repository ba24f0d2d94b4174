#pragma once
// The companion libraries, loaded with LoadLibraryExW by full path (their own folder first for
// what they load in turn) on first use and kept loaded: the continuous-backup component keeps
// working inside the library after the call returns.

#include <map>

#include "contract/trace_sink.h"
#include "platform/companions.h"

namespace ovp::win {

class Win32CompanionLibraries final : public ICompanionLibraries {
  public:
    explicit Win32CompanionLibraries(ITraceSink* trace = nullptr) : trace_(trace) {}
    Win32CompanionLibraries(const Win32CompanionLibraries&) = delete;
    Win32CompanionLibraries& operator=(const Win32CompanionLibraries&) = delete;

    bool PostCDPStatusMsg(const std::filesystem::path& library, std::int32_t state) override;
    bool SendMsgToApp(const std::filesystem::path& library, std::int32_t message) override;

  private:
    // The function of that name in the library; nullptr (traced) when either is missing.
    void* Function(const std::filesystem::path& library, const char* name);

    ITraceSink* trace_;
    std::map<std::filesystem::path, void*> modules_;
};

}  // namespace ovp::win
