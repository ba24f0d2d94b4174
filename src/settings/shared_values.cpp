#include "settings/shared_values.h"

#include <charconv>
#include <cmath>

#include "base/resume_next.h"
#include "base/text.h"
#include "contract/engine_contract.h"

namespace ovp {

double ParseStoredNumber(std::string_view text, double fallback) {
    std::string trimmed = TrimWhitespace(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() == '+') {
        return fallback;
    }
    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, std::chars_format::fixed);
    // from_chars also takes "inf" and "nan"; neither is a stored number.
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return fallback;
    }
    return value;
}

std::string SharedValues::VendorKey() const {
    return std::string(contract::kVendorKeyPrefix) + folders_.InstallationName();
}

std::string SharedValues::ProductKey() const {
    return std::string(contract::kProductKeyPrefix) + folders_.InstallationName();
}

std::string SharedValues::ConnectionParametersKey() const {
    return VendorKey() + std::string(contract::kConnectionParametersSubkey);
}

std::string SharedValues::ApplicationKey() const {
    return VendorKey() + std::string(contract::kApplicationSubkey);
}

RegistryValue SharedValues::ReadRegistry(RegistryRoot root, std::string_view key, std::string_view name) {
    return ResumeNextOr([&] { return registry_.Read(root, key, name); }, RegistryValue{});
}

bool SharedValues::WriteRegistryString(RegistryRoot root,
                                       std::string_view key,
                                       std::string_view name,
                                       std::string_view value) {
    const bool written = ResumeNextOr([&] { return registry_.WriteString(root, key, name, value); }, false);
    if (!written) {
        trace_.Error("Error in registry set value of " + std::string(name));
    }
    return written;
}

bool SharedValues::WriteRegistryDword(RegistryRoot root,
                                      std::string_view key,
                                      std::string_view name,
                                      std::uint32_t value) {
    const bool written = ResumeNextOr([&] { return registry_.WriteDword(root, key, name, value); }, false);
    if (!written) {
        trace_.Error("Error in registry set value of " + std::string(name));
    }
    return written;
}

std::string SharedValues::ReadUserRegistry(std::string_view name) {
    std::string value = ReadRegistry(RegistryRoot::CurrentUser, VendorKey(), name).AsText();
    if (value.empty()) {
        value = ReadRegistry(RegistryRoot::CurrentUser, ProductKey(), name).AsText();
    }
    return value;
}

std::string SharedValues::ReadUserNameRegistry(std::string_view key) {
    return ResumeNextOr([&] { return store_.Read(folders_.UserNameFile(), contract::kRegistrySection, key); },
                        std::string());
}

bool SharedValues::WriteUserNameRegistry(std::string_view key, std::string_view value) {
    return ResumeNextOr([&] { return store_.Write(folders_.UserNameFile(), contract::kRegistrySection, key, value); },
                        false);
}

std::string SharedValues::ReadUserNameOrvessa(std::string_view key) {
    return ResumeNextOr([&] { return store_.Read(folders_.UserNameFile(), contract::kOrvessaSection, key); },
                        std::string());
}

bool SharedValues::WriteUserNameOrvessa(std::string_view key, std::string_view value) {
    return ResumeNextOr([&] { return store_.Write(folders_.UserNameFile(), contract::kOrvessaSection, key, value); },
                        false);
}

std::filesystem::path SharedValues::UserFolder() {
    return folders_.UserFolder(CurrentUserName());
}

std::filesystem::path SharedValues::ProfileFile() {
    return folders_.ProfileFile(CurrentUserName());
}

std::string SharedValues::ReadProfile(std::string_view section, std::string_view key) {
    return ResumeNextOr([&] { return store_.Read(ProfileFile(), section, key); }, std::string());
}

bool SharedValues::WriteProfile(std::string_view section, std::string_view key, std::string_view value) {
    return ResumeNextOr([&] { return store_.Write(ProfileFile(), section, key, value); }, false);
}

std::int64_t SharedValues::ConnectionStatus() {
    const RegistryValue value =
        ReadRegistry(RegistryRoot::CurrentUser, ConnectionParametersKey(), contract::kRegStatus);
    if (value.kind == RegistryValue::Kind::Dword) {
        return value.number;
    }
    // The engine writes a DWORD; a string that is no whole number says nothing about a connection.
    return ParseIntegerOr(value.text, 0);
}

std::string SharedValues::ReadProfileOf(std::string_view userName, std::string_view section, std::string_view key) {
    return ResumeNextOr([&] { return store_.Read(folders_.ProfileFile(userName), section, key); }, std::string());
}

bool SharedValues::WriteProfileOf(std::string_view userName,
                                  std::string_view section,
                                  std::string_view key,
                                  std::string_view value) {
    return ResumeNextOr([&] { return store_.Write(folders_.ProfileFile(userName), section, key, value); }, false);
}

Quota SharedValues::ReadQuota() {
    Quota quota;
    quota.used = ParseStoredNumber(ReadProfile(contract::kQuotaStatusSection, contract::kUsed), Quota::kUsedWhenAbsent);
    quota.max = ParseStoredNumber(ReadProfile(contract::kQuotaStatusSection, contract::kMax), Quota::kMaxWhenAbsent);
    return quota;
}

}  // namespace ovp
