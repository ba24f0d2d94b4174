#pragma once
// The registry port on the Win32 registry API.

#include "platform/registry.h"

namespace ovp::win {

class Win32Registry final : public IRegistry {
  public:
    // Which view of HKLM\Software a 64-bit program sees: its own, or the one 32-bit programs see
    // (where a 32-bit engine or installer keeps its values). HKCU\Software is the same in both.
    enum class View { Native, Registry32 };

    explicit Win32Registry(View view = View::Native) : view_(view) {}

    RegistryValue Read(RegistryRoot root, std::string_view key, std::string_view name) override;
    bool WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) override;
    bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) override;

  private:
    bool Write(RegistryRoot root,
               std::string_view key,
               std::string_view name,
               unsigned long type,
               const void* data,
               unsigned long size);

    View view_;
};

}  // namespace ovp::win
