// Replaces one file whole, again and again, until it is killed: the file-replace tests kill it at
// random moments and look at what it leaves. Arguments: the file, and the name of an event it sets
// once its first replace has landed.
#include <windows.h>

#include <string>

#include "base/files.h"
#include "win32/file_system_win.h"

namespace {

// Two contents the reader tells apart whole: one letter throughout, long enough that a kill often
// lands in the middle of writing it.
constexpr std::size_t kContentBytes = 256 * 1024;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    ovp::win::InstallFileFlush();
    const std::filesystem::path file(argv[1]);
    const HANDLE started = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    const std::string contents[] = {std::string(kContentBytes, 'A'), std::string(kContentBytes, 'B')};
    for (unsigned round = 0;; ++round) {
        if (ovp::ReplaceFileBytes(file, contents[round % 2]) && round == 0 && started != nullptr) {
            ::SetEvent(started);
        }
    }
}
