#include "settings/transfer.h"

#include "base/files.h"
#include "contract/engine_contract.h"
#include "settings/obscure.h"

namespace ovp {

namespace {

constexpr std::string_view kReadProfileError = "Error in Trf_ReadUserProfile of monitor";
constexpr std::string_view kEncryptingError = "Error encrypting of monitor";

}  // namespace

std::filesystem::path clsTransfer::ProfileFile() {
    return folders_.ProfileFile(users_.CurrentUserName());
}

std::filesystem::path clsTransfer::UserNameFile() {
    return folders_.UserNameFile();
}

std::filesystem::path clsTransfer::AutoPathFile() {
    return folders_.UserFolder(users_.CurrentUserName()) / PathFromUtf8(contract::kAutoPathFile);
}

std::string clsTransfer::Read(FileOf file, std::string_view section, std::string_view key) {
    try {
        return store_.Read((this->*file)(), section, key);
    } catch (...) {
        return {};
    }
}

bool clsTransfer::Write(FileOf file, std::string_view section, std::string_view key, std::string_view value) {
    try {
        return store_.Write((this->*file)(), section, key, value);
    } catch (...) {
        return false;
    }
}

std::string clsTransfer::Read(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    try {
        return store_.Read(file, section, key);
    } catch (...) {
        return {};
    }
}

bool clsTransfer::Write(const std::filesystem::path& file,
                        std::string_view section,
                        std::string_view key,
                        std::string_view value) {
    try {
        return store_.Write(file, section, key, value);
    } catch (...) {
        return false;
    }
}

std::string clsTransfer::ReadObscured(std::string_view section, std::string_view key) {
    try {
        return Unobscure(store_.Read(ProfileFile(), section, Obscure(key)));
    } catch (...) {
        trace_.Error(kReadProfileError);
        return {};
    }
}

bool clsTransfer::WriteObscured(std::string_view section, std::string_view key, std::string_view value) {
    try {
        return store_.Write(ProfileFile(), section, Obscure(key), Obscure(value));
    } catch (...) {
        trace_.Error(kEncryptingError);
        return false;
    }
}

bool clsTransfer::Trf_WriteUserProfileDefault(std::string_view section, std::string_view key, std::string_view value) {
    return Write(&clsTransfer::ProfileFile, section, key, value);
}

bool clsTransfer::Trf_WriteUserProfile(std::string_view key, std::string_view value) {
    return WriteObscured(contract::kOrvessaSection, key, value);
}

std::string clsTransfer::Trf_ReadUserProfile(std::string_view key) {
    return ReadObscured(contract::kOrvessaSection, key);
}

bool clsTransfer::Trf_WriteUserProfileWithoutEncrypt(std::string_view key, std::string_view value) {
    try {
        return store_.Write(ProfileFile(), contract::kOrvessaSection, Obscure(key), value);
    } catch (...) {
        trace_.Error(kEncryptingError);
        return false;
    }
}

bool clsTransfer::Trf_WriteUserProfileWithoutEncryptIdle(std::string_view key, std::string_view value) {
    return Write(&clsTransfer::ProfileFile, contract::kOrvessaSection, key, value);
}

std::string clsTransfer::Trf_ReadUserProfileIdle(std::string_view key) {
    return Read(&clsTransfer::ProfileFile, contract::kOrvessaSection, key);
}

std::string clsTransfer::Trf_ReadUserProfileWithoutDecrypt(std::string_view key) {
    return Read(&clsTransfer::ProfileFile, contract::kOrvessaSection, key);
}

bool clsTransfer::Trf_WriteProxyProfile(std::string_view key, std::string_view value) {
    return WriteObscured(contract::kProxySection, key, value);
}

std::string clsTransfer::Trf_ReadProxyProfile(std::string_view key) {
    return ReadObscured(contract::kProxySection, key);
}

bool clsTransfer::Trf_WriteDateFormatProfile(std::string_view key, std::string_view value) {
    return WriteObscured(contract::kDateFormatSection, key, value);
}

std::string clsTransfer::Trf_ReadDateFormatProfile(std::string_view key) {
    return ReadObscured(contract::kDateFormatSection, key);
}

std::string clsTransfer::Trf_ReadOutputValue(std::string_view section, std::string_view key) {
    return Read(&clsTransfer::ProfileFile, section, key);
}

bool clsTransfer::Trf_WriteUserNameProfileEmail(std::string_view key, std::string_view value) {
    return Write(&clsTransfer::ProfileFile, contract::kOrvessaSection, key, value);
}

std::string clsTransfer::Trf_ReadUserNameProfile(std::string_view key) {
    return Read(&clsTransfer::UserNameFile, contract::kOrvessaSection, key);
}

bool clsTransfer::Trf_WriteUserNameProfile(std::string_view key, std::string_view value) {
    return Write(&clsTransfer::UserNameFile, contract::kOrvessaSection, key, value);
}

std::vector<std::filesystem::path> clsTransfer::SearchFiles() const {
    std::vector<std::filesystem::path> files;
    try {
        files.push_back(folders_.AppFolder() / PathFromUtf8(productName_ + std::string(contract::kSearchFileSuffix)));
        if (FileExists(folders_.ImagesFolder() / PathFromUtf8(contract::kBrandFile))) {
            const auto brand = folders_.AppFolder() / PathFromUtf8(contract::kBrandSearchFile);
            // A brand named like the fixed product gives the same file: write it once.
            if (brand != files.front()) {
                files.push_back(brand);
            }
        }
    } catch (...) {
    }
    return files;
}

bool clsTransfer::Trf_WriteSearchUserNameProfile(std::string_view key, std::string_view value) {
    const auto files = SearchFiles();
    bool allWritten = !files.empty();
    for (const auto& file : files) {
        allWritten = Write(file, contract::kOrvessaSection, key, value) && allWritten;
    }
    return allWritten;
}

bool clsTransfer::Trf_WriteSearchProfile(std::string_view section, std::string_view value) {
    const auto files = SearchFiles();
    return !files.empty() && Write(files.front(), section, contract::kSearchEnable, value);
}

bool clsTransfer::Trf_WritePluginUserProfile(std::string_view key, std::string_view value) {
    const auto files = SearchFiles();
    return !files.empty() && Write(files.front(), contract::kOrvessaSection, key, value);
}

std::string clsTransfer::Trf_ReadPluginUserProfile(std::string_view key) {
    const auto files = SearchFiles();
    return files.empty() ? std::string() : Read(files.front(), contract::kOrvessaSection, key);
}

std::string clsTransfer::ReadSimpleAutofileProfile(std::string_view key) {
    return Read(&clsTransfer::AutoPathFile, contract::kAutoFilePathsSection, key);
}

bool clsTransfer::Trf_CreateLocalDir(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    try {
        return CreateFolders(PathFromUtf8(path));
    } catch (...) {
        return false;
    }
}

}  // namespace ovp
