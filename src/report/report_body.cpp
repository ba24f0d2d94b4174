#include "report/report_body.h"

#include <array>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "platform/service_manager.h"
#include "report/log_attachment.h"
#include "report/report_encoding.h"
#include "service/process_check.h"
#include "ui/schedule_status.h"

namespace ovp {

namespace c = contract;
using Path = std::filesystem::path;

namespace {

constexpr std::string_view kNotAvailable = "N/A";
constexpr std::string_view kOn = "1";
constexpr std::string_view kNtVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
constexpr std::string_view kOldVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
constexpr std::string_view kBrowserKey = "SOFTWARE\\Microsoft\\Internet Explorer\\";

// Lines joined by "\n".
class Lines {
  public:
    Lines& Add(std::string_view line) {
        if (!first_) {
            text_ += '\n';
        }
        first_ = false;
        text_ += line;
        return *this;
    }
    // A label and a value read by the program.
    Lines& Add(std::string_view label, std::string_view value) { return Add(std::string(label) + FormSafe(value)); }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    bool first_ = true;
};

struct LogFile {
    Path file;
    std::string header;
};

}  // namespace

bool IsUnlimitedQuota(double maxBytes) {
    return FormatSize(maxBytes, ".") == "30.0 GB";
}

std::string ErrorReportBody::ApplicationValue(std::string_view name) {
    SharedValues& values = context_.values;
    return values.ReadRegistry(RegistryRoot::CurrentUser, values.ApplicationKey(), name).AsText();
}

std::string ErrorReportBody::Version(const Path& file) {
    const std::string version = ResumeNextOr([&] { return system_.FileVersion(file); }, std::string());
    return version.empty() ? std::string(kNotAvailable) : version;
}

std::string ErrorReportBody::ProxyText() {
    return Trim(context_.transfer.Trf_ReadUserProfileIdle(c::kProxySet)) == "0" ? "Direct (No Proxy Server)"
                                                                                : "Connected via Proxy server";
}

std::string ErrorReportBody::QuotaLines() {
    const Quota quota = context_.values.ReadQuota();
    const std::string separator = locale_.DecimalSeparator();
    Lines lines;
    lines.Add("Used : ", FormatSize(quota.used, separator));
    if (IsUnlimitedQuota(quota.max)) {
        lines.Add("Max : Unlimited");
    } else {
        lines.Add("Max : ", FormatSize(quota.max, separator));
    }
    return lines.Text();
}

std::string ErrorReportBody::GetSystemSettings(const ReportForm& form) {
    SharedValues& values = context_.values;
    const bool nt = context_.ports.system.Version().nt;
    const std::string_view osKey = nt ? kNtVersionKey : kOldVersionKey;
    const auto machine = [&](std::string_view key, std::string_view name) {
        return ResumeNextOr([&] { return system_.SystemValue(key, name); }, std::string());
    };
    const std::string osName = machine(osKey, "ProductName") + " " + (system_.Is64BitSystem() ? "64 Bit" : "32 Bit");

    Lines lines;
    lines.Add("<<< USER FEEDBACK FROM ", DisplayName(context_.settings) + " version >>>" +
                                             ApplicationValue(c::kRegVersion) + " " +
                                             ApplicationValue(c::kRegReleaseDate));
    // This one line ends with CR LF, as the service's reader expects.
    std::string text = lines.Text() + "\nUser's Operating System:  " + FormSafe(osName) + "\r\n";
    Lines rest;
    rest.Add("OS Version: ", machine(osKey, nt ? "CurrentVersion" : "VersionNumber"))
        .Add("User's Browser: Internet Explorer version  ", machine(kBrowserKey, "Version"))
        .Add("Does the user connect through a proxy server? ", ProxyText())
        .Add("Username: ", values.CurrentUserName())
        .Add("User's e-mail address: ", form.email)
        .Add("User's Contact Phone Number:", form.contactNumber)
        .Add(QuotaLines())
        .Add("")
        .Add("User 's technical issues/comments/suggestions:");
    return text + rest.Text();
}

std::string ErrorReportBody::SettingsLines(bool withStatus) {
    SharedValues& values = context_.values;
    clsTransfer& transfer = context_.transfer;
    Lines lines;
    lines.Add("Backup when idle : ", values.ReadUserNameRegistry(c::kBackupIdle))
        .Add("Hibernation Mode Backup :  ", values.ReadUserNameRegistry(c::kStandbyBackup))
        .Add("Automatic power off after scheduled backup : ", transfer.Trf_ReadUserProfile(c::kShutdown))
        .Add("Start the missed scheduled backup when the computer is turned on : ",
             values.ReadUserNameRegistry(c::kStartMissedSch))
        .Add("Interactive : ", values.ReadUserNameOrvessa(c::kInteractive))
        .Add("Scheduled : ", values.ReadUserNameOrvessa(c::kScheduled))
        .Add("RealTimeBackup : ", values.ReadUserNameOrvessa(c::kRealTimeBackup))
        .Add("RTBPausedBySch : ", values.ReadUserNameOrvessa(c::kRTBPausedBySch))
        .Add("RTBackup : ", values.ReadUserNameOrvessa(c::kRTBackup))
        .Add("Standard : ", values.ReadUserNameOrvessa(c::kStandard))
        .Add("Started : ", values.ReadUserNameOrvessa(c::kStarted))
        .Add("BackupIdleState : ", values.ReadUserNameRegistry(c::kBackupIdleState))
        .Add("MappedDriveError : ", values.ReadUserNameRegistry(c::kMappedDriveError))
        .Add("StopSchedule : ", values.ReadUserNameRegistry(c::kStopSchedule))
        .Add("StopScheduleTime : ", values.ReadUserNameRegistry(c::kStopScheduleTime))
        .Add("AutoSync : ", transfer.Trf_ReadUserProfileIdle(c::kAutoSync))
        .Add("SchEndTime : ", values.ReadProfile(c::kBackupStatusSection, c::kSchEndTime))
        .Add("Application path : ", Utf8FromPath(context_.folders.AppFolder()));
    if (withStatus) {
        lines.Add("Scheduler Status : ", values.ReadProfile(c::kBackupStatusSection, c::kStatus));
    }
    return lines.Text();
}

std::string ErrorReportBody::FileSection(const Path& file, std::string_view header) {
    const auto text =
        ResumeNextOr([&] { return ReadLogForReport(file, context_.ports.codePage, context_.ports.clock, &bytesRead_); },
                     std::optional<std::string>());
    if (!text) {
        return {};
    }
    std::string section;
    section.reserve(header.size() + text->size() + 2);
    section.append(1, '\n').append(header).append(1, '\n').append(*text);
    return section;
}

std::string ErrorReportBody::LocaleLines(LocaleKind kind) {
    const LocaleDetails locale = ResumeNextOr([&] { return system_.Locale(kind); }, LocaleDetails{});
    return "Locale ID: " + FormSafe(locale.localeId) + "\r\nCountry: " + FormSafe(locale.country) + "  (" +
           FormSafe(locale.countryAbbreviation) + ")\r\nLanguage: " + FormSafe(locale.language) +
           "\r\nTime Format: " + FormSafe(locale.timeFormat) + "\r\nShort Date: " + FormSafe(locale.shortDate);
}

std::string ErrorReportBody::LocaleSection() {
    Lines lines;
    lines.Add("System language details:")
        .Add("Standards and format details:")
        .Add(LocaleLines(LocaleKind::Regional))
        .Add("Language for non-Unicode programs:")
        .Add(LocaleLines(LocaleKind::CodePage));
    return lines.Text();
}

std::string ErrorReportBody::ExeStatus() {
    const auto state = [](std::string_view name, bool running) {
        return FormSafe(name) + (running ? " is running" : " is not running");
    };
    const ExecutableNames& names = context_.names;
    IProcesses& processes = context_.ports.processes;
    const bool serviceRunning =
        ResumeNextOr([&] { return context_.serviceControl.ServiceState() == kServiceRunning; }, false);
    Lines lines;
    lines.Add("EXE Status ")
        .Add(state(names.service, serviceRunning))
        .Add(state(names.background, IsProcessRunning(processes, names.background)))
        .Add(state(names.classic, IsProcessRunning(processes, names.classic)));
    return lines.Text();
}

std::string ErrorReportBody::getLogFilesAsText() {
    const ExecutableNames& names = context_.names;
    const ProductSettings& settings = context_.settings;
    const Path app = context_.folders.AppFolder();
    const Path user = context_.values.UserFolder();
    const std::string& pin = settings.installationName;
    const auto exe = [&](std::string_view name) { return FormSafe(name) + " : " + Version(app / PathFromUtf8(name)); };
    const auto library = [&](std::string_view suffix) {
        const std::string name = pin + std::string(suffix);
        return FormSafe(name) + " : " + Version(app / PathFromUtf8(name));
    };

    Lines lines;
    lines.Add(" Version Information: ")
        .Add("Release Date : ", ApplicationValue(c::kRegReleaseDate))
        .Add(exe(names.background))
        .Add(exe(names.classic))
        .Add(library(c::kViewLibrarySuffix))
        .Add(exe(names.client))
        .Add(exe(names.service))
        .Add(library(c::kServiceLibrarySuffix))
        .Add(exe(names.backupSetSize))
        .Add(exe(names.contextMenu))
        .Add(library(c::kContextMenuLibrarySuffix))
        .Add(exe(names.registryToIni));

    const bool vista = IsVistaFamily(context_.ports.system.Version());
    if (Trim(ApplicationValue(c::kRegPluginFlag)) != kOn) {
        lines.Add(FormSafe(settings.productName) + " Explorer Plugin is not installed");
    } else {
        lines
            .Add(FormSafe(settings.productName) + " Explorer Plugin " +
                 FormSafe(ApplicationValue(c::kRegExplorerVersion)))
            .Add("Date: ", ApplicationValue(c::kRegExplorerReleaseDate))
            .Add(exe(vista ? c::kShellViewVistaLibrary : c::kShellViewLibrary));
    }
    lines.Add(SettingsLines(true));

    const Path shellLogFolder = vista ? system_.CommonAppDataFolder() / PathFromUtf8(c::kVendorDataFolder) /
                                            PathFromUtf8(settings.productName) / PathFromUtf8(c::kLogFolder)
                                      : app / PathFromUtf8(c::kLogFolder);
    const Path userLog = user / PathFromUtf8(c::kLogFolder);
    const auto in = [](const Path& folder, std::string_view name) { return folder / PathFromUtf8(name); };
    const std::array<LogFile, 15> files = {{
        {in(userLog, c::kBackupRestoreLogFile), "COMPLETE LOG"},
        {in(user, c::kEngineTraceFile), "TraceFile Contents *"},
        {in(shellLogFolder, c::kShellViewTraceFile), "Shell view contents"},
        {in(userLog, pin + std::string(c::kUserInterfaceTraceSuffix)), FormSafe(pin) + "\nUI contents"},
        {in(user, c::kInteractiveTraceFile), "ITrace contents"},
        {in(user, c::kServiceTraceFile), FormSafe(settings.productName) + " Classic contents"},
        {in(user, c::kContextMenuTraceFile), "ContextMenu TraceFile Contents"},
        {in(user, c::kScheduleTraceFile), "Schedule TraceFile Contents"},
        {in(app / PathFromUtf8(c::kLogFolder), c::kRealTimeTraceFile), "Continuous Backup trace"},
        {in(user, c::kTrayTraceFile), "Tray TraceFile Contents"},
        {in(app, c::kShadowCopyTraceFile), "VSS TraceFile Contents"},
        {in(user, c::kScheduleFile), "scheduleData contents"},
        {in(user, c::kWebManagementLogFile), FormSafe(settings.productName) + " Web Management Plugin Contents"},
        {in(user, c::kBackupFolderListFile), "Default backupset contents"},
        {in(user, c::kAutoFileSelectionFile), "Automatic selection contents: "},
    }};
    std::string text = lines.Text();
    for (const LogFile& log : files) {
        text += FileSection(log.file, log.header);
    }
    Lines tail;
    tail.Add(QuotaLines())
        .Add(LocaleSection())
        .Add(ExeStatus())
        .Add("IP Address : ", context_.transfer.Trf_ReadUserProfile(c::kServerIp))
        .Add("Port : ", context_.transfer.Trf_ReadUserProfile(c::kPort))
        .Add("Auto Pause : ", context_.values.ReadUserNameRegistry(c::kBackupIdle))
        .Add("Auto Pause Value : ", context_.values.ReadUserNameRegistry(c::kBackupIdleState))
        .Add("Bandwidth : ", context_.values.ReadUserNameRegistry(c::kBandwidth));
    return text + "\n" + tail.Text();
}

std::string ErrorReportBody::getLogFileAsTextProf() {
    const Path data = context_.folders.AppFolder() / PathFromUtf8(c::kBrandDataFolder);
    const Path server = data / PathFromUtf8(c::kBrandServerFolder);
    const auto in = [](const Path& folder, std::string_view name) { return folder / PathFromUtf8(name); };
    const std::array<LogFile, 15> files = {{
        {in(data / PathFromUtf8(c::kLogFolder), c::kBackupRestoreLogFile), ""},
        {in(data, c::kEngineTraceFile), "TraceFile contents"},
        {in(data, c::kTrayTraceFile), "Tray TraceFile contents"},
        {in(data, c::kContextMenuTraceFile), "Context menu tracefile contents"},
        {in(data, c::kScheduleTraceFile), "ScheduleTraceFile contents"},
        {in(server, c::kSqlBackupTraceFile), "SQL Backup Trace file contents"},
        {in(server, c::kSqlTraceFile), "SQLTraceFile contents"},
        {in(server, c::kExchangeBackupTraceFile), "Exchange Backup Trace file contents"},
        {in(server, c::kExchangeBackupSetFile), "Exchange server Backupset file contents"},
        {in(data, c::kServiceTraceFile), "Advanced SerTrace file contents"},
        {in(data, c::kSystemStateTraceFile), "System state Trace file contents"},
        {in(data, c::kShadowCopyTraceFile), "VSS TraceFile Contents"},
        {in(data, c::kScheduleFile), "scheduleData contents"},
        {in(data, c::kWebManagementLogFile),
         FormSafe(context_.settings.productName) + " Web Management Plugin Contents"},
        {in(data, c::kBackupFolderListFile), "Default backupset contents"},
    }};
    std::string text = SettingsLines(false);
    for (const LogFile& log : files) {
        text += FileSection(log.file, log.header);
    }
    Lines tail;
    tail.Add(LocaleSection())
        .Add(ExeStatus())
        .Add("IP Address : ", context_.transfer.Trf_ReadUserProfile(c::kServerIp))
        .Add("Port : ", context_.transfer.Trf_ReadUserProfile(c::kPort));
    return text + "\n" + tail.Text();
}

std::string ErrorReportBody::Attachment() {
    return IsBrandProduct(context_.settings) ? getLogFileAsTextProf() : getLogFilesAsText();
}

std::string ErrorReportBody::Build(const ReportForm& form, bool attachLogs) {
    std::string body = ResumeNextOr([&] { return GetSystemSettings(form); }, std::string()) + "\r\n" +
                       EncodeMessageLines(form.message);
    if (attachLogs) {
        const std::string attachment = ResumeNextOr([&] { return Attachment(); }, std::string());
        if (!attachment.empty()) {
            body += "\r\n\r\n" + std::string(kLogStartsHere) + "\r\n\r\n" + attachment;
        }
    }
    return body;
}

}  // namespace ovp
