#include "win32/code_page_win.h"

#include <windows.h>

#include <limits>

#include "base/text.h"
#include "win32/text_win.h"

namespace ovp::win {

namespace {

// The Win32 conversions count in int; longer texts are not ours to convert.
bool FitsInt(std::size_t size) {
    return size <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

}  // namespace

std::string Win32CodePage::AnsiToUtf8(std::string_view bytes) {
    if (bytes.empty() || !FitsInt(bytes.size())) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), units) != units) {
        return {};
    }
    return Narrow(wide);
}

AnsiText Win32CodePage::Utf8ToAnsi(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    // With UTF-8 as the system code page (a Windows 10 option) every character has its bytes, and
    // WideCharToMultiByte refuses the flags below for it.
    if (::GetACP() == CP_UTF8) {
        return {std::string(utf8), IsValidUtf8(utf8)};
    }
    const std::wstring wide = Wide(utf8);
    if (!FitsInt(wide.size())) {
        return {{}, false};
    }
    const int length = static_cast<int>(wide.size());
    // Without WC_NO_BEST_FIT_CHARS Windows writes a look-alike ("l" for "ł") and still reports
    // that no default character was used: the text would change without anyone knowing.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {{}, false};
    }
    AnsiText result;
    result.bytes.assign(static_cast<std::size_t>(size), '\0');
    BOOL usedDefault = FALSE;
    if (::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, result.bytes.data(), size, nullptr, &usedDefault) !=
        size) {
        return {{}, false};
    }
    result.exact = usedDefault == FALSE;
    return result;
}

}  // namespace ovp::win
