// The engine's list files (exclude and folder lists) as a user, the engine or a damaged disk may
// leave them: adding the first run's entries keeps every byte that was there, and a second run
// finds everything it added.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "defaults/list_files.h"
#include "fuzz_support.h"

namespace {

using ovp::fuzz::Check;
using ovp::fuzz::FuzzFolder;
using Latin1CodePage = ovp::fuzz::Latin1CodePage;

const std::filesystem::path& File() {
    static const FuzzFolder folder("list-fuzz");
    static const std::filesystem::path file = folder.Path() / "atbkupExcludeFile.txt";
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::string> kEntries = {"pagefile.sys/1", "ntuser.dat/1", "C:\\J\u00fcrgen\\/1",
                                                      "C:\\\u0141ukasz\\/1"};
    Latin1CodePage codePage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(ovp::ReplaceFileBytes(File(), bytes));

    const ovp::ListChange first = ovp::AddMissingLines(File(), kEntries, ovp::SameExcludeEntry, codePage);
    const auto after = ovp::ReadFileBytes(File());
    Check(after.has_value() && after->starts_with(bytes));
    if (first == ovp::ListChange::Failed) {
        Check(*after == bytes);
        return 0;
    }
    Check(ovp::AddMissingLines(File(), kEntries, ovp::SameExcludeEntry, codePage) == ovp::ListChange::Unchanged);
    Check(ovp::ReadFileBytes(File()) == after);
    return 0;
}
