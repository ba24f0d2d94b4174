#include "defaults/default_files.h"

#include <array>
#include <optional>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/os_info.h"
#include "defaults/default_schedule.h"
#include "defaults/list_files.h"
#include "settings/current_user.h"
#include "settings/exact_profile_store.h"

namespace ovp {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 4> kExcludedFiles = {"pagefile.sys/1", "ntuser.dat/1", "hiberfil.sys/1",
                                                            "~outlook.pst.tmp/1"};
constexpr std::array<std::string_view, 3> kExcludedFolders = {"System Volume Information/1", "RECYCLER/1",
                                                              "$Recycle.Bin/1"};
// The whole Proxy section: the profile file is deleted below, and the user's proxy settings are
// the one part of it that nothing else writes back.
constexpr std::array<std::string_view, 8> kProxyKeys = {
    contract::kProxyName,    contract::kProxyPort,     contract::kProxyUser,      contract::kProxyPass,
    contract::kProxySetFlag, contract::kProxyTypeHttp, contract::kProxyTypeSocks, contract::kProxyAuthOn,
};

// The user whose folder is prepared, fixed for the whole preparation.
class FixedUser final : public IUserNameSource {
  public:
    explicit FixedUser(std::string name) : name_(std::move(name)) {}
    std::string CurrentUserName() override { return name_; }

  private:
    std::string name_;
};

// Every step stands on its own: one that fails leaves the rest to run.
template <typename Step>
void RunStep(Step step) {
    try {
        step();
    } catch (...) {
    }
}

template <std::size_t N>
std::vector<std::string> Lines(const std::array<std::string_view, N>& entries) {
    return std::vector<std::string>(entries.begin(), entries.end());
}

class FirstRun {
  public:
    FirstRun(const Folders& folders, DefaultFilesPorts& ports, std::string user)
        : folders_(folders),
          ports_(ports),
          user_(std::move(user)),
          users_(user_),
          transfer_(ports.store, folders, std::string(), users_, ports.trace),
          userFolder_(folders.UserFolder(user_)) {}

    std::string FirstUser() { return transfer_.Trf_ReadUserProfile(contract::kFirstUser); }

    void Run() {
        RunStep([&] { CreateFolders(userFolder_); });
        RunStep([&] { WriteDefaultSchedule(userFolder_, ports_.codePage, ports_.clock, ports_.random); });
        RunStep([&] { ReadProxy(); });
        RunStep([&] { ReplaceFileBytes(UserFile(contract::kAutoFileSelectionFile), Line(kDefaultAutoFileSelection)); });
        RunStep([&] { DeleteStaleFiles(); });
        RunStep([&] { RestoreProxy(); });
        FillAutoPaths();
        RunStep([&] { WriteFolderList(); });
        RunStep([&] { WriteExcludeLists(); });
    }

  private:
    fs::path UserFile(std::string_view name) const { return userFolder_ / PathFromUtf8(name); }

    static std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }

    void ReadProxy() {
        for (std::size_t i = 0; i < kProxyKeys.size(); ++i) {
            proxy_[i] = transfer_.Trf_ReadProxyProfile(kProxyKeys[i]);
        }
    }

    void RestoreProxy() {
        for (std::size_t i = 0; i < kProxyKeys.size(); ++i) {
            if (!proxy_[i].empty()) {
                transfer_.Trf_WriteProxyProfile(kProxyKeys[i], proxy_[i]);
            }
        }
    }

    void DeleteStaleFiles() {
        DeleteFileIfExists(folders_.ProfileFile(user_));
        DeleteFileIfExists(UserFile(contract::kClientInputFile));
        DeleteFileIfExists(UserFile(contract::kServiceTraceFile));
    }

    // Each key as the library found it, trimmed and with a final "\". A key the library could
    // not answer for (no library, no such function) is emptied, so that a path from an earlier
    // detection does not pass for a detected one.
    void FillAutoPaths() {
        const fs::path ini = UserFile(contract::kAutoPathFile);
        for (const auto& entry : contract::kAutoPathEntries) {
            RunStep([&] {
                const bool detected = ports_.mailPaths.Detect(entry.function, ini);
                const std::string stored = transfer_.ReadSimpleAutofileProfile(entry.key);
                const std::string value = detected ? WithFinalBackslash(Trim(stored)) : std::string();
                if (value != stored) {
                    ExactProfileStore(ports_.store).Write(ini, contract::kAutoFilePathsSection, entry.key, value);
                }
            });
        }
    }

    std::string Folder(std::string_view key) { return WithFinalBackslash(ReadMyDocPathDefaultFile(transfer_, key)); }

    void WriteFolderList() {
        std::vector<std::string> folders = {Folder(contract::kMyDocumentsPath), Folder(contract::kDesktopPath)};
        if (IsVistaFamily(ports_.systemInfo.Version())) {
            folders.push_back(Folder(contract::kMyMusicPath));
            folders.push_back(Folder(contract::kMyVideosPath));
            folders.push_back(Folder(contract::kMyPicturesPath));
        }
        CreateListIfMissing(UserFile(contract::kBackupFolderListFile), folders, SameFolderPath, ports_.codePage);
    }

    void WriteExcludeLists() {
        IShellFolders& shell = ports_.shellFolders;
        const std::vector<std::string> systemFolders = {
            shell.WindowsFolder(),
            shell.TempFolder(),
            shell.SpecialFolder(kCsidlInternetCache),
            shell.SpecialFolder(kCsidlCookies),
            shell.SpecialFolder(kCsidlCommonFavorites),
        };
        ICodePage& codePage = ports_.codePage;
        AddMissingLines(UserFile(contract::kUserExcludeFolderFile), {}, SameFolderPath, codePage);
        AddMissingLines(UserFile(contract::kExcludeFilePathFile), {}, SameFolderPath, codePage);
        AddMissingLines(UserFile(contract::kExcludeFileFile), Lines(kExcludedFiles), SameExcludeEntry, codePage);
        AddMissingLines(UserFile(contract::kExcludeListFile), systemFolders, SameFolderPath, codePage);
        AddMissingLines(UserFile(contract::kExcludeFolderFile), Lines(kExcludedFolders), SameExcludeEntry, codePage);
    }

    const Folders& folders_;
    DefaultFilesPorts& ports_;
    std::string user_;
    FixedUser users_;
    clsTransfer transfer_;
    fs::path userFolder_;
    std::array<std::string, kProxyKeys.size()> proxy_;
};

}  // namespace

std::string ReadMyDocPathDefaultFile(clsTransfer& transfer, std::string_view key) {
    return Trim(transfer.ReadSimpleAutofileProfile(key));
}

std::string WithFinalBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != '\\') {
        result += '\\';
    }
    return result;
}

bool ScheduleCreateFiles::Form_Load() {
    try {
        // UserName.ini lies in the application folder, whoever the user is.
        FixedUser nobody{std::string()};
        clsTransfer names(ports_.store, folders_, std::string(), nobody, ports_.trace);
        const std::string user = names.Trf_ReadUserNameProfile(contract::kInteractive);
        // Without a user the user folder would be the start folder, which every start empties.
        if (user.empty() || !IsSafeFolderName(folders_.InstallationName() + user)) {
            return false;
        }
        FirstRun run(folders_, ports_, user);
        if (run.FirstUser() != contract::kFirstUserTrue) {
            return false;
        }
        run.Run();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace ovp
