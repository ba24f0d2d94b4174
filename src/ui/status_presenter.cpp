#include "ui/status_presenter.h"

#include <algorithm>
#include <cmath>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "net/web_link.h"
#include "scheduler/schedule_file.h"
#include "ui/captions.h"
#include "ui/schedule_status.h"

namespace ovp {

namespace c = contract;

namespace {

// Localised text ids of the window's texts.
constexpr int kTextDisabledFromTray = 987;
constexpr int kTextNoSchedule = 988;
constexpr int kTextInProgress = 1594;
constexpr int kTextTitleSuffix = 5001;
constexpr int kTextCheckbox = 5002;
constexpr int kTextViewLog = 5003;
constexpr int kTextClose = 5004;
constexpr int kTextAccountName = 5005;
constexpr int kTextSpaceUsed = 5006;
constexpr int kTextOutOf = 5007;
constexpr int kTextFailed = 5008;
constexpr int kTextQuotaExhausted = 5009;
constexpr int kTextNotLoggedIn = 5010;
constexpr int kTextUpgradeTip = 5011;

constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kQuotaIndicator = "2";
// SchStatus.txt holds one line; a file far larger is not the engine's message.
constexpr std::uintmax_t kMaxStatusFileBytes = 64u * 1024u;
constexpr int kFullBar = 100;
constexpr int kRedAbovePercent = 90;

constexpr std::string_view kTraceLoaded = "   [INFORMATION] Loaded Status Form";
constexpr std::string_view kTraceQuotaIsExceeded = "   [INFORMATION] Form-Load Quota is exceeded";
constexpr std::string_view kTraceQuotaExceeded = "   [INFORMATION] Form-Load: Quota Exceeded";
constexpr std::string_view kTraceInProgress = "   [INFORMATION] Form-Load: Schedule backup in progress.";
constexpr std::string_view kTraceNoFile = "   [INFORMATION] Form-Load: No schedule Data File";
constexpr std::string_view kTraceNoFileNoSchedule = "   [INFORMATION] Form-Load: No schedule data file";
constexpr std::string_view kTraceNoFileDisabled = "   [INFORMATION] Form-Load: Scheduler is disabled";
constexpr std::string_view kTraceNoTime = "   [INFORMATION] Form-Load: schedule Data Exists but no schedule Time";
constexpr std::string_view kTraceNoTimeDisabled = "   [INFORMATION] Form-Load: scheduler is disabled";
constexpr std::string_view kTraceConsumed = "   [INFORMATION] Form-Load: Backup completed 30min ago";
constexpr std::string_view kTraceRecent = "   [INFORMATION] Form-Load: Backup completed just before 30min ";
constexpr std::string_view kTraceViewLogEntered = "   [INFORMATION] Entered into View-Log Click Event";
constexpr std::string_view kTraceViewLogChanged = "   [INFORMATION] Viewed the Log.So, Change Status Message";
constexpr std::string_view kTraceViewLogDone = "   [INFORMATION] Completed View-Log functionality";

bool IsPlanSize(double bytes) {
    return std::find(std::begin(kQuotaPlanSizes), std::end(kQuotaPlanSizes), bytes) != std::end(kQuotaPlanSizes);
}

std::string FirstLine(std::string_view text) {
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

}  // namespace

struct frmStatus::Evaluation {
    StatusViewState state;
    std::vector<std::string> traces;
    NextSchedule next;
    bool quotaExhausted = false;
};

void frmStatus::Form_Load() {
    ResumeNext([&] {
        consumedMessage_.clear();
        Evaluate(true);
        Trace(kTraceLoaded);
    });
}

void frmStatus::frmStatusTimer_Timer() {
    ResumeNext([&] { Evaluate(false); });
}

void frmStatus::Cmd_Yes_Click() {
    ResumeNext([&] { ViewLog(); });
}

void frmStatus::imgViewLog_Click() {
    ResumeNext([&] { ViewLog(); });
}

void frmStatus::Cmd_No_Click() {
    ResumeNext([&] { view_.Close(); });
}

void frmStatus::chkDesNotify1_Click(bool checked) {
    ResumeNext([&] {
        context_.values.WriteProfile(c::kBackupStatusSection, c::kDesktopNotification, checked ? "1" : "0");
        state_.notifyChecked = checked;
    });
}

void frmStatus::imgUpgrade_Click() {
    ResumeNext([&] {
        OpenWebPage(context_.ports.shell, context_.trace,
                    UserPageLink(context_.settings.links.accountUpgrade, context_.values.CurrentUserName(),
                                 context_.settings.language),
                    ShellRetry::OnAnyFailure);
    });
}

void frmStatus::Evaluate(bool load) {
    Evaluation eval;
    StatusViewState& state = eval.state;
    ResumeNext([&] {
        // The title and the tip have room for any length; the captions have the English room.
        state.title = DisplayName(context_.settings) + Text(kTextTitleSuffix, status_text::kTitleSuffix);
        state.checkboxCaption = Caption(kTextCheckbox, status_text::kCheckbox);
        state.viewLogCaption = Caption(kTextViewLog, status_text::kViewLog);
        state.closeCaption = Caption(kTextClose, status_text::kClose);
        state.spaceUsedCaption = Caption(kTextSpaceUsed, status_text::kSpaceUsed);
        state.upgradeTip = Text(kTextUpgradeTip, status_text::kUpgradeTip);
    });
    ResumeNext([&] {
        const std::string userName = context_.values.CurrentUserName();
        if (userName.empty()) {
            state.statusMessage = Caption(kTextNotLoggedIn, status_text::kNotLoggedIn);
            return;
        }
        EvaluateUser(eval, userName);
    });
    state_ = std::move(state);
    // A refresh every 20 seconds would otherwise repeat the same lines for as long as the window
    // stays open; what changed is still traced.
    if (load || eval.traces != lastTraces_) {
        for (const std::string& line : eval.traces) {
            Trace(line);
        }
    }
    lastTraces_ = std::move(eval.traces);
    Render();
}

void frmStatus::EvaluateUser(Evaluation& eval, const std::string& userName) {
    StatusViewState& state = eval.state;
    state.userName = Caption(kTextAccountName, status_text::kAccountName) + " " + userName;
    ResumeNext([&] {
        const std::string notify = Trim(context_.values.ReadProfile(c::kBackupStatusSection, c::kDesktopNotification));
        if (notify == "1" || notify == "0") {
            state.notifyChecked = notify == "1";
        }
    });
    ResumeNext([&] {
        eval.next = GetScheduleDate(context_.values, context_.transfer, context_.settings, context_.ports.codePage);
        const NextBackupWords words = LocalisedNextBackupWords(context_.texts, context_.settings.productName);
        state.nextBackup = NextBackupSentence(eval.next.nextRun, eval.next.jobLabel, locale_.ShortDatePattern(), words);
    });
    if (!IsBrandProduct(context_.settings)) {
        ResumeNext([&] { EvaluateQuota(eval); });
    }
    ResumeNext([&] { SelectMessage(eval); });
}

void frmStatus::EvaluateQuota(Evaluation& eval) {
    StatusViewState& state = eval.state;
    const Quota quota = context_.values.ReadQuota();
    const std::string separator = locale_.DecimalSeparator();
    // An unknown Used (-1) leaves the bar empty, and the line says as much.
    state.quotaText = FormatSize(std::max(quota.used, 0.0), separator) + " " +
                      Caption(kTextOutOf, status_text::kOutOf) + " " + FormatSize(quota.max, separator);
    state.quotaVisible = true;
    if (quota.used < 0) {
        state.quotaPercent = 0;
        state.quotaColour = kQuotaGreen;
        return;
    }
    if (quota.used > quota.max) {
        state.quotaPercent = kFullBar;
        state.quotaColour = kQuotaRed;
        state.upgradeVisible = true;
        if (IsPlanSize(quota.max)) {
            eval.quotaExhausted = true;
            eval.traces.emplace_back(kTraceQuotaIsExceeded);
            const std::string indicator =
                Trim(context_.values.ReadProfile(c::kBackupStatusSection, c::kStatusMessageIndicaton));
            // The message is written once; the indicator says it stands there, so only a
            // written message may set it.
            if (indicator != kQuotaIndicator && WriteStatusFile(QuotaExhaustedText())) {
                context_.values.WriteProfile(c::kBackupStatusSection, c::kStatusMessageIndicaton, kQuotaIndicator);
            }
        }
        return;
    }
    // Used within Max; with no Max known (0) there is nothing to divide by, and nothing used.
    const double percent = quota.max > 0 ? std::floor(quota.used / quota.max * 100.0) : 0.0;
    state.quotaPercent = static_cast<int>(std::clamp(percent, 0.0, static_cast<double>(kFullBar)));
    state.quotaColour = state.quotaPercent > kRedAbovePercent ? kQuotaRed : kQuotaGreen;
    const std::string indicator =
        Trim(context_.values.ReadProfile(c::kBackupStatusSection, c::kStatusMessageIndicaton));
    state.upgradeVisible = indicator == kQuotaIndicator && !StatusFileLine().empty();
}

void frmStatus::SelectMessage(Evaluation& eval) {
    StatusViewState& state = eval.state;
    auto& traces = eval.traces;
    if (eval.quotaExhausted) {
        state.statusMessage = QuotaExhaustedText();
        traces.emplace_back(kTraceQuotaExceeded);
        return;
    }
    const std::filesystem::path scheduleFile = ScheduleFilePath(context_.values.UserFolder());
    if (!IsIdleRunMarker(Readfirstline(scheduleFile, context_.ports.codePage))) {
        state.statusMessage = Caption(kTextInProgress, status_text::kInProgress);
        traces.emplace_back(kTraceInProgress);
        return;
    }
    const bool disabled = Trim(context_.transfer.Trf_ReadUserProfile(c::kScheduleDisable)) == kTrue;
    const std::string noScheduleText =
        disabled ? DisabledFromTrayText() : Caption(kTextNoSchedule, status_text::kNoSchedule);
    if (!FileExists(scheduleFile)) {
        state.statusMessage = noScheduleText;
        traces.emplace_back(kTraceNoFile);
        traces.emplace_back(disabled ? kTraceNoFileDisabled : kTraceNoFileNoSchedule);
        return;
    }
    if (eval.next.disabled || Trim(eval.next.nextRun).empty()) {
        state.statusMessage = noScheduleText;
        traces.emplace_back(disabled ? kTraceNoTimeDisabled : kTraceNoTime);
        return;
    }

    // The engine's message about the last scheduled backup. Once this window has consumed it
    // (emptied the file), it keeps showing it for as long as it stays open.
    const std::string line = StatusFileLine();
    if (!line.empty()) {
        consumedMessage_.clear();
    }
    state.statusMessage = line.empty() ? consumedMessage_ : line;
    if (FileExists(UserFile(c::kSchStatusErrorFile))) {
        state.statusMessage = Caption(kTextFailed, status_text::kFailed);
    }
    recent_ = GetTimeDifference(eval.next.nextRun, context_.values, context_.ports.clock.Now()).recent;
    if (recent_) {
        traces.emplace_back(kTraceRecent);
        return;
    }
    // An empty file and indicator stay as they are: rewriting them at every refresh could only
    // overwrite a message the engine has just left.
    if (!line.empty() && WriteStatusFile("")) {
        consumedMessage_ = line;
    }
    if (!context_.values.ReadProfile(c::kBackupStatusSection, c::kStatusMessageIndicaton).empty()) {
        context_.values.WriteProfile(c::kBackupStatusSection, c::kStatusMessageIndicaton, "");
    }
    traces.emplace_back(kTraceConsumed);
}

void frmStatus::ViewLog() {
    Trace(kTraceViewLogEntered);
    if (openLogViewer_) {
        ResumeNext(openLogViewer_);
    }
    ResumeNext([&] {
        const std::string status = Trim(context_.values.ReadProfile(c::kBackupStatusSection, c::kDllStatus));
        if (status == c::kDllStatusFailed || status == c::kDllStatusCompleted) {
            context_.values.WriteProfile(c::kBackupStatusSection, c::kDllStatus, c::kDllStatusNothing);
        }
    });
    ResumeNext([&] {
        if (state_.statusMessage != Caption(kTextInProgress, status_text::kInProgress) &&
            FileExists(UserFile(c::kSchStatusErrorFile))) {
            state_.statusMessage = Caption(kTextFailed, status_text::kFailed);
        }
    });
    Trace(kTraceViewLogChanged);
    Trace(kTraceViewLogDone);
    Render();
}

void frmStatus::Trace(std::string_view text) {
    context_.trace.WriteTrace(TraceLine(context_.ports.clock, "", text));
}

void frmStatus::Render() {
    view_.Render(state_);
}

std::string frmStatus::Caption(int id, std::string_view english) const {
    return WindowCaption(context_.texts, id, english, context_.settings.productName);
}

std::string frmStatus::Text(int id, std::string_view english) const {
    return LocaleStringOr(context_.texts, id, english, context_.settings.productName);
}

std::string frmStatus::QuotaExhaustedText() const {
    return Caption(kTextQuotaExhausted, status_text::kQuotaExhausted);
}

std::string frmStatus::DisabledFromTrayText() const {
    const std::string english =
        "You have disabled the scheduled backup from the " + context_.settings.productName + " tray menu.";
    return Caption(kTextDisabledFromTray, english);
}

std::filesystem::path frmStatus::UserFile(std::string_view name) {
    return context_.values.UserFolder() / PathFromUtf8(name);
}

std::string frmStatus::StatusFileLine() {
    const auto bytes = ReadFileBytes(UserFile(c::kSchStatusFile), kMaxStatusFileBytes);
    return bytes ? CutAtNul(FirstLine(DecodeTextFile(*bytes))) : std::string();
}

bool frmStatus::WriteStatusFile(std::string_view line) {
    const std::string bytes = "\xFF\xFE" + Utf16LeBytes(Utf8ToUtf16(std::string(line) + "\r\n"));
    return ReplaceFileBytes(UserFile(c::kSchStatusFile), bytes);
}

}  // namespace ovp
