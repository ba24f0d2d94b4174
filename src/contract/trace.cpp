#include "contract/trace.h"

#include "base/datetime.h"
#include "base/files.h"
#include "contract/engine_contract.h"

namespace ovp {

namespace {

void AppendToUserFolder(const Folders& folders,
                        IUserNameSource& users,
                        std::string_view fileName,
                        std::string_view text) {
    try {
        AppendUtf16Line(folders.UserFolder(users.CurrentUserName()) / PathFromUtf8(fileName), text);
    } catch (...) {
        // A lost trace line must not stop the caller.
    }
}

}  // namespace

std::string TraceLine(IClock& clock, std::string_view tag, std::string_view message) {
    std::string line = FormatStamp(clock.Now());
    line += tag;
    line += message;
    return line;
}

void Trace::WriteTrace(std::string_view text) {
    AppendToUserFolder(folders_, users_, contract::kTrayTraceFile, text);
}

void Trace::Info(std::string_view message) {
    try {
        WriteTrace(TraceLine(clock_, kInformationTag, message));
    } catch (...) {
    }
}

void Trace::Error(std::string_view message) {
    try {
        WriteTrace(TraceLine(clock_, kErrorTag, message));
    } catch (...) {
    }
}

void Trace::WriteDatedTrace(std::string_view text) {
    try {
        const auto file = folders_.AppFolder() / PathFromUtf8(contract::kTrayTraceFile);
        AppendUtf16Line(file, TraceLine(clock_, kDatedTraceSeparator, text));
        if (FileSize(file).value_or(0) > kDatedTraceLimitBytes) {
            DeleteFileIfExists(file);
        }
    } catch (...) {
    }
}

void clsOptions::WriteTrace(std::string_view text) {
    AppendToUserFolder(folders_, users_, contract::kServiceTraceFile, text);
}

}  // namespace ovp
