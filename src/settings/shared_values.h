#pragma once
// The named values the monitor shares with the engine: a few registry values, the Registry and
// Orvessa sections of UserName.ini and the sections of the user's profile file. Nothing is
// cached: the engine changes these values from its own processes, so every call reads (or
// writes) the store, and the user folder is rebuilt from the current user name each time.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "contract/folders.h"
#include "contract/trace_sink.h"
#include "platform/profile_store.h"
#include "platform/registry.h"
#include "settings/current_user.h"
#include "settings/exact_profile_store.h"

namespace ovp {

// Storage used and allowed, from the QuotaStatus section of the user's profile file.
struct Quota {
    static constexpr double kUsedWhenAbsent = -1;
    static constexpr double kMaxWhenAbsent = 0;
    double used = kUsedWhenAbsent;
    double max = kMaxWhenAbsent;
};

// A stored decimal number: trimmed, optional sign, digits with an optional fraction. Anything
// else (empty, text, exponents, out of range) gives fallback.
double ParseStoredNumber(std::string_view text, double fallback);

class SharedValues {
  public:
    SharedValues(IRegistry& registry,
                 IProfileStore& store,
                 const Folders& folders,
                 IUserNameSource& users,
                 ITraceSink& trace)
        : registry_(registry), store_(store), folders_(folders), users_(users), trace_(trace) {}

    // ---- Windows registry ----
    // "Software\Harrowlane\" + installation name, and the product's own key "Software\" + it.
    std::string VendorKey() const;
    std::string ProductKey() const;
    std::string ConnectionParametersKey() const;
    std::string ApplicationKey() const;

    // Missing when the key or the value is missing (or on any failure).
    RegistryValue ReadRegistry(RegistryRoot root, std::string_view key, std::string_view name);
    // The key is created when missing; a failure is traced and gives false.
    bool WriteRegistryString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value);
    bool WriteRegistryDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value);
    // The connection `Status` under the vendor key: 1 or 2 while the user is logged in; 0 when it
    // is missing or no whole number.
    std::int64_t ConnectionStatus();
    // HKCU vendor key first; when that gives "", HKCU "Software\" + installation name.
    std::string ReadUserRegistry(std::string_view name);

    // ---- UserName.ini (application folder) ----
    std::string ReadUserNameRegistry(std::string_view key);
    bool WriteUserNameRegistry(std::string_view key, std::string_view value);
    std::string ReadUserNameOrvessa(std::string_view key);
    bool WriteUserNameOrvessa(std::string_view key, std::string_view value);

    // ---- The current user and the user's profile file ----
    std::string CurrentUserName() { return users_.CurrentUserName(); }
    std::filesystem::path UserFolder();
    std::filesystem::path UserFolderOf(std::string_view userName) const { return folders_.UserFolder(userName); }
    std::filesystem::path ProfileFile();
    std::string ReadProfile(std::string_view section, std::string_view key);
    bool WriteProfile(std::string_view section, std::string_view key, std::string_view value);
    Quota ReadQuota();
    // The profile file of a named user, for the commands that act on another user's job; such a
    // command never touches the current user's file.
    std::string ReadProfileOf(std::string_view userName, std::string_view section, std::string_view key);
    bool WriteProfileOf(std::string_view userName,
                        std::string_view section,
                        std::string_view key,
                        std::string_view value);

  private:
    IRegistry& registry_;
    ExactProfileStore store_;
    const Folders& folders_;
    IUserNameSource& users_;
    ITraceSink& trace_;
};

}  // namespace ovp
