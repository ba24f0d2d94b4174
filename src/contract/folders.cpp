#include "contract/folders.h"

#include "base/files.h"
#include "contract/engine_contract.h"

namespace ovp {

bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // Windows drops trailing dots and blanks, which would make "x." and "x" the same folder.
    return name.back() != '.' && name.back() != ' ';
}

std::filesystem::path Folders::StartFolder() const {
    return appFolder_ / PathFromUtf8(installationName_);
}

std::filesystem::path Folders::UserFolder(std::string_view userName) const {
    std::string name = installationName_;
    // The combined name must itself be safe; a user name is only a tail of it.
    if (!userName.empty() && IsSafeFolderName(name + std::string(userName))) {
        name += userName;
    }
    return appFolder_ / PathFromUtf8(name);
}

std::filesystem::path Folders::ProfileFile(std::string_view userName) const {
    return UserFolder(userName) / PathFromUtf8(installationName_ + ".ini");
}

std::filesystem::path Folders::UserNameFile() const {
    return appFolder_ / PathFromUtf8(contract::kUserNameFile);
}

std::filesystem::path Folders::ImagesFolder() const {
    return appFolder_ / PathFromUtf8(contract::kImagesFolder);
}

}  // namespace ovp
