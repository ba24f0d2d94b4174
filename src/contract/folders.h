#pragma once
// The product's folders. The installation name and the user name are written by other programs,
// so they are checked before they become part of a path: a name that could lead outside the
// application folder is never used.

#include <filesystem>
#include <string>
#include <string_view>

namespace ovp {

// True when name can be one folder-name component: not empty, no path separator, no drive
// colon, not "." or "..", no control characters and none of the characters Windows forbids.
bool IsSafeFolderName(std::string_view name);

class Folders {
  public:
    Folders(std::filesystem::path appFolder, std::string installationName)
        : appFolder_(std::move(appFolder)), installationName_(std::move(installationName)) {}

    const std::filesystem::path& AppFolder() const { return appFolder_; }
    const std::string& InstallationName() const { return installationName_; }

    // Application folder + "\" + installation name.
    std::filesystem::path StartFolder() const;
    // The start folder's path immediately followed by the user name. A user name that is not a
    // safe folder-name tail counts as no user, which gives the start folder.
    std::filesystem::path UserFolder(std::string_view userName) const;
    // User folder + "\" + installation name + ".ini".
    std::filesystem::path ProfileFile(std::string_view userName) const;
    std::filesystem::path UserNameFile() const;
    std::filesystem::path ImagesFolder() const;

  private:
    std::filesystem::path appFolder_;
    std::string installationName_;
};

}  // namespace ovp
