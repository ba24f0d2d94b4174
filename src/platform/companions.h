#pragma once
// Port: the product's closed companion libraries that the monitor calls: the continuous-backup
// library and the shell helper. Each is loaded by the full path the caller gives (never searched
// for) and stays loaded; a library or function that is missing makes the call a no-op that answers
// false (and is traced by the adapter).

#include <cstdint>
#include <filesystem>

namespace ovp {

// The states the continuous-backup library takes.
inline constexpr std::int32_t kContinuousBackupOff = 0;
inline constexpr std::int32_t kContinuousBackupOn = 1;

class ICompanionLibraries {
  public:
    virtual ~ICompanionLibraries() = default;
    // `PostCDPStatusMsg`: continuous backup on (or resume) or off. Its answer is not used.
    virtual bool PostCDPStatusMsg(const std::filesystem::path& library, std::int32_t state) = 0;
    // `SendMsgToApp`: a message to the running main application.
    virtual bool SendMsgToApp(const std::filesystem::path& library, std::int32_t message) = 0;
};

}  // namespace ovp
