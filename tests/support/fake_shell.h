#pragma once
// Fakes of the mail-paths companion library and of the shell's folders.

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "contract/engine_contract.h"
#include "platform/mail_paths.h"
#include "platform/profile_store.h"
#include "platform/shell_folders.h"
#include "support/fakes.h"

namespace ovp::test {

// Writes through a profile store what the real library writes into the ini file: the key that
// belongs to the function, with the folder from `folders` (keyed by the ini key) or "".
class FakeMailPaths : public IMailPaths {
  public:
    explicit FakeMailPaths(IProfileStore& store) : store_(store) {}
    bool Detect(std::string_view function, const std::filesystem::path& iniFile) override {
        calls.emplace_back(function);
        const auto& entries = contract::kAutoPathEntries;
        const auto entry = std::ranges::find(entries, function, &contract::AutoPathEntry::function);
        return present && entry != entries.end() &&
               store_.Write(iniFile, contract::kAutoFilePathsSection, entry->key,
                            ValueOr(folders, std::string(entry->key)));
    }

    // False: the library is missing and every call fails without writing.
    bool present = true;
    // Ini key -> folder the library reports.
    std::map<std::string, std::string> folders;
    // The functions called, in order (also while the library is missing).
    std::vector<std::string> calls;

  private:
    IProfileStore& store_;
};

class FakeShellFolders : public IShellFolders {
  public:
    std::string WindowsFolder() override { return windows; }
    std::string TempFolder() override { return temp; }
    std::string SpecialFolder(int csidl) override { return ValueOr(special, csidl); }

    std::string windows;
    std::string temp;
    std::map<int, std::string> special;
};

}  // namespace ovp::test
