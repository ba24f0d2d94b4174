#pragma once
// The error report's system facts from Windows: bitness, file versions, locales and the common
// application-data folder.

#include "report/report_system.h"

namespace ovp::win {

class Win32ReportSystem final : public IReportSystem {
  public:
    bool Is64BitSystem() override;
    std::string SystemValue(std::string_view key, std::string_view name) override;
    std::string FileVersion(const std::filesystem::path& file) override;
    LocaleDetails Locale(LocaleKind kind) override;
    std::filesystem::path CommonAppDataFolder() override;
};

}  // namespace ovp::win
