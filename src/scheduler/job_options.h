#pragma once
// The job options the schedule wizard writes for the engine, and the stop request for a running
// scheduled job. Each option lives where the engine has always looked for it; every operation
// goes to the files afresh, so a change of user takes effect at the next call.

#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "settings/shared_values.h"
#include "settings/transfer.h"

namespace ovp {

// "Schedule Type" as the wizard saves it.
enum class ScheduleType { NoSchedule = 1, Monthly = 2, WeekDays = 3, StartImmediately = 4 };

struct ScheduleJobOptions {
    bool stopAtCutOff = false;                   // `StopSchedule`
    std::string cutOffTime;                      // `StopScheduleTime`, "mm-dd-yyyy HH:mm:ss" or ""
    bool startMissed = false;                    // `STARTMISSEDSCH` and `StartMissedJob`
    bool pauseOnActivity = false;                // `BackupIdle` (Auto-Pause)
    bool desktopNotification = false;            // `DesktopNotification`
    bool recommended = false;                    // `Recomended`
    ScheduleType type = ScheduleType::WeekDays;  // `Schedule Type`
};

enum class StopRequest {
    NoScheduleFile,
    NotRunning,
    Requested,
    WriteFailed,  // the job runs, but the request could not be written: it goes on running
};

// The stop request for the named user's running job: `Status` "5", then `DLLStatus` "3" in that
// user's profile file. False when it could not be written whole.
bool WriteStopRequest(SharedValues& values, std::string_view userName);

class ScheduleJobOptionsStore {
  public:
    ScheduleJobOptionsStore(SharedValues& values, clsTransfer& transfer, ICodePage& codePage)
        : values_(values), transfer_(transfer), codePage_(codePage) {}

    // `StopSchedule` "1" with the cut-off time, or "0" with "".
    bool WriteStopSchedule(bool set, std::string_view cutOffTime);
    // `STARTMISSEDSCH` in UserName.ini and `StartMissedJob` in the search file (both search files
    // when the brand file is there), the same value.
    bool WriteStartMissedSchedule(bool start);
    bool WriteBackupIdle(bool pause);
    bool WriteDesktopNotification(bool show);
    bool WriteRecommended(bool recommended);
    // Obscured, as the engine reads it.
    bool WriteScheduleType(ScheduleType type);
    // The wizard's save: every option above. True when all were written.
    bool WriteAll(const ScheduleJobOptions& options);
    // The options as stored, for the wizard's opening: a box is ticked unless its value is "0" or empty.
    ScheduleJobOptions Read();

    // The stop command for the named user's running job: only while that user's schedule file
    // exists and its run marker is not "0" does it write `Status` "5" and then `DLLStatus` "3"
    // into that user's profile file; the engine stops the job when it sees them. The monitor does
    // not wait for the job to end.
    StopRequest RequestStop(std::string_view userName);

  private:
    SharedValues& values_;
    clsTransfer& transfer_;
    ICodePage& codePage_;
};

}  // namespace ovp
