#pragma once
// clsTransfer: the one class through which the monitor reads and writes the user's profile file,
// the user name file, the search files and the automatic-path file. Every call builds its path
// from the current user name, so a change of user takes effect at the next call, and every read
// goes to the file, because the engine writes the same files from its own processes.
// Readers give "" and writers false on any failure; nothing throws.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "contract/folders.h"
#include "contract/trace_sink.h"
#include "platform/profile_store.h"
#include "settings/current_user.h"
#include "settings/exact_profile_store.h"

namespace ovp {

class clsTransfer {
  public:
    clsTransfer(IProfileStore& store,
                const Folders& folders,
                std::string productName,
                IUserNameSource& users,
                ITraceSink& trace)
        : store_(store), folders_(folders), productName_(std::move(productName)), users_(users), trace_(trace) {}

    // ---- User's profile file ----
    bool Trf_WriteUserProfileDefault(std::string_view section, std::string_view key, std::string_view value);
    // Orvessa section, key and value obscured.
    bool Trf_WriteUserProfile(std::string_view key, std::string_view value);
    std::string Trf_ReadUserProfile(std::string_view key);
    // Orvessa section, key obscured, value plain.
    bool Trf_WriteUserProfileWithoutEncrypt(std::string_view key, std::string_view value);
    // Orvessa section, key and value plain.
    bool Trf_WriteUserProfileWithoutEncryptIdle(std::string_view key, std::string_view value);
    std::string Trf_ReadUserProfileIdle(std::string_view key);
    std::string Trf_ReadUserProfileWithoutDecrypt(std::string_view key);
    // Proxy and DateFormat sections, key and value obscured.
    bool Trf_WriteProxyProfile(std::string_view key, std::string_view value);
    std::string Trf_ReadProxyProfile(std::string_view key);
    bool Trf_WriteDateFormatProfile(std::string_view key, std::string_view value);
    std::string Trf_ReadDateFormatProfile(std::string_view key);
    // Any section, plain: the values the engine leaves for the monitor.
    std::string Trf_ReadOutputValue(std::string_view section, std::string_view key);
    // Orvessa section of the user's profile file, plain.
    bool Trf_WriteUserNameProfileEmail(std::string_view key, std::string_view value);

    // ---- User name file, Orvessa section, plain ----
    std::string Trf_ReadUserNameProfile(std::string_view key);
    bool Trf_WriteUserNameProfile(std::string_view key, std::string_view value);

    // ---- Search files, plain ----
    // Writes every search file (two when the brand file exists); true only when all were written.
    bool Trf_WriteSearchUserNameProfile(std::string_view key, std::string_view value);
    // Writes the value as SearchEnable of the given section of the product's search file.
    bool Trf_WriteSearchProfile(std::string_view section, std::string_view value);
    bool Trf_WritePluginUserProfile(std::string_view key, std::string_view value);
    std::string Trf_ReadPluginUserProfile(std::string_view key);

    // ---- Automatic-path file, AUTOFILEPATHS section, plain ----
    std::string ReadSimpleAutofileProfile(std::string_view key);

    // Creates the folder (and its parents) when missing; true when it exists afterwards.
    bool Trf_CreateLocalDir(std::string_view path);

    // The product's search file, and the brand search file as well when Images\Config.txt exists.
    std::vector<std::filesystem::path> SearchFiles() const;

  private:
    // Paths are built inside the guarded call, so that even building one cannot throw out.
    using FileOf = std::filesystem::path (clsTransfer::*)();
    std::filesystem::path ProfileFile();
    std::filesystem::path UserNameFile();
    std::filesystem::path AutoPathFile();
    std::string Read(FileOf file, std::string_view section, std::string_view key);
    bool Write(FileOf file, std::string_view section, std::string_view key, std::string_view value);
    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key);
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value);
    std::string ReadObscured(std::string_view section, std::string_view key);
    bool WriteObscured(std::string_view section, std::string_view key, std::string_view value);

    ExactProfileStore store_;
    const Folders& folders_;
    std::string productName_;
    IUserNameSource& users_;
    ITraceSink& trace_;
};

}  // namespace ovp
