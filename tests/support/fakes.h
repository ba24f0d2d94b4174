#pragma once
// Recording fakes of the ports, with the Windows semantics the core relies on.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "contract/trace_sink.h"
#include "platform/clock.h"
#include "platform/locale_text.h"
#include "platform/profile_store.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace ovp::test {

// Registry in memory; key paths and value names compare case-insensitively, as on Windows.
class FakeRegistry : public IRegistry {
  public:
    RegistryValue Read(RegistryRoot root, std::string_view key, std::string_view name) override;
    bool WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) override;
    bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) override;

    bool failWrites = false;
    int writeCount = 0;

  private:
    using Id = std::tuple<RegistryRoot, std::string, std::string>;
    static Id MakeId(RegistryRoot root, std::string_view key, std::string_view name);
    std::map<Id, RegistryValue> values_;
};

// Private-profile files in memory, keyed by the file's full path; sections and keys compare
// case-insensitively. A value is kept as its line in a real file would hold it: up to its first
// line break or NUL. It reads back as the real store reads it (ProfileValueAsRead: blanks and one
// pair of quotes around it dropped); Dump shows it as stored.
class FakeProfileStore : public IProfileStore {
  public:
    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override;
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override;

    // Every value of the file as "section/key" (lower case) -> value.
    std::map<std::string, std::string> Dump(const std::filesystem::path& file) const;

    bool failWrites = false;
    int writeCount = 0;

  private:
    using Id = std::tuple<std::string, std::string, std::string>;
    static Id MakeId(const std::filesystem::path& file, std::string_view section, std::string_view key);
    std::map<Id, std::string> values_;
};

class FakeClock : public IClock {
  public:
    explicit FakeClock(DateTime now = {2026, 3, 14, 9, 30, 0}) : now_(now) {}
    DateTime Now() override { return now_; }
    std::uint64_t TickMs() override { return tick_; }
    void Sleep(std::uint32_t ms) override;
    void WaitPumping(std::uint32_t ms) override;

    void Set(DateTime now) { now_ = now; }
    void Advance(std::uint32_t ms);

    std::vector<std::uint32_t> sleeps;
    std::vector<std::uint32_t> pumpingWaits;

  private:
    DateTime now_;
    std::uint64_t tick_ = 0;
    std::uint32_t pendingMs_ = 0;
};

class FakeLocaleText : public ILocaleText {
  public:
    std::string Text(int id) override;
    std::map<int, std::string> texts;
};

class FakeSystemInfo : public ISystemInfo {
  public:
    OsVersion Version() override { return version; }
    std::string ProcessUserName() override { return processUserName; }
    OsVersion version;
    std::string processUserName = "alice";
};

// Records trace lines instead of writing files; Info and Error keep their tag, without a date.
class FakeTraceSink : public ITraceSink {
  public:
    void WriteTrace(std::string_view text) override { lines.emplace_back(text); }
    void Info(std::string_view message) override { lines.push_back("  [INFORMATION] " + std::string(message)); }
    void Error(std::string_view message) override { lines.push_back("   [ERROR] " + std::string(message)); }

    std::vector<std::string> lines;
};

}  // namespace ovp::test
