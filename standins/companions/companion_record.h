#pragma once
// What a stand-in library records: "<who>: <event>" appended to the events file in the library's
// own folder (the application folder), as the stand-in programs record theirs.

#include <windows.h>

#include <string>
#include <string_view>

#include "standin_product.h"

namespace ovp::standin {

inline void RecordLibraryEvent(std::string_view who, std::string_view event) {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&RecordLibraryEvent), &self)) {
        return;
    }
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()))) == path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    path.erase(path.find_last_of(L'\\') + 1);
    path.append(kEventsFile.begin(), kEventsFile.end());
    const std::string line = std::string(who) + ": " + std::string(event) + "\r\n";
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace ovp::standin
