#include "support/fake_shell.h"

#include <algorithm>

#include "contract/engine_contract.h"

namespace ovp::test {

bool FakeMailPaths::Detect(std::string_view function, const std::filesystem::path& iniFile) {
    calls.emplace_back(function);
    const auto& entries = contract::kAutoPathEntries;
    const auto entry =
        std::find_if(entries.begin(), entries.end(), [&](const auto& each) { return each.function == function; });
    if (!present || entry == entries.end()) {
        return false;
    }
    const auto folder = folders.find(std::string(entry->key));
    return store_.Write(iniFile, contract::kAutoFilePathsSection, entry->key,
                        folder == folders.end() ? std::string() : folder->second);
}

std::string FakeShellFolders::SpecialFolder(int csidl) {
    const auto found = special.find(csidl);
    return found == special.end() ? std::string() : found->second;
}

}  // namespace ovp::test
