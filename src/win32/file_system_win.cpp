#include "win32/file_system_win.h"

#include <windows.h>

#include <string>

#include "base/files.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

bool Has(DWORD attributes, DWORD flag) {
    return (attributes & flag) != 0;
}

bool IsGone(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The attributes of a link may be those of its target, so they are left alone: the link is
// removed as it is.
void RemoveLink(const std::wstring& path, DWORD attributes) {
    if (Has(attributes, FILE_ATTRIBUTE_DIRECTORY)) {
        ::RemoveDirectoryW(path.c_str());
    } else {
        ::DeleteFileW(path.c_str());
    }
}

void MakeWritable(const std::wstring& path, DWORD attributes) {
    if (Has(attributes, FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
}

// Deletes what the attributes describe. Links are never entered, which also keeps the recursion
// free of cycles; its depth is bounded by the length of a path.
void DeleteEntry(const std::wstring& path, DWORD attributes) {
    if (Has(attributes, FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveLink(path, attributes);
        return;
    }
    MakeWritable(path, attributes);
    if (!Has(attributes, FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW entry{};
    const unique_hfind find(
        ::FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                DeleteEntry(path + L"\\" + name, entry.dwFileAttributes);
            }
        } while (::FindNextFileW(find.get(), &entry));
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

bool Win32FileSystem::DeleteTree(const std::filesystem::path& path) {
    const std::wstring text = path.wstring();
    if (text.empty()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(text.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return IsGone(text);
    }
    DeleteEntry(text, attributes);
    return IsGone(text);
}

bool FlushFileToDisk(const std::filesystem::path& file) {
    const unique_hfile handle(::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle && ::FlushFileBuffers(handle.get()) != 0;
}

void InstallFileFlush() {
    SetFileFlush(&FlushFileToDisk);
}

}  // namespace ovp::win
