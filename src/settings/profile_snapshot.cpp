#include "settings/profile_snapshot.h"

#include "base/files.h"
#include "base/text.h"

namespace ovp {

void ProfileSnapshot::Open() noexcept {
    files_.clear();
    open_ = true;
}

void ProfileSnapshot::Close() noexcept {
    files_.clear();
    open_ = false;
}

std::string ProfileSnapshot::FileId(const std::filesystem::path& file) {
    return Utf8FromPath(file.lexically_normal());
}

ProfileSnapshot::FileState& ProfileSnapshot::Take(const std::filesystem::path& file) {
    std::string id = FileId(file);
    auto found = files_.find(id);
    if (found == files_.end()) {
        found = files_.emplace(std::move(id), FileState{store_.ReadAll(file), {}}).first;
    }
    return found->second;
}

std::string ProfileSnapshot::Read(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    if (!open_) {
        return store_.Read(file, section, key);
    }
    FileState& state = Take(file);
    if (state.whole) {
        return CutAtNul(state.whole->Get(section, key));
    }
    std::string id = ToLowerAscii(section) + '\0' + ToLowerAscii(key);
    auto found = state.values.find(id);
    if (found == state.values.end()) {
        found = state.values.emplace(std::move(id), store_.Read(file, section, key)).first;
    }
    return found->second;
}

bool ProfileSnapshot::Write(const std::filesystem::path& file,
                            std::string_view section,
                            std::string_view key,
                            std::string_view value) {
    // Forgotten whatever the outcome: how the store trims, cuts or refuses a value is its own
    // business, and the next read asks it.
    files_.erase(FileId(file));
    return store_.Write(file, section, key, value);
}

std::optional<IniText> ProfileSnapshot::ReadAll(const std::filesystem::path& file) {
    if (!open_) {
        return store_.ReadAll(file);
    }
    return Take(file).whole;
}

}  // namespace ovp
