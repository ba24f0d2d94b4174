#pragma once
// The profile store as the settings write it: every value reads back exactly as written. The
// private-profile functions drop blanks and one pair of quotes around a value when they read it,
// which would change a quoted value, and any obscured value that starts and ends with "$". The
// store keeps the port's own reading; only writes are changed, so values the engine wrote read as
// they always did.

#include "base/ini_text.h"
#include "platform/profile_store.h"

namespace ovp {

class ExactProfileStore final : public IProfileStore {
  public:
    explicit ExactProfileStore(IProfileStore& store) : store_(store) {}

    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override {
        return store_.Read(file, section, key);
    }
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override {
        return store_.Write(file, section, key, ProfileValueToStore(value));
    }

  private:
    IProfileStore& store_;
};

}  // namespace ovp
