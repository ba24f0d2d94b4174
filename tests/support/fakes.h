#pragma once
// Recording fakes of the ports, with the Windows semantics the core relies on.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/files.h"
#include "base/ini_text.h"
#include "base/text.h"
#include "contract/trace_sink.h"
#include "platform/clock.h"
#include "platform/locale_text.h"
#include "platform/profile_store.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace ovp::test {

// What `map` holds under `key`, or `fallback`: how every fake answers for what it was not told.
template <class Map>
typename Map::mapped_type ValueOr(const Map& map,
                                  const typename Map::key_type& key,
                                  typename Map::mapped_type fallback = {}) {
    const auto found = map.find(key);
    return found == map.end() ? fallback : found->second;
}

// Registry in memory; key paths and value names compare case-insensitively, as on Windows.
class FakeRegistry : public IRegistry {
  public:
    RegistryValue Read(RegistryRoot root, std::string_view key, std::string_view name) override {
        return ValueOr(values_, MakeId(root, key, name));
    }
    bool WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) override {
        return Write(MakeId(root, key, name), RegistryValue::String(CutAtNul(value)));
    }
    bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) override {
        return Write(MakeId(root, key, name), RegistryValue::Dword(value));
    }

    bool failWrites = false;
    int writeCount = 0;

  private:
    using Id = std::tuple<RegistryRoot, std::string, std::string>;
    static Id MakeId(RegistryRoot root, std::string_view key, std::string_view name) {
        return {root, ToLowerAscii(key), ToLowerAscii(name)};
    }
    bool Write(const Id& id, RegistryValue value) {
        ++writeCount;
        if (!failWrites) {
            values_[id] = std::move(value);
        }
        return !failWrites;
    }
    std::map<Id, RegistryValue> values_;
};

// Private-profile files in memory, keyed by the file's full path; sections and keys compare
// case-insensitively. A value is kept as its line in a real file would hold it: up to its first
// line break or NUL. It reads back as the real store reads it (ProfileValueAsRead: blanks and one
// pair of quotes around it dropped); Dump shows it as stored.
class FakeProfileStore : public IProfileStore {
  public:
    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override {
        return std::string(ProfileValueAsRead(ValueOr(values_, MakeId(file, section, key))));
    }
    bool Write(const std::filesystem::path& file,
               std::string_view section,
               std::string_view key,
               std::string_view value) override {
        ++writeCount;
        if (!failWrites) {
            values_[MakeId(file, section, key)] = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
        }
        return !failWrites;
    }

    // Every value of the file as "section/key" (lower case) -> value.
    std::map<std::string, std::string> Dump(const std::filesystem::path& file) const {
        const std::string name = Utf8FromPath(file.lexically_normal());
        std::map<std::string, std::string> out;
        for (const auto& [id, value] : values_) {
            if (std::get<0>(id) == name) {
                out[std::get<1>(id) + "/" + std::get<2>(id)] = value;
            }
        }
        return out;
    }

    bool failWrites = false;
    int writeCount = 0;

  private:
    using Id = std::tuple<std::string, std::string, std::string>;
    static Id MakeId(const std::filesystem::path& file, std::string_view section, std::string_view key) {
        return {Utf8FromPath(file.lexically_normal()), ToLowerAscii(section), ToLowerAscii(key)};
    }
    std::map<Id, std::string> values_;
};

class FakeClock : public IClock {
  public:
    explicit FakeClock(DateTime now = {2026, 3, 14, 9, 30, 0}) : now_(now) {}
    DateTime Now() override { return now_; }
    std::uint64_t TickMs() override { return tick_; }
    void Sleep(std::uint32_t ms) override {
        sleeps.push_back(ms);
        Advance(ms);
    }
    void WaitPumping(std::uint32_t ms) override {
        pumpingWaits.push_back(ms);
        Advance(ms);
    }

    void Set(DateTime now) { now_ = now; }

    std::vector<std::uint32_t> sleeps;
    std::vector<std::uint32_t> pumpingWaits;

  private:
    void Advance(std::uint32_t ms) {
        tick_ += ms;
        pendingMs_ += ms;
        now_ = now_.AddSeconds(pendingMs_ / 1000);
        pendingMs_ %= 1000;
    }

    DateTime now_;
    std::uint64_t tick_ = 0;
    std::uint32_t pendingMs_ = 0;
};

class FakeLocaleText : public ILocaleText {
  public:
    std::string Text(int id) override { return ValueOr(texts, id); }
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
