#pragma once
// The report's system facts as the test sets them: file versions by file name.

#include <map>
#include <string>

#include "base/files.h"
#include "report/report_system.h"
#include "support/fakes.h"

namespace ovp::test {

class FakeReportSystem : public IReportSystem {
  public:
    bool Is64BitSystem() override { return true; }
    std::string FileVersion(const std::filesystem::path& file) override {
        return ValueOr(versions, Utf8FromPath(file.filename()));
    }
    std::string SystemValue(std::string_view key, std::string_view name) override {
        return ValueOr(systemValues, std::string(key) + "|" + std::string(name));
    }
    LocaleDetails Locale(LocaleKind kind) override { return kind == LocaleKind::Regional ? regional : codePage; }
    std::filesystem::path CommonAppDataFolder() override { return {}; }

    std::map<std::string, std::string> versions;
    // "key|name" -> value
    std::map<std::string, std::string> systemValues;
    LocaleDetails regional{"1033", "United States", "USA", "English", "h:mm:ss tt", "M/d/yyyy"};
    LocaleDetails codePage{"1031", "Germany", "DEU", "German", "HH:mm:ss", "dd.MM.yyyy"};
};

}  // namespace ovp::test
