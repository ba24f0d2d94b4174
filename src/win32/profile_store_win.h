#pragma once
// The private-profile port on GetPrivateProfileStringW / WritePrivateProfileStringW.
//
// Windows keeps an ini file in the ANSI code page unless the file starts with the UTF-16LE mark
// FF FE, and silently replaces every character the code page lacks. So that no character is lost,
// a new file is started as an empty Unicode file, and an ANSI file is converted to Unicode (its
// contents kept) before a value it cannot hold is written into it.

#include "contract/trace_sink.h"
#include "platform/profile_store.h"

namespace ovp::win {

class Win32ProfileStore final : public IProfileStore {
  public:
    // trace, when given, receives a line for every write that Windows fails.
    explicit Win32ProfileStore(ITraceSink* trace = nullptr) : trace_(trace) {}

    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override;
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override;
    // The file's bytes decoded as Windows decodes them (UTF-16LE after FF FE, else the ANSI code
    // page) and parsed by IniText, whose rules are those of GetPrivateProfileString.
    std::optional<IniText> ReadAll(const std::filesystem::path& file) override;

  private:
    ITraceSink* trace_;
};

}  // namespace ovp::win
