#pragma once
// The failure notification `frmFailureNotification`: a small pop-up that tells the user that
// scheduled backups have not run for some days and offers the logs, the schedule and an error
// report. The missed-backup watcher decides when it is due; this presenter only words it and
// hands each link on. One window: a second warning while it is open updates and raises it.

#include <cstdint>
#include <filesystem>
#include <string>

#include "context/app_context.h"

namespace ovp {

// Localised text ids of the sentence.
inline constexpr int kTextMissedBackupStart = 956;  // "The scheduled backup has not taken place for the past "
inline constexpr int kTextDayUnit = 1599;           // " day(s)."
inline constexpr int kTextDoYouWantTo = 1708;       // "Do you want to"

struct FailureNotificationState {
    std::string title;            // the window text, the product's failure title
    std::string sentence;         // `LabelBackupFailure`
    std::string viewLogLink;      // `lblViewLogLink`
    std::string reason;           // `lblFailureReason`
    std::string schedulerLink;    // `lblSchedulerLink`
    std::string support;          // `lblSupport`
    std::string errorReportLink;  // `lblErrorReportLink`
    std::string closeCaption;     // `cancel`
    std::filesystem::path formIcon;
    // The links' cursor; the view falls back to the system's hand when the file cannot be loaded.
    std::filesystem::path handCursor;
};

class IFailureNotificationView {
  public:
    virtual ~IFailureNotificationView() = default;
    // Creates the window, or updates the open one, and brings it to the front.
    virtual void Show(const FailureNotificationState& state) = 0;
    virtual void Close() = 0;
};

// What the view reports: the user's clicks.
class IFailureNotificationEvents {
  public:
    virtual ~IFailureNotificationEvents() = default;
    virtual void lblViewLogLink_Click() = 0;
    virtual void lblSchedulerLink_Click() = 0;
    virtual void lblErrorReportLink_Click() = 0;
    virtual void cancel_Click() = 0;
};

// Where the links lead; the windows themselves belong to their own features.
enum class FailureLink { ActivityLog, ScheduleManager, ErrorReport };

class IFailureLinks {
  public:
    virtual ~IFailureLinks() = default;
    virtual void Follow(FailureLink link) = 0;
};

// What the watcher asks for when scheduled backups have been missed.
class IMissedBackupWarning {
  public:
    virtual ~IMissedBackupWarning() = default;
    virtual void ShowMissedBackups(std::int64_t days) = 0;
};

// "The scheduled backup has not taken place for the past 7 day(s). Do you want to ": a blank is
// put after the first text only when a translation lacks one.
std::string MissedBackupSentence(ILocaleText& texts, std::int64_t days, std::string_view brandName);

class frmFailureNotification final : public IFailureNotificationEvents, public IMissedBackupWarning {
  public:
    frmFailureNotification(AppContext& context, IFailureNotificationView& view, IFailureLinks& links)
        : context_(context), view_(view), links_(links) {}

    void ShowMissedBackups(std::int64_t days) override;

    void lblViewLogLink_Click() override { FollowAndClose(FailureLink::ActivityLog); }
    void lblSchedulerLink_Click() override { FollowAndClose(FailureLink::ScheduleManager); }
    void lblErrorReportLink_Click() override { FollowAndClose(FailureLink::ErrorReport); }
    void cancel_Click() override { view_.Close(); }

  private:
    void FollowAndClose(FailureLink link);

    AppContext& context_;
    IFailureNotificationView& view_;
    IFailureLinks& links_;
};

}  // namespace ovp
