#include "app/missed_backup_watcher.h"

#include <algorithm>
#include <utility>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "service/process_check.h"

namespace ovp {

namespace c = contract;

namespace {

// The version texts as the comparison sees them: lower case, without line feeds.
std::string ComparableVersion(std::string_view version) {
    std::string text = ToLowerAscii(version);
    std::erase(text, '\n');
    return text;
}

}  // namespace

CheckMoment MomentOf(const DateTime& at) {
    return {at.year, at.month, at.day, at.hour, at.minute};
}

bool IsCheckDue(const CheckMoment& stored, const DateTime& now) {
    return MomentOf(now) >= stored || stored > MomentOf(now.AddDays(1).AddMinutes(1));
}

CheckMoment NextCheckAfter(const DateTime& now) {
    const DateTime tomorrow = now.AddDays(1);
    return {tomorrow.year, tomorrow.month, tomorrow.day, now.hour, now.minute};
}

MissedBackupWatcher::MissedBackupWatcher(AppContext& context, IMissedBackupWarning& warning)
    : context_(context), warning_(warning) {
    ResumeNext([&] {
        if (context_.knownVersion.empty()) {
            context_.knownVersion = ReadInstalledVersion();
        }
    });
}

bool IsSystemAccount(std::string_view userName) {
    // Account names compare without case on Windows; "SYSTEM", "System" and "system" are the
    // spellings seen, and no other account can be named like it.
    return EqualsNoCase(userName, "SYSTEM");
}

void MissedBackupWatcher::Tick() noexcept {
    ResumeNext([&] { EndSizeToolWithoutClassic(); });
    ResumeNext([&] { HandleSystemAccountLogOff(); });
    ResumeNext([&] { KeepBackgroundRunning(); });
    ResumeNext([&] { WatchService(); });
    std::string installedVersion;
    ResumeNext([&] { installedVersion = ReadInstalledVersion(); });
    ResumeNext([&] { DailyMissedBackupCheck(installedVersion); });
    ResumeNext([&] { RecreateMissingDefaultFiles(); });
}

void MissedBackupWatcher::EndSizeToolWithoutClassic() {
    IProcesses& processes = context_.ports.processes;
    if (!IsProcessRunning(processes, context_.names.classic)) {
        EndProcessesNamed(processes, context_.names.backupSetSize);
    }
}

void MissedBackupWatcher::HandleSystemAccountLogOff() {
    SharedValues& values = context_.values;
    const std::string logOff = values.ReadUserNameRegistry(c::kLogOff);
    const std::string standby = values.ReadUserNameRegistry(c::kStandbyBackup);
    if (logOff == "1" && standby != "0" && IsSystemAccount(context_.ports.system.ProcessUserName())) {
        values.WriteUserNameRegistry(c::kLogOff, "0");
        values.WriteUserNameRegistry(c::kTray, c::kTrayLoggedOffSystem);
    }
}

void MissedBackupWatcher::KeepBackgroundRunning() {
    if (context_.values.ReadUserNameRegistry(c::kTray) == c::kTrayStartBackground) {
        context_.serviceControl.LaunchBackground();
    }
}

void MissedBackupWatcher::WatchService() {
    if (!IsVistaFamily(context_.ports.system.Version())) {
        context_.serviceControl.ServiceStartIfNeeded();
        return;
    }
    // Two steps of one per tick, each tested: the service is looked at every fifth tick (every
    // 100 seconds), where each look may ask the user for administrator rights.
    int& counter = context_.serviceRetryCounter;
    for (int step = 0; step < 2; ++step) {
        if (++counter >= kServiceRetryLimit) {
            counter = 0;
            context_.serviceControl.ServiceStartIfNeeded();
            return;
        }
    }
}

std::string MissedBackupWatcher::ReadInstalledVersion() {
    SharedValues& values = context_.values;
    return values.ReadRegistry(RegistryRoot::CurrentUser, values.ApplicationKey(), c::kRegVersion).AsText();
}

void MissedBackupWatcher::DailyMissedBackupCheck(const std::string& installedVersion) {
    const DateTime now = context_.ports.clock.Now();
    if (!IsCheckDue(ReadCheckMoment(now), now)) {
        return;
    }
    const std::string tray = Trim(context_.values.ReadUserNameRegistry(c::kTray));
    if (!tray.empty() && tray != c::kTrayStartBackground) {
        return;
    }
    // Without a logged-in user the profile would be the start folder's, which counts nothing.
    if (!TrimWhitespace(context_.values.CurrentUserName()).empty()) {
        ResumeNext([&] { WarnAboutMissedBackups(); });
    }
    ResumeNext([&] { NoteVersionChange(installedVersion); });
    StoreCheckMoment(NextCheckAfter(now));
}

void MissedBackupWatcher::WarnAboutMissedBackups() {
    SharedValues& values = context_.values;
    const std::int64_t missed = ParseIntegerOr(values.ReadProfile(c::kBackupStatusSection, c::kBackupFailureDays), 0);
    const std::int64_t limit =
        ParseIntegerOr(values.ReadProfile(c::kBackupStatusSection, c::kUserDays), kDefaultWarningDays);
    // A limit of 0 or less is reached by no missed day at all, and would warn every day about
    // "0 day(s)".
    if (missed < std::max<std::int64_t>(limit, 1)) {
        return;
    }
    values.WriteProfile(c::kBackupStatusSection, c::kBackupFailureDays, "0");
    if (Trim(values.ReadProfile(c::kBackupStatusSection, c::kUserDaysEnabled)) != "0") {
        warning_.ShowMissedBackups(missed);
    }
}

void MissedBackupWatcher::NoteVersionChange(const std::string& installedVersion) {
    if (ComparableVersion(installedVersion) != ComparableVersion(context_.knownVersion)) {
        context_.trace.Info("Checking if the " + Utf8FromPath(context_.folders.AppFolder()) + "\\" +
                            std::string(c::kNewVersionPackage) + " exists");
    }
}

CheckMoment MissedBackupWatcher::ReadCheckMoment(const DateTime& now) {
    const CheckMoment current = MomentOf(now);
    const auto part = [&](std::string_view key, std::int64_t nowPart) -> std::int64_t {
        return ParseIntegerOr(context_.values.ReadUserNameOrvessa(key), nowPart);
    };
    return {part(c::kTrayIconYear, current.year), part(c::kTrayIconMonth, current.month),
            part(c::kTrayIconDay, current.day), part(c::kTrayIconHour, current.hour),
            part(c::kTrayIconMinute, current.minute)};
}

void MissedBackupWatcher::StoreCheckMoment(const CheckMoment& moment) {
    SharedValues& values = context_.values;
    values.WriteUserNameOrvessa(c::kTrayIconDay, std::to_string(moment.day));
    values.WriteUserNameOrvessa(c::kTrayIconMonth, std::to_string(moment.month));
    values.WriteUserNameOrvessa(c::kTrayIconYear, std::to_string(moment.year));
    values.WriteUserNameOrvessa(c::kTrayIconHour, std::to_string(moment.hour));
    values.WriteUserNameOrvessa(c::kTrayIconMinute, std::to_string(moment.minute));
}

void MissedBackupWatcher::RecreateMissingDefaultFiles() {
    // The form reads the interactive user for itself and changes no name the monitor keeps: the
    // current user is read afresh wherever it is needed, so there is nothing to restore after it.
    context_.DefaultFilesForm().Form_Load();
}

}  // namespace ovp
