#pragma once
// The trace files. Tracing must never get in the way: every routine swallows every error (a
// missing folder, a read-only or locked file, a full disk), so the line is lost and the caller
// goes on. Lines are UTF-16LE with a byte-order mark, ended by CR LF, appended.

#include <cstdint>
#include <string>
#include <string_view>

#include "contract/folders.h"
#include "contract/trace_sink.h"
#include "contract/user_name_source.h"
#include "platform/clock.h"

namespace ovp {

inline constexpr std::string_view kInformationTag = "  [INFORMATION] ";
inline constexpr std::string_view kErrorTag = "   [ERROR] ";
inline constexpr std::string_view kDatedTraceSeparator = " : ";
// The application folder's dated trace is deleted once it grows beyond this.
inline constexpr std::uintmax_t kDatedTraceLimitBytes = 2'097'152;

// "mm-dd-yyyy HH:mm:ss" of now + tag + message.
std::string TraceLine(IClock& clock, std::string_view tag, std::string_view message);

// The monitor's own trace: "TrayTraceFile.txt" of the user folder (both the main form's and the
// module's trace routine), and the dated trace of the standby and wake handling.
class Trace final : public ITraceSink {
  public:
    Trace(const Folders& folders, IUserNameSource& users, IClock& clock)
        : folders_(folders), users_(users), clock_(clock) {}

    // The user folder is found afresh for every line: before a user is known the line goes to
    // the start folder, whose file start-up later moves into the user folder.
    void WriteTrace(std::string_view text) override;
    void Info(std::string_view message) override;
    void Error(std::string_view message) override;

    // Date + " : " + text to the application folder's "TrayTraceFile.txt"; the file is deleted
    // when the line takes it beyond kDatedTraceLimitBytes (no rotation: the next line starts anew).
    void WriteDatedTrace(std::string_view text);

  private:
    const Folders& folders_;
    IUserNameSource& users_;
    IClock& clock_;
};

// The trace of the default-file creation and the error report: "SerTraceFile.txt" of the user
// folder, for the user current at the time of each line.
class clsOptions {
  public:
    clsOptions(const Folders& folders, IUserNameSource& users) : folders_(folders), users_(users) {}

    void WriteTrace(std::string_view text);

  private:
    const Folders& folders_;
    IUserNameSource& users_;
};

}  // namespace ovp
