#pragma once
// A profile store that, while open, reads each file once and answers every later read of it from
// that reading. The engine rewrites these files from its own processes at any moment, so a caller
// that decides from many values (the tray tick) would otherwise mix states of one file, and pay
// one reading of the whole file per value. Writes go straight to the store; the file written is
// read afresh at its next read, so a caller sees its own writes. Closed, every call goes to the
// store.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_store.h"

namespace ovp {

class ProfileSnapshot final : public IProfileStore {
  public:
    explicit ProfileSnapshot(IProfileStore& store) : store_(store) {}

    // Open forgets every earlier reading; Close ends the snapshot.
    void Open() noexcept;
    void Close() noexcept;

    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override;
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override;
    std::optional<IniText> ReadAll(const std::filesystem::path& file) override;

  private:
    struct FileState {
        // The whole file; nullopt when the store could not give it whole, and then the values
        // read so far, key by key (lower-case "section" NUL "key").
        std::optional<IniText> whole;
        std::map<std::string, std::string, std::less<>> values;
    };
    static std::string FileId(const std::filesystem::path& file);
    FileState& Take(const std::filesystem::path& file);

    IProfileStore& store_;
    bool open_ = false;
    std::map<std::string, FileState, std::less<>> files_;
};

}  // namespace ovp
