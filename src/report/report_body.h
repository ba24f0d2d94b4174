#pragma once
// The error report's body: a block that describes the user's system and account, the user's
// encoded message and, when the user asks for it, the attachment with component versions,
// settings, log and trace files, locale details and which engine programs run.
//
// Everything read by the program goes in as it is except the few characters that would start a
// form field of their own; every typed or logged line goes in encoded. Nothing that holds
// credentials (the profile files, the user name file) is ever attached.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "context/app_context.h"
#include "platform/locale_format.h"
#include "report/report_system.h"

namespace ovp {

// What the user typed into the report window.
struct ReportForm {
    std::string email;
    std::string contactNumber;
    std::string message;
};

// The line that starts the attachment.
inline constexpr std::string_view kLogStartsHere = "Log starts here,";

class ErrorReportBody {
  public:
    ErrorReportBody(AppContext& context, IReportSystem& system, ILocaleFormat& locale)
        : context_(context), system_(system), locale_(locale) {}

    // `GetSystemSettings`: the system block.
    std::string GetSystemSettings(const ReportForm& form);
    // `getLogFilesAsText` (every edition but the brand product) and `getLogFileAsTextProf`.
    std::string getLogFilesAsText();
    std::string getLogFileAsTextProf();
    // The attachment of this edition.
    std::string Attachment();

    // The whole body: the system block, CR LF, the encoded message and, when attached and not
    // empty, the attachment after its opening line.
    std::string Build(const ReportForm& form, bool attachLogs);

    // Bytes taken from files so far.
    std::uint64_t BytesRead() const { return bytesRead_; }

  private:
    std::string ApplicationValue(std::string_view name);
    std::string Version(const std::filesystem::path& file);
    std::string QuotaLines();
    std::string SettingsLines(bool withStatus);
    std::string FileSection(const std::filesystem::path& file, std::string_view header);
    std::string LocaleLines(LocaleKind kind);
    std::string LocaleSection();
    std::string ExeStatus();
    std::string ProxyText();

    AppContext& context_;
    IReportSystem& system_;
    ILocaleFormat& locale_;
    std::uint64_t bytesRead_ = 0;
};

// Whether a maximum quota reads as the unlimited plan's 30.0 GB.
bool IsUnlimitedQuota(double maxBytes);

}  // namespace ovp
