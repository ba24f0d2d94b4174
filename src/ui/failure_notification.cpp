#include "ui/failure_notification.h"

#include "base/files.h"
#include "base/resume_next.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"

namespace ovp {

namespace {

constexpr std::string_view kMissedBackupStart = "The scheduled backup has not taken place for the past ";
constexpr std::string_view kDayUnit = " day(s).";
constexpr std::string_view kDoYouWantTo = "Do you want to";

constexpr std::string_view kViewLogLink = "view the logs?";
// The trailing blanks leave room on the line for the link that follows.
constexpr std::string_view kFailureReason =
    "Possibly, your computer is shut down at the time of the scheduled job. To modify the schedule,                ";
constexpr std::string_view kSchedulerLink = "click here.";
constexpr std::string_view kSupport = "For further assistance, .";
constexpr std::string_view kErrorReportLink = "Send Error Report";
constexpr std::string_view kClose = "Close";
constexpr std::string_view kHandCursorFile = "Hand.ico";

constexpr int kTextViewLogLink = 5700;
constexpr int kTextFailureReason = 5701;
constexpr int kTextSchedulerLink = 5702;
constexpr int kTextSupport = 5703;
constexpr int kTextErrorReportLink = 5704;
constexpr int kTextClose = 5705;

}  // namespace

std::string MissedBackupSentence(ILocaleText& texts, std::int64_t days, std::string_view brandName) {
    std::string sentence = LocaleStringOr(texts, kTextMissedBackupStart, kMissedBackupStart, brandName);
    if (!sentence.empty() && sentence.back() != ' ') {
        sentence += ' ';
    }
    sentence += std::to_string(days);
    sentence += LocaleStringOr(texts, kTextDayUnit, kDayUnit, brandName);
    sentence += ' ';
    sentence += LocaleStringOr(texts, kTextDoYouWantTo, kDoYouWantTo, brandName);
    sentence += ' ';
    return sentence;
}

void frmFailureNotification::ShowMissedBackups(std::int64_t days) {
    const ProductSettings& settings = context_.settings;
    FailureNotificationState state;
    state.title = FailureTitle(settings, context_.texts);
    state.sentence = MissedBackupSentence(context_.texts, days, settings.productName);
    const auto text = [&](int id, std::string_view english) {
        return LocaleStringOr(context_.texts, id, english, settings.productName);
    };
    state.viewLogLink = text(kTextViewLogLink, kViewLogLink);
    state.reason = text(kTextFailureReason, kFailureReason);
    state.schedulerLink = text(kTextSchedulerLink, kSchedulerLink);
    state.support = text(kTextSupport, kSupport);
    state.errorReportLink = text(kTextErrorReportLink, kErrorReportLink);
    state.closeCaption = text(kTextClose, kClose);
    const std::filesystem::path images = context_.folders.ImagesFolder();
    state.formIcon = BrandedPicture(settings, images, kNormalIconFile);
    state.handCursor = images / PathFromUtf8(kHandCursorFile);
    view_.Show(state);
}

void frmFailureNotification::FollowAndClose(FailureLink link) {
    // The pop-up has done its job once the user chose a way on; the window opened may be modal,
    // so the pop-up goes first rather than staying on top of it.
    ResumeNext([&] { view_.Close(); });
    links_.Follow(link);
}

}  // namespace ovp
