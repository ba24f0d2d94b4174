#include "scheduler/job_options.h"

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "scheduler/schedule_file.h"

namespace ovp {

namespace c = contract;

namespace {

std::string_view Flag(bool set) {
    return set ? "1" : "0";
}

// The wizard opens a box ticked unless its value is "0" or empty, and the engine reads the values
// the same way: one rule for every reader.
bool IsSet(std::string_view stored) {
    const std::string value = Trim(stored);
    return !value.empty() && value != "0";
}

}  // namespace

bool ScheduleJobOptionsStore::WriteStopSchedule(bool set, std::string_view cutOffTime) {
    const bool flag = values_.WriteUserNameRegistry(c::kStopSchedule, Flag(set));
    const bool time = values_.WriteUserNameRegistry(c::kStopScheduleTime, set ? cutOffTime : std::string_view());
    return flag && time;
}

bool ScheduleJobOptionsStore::WriteStartMissedSchedule(bool start) {
    const bool registry = values_.WriteUserNameRegistry(c::kStartMissedSch, Flag(start));
    // The brand product's engine reads its own search file: with a brand file both get the value.
    const bool search = transfer_.Trf_WriteSearchUserNameProfile(c::kStartMissedJob, Flag(start));
    return registry && search;
}

bool ScheduleJobOptionsStore::WriteBackupIdle(bool pause) {
    return values_.WriteUserNameRegistry(c::kBackupIdle, Flag(pause));
}

bool ScheduleJobOptionsStore::WriteDesktopNotification(bool show) {
    return values_.WriteProfile(c::kBackupStatusSection, c::kDesktopNotification, Flag(show));
}

bool ScheduleJobOptionsStore::WriteRecommended(bool recommended) {
    return transfer_.Trf_WriteUserProfileDefault(c::kOrvessaSection, c::kRecomended, Flag(recommended));
}

bool ScheduleJobOptionsStore::WriteScheduleType(ScheduleType type) {
    return transfer_.Trf_WriteUserProfile(c::kScheduleType, std::to_string(static_cast<int>(type)));
}

bool ScheduleJobOptionsStore::WriteAll(const ScheduleJobOptions& options) {
    // Every option is attempted even when an earlier one fails: a half-saved set is better than
    // one that silently stops at the first locked file.
    bool ok = WriteStopSchedule(options.stopAtCutOff, options.cutOffTime);
    ok = WriteStartMissedSchedule(options.startMissed) && ok;
    ok = WriteBackupIdle(options.pauseOnActivity) && ok;
    ok = WriteDesktopNotification(options.desktopNotification) && ok;
    ok = WriteRecommended(options.recommended) && ok;
    ok = WriteScheduleType(options.type) && ok;
    return ok;
}

ScheduleJobOptions ScheduleJobOptionsStore::Read() {
    ScheduleJobOptions options;
    options.stopAtCutOff = IsSet(values_.ReadUserNameRegistry(c::kStopSchedule));
    options.cutOffTime = options.stopAtCutOff ? Trim(values_.ReadUserNameRegistry(c::kStopScheduleTime)) : "";
    options.startMissed = IsSet(values_.ReadUserNameRegistry(c::kStartMissedSch));
    options.pauseOnActivity = IsSet(values_.ReadUserNameRegistry(c::kBackupIdle));
    options.desktopNotification = IsSet(values_.ReadProfile(c::kBackupStatusSection, c::kDesktopNotification));
    options.recommended = IsSet(transfer_.Trf_ReadOutputValue(c::kOrvessaSection, c::kRecomended));
    const long long type = ParseIntegerOr(transfer_.Trf_ReadUserProfile(c::kScheduleType), 0);
    if (type >= 1 && type <= 4) {
        options.type = static_cast<ScheduleType>(type);
    }
    return options;
}

StopRequest ScheduleJobOptionsStore::RequestStop(std::string_view userName) {
    if (TrimWhitespace(userName).empty()) {
        return StopRequest::NoScheduleFile;
    }
    const auto file = ScheduleFilePath(values_.UserFolderOf(userName));
    if (!FileExists(file)) {
        return StopRequest::NoScheduleFile;
    }
    if (IsIdleRunMarker(Readfirstline(file, codePage_))) {
        return StopRequest::NotRunning;
    }
    return WriteStopRequest(values_, userName) ? StopRequest::Requested : StopRequest::WriteFailed;
}

bool WriteStopRequest(SharedValues& values, std::string_view userName) {
    // The order matters: the engine acts on `DLLStatus` "3" once `Status` says "stop"; "3" without
    // "5" would read as a failed job, not a stop.
    return values.WriteProfileOf(userName, c::kBackupStatusSection, c::kStatus, c::kStatusStopRequest) &&
           values.WriteProfileOf(userName, c::kBackupStatusSection, c::kDllStatus, c::kDllStatusFailed);
}

}  // namespace ovp
