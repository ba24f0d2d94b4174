#pragma once
// Port: the facts about this computer that only the error report asks for.

#include <filesystem>
#include <string>

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
    // The file's version resource as "a.b.c.d"; "" when the file or its version is missing.
    virtual std::string FileVersion(const std::filesystem::path& file) = 0;
    virtual LocaleDetails Locale(LocaleKind kind) = 0;
    // The folder of application data shared by every user; empty when unknown.
    virtual std::filesystem::path CommonAppDataFolder() = 0;
};

}  // namespace ovp
