// Stand-in for the engine's client executable. The monitor starts it for the account check with
// the arguments "< > 23" (check), "< > 9" (check after a server move) or "< > 5" (follow-up), and
// waits for it to end; the client answers in RetValue of section BackupStatus of the user's
// profile file. Started with any other arguments (or none) it stays running idle, as a client
// that runs a backup does, until it is ended, closed or the session ends. It does no backup work.
//
// Every start is recorded in the events file: "client: run <command line>" for a request,
// "client: started <command line>" otherwise; then what it did: "client: answered <value>",
// "client: no answer", "client: hangs", "client: ended" (idle only, when closed).
//
// The answers come from the script file StandInClientScript.txt in the application folder, which
// a test writes: one entry per line, one line taken (and removed) per request, blank lines
// skipped. An entry is
//     <value>                          RetValue = <value> (written as it stands, e.g. 402, -416)
//     <value> move <port> <address>    first DLLOutput1.txt in the user folder with the port on
//                                      line 1 and the address (the rest of the line) on line 2,
//                                      then RetValue = <value>; e.g. "-40 move 700 b.example.com"
//     none                             end without writing RetValue
//     hang                             never end (the monitor must give up and end it)
// No script, or no entry left, counts as "none". RetValue is written plain with
// WritePrivateProfileStringW, into the profile file of the logged-in user ("Default User name").

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

#include "base/files.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "standin_product.h"
#include "win32/text_win.h"

namespace {

namespace c = ovp::contract;

constexpr std::string_view kWho = "client";

bool IsRequest() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const bool request = arguments != nullptr && count >= 2 && std::wstring_view(arguments[1]) == L"<";
    ::LocalFree(arguments);
    return request;
}

// The first non-blank line of the script; the script keeps the lines after it.
std::string TakeNextEntry(const std::filesystem::path& script) {
    std::string rest = ovp::ReadFileBytes(script).value_or("");
    std::string entry;
    while (entry.empty() && !rest.empty()) {
        const std::size_t end = rest.find('\n');
        entry = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
        while (!entry.empty() && (entry.back() == '\r' || entry.back() == ' ')) {
            entry.pop_back();
        }
    }
    if (!entry.empty()) {
        ovp::ReplaceFileBytes(script, rest);
    }
    return entry;
}

void Answer(const std::filesystem::path& appFolder, const ovp::standin::Product& product, const std::string& entry) {
    const ovp::Folders folders(appFolder, product.settings.installationName);
    const std::string user = ovp::standin::CurrentUserName(appFolder, product.settings);
    const std::filesystem::path userFolder = folders.UserFolder(user);
    ovp::CreateFolders(userFolder);

    std::string value = entry;
    if (const std::size_t move = entry.find(" move "); move != std::string::npos) {
        value = entry.substr(0, move);
        const std::string target = entry.substr(move + 6);
        const std::size_t blank = target.find(' ');
        const std::string port = target.substr(0, blank);
        const std::string address = blank == std::string::npos ? std::string() : target.substr(blank + 1);
        ovp::ReplaceFileBytes(userFolder / ovp::PathFromUtf8(c::kClientOutputFile), port + "\r\n" + address + "\r\n");
    }
    const std::filesystem::path profile = folders.ProfileFile(user);
    ::WritePrivateProfileStringW(ovp::win::Wide(c::kBackupStatusSection).c_str(), ovp::win::Wide(c::kRetValue).c_str(),
                                 ovp::win::Wide(value).c_str(), profile.wstring().c_str());
    ovp::standin::RecordEvent(appFolder, kWho, "answered " + value);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::filesystem::path appFolder = ovp::standin::OwnFolder();
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(appFolder);
    if (!product) {
        return 1;
    }
    if (!IsRequest()) {
        ovp::standin::RecordEvent(appFolder, kWho, "started " + ovp::standin::OwnCommandLine());
        return ovp::standin::StayUntilClosed(appFolder, kWho, L"OVPStandInClient");
    }
    ovp::standin::RecordEvent(appFolder, kWho, "run " + ovp::standin::OwnCommandLine());
    const std::string entry = TakeNextEntry(appFolder / ovp::PathFromUtf8(ovp::standin::kClientScriptFile));
    if (entry == "hang") {
        ovp::standin::RecordEvent(appFolder, kWho, "hangs");
        for (;;) {
            ::Sleep(INFINITE);
        }
    }
    if (entry.empty() || entry == "none") {
        ovp::standin::RecordEvent(appFolder, kWho, "no answer");
        return 0;
    }
    Answer(appFolder, *product, entry);
    return 0;
}
