#include "support/fakes.h"

#include "base/files.h"
#include "base/ini_text.h"
#include "base/text.h"

namespace ovp::test {

FakeRegistry::Id FakeRegistry::MakeId(RegistryRoot root, std::string_view key, std::string_view name) {
    return {root, ToLowerAscii(key), ToLowerAscii(name)};
}

RegistryValue FakeRegistry::Read(RegistryRoot root, std::string_view key, std::string_view name) {
    const auto found = values_.find(MakeId(root, key, name));
    return found == values_.end() ? RegistryValue{} : found->second;
}

bool FakeRegistry::WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) {
    ++writeCount;
    if (failWrites) {
        return false;
    }
    values_[MakeId(root, key, name)] = RegistryValue::String(CutAtNul(value));
    return true;
}

bool FakeRegistry::WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) {
    ++writeCount;
    if (failWrites) {
        return false;
    }
    values_[MakeId(root, key, name)] = RegistryValue::Dword(value);
    return true;
}

FakeProfileStore::Id FakeProfileStore::MakeId(const std::filesystem::path& file,
                                              std::string_view section,
                                              std::string_view key) {
    return {Utf8FromPath(file.lexically_normal()), ToLowerAscii(section), ToLowerAscii(key)};
}

std::string FakeProfileStore::Read(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const auto found = values_.find(MakeId(file, section, key));
    return found == values_.end() ? std::string() : std::string(ProfileValueAsRead(found->second));
}

bool FakeProfileStore::Write(const std::filesystem::path& file,
                             std::string_view section,
                             std::string_view key,
                             std::string_view value) {
    ++writeCount;
    if (failWrites) {
        return false;
    }
    values_[MakeId(file, section, key)] = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    return true;
}

std::map<std::string, std::string> FakeProfileStore::Dump(const std::filesystem::path& file) const {
    const std::string name = Utf8FromPath(file.lexically_normal());
    std::map<std::string, std::string> out;
    for (const auto& [id, value] : values_) {
        if (std::get<0>(id) == name) {
            out[std::get<1>(id) + "/" + std::get<2>(id)] = value;
        }
    }
    return out;
}

void FakeClock::Sleep(std::uint32_t ms) {
    sleeps.push_back(ms);
    Advance(ms);
}

void FakeClock::WaitPumping(std::uint32_t ms) {
    pumpingWaits.push_back(ms);
    Advance(ms);
}

void FakeClock::Advance(std::uint32_t ms) {
    tick_ += ms;
    pendingMs_ += ms;
    now_ = now_.AddSeconds(pendingMs_ / 1000);
    pendingMs_ %= 1000;
}

std::string FakeLocaleText::Text(int id) {
    const auto found = texts.find(id);
    return found == texts.end() ? std::string() : found->second;
}

}  // namespace ovp::test
