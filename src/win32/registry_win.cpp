#include "win32/registry_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "win32/error_text_win.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

// A value that keeps growing between the size query and the read is given up after this many
// rounds rather than chased for ever.
constexpr int kReadAttempts = 8;

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM ViewFlag(Win32Registry::View view, RegistryRoot root) {
    return view == Win32Registry::View::Registry32 && root == RegistryRoot::LocalMachine ? KEY_WOW64_32KEY : 0;
}

std::string_view RootName(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// A key or value that is not there is an answer, not a failure.
bool IsMissing(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The whole value however long: asks for the size, reads, and asks again while the value has
// grown in between (ERROR_MORE_DATA). The status of the last call is left in status.
bool QueryWhole(HKEY key, const std::wstring& name, RawValue& out, LSTATUS& status) {
    DWORD size = 0;
    status = ::RegQueryValueExW(key, name.c_str(), nullptr, &out.type, nullptr, &size);
    for (int attempt = 0; attempt < kReadAttempts && status == ERROR_SUCCESS; ++attempt) {
        // Room for a terminating NUL the writer may have left out.
        out.data.assign(size + sizeof(wchar_t), 0);
        DWORD got = size;
        status = ::RegQueryValueExW(key, name.c_str(), nullptr, &out.type, out.data.data(), &got);
        if (status == ERROR_SUCCESS) {
            out.data.resize(got);
            return true;
        }
        if (status == ERROR_MORE_DATA) {
            size = got;
            status = ERROR_SUCCESS;
        }
    }
    return false;
}

RegistryValue Interpret(const RawValue& raw) {
    if (raw.type == REG_SZ || raw.type == REG_EXPAND_SZ) {
        std::wstring text(raw.data.size() / sizeof(wchar_t), L'\0');
        if (!text.empty()) {
            std::memcpy(text.data(), raw.data.data(), text.size() * sizeof(wchar_t));
        }
        // Stored strings carry their terminator, and some writers leave more after it.
        const auto end = text.find(L'\0');
        return RegistryValue::String(Narrow(std::wstring_view(text).substr(0, end)));
    }
    if (raw.type == REG_DWORD && raw.data.size() >= sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, raw.data.data(), sizeof(number));
        return RegistryValue::Dword(number);
    }
    return {};
}

}  // namespace

RegistryValue Win32Registry::Read(RegistryRoot root, std::string_view key, std::string_view name) {
    unique_hkey handle;
    LSTATUS status =
        ::RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ | ViewFlag(view_, root), handle.put());
    if (status != ERROR_SUCCESS) {
        TraceFailure("RegOpenKeyExW", status, root, key, {});
        return {};
    }
    RawValue raw;
    if (!QueryWhole(handle.get(), Wide(name), raw, status)) {
        TraceFailure("RegQueryValueExW", status, root, key, name);
        return {};
    }
    return Interpret(raw);
}

bool Win32Registry::WriteString(RegistryRoot root,
                                std::string_view key,
                                std::string_view name,
                                std::string_view value) {
    const std::wstring text = Wide(value);
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return Write(root, key, name, REG_SZ, text.c_str(), size);
}

bool Win32Registry::WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) {
    const DWORD number = value;
    return Write(root, key, name, REG_DWORD, &number, sizeof(number));
}

bool Win32Registry::Write(RegistryRoot root,
                          std::string_view key,
                          std::string_view name,
                          unsigned long type,
                          const void* data,
                          unsigned long size) {
    unique_hkey handle;
    LSTATUS status = ::RegCreateKeyExW(RootKey(root), Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE | ViewFlag(view_, root), nullptr, handle.put(), nullptr);
    if (status != ERROR_SUCCESS) {
        TraceFailure("RegCreateKeyExW", status, root, key, {});
        return false;
    }
    status = ::RegSetValueExW(handle.get(), Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS) {
        TraceFailure("RegSetValueExW", status, root, key, name);
        return false;
    }
    return true;
}

void Win32Registry::TraceFailure(const char* api,
                                 long error,
                                 RegistryRoot root,
                                 std::string_view key,
                                 std::string_view name) {
    if (trace_ == nullptr || IsMissing(error)) {
        return;
    }
    std::string subject(RootName(root));
    subject.append(1, '\\').append(key);
    if (!name.empty()) {
        subject.append(1, '\\').append(name);
    }
    trace_->Error(ApiFailureText(api, static_cast<std::uint32_t>(error), subject));
}

}  // namespace ovp::win
