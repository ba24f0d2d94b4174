#pragma once
// The mail-paths port on the companion library in the application folder.

#include <filesystem>

#include "platform/mail_paths.h"

namespace ovp::win {

class Win32MailPaths final : public IMailPaths {
  public:
    explicit Win32MailPaths(const std::filesystem::path& appFolder);

    // Loads the library by its full path for this one call and frees it again; a missing library
    // or function is "no path" (false), never an error.
    bool Detect(std::string_view function, const std::filesystem::path& iniFile) override;

  private:
    std::filesystem::path library_;
};

}  // namespace ovp::win
