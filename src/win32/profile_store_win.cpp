#include "win32/profile_store_win.h"

#include <windows.h>

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "win32/error_text_win.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {

namespace {

constexpr DWORD kFirstReadChars = 1024;
// Far beyond any value of ours; a read stops growing here rather than exhausting memory.
constexpr DWORD kMaxReadChars = 16u * 1024u * 1024u;

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A name without a folder would be looked up in the Windows folder.
std::wstring FullPath(const std::filesystem::path& file) {
    std::error_code error;
    const auto full = std::filesystem::absolute(file, error);
    return error ? file.wstring() : full.wstring();
}

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int chars = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (chars <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), chars);
    return text;
}

// Whether the ANSI code page holds every character exactly: no default character and no
// "best fit" look-alike (which Windows would write without a word).
bool FitsAnsiCodePage(std::wstring_view text) {
    const UINT codePage = ::GetACP();
    if (text.empty() || codePage == CP_UTF8) {
        return true;
    }
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length =
        ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return false;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr,
                          &usedDefault);
    return !usedDefault && FromCodePage(codePage, bytes) == text;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

// Starts a missing file as an empty Unicode file, so that Windows keeps it Unicode. An existing
// file (perhaps just created by the engine) is left alone.
void CreateUnicodeFileIfMissing(const std::wstring& path) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        DWORD written = 0;
        ::WriteFile(file.get(), kUtf16LeMark.data(), static_cast<DWORD>(kUtf16LeMark.size()), &written, nullptr);
    }
}

// Rewrites an ANSI file as UTF-16LE with the same entries. False when the file could not be read
// or replaced; true when it is Unicode already.
bool ConvertToUnicode(const std::wstring& path) {
    const auto bytes = ReadFileBytes(std::filesystem::path(path));
    if (!bytes) {
        return false;
    }
    if (StartsWith(*bytes, kUtf16LeMark) || StartsWith(*bytes, kUtf16BeMark)) {
        return true;
    }
    // A UTF-8 mark comes from a text editor; the text after it is UTF-8, not ANSI.
    const std::wstring text = StartsWith(*bytes, kUtf8Mark)
                                  ? FromCodePage(CP_UTF8, std::string_view(*bytes).substr(kUtf8Mark.size()))
                                  : FromCodePage(CP_ACP, *bytes);
    const std::u16string units(text.begin(), text.end());
    return ReplaceFileBytes(std::filesystem::path(path), std::string(kUtf16LeMark) + Utf16LeBytes(units));
}

bool HasLineBreak(std::wstring_view text) {
    return text.find_first_of(L"\r\n") != std::wstring_view::npos;
}

}  // namespace

std::string Win32ProfileStore::Read(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const std::wstring path = FullPath(file);
    const std::wstring sectionText = Wide(section);
    const std::wstring keyText = Wide(key);
    std::wstring buffer;
    for (DWORD size = kFirstReadChars;; size *= 2) {
        buffer.assign(size, L'\0');
        const DWORD got =
            ::GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), L"", buffer.data(), size, path.c_str());
        // A value that fills the buffer to the last character may have been cut: read again.
        if (got + 1 < size || size >= kMaxReadChars) {
            buffer.resize(got);
            break;
        }
    }
    return Narrow(std::wstring_view(buffer).substr(0, buffer.find(L'\0')));
}

bool Win32ProfileStore::Write(const std::filesystem::path& file,
                              std::string_view section,
                              std::string_view key,
                              std::string_view value) {
    const std::wstring path = FullPath(file);
    const std::wstring sectionText = Wide(section);
    const std::wstring keyText = Wide(key);
    // A line break would start new lines in the file: a value could plant keys or sections of its
    // own. Only the first line of a value can be read back, so only that is stored.
    std::wstring valueText = Wide(value);
    valueText.resize(std::min(valueText.find_first_of(std::wstring_view(L"\r\n\0", 3)), valueText.size()));
    if (sectionText.empty() || keyText.empty() || HasLineBreak(sectionText) || HasLineBreak(keyText)) {
        return false;
    }

    CreateUnicodeFileIfMissing(path);
    const bool fits = FitsAnsiCodePage(sectionText) && FitsAnsiCodePage(keyText) && FitsAnsiCodePage(valueText);
    // Rather no write than a value with characters replaced.
    if (!fits && !ConvertToUnicode(path)) {
        return false;
    }
    if (::WritePrivateProfileStringW(sectionText.c_str(), keyText.c_str(), valueText.c_str(), path.c_str())) {
        return true;
    }
    if (trace_ != nullptr) {
        const std::string subject = Narrow(path) + " [" + std::string(section) + "] " + std::string(key);
        trace_->Error(ApiFailureText("WritePrivateProfileStringW", ::GetLastError(), subject));
    }
    return false;
}

std::optional<IniText> Win32ProfileStore::ReadAll(const std::filesystem::path& file) {
    const std::filesystem::path path(FullPath(file));
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return FileExists(path) ? std::nullopt : std::optional<IniText>(IniText());
    }
    // Windows honours no other mark: after a UTF-8 one the first line is not a section header.
    if (StartsWith(*bytes, kUtf16LeMark)) {
        return IniText::Parse(DecodeTextFile(*bytes));
    }
    return IniText::Parse(Narrow(FromCodePage(CP_ACP, *bytes)));
}

}  // namespace ovp::win
