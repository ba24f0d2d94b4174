#include "app/tray_status_monitor.h"

#include <array>
#include <exception>
#include <limits>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "commands/continuous_backup.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "scheduler/job_control.h"
#include "scheduler/schedule_file.h"
#include "ui/schedule_status.h"

namespace ovp {

namespace c = contract;

namespace {

// Pictures of the images folder.
constexpr std::string_view kRunningIcon = "ovlogyellow.ico";
constexpr std::string_view kBrandRunningIcon = "ovlogyellowp.ico";
constexpr std::string_view kFailureIcon = "ovlogred.ico";
constexpr std::string_view kCompletedIcon = "ovloggreen.ico";
constexpr std::array<std::string_view, 2> kContinuousIcons = {"CDPBlue1.ico", "CDPBlue2.ico"};
constexpr std::array<std::string_view, 2> kQuotaIcons = {"QExceed1.ico", "QExceed2.ico"};

// Localised texts and their English defaults.
constexpr int kQuotaExceededTextId = 463;
constexpr std::string_view kQuotaExceededText = "Quota Exceeded. Upgrade Now!";
constexpr int kScheduledRunningTextId = 1594;
constexpr std::string_view kScheduledRunningText = "The scheduled backup job is in progress";
constexpr int kNoScheduleTextId = 988;
constexpr std::string_view kNoScheduleText = "No backup has been scheduled.";
constexpr int kScheduleDisabledTextId = 987;
constexpr int kContinuousRunningTextId = 1620;
constexpr std::string_view kContinuousRunningText = "Continuous Backup is in progress";
constexpr int kContinuousFailedTextId = 1621;
constexpr std::string_view kContinuousFailedText = "Continuous Backup has failed";
constexpr int kContinuousCancelledTextId = 1622;
constexpr std::string_view kContinuousCancelledText = "CDP Backup canceled by user";

constexpr std::string_view kFailurePrefix = "Unable to stop exe. \r\nReason: ";
// "StatusMessageIndicaton" when the engine's last message is the quota message.
constexpr std::string_view kQuotaMessageIndicator = "2";
constexpr int kMaxContinuousState = 10;

// The first two lines of the schedule file: the run marker and the first record.
struct ScheduleHead {
    std::string marker;
    std::string firstRecord;
};

// nullopt when the file is missing. A file that is there but cannot be read has empty lines, as
// it has for a moment while the engine rewrites it.
std::optional<ScheduleHead> ScheduleHeadOf(const ScheduleFileReading& schedule) {
    if (!schedule.exists) {
        return std::nullopt;
    }
    ScheduleHead head;
    if (!schedule.bytes) {
        return head;
    }
    std::string_view rest = *schedule.bytes;
    const auto nextLine = [&rest]() {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.remove_suffix(1);
        }
        return std::string(line);
    };
    head.marker = nextLine();
    head.firstRecord = nextLine();
    return head;
}

}  // namespace

std::optional<std::int16_t> ParseDllStatus(std::string_view text) {
    const std::optional<long long> value = ParseInteger(text);
    if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
        *value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*value);
}

int ParseContinuousBackupState(std::string_view text) {
    const long long value = ParseIntegerOr(text, c::kRTBackupIdle);
    return value < 0 || value > kMaxContinuousState ? c::kRTBackupIdle : static_cast<int>(value);
}

TrayStatusMonitor::TrayStatusMonitor(AppContext& context, ITrayIcon& tray, IStatusWindowHost& statusWindow)
    : context_(context),
      tray_(tray),
      statusWindow_(statusWindow),
      state_(context.trayStatus),
      profiles_(context.ports.profiles),
      user_(profiles_, context.folders),
      values_(context.ports.registry, profiles_, context.folders, user_, context.trace),
      transfer_(profiles_, context.folders, context.settings.productName, user_, context.trace) {}

void TrayStatusMonitor::Tick() noexcept {
    inTick_ = true;
    profiles_.Open();
    schedule_.reset();
    try {
        RunSteps();
    } catch (const std::exception& error) {
        TraceFailure(error.what());
    } catch (...) {
        TraceFailure("unknown error");
    }
    profiles_.Close();
    schedule_.reset();
    inTick_ = false;
    ShowPending();
}

void TrayStatusMonitor::ShowPending() noexcept {
    try {
        if (pendingIcon_) {
            tray_.SetIcon(*pendingIcon_);
        }
        if (pendingTip_) {
            tray_.SetTip(*pendingTip_);
        }
    } catch (...) {
    }
    pendingIcon_.reset();
    pendingTip_.reset();
}

void TrayStatusMonitor::RunSteps() {
    DeleteQuotaMarkerWhenBelowMax();
    ReleaseKeepAwake();
    RequestKeepAwake();
    TakeScheduledJobState();
    ShowScheduleState();
    ShowLastBackupResult();
    OpenStatusWindowWhenAsked();
    TakeEngineReport();
    TakeContinuousBackupState();
    ShowContinuousBackup();
    ShowQuotaExceeded();
    ShowQuotaTip();
}

// ---- The steps ----------------------------------------------------------------------------------

void TrayStatusMonitor::DeleteQuotaMarkerWhenBelowMax() {
    const Quota quota = values_.ReadQuota();
    if (quota.max > quota.used && QuotaMarkerExists()) {
        // A marker that cannot go now is tried again at the next tick.
        DeleteFileIfExists(QuotaMarkerFile());
    }
}

void TrayStatusMonitor::ReleaseKeepAwake() {
    if (state_.keepAwake && TrimWhitespace(values_.ReadUserNameOrvessa(c::kStarted)) != "0") {
        context_.ports.power.RequestExecutionState(ExecutionRequest::ContinuousOnly);
        state_.keepAwake = false;
    }
}

void TrayStatusMonitor::RequestKeepAwake() {
    const std::string standby = TrimWhitespace(values_.ReadUserNameRegistry(c::kStandbyBackup));
    if ((standby.empty() || standby == "1") && TrimWhitespace(values_.ReadUserNameOrvessa(c::kStarted)) != "1") {
        context_.ports.power.RequestExecutionState(ExecutionRequest::SystemRequiredOnce);
        state_.keepAwake = true;
    }
}

void TrayStatusMonitor::TakeScheduledJobState() {
    state_.TrayStateCode = IsScheduledJobRunning(values_, context_.jobMemory);
    OnScheduledJobTest(context_, state_.TrayStateCode);
}

void TrayStatusMonitor::ShowScheduleState() {
    if (state_.TrayStateCode != kTrayStateScheduledRunning) {
        SetTrayIcon(BrandedPicture(kNormalIconFile));
        state_.scheduleBlink = false;
        SetTrayTip(GetTrayTipText());
        if (QuotaMarkerExists()) {
            SetTrayTip(QuotaText());
        }
        return;
    }
    SetTrayTip(context_.settings.productName + " - " + Text(kScheduledRunningTextId, kScheduledRunningText) + "...");
    if (!state_.scheduleBlink) {
        SetTrayIcon(Picture(context_.settings.brandFileApplied ? kBrandRunningIcon : kRunningIcon));
        state_.scheduleBlink = true;
    } else {
        SetTrayIcon(BrandedPicture(kNormalIconFile));
        state_.scheduleBlink = false;
    }
}

void TrayStatusMonitor::ShowLastBackupResult() {
    if (TrimWhitespace(ReadBackupStatus(c::kRetValue)).empty()) {
        return;
    }
    const std::optional<std::int16_t> report = ReadDllStatus();
    if (!report || *report == 0) {
        return;
    }
    if (*report == kTrayStateFailure) {
        SetTrayIcon(BrandedPicture(kFailureIcon));
        SetTrayTip(QuotaMarkerExists() ? QuotaText() : GetTrayTipText());
    } else if (!ScheduledJobMarked()) {
        SetTrayIcon(BrandedPicture(kCompletedIcon));
        SetTrayTip(GetTrayTipText());
    }
}

void TrayStatusMonitor::OpenStatusWindowWhenAsked() {
    if (TrimWhitespace(ReadBackupStatus(c::kStatusWindow)) != "1") {
        return;
    }
    values_.WriteProfile(c::kBackupStatusSection, c::kStatusWindow, "0");
    statusWindow_.ShowStatusWindow();
    // The window reads and writes the same files past this tick's snapshot: the rest of the tick
    // reads them afresh.
    profiles_.Open();
    schedule_.reset();
}

void TrayStatusMonitor::TakeEngineReport() {
    state_.TrayStateCode = ReadDllStatus().value_or(kTrayStateIdle);
    if (state_.TrayStateCode == kTrayStateScheduledRunning && Schedule().exists) {
        ResetShadowCopyStatusFiles();
        values_.WriteProfile(c::kBackupStatusSection, c::kStatus, c::kStatusScheduledRunning);
        values_.WriteProfile(c::kBackupStatusSection, c::kDllStatus, c::kDllStatusNothing);
        // Read again: the engine may have reported anew since the first read.
        state_.TrayStateCode = ReadDllStatus().value_or(kTrayStateIdle);
    }
    if (state_.TrayStateCode == kTrayStateScheduledEnded) {
        context_.jobMemory.retValue = ParseIntegerOr(ReadBackupStatus(c::kRetValue), 0);
        values_.WriteProfile(c::kBackupStatusSection, c::kDllStatus, c::kDllStatusNothing);
        context_.ports.clock.Sleep(kBackupEndedWaitMs);
    }
}

void TrayStatusMonitor::TakeContinuousBackupState() {
    const int continuous = ParseContinuousBackupState(values_.ReadUserNameOrvessa(c::kRTBackup));
    if (continuous == c::kRTBackupIdle) {
        state_.continuousSeenActive = false;
        state_.continuousSeenIdle = true;
        return;
    }
    state_.TrayStateCode = static_cast<std::int16_t>(kTrayStateContinuousBase + continuous);
    if (continuous != c::kRTBackupInProgress) {
        state_.continuousSeenActive = false;
        return;
    }
    if (!state_.continuousSeenActive) {
        state_.continuousSeenActive = true;
        state_.continuousSeenIdle = false;
        context_.ports.clock.Sleep(kContinuousStartWaitMs);
    }
}

void TrayStatusMonitor::ShowContinuousBackup() {
    const int code = state_.TrayStateCode;
    if (code <= kTrayStateContinuousBase || code > kTrayStateContinuousBase + kMaxContinuousState) {
        return;
    }
    const std::string& productName = context_.settings.productName;
    switch (code - kTrayStateContinuousBase) {
        case c::kRTBackupInProgress:
            if (!state_.continuousBlink) {
                SetTrayIcon(Picture(kContinuousIcons[0]));
                SetTrayTip(
                    WithProductName(DisplayName(context_.settings), kContinuousRunningTextId, kContinuousRunningText));
                state_.continuousBlink = true;
            } else {
                SetTrayIcon(Picture(kContinuousIcons[1]));
                SetTrayTip(WithProductName(productName, kContinuousRunningTextId, kContinuousRunningText));
                state_.continuousBlink = false;
            }
            break;
        case c::kRTBackupCancelled:
            SetTrayIcon(BrandedPicture(kFailureIcon));
            SetTrayTip(WithProductName(productName, kContinuousCancelledTextId, kContinuousCancelledText));
            break;
        case c::kRTBackupQuotaExceeded:
            if (!QuotaMarkerExists()) {
                AppendFileBytes(QuotaMarkerFile(), "");
            }
            break;
        default:
            SetTrayIcon(BrandedPicture(kFailureIcon));
            SetTrayTip(WithProductName(productName, kContinuousFailedTextId, kContinuousFailedText));
            break;
    }
}

void TrayStatusMonitor::ShowQuotaExceeded() {
    if (user_.CurrentUserName().empty() || !QuotaMarkerExists() || values_.ConnectionStatus() == 0) {
        return;
    }
    SetTrayTip(QuotaText());
    SetTrayIcon(Picture(kQuotaIcons[state_.quotaBlink ? 1 : 0]));
    state_.quotaBlink = !state_.quotaBlink;
}

void TrayStatusMonitor::ShowQuotaTip() {
    if (QuotaMarkerExists()) {
        SetTrayTip(QuotaText());
    }
}

// ---- Tray icon and tooltip ----------------------------------------------------------------------

void TrayStatusMonitor::SetTrayIcon(const std::filesystem::path& iconFile) {
    if (!FileExists(iconFile)) {
        return;
    }
    pendingIcon_ = iconFile;
    if (!inTick_) {
        ShowPending();
    }
}

void TrayStatusMonitor::SetTrayTip(std::string_view text) {
    pendingTip_ = CutTrayTip(text);
    if (!inTick_) {
        ShowPending();
    }
}

std::string TrayStatusMonitor::GetTrayTipText() {
    const std::optional<ScheduleHead> head = ScheduleHeadOf(Schedule());
    if (!head) {
        return Text(kNoScheduleTextId, kNoScheduleText);
    }
    if (!IsIdleRunMarker(head->marker)) {
        return {};
    }
    if (ScheduleDisabled()) {
        const std::string& productName = context_.settings.productName;
        return Text(kScheduleDisabledTextId,
                    "You have disabled the scheduled backup from the " + productName + " tray menu.");
    }
    if (TrimWhitespace(head->firstRecord).empty()) {
        return Text(kNoScheduleTextId, kNoScheduleText);
    }
    // The quota message needs no date, so the schedule is only looked up without it.
    if (TrimWhitespace(ReadBackupStatus(c::kStatusMessageIndicaton)) == kQuotaMessageIndicator) {
        return QuotaText();
    }
    const NextSchedule next =
        GetScheduleDate(values_, transfer_, context_.settings, context_.ports.codePage, &Schedule());
    return GetTimeDifference(next.nextRun, values_, context_.ports.clock.Now(),
                             LocalisedTimeWords(context_.texts, context_.settings.productName))
        .sentence;
}

// ---- Helpers ------------------------------------------------------------------------------------

void TrayStatusMonitor::ResetShadowCopyStatusFiles() {
    for (const std::string_view name : {c::kShadowCopyStatusFile, c::kShadowCopyStatusDllFile}) {
        // Not retried: the report that asked for it is taken now. The failure goes to the trace
        // and the tick goes on, so the display follows the engine all the same.
        if (!ReplaceFileBytes(context_.folders.AppFolder() / PathFromUtf8(name), "0\r\n")) {
            TraceFailure("could not write " + std::string(name));
        }
    }
}

std::optional<std::int16_t> TrayStatusMonitor::ReadDllStatus() {
    return ParseDllStatus(ReadBackupStatus(c::kDllStatus));
}

std::string TrayStatusMonitor::ReadBackupStatus(std::string_view key) {
    return values_.ReadProfile(c::kBackupStatusSection, key);
}

bool TrayStatusMonitor::ScheduledJobMarked() {
    const std::optional<ScheduleHead> head = ScheduleHeadOf(Schedule());
    return head && !IsIdleRunMarker(head->marker);
}

bool TrayStatusMonitor::ScheduleDisabled() {
    return EqualsNoCase(TrimWhitespace(transfer_.Trf_ReadUserProfile(c::kScheduleDisable)), "TRUE");
}

std::filesystem::path TrayStatusMonitor::ScheduleFile() {
    return ScheduleFilePath(values_.UserFolder());
}

const ScheduleFileReading& TrayStatusMonitor::Schedule() {
    if (!schedule_ || !inTick_) {
        schedule_ = ReadScheduleFile(ScheduleFile());
    }
    return *schedule_;
}

std::filesystem::path TrayStatusMonitor::QuotaMarkerFile() {
    return values_.UserFolder() / PathFromUtf8(c::kQuotaExceededFile);
}

bool TrayStatusMonitor::QuotaMarkerExists() {
    return FileExists(QuotaMarkerFile());
}

std::filesystem::path TrayStatusMonitor::Picture(std::string_view name) const {
    return context_.folders.ImagesFolder() / PathFromUtf8(name);
}

std::filesystem::path TrayStatusMonitor::BrandedPicture(std::string_view name) const {
    return ovp::BrandedPicture(context_.settings, context_.folders.ImagesFolder(), name);
}

std::string TrayStatusMonitor::Text(int id, std::string_view english) {
    return LocaleStringOr(context_.texts, id, english, context_.settings.productName);
}

std::string TrayStatusMonitor::QuotaText() {
    return Text(kQuotaExceededTextId, kQuotaExceededText);
}

std::string TrayStatusMonitor::WithProductName(std::string_view productName, int id, std::string_view english) {
    return std::string(productName) + " - " + Text(id, english);
}

void TrayStatusMonitor::TraceFailure(std::string_view reason) noexcept {
    ResumeNext([&] { context_.trace.WriteTrace(std::string(kFailurePrefix) + std::string(reason)); });
}

}  // namespace ovp
