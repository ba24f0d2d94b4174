// The URL recorder: test equipment that stands in for the web browser. Registered as the handler
// of http and https links, it appends each link it is asked to open, one UTF-8 line, to the file
// named by the environment variable OVP_URL_RECORD (which a program it was started from passes
// on), else to OVPUrlRecords.txt beside itself, and ends. It opens nothing. The end-to-end
// fixture registers it in the test Wine prefix (standin::RegisterUrlRecorder).
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "standin_product.h"
#include "win32/text_win.h"

namespace {

std::filesystem::path RecordFile() {
    const std::wstring variable = ovp::win::Wide(ovp::standin::kUrlRecordVariable);
    std::wstring value(32768, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length > 0 && length < value.size()) {
        value.resize(length);
        return value;
    }
    return ovp::standin::OwnFolder() / ovp::PathFromUtf8(ovp::standin::kUrlRecordFile);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> links;
    for (int index = 1; arguments != nullptr && index < count; ++index) {
        links.emplace_back(arguments[index]);
    }
    ::LocalFree(arguments);
    // One argument is expected; should a link arrive split, the tabs show where.
    std::wstring line;
    for (const std::wstring& link : links) {
        line += (line.empty() ? L"" : L"\t") + link;
    }
    return ovp::AppendFileBytes(RecordFile(), ovp::win::Narrow(line) + "\r\n") ? 0 : 1;
}
