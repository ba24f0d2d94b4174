#pragma once
// Port: the system's own folders, as the shell reports them. Paths are UTF-8; "" when unknown.

#include <string>

namespace ovp {

// Shell special folders by their CSIDL numbers.
inline constexpr int kCsidlCommonFavorites = 31;
inline constexpr int kCsidlInternetCache = 32;
inline constexpr int kCsidlCookies = 33;

class IShellFolders {
  public:
    virtual ~IShellFolders() = default;
    // The Windows folder.
    virtual std::string WindowsFolder() = 0;
    // The system's temporary folder in its long path form (with the final "\" the system gives it).
    virtual std::string TempFolder() = 0;
    // A shell special folder by CSIDL number, cut at its first NUL.
    virtual std::string SpecialFolder(int csidl) = 0;
};

}  // namespace ovp
