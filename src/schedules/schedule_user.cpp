#include "schedules/schedule_user.h"

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "scheduler/schedule_file.h"

namespace ovp {

namespace c = contract;

ScheduleUser::ScheduleUser(AppContext& context, std::string name)
    : context_(context),
      name_(std::move(name)),
      source_(name_),
      values_(context.ports.registry, context.ports.profiles, context.folders, source_, context.trace),
      transfer_(context.ports.profiles, context.folders, context.settings.productName, source_, context.trace),
      options_(values_, transfer_, context.ports.codePage) {}

std::filesystem::path ScheduleUser::ScheduleFile() const {
    return ScheduleFilePath(Folder());
}

std::filesystem::path ScheduleUser::MailIdFile() const {
    return Folder() / PathFromUtf8(c::kMailIdFile);
}

std::filesystem::path ScheduleUser::SessionFolder() const {
    return Folder() / PathFromUtf8(c::kSessionFolder);
}

bool ScheduleUser::SchedulesDisabled() {
    return Trim(transfer_.Trf_ReadUserProfile(c::kScheduleDisable)) == c::kScheduleDisabledTrue;
}

bool ScheduleUser::WriteSchedulesDisabled(bool disabled) {
    return transfer_.Trf_WriteUserProfile(c::kScheduleDisable,
                                          disabled ? c::kScheduleDisabledTrue : c::kScheduleDisabledFalse);
}

std::string ScheduleUser::DateFormat() {
    return Trim(transfer_.Trf_ReadDateFormatProfile(c::kUserDateFormat));
}

}  // namespace ovp
