#pragma once
// Port: the facts about this computer that only the error report asks for.

#include <filesystem>
#include <string>
#include <string_view>

namespace ovp {

// A locale as the report describes it.
struct LocaleDetails {
    std::string localeId;  // the locale number, e.g. "1033"
    std::string country;   // English name
    std::string countryAbbreviation;
    std::string language;
    std::string timeFormat;
    std::string shortDate;
};

enum class LocaleKind {
    Regional,  // the user's standards and formats
    CodePage,  // the locale of programs that are not Unicode
};

class IReportSystem {
  public:
    virtual ~IReportSystem() = default;
    virtual bool Is64BitSystem() = 0;
    // A text value of the machine's registry in the system's own view (not the 32-bit view that
    // holds the engine's values); "" when it is missing.
    virtual std::string SystemValue(std::string_view key, std::string_view name) = 0;
    // The file's version resource as "a.b.c.d"; "" when the file or its version is missing.
    virtual std::string FileVersion(const std::filesystem::path& file) = 0;
    virtual LocaleDetails Locale(LocaleKind kind) = 0;
    // The folder of application data shared by every user; empty when unknown.
    virtual std::filesystem::path CommonAppDataFolder() = 0;
};

}  // namespace ovp
