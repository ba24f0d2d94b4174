#pragma once
// ScheduleCreateFiles: the first-run preparation of a user's folder. While the user's profile
// value FirstUser is "TRUE", it gives the engine a usable default: a default schedule, the
// default backup-folder list, the exclude lists, a fresh file-type selection and the detected
// folders of the mail programs and the shell. Nothing is shown to the user; every step runs on
// its own, so one that fails leaves the others to do their work.

#include <filesystem>
#include <string>
#include <string_view>

#include "contract/folders.h"
#include "contract/trace_sink.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/mail_paths.h"
#include "platform/profile_store.h"
#include "platform/random.h"
#include "platform/shell_folders.h"
#include "platform/system_info.h"
#include "settings/transfer.h"

namespace ovp {

// AutoFileSelection.txt: 31 file-type flags, the sixth set.
inline constexpr std::string_view kDefaultAutoFileSelection =
    "0;0;0;0;0;1;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0";

struct DefaultFilesPorts {
    IProfileStore& store;
    ICodePage& codePage;
    IClock& clock;
    IRandom& random;
    ISystemInfo& systemInfo;
    IMailPaths& mailPaths;
    IShellFolders& shellFolders;
    ITraceSink& trace;
};

// The value of key in section AUTOFILEPATHS of the user's SimpleAutoPath.ini, trimmed; "" when
// absent. Read whole: a path cut at some buffer's length would name another folder.
std::string ReadMyDocPathDefaultFile(clsTransfer& transfer, std::string_view key);

// A folder path as the lists hold it: with a final "\" (none added to "").
std::string WithFinalBackslash(std::string_view path);

class ScheduleCreateFiles {
  public:
    ScheduleCreateFiles(const Folders& folders, DefaultFilesPorts ports) : folders_(folders), ports_(ports) {}

    // Prepares the folder of the interactive user (UserName.ini "Interactive"), when that user's
    // FirstUser is "TRUE". True when the preparation ran.
    bool Form_Load();

  private:
    const Folders& folders_;
    DefaultFilesPorts ports_;
};

}  // namespace ovp
