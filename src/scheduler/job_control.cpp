#include "scheduler/job_control.h"

#include <limits>
#include <optional>
#include <system_error>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "scheduler/schedule_file.h"

namespace ovp {

std::int16_t IsScheduledJobRunning(SharedValues& values, ScheduledJobMemory& memory) {
    try {
        memory.retValue = 0;
        // The user may have changed since the last call: the folder follows the name read now.
        if (!FileExists(ScheduleFilePath(values.UserFolder()))) {
            return 0;
        }
        std::int16_t answer = 0;
        const auto status = ParseInteger(values.ReadProfile(contract::kBackupStatusSection, contract::kStatus));
        if (status && *status >= std::numeric_limits<std::int16_t>::min() &&
            *status <= std::numeric_limits<std::int16_t>::max()) {
            answer = static_cast<std::int16_t>(*status);
        }
        if (const auto retValue =
                ParseInteger(values.ReadProfile(contract::kBackupStatusSection, contract::kRetValue))) {
            memory.retValue = *retValue;
        }
        if (answer == kScheduledJobRunning) {
            memory.sharedStatusText.clear();
        }
        return answer;
    } catch (...) {
        return 0;
    }
}

std::string FindLatestScheduledLog(const std::filesystem::path& folder, ILocaleText& texts) {
    try {
        std::string word = texts.Text(kScheduledLogWordTextId);
        if (word.empty()) {
            word = kScheduledLogWordDefault;
        }
        std::string newestName;
        std::optional<std::filesystem::file_time_type> newestTime;
        std::error_code error;
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::string name = Utf8FromPath(entry->path().filename());
            std::error_code kindError;
            if (!name.starts_with(word) || entry->is_directory(kindError)) {
                continue;
            }
            std::error_code timeError;
            const auto modified = entry->last_write_time(timeError);
            if (timeError) {
                continue;
            }
            if (!newestTime || modified > *newestTime) {
                newestTime = modified;
                newestName = name;
            }
        }
        return newestName;
    } catch (...) {
        return {};
    }
}

}  // namespace ovp
