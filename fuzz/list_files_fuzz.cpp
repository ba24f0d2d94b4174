// The engine's list files (exclude and folder lists) as a user, the engine or a damaged disk may
// leave them: adding the first run's entries keeps every byte that was there, and a second run
// finds everything it added.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "settings/list_files.h"

namespace {

// Latin-1: every byte is its own character, as in the Western code page.
class Latin1CodePage : public ovp::ICodePage {
  public:
    std::string AnsiToUtf8(std::string_view bytes) override {
        std::u32string points(bytes.begin(), bytes.end());
        for (auto& point : points) {
            point &= 0xFF;
        }
        return ovp::CodePointsToUtf8(points);
    }
    ovp::AnsiText Utf8ToAnsi(std::string_view utf8) override {
        ovp::AnsiText result;
        for (const char32_t point : ovp::Utf8ToCodePoints(utf8)) {
            result.exact = result.exact && point <= 0xFF;
            result.bytes += point <= 0xFF ? static_cast<char>(point) : '?';
        }
        return result;
    }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One folder per fuzzing process, removed when it ends.
class FuzzFolder {
  public:
    FuzzFolder() : folder_(std::filesystem::temp_directory_path() / ("list-fuzz-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(folder_);
    }
    ~FuzzFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::filesystem::path File() const { return folder_ / "atbkupExcludeFile.txt"; }

  private:
    std::filesystem::path folder_;
};

const std::filesystem::path& File() {
    static const FuzzFolder folder;
    static const std::filesystem::path file = folder.File();
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
