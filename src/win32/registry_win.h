#pragma once
// The registry port on the Win32 registry API.

#include "contract/trace_sink.h"
#include "platform/registry.h"

namespace ovp::win {

class Win32Registry final : public IRegistry {
  public:
    // Which view of HKLM\Software a 64-bit program sees: its own, or the one 32-bit programs see.
    // The product's installer and engine are 32-bit programs and keep their HKLM values in the
    // 32-bit view, so that is the monitor's view too. HKCU\Software is one for both, and is
    // opened without a view.
    enum class View { Native, Registry32 };

    // trace, when given, receives a line for every call that Windows fails, other than a key or
    // value that is not there.
    explicit Win32Registry(View view = View::Registry32, ITraceSink* trace = nullptr) : view_(view), trace_(trace) {}

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
    void TraceFailure(const char* api, long error, RegistryRoot root, std::string_view key, std::string_view name);

    View view_;
    ITraceSink* trace_;
};

}  // namespace ovp::win
