#pragma once
// One user's side of the schedule windows. The manager lists every user's jobs and the wizard
// edits one of them while someone else may be logged in, so every file, profile value and stop
// request they touch goes to the user of the row, never to whoever "Default User name" names.

#include <filesystem>
#include <string>
#include <string_view>

#include "context/app_context.h"
#include "scheduler/job_options.h"
#include "settings/shared_values.h"
#include "settings/transfer.h"

namespace ovp {

// A user name that stays what it was given.
class FixedUserName final : public IUserNameSource {
  public:
    explicit FixedUserName(std::string name) : name_(std::move(name)) {}
    std::string CurrentUserName() override { return name_; }

  private:
    std::string name_;
};

class ScheduleUser {
  public:
    ScheduleUser(AppContext& context, std::string name);
    ScheduleUser(const ScheduleUser&) = delete;
    ScheduleUser& operator=(const ScheduleUser&) = delete;

    const std::string& Name() const { return name_; }
    std::filesystem::path Folder() const { return context_.folders.UserFolder(name_); }
    std::filesystem::path ScheduleFile() const;
    std::filesystem::path MailIdFile() const;
    std::filesystem::path SessionFolder() const;

    // This user's profile values and job options.
    SharedValues& Values() { return values_; }
    clsTransfer& Transfer() { return transfer_; }
    ScheduleJobOptionsStore& Options() { return options_; }

    // `ScheduleDisable` is "TRUE": every scheduled job of the user is switched off.
    bool SchedulesDisabled();
    bool WriteSchedulesDisabled(bool disabled);
    // The user's date format as the profile keeps it ("" when none: month-first).
    std::string DateFormat();

  private:
    AppContext& context_;
    std::string name_;
    FixedUserName source_;
    SharedValues values_;
    clsTransfer transfer_;
    ScheduleJobOptionsStore options_;
};

}  // namespace ovp
