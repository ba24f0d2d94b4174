#pragma once
// Port: the Windows registry, reduced to what the monitor shares with the engine.

#include <cstdint>
#include <string>
#include <string_view>

namespace ovp {

enum class RegistryRoot { CurrentUser, LocalMachine };

// A value as read: missing, a string, or a DWORD.
struct RegistryValue {
    enum class Kind { Missing, String, Dword };
    Kind kind = Kind::Missing;
    std::string text;          // String values, whole (cut at the first NUL)
    std::uint32_t number = 0;  // Dword values

    static RegistryValue String(std::string value) { return {Kind::String, std::move(value), 0}; }
    static RegistryValue Dword(std::uint32_t value) { return {Kind::Dword, {}, value}; }

    // The value as text: the string, the DWORD in decimal, or "" when missing.
    std::string AsText() const { return kind == Kind::Dword ? std::to_string(number) : text; }
    bool IsMissing() const { return kind == Kind::Missing; }
};

class IRegistry {
  public:
    virtual ~IRegistry() = default;
    // Key paths use backslashes, as Windows writes them ("Software\\Harrowlane\\...").
    virtual RegistryValue Read(RegistryRoot root, std::string_view key, std::string_view name) = 0;
    // Writers create the key when missing; false on failure.
    virtual bool WriteString(RegistryRoot root,
                             std::string_view key,
                             std::string_view name,
                             std::string_view value) = 0;
    virtual bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) = 0;
};

}  // namespace ovp
