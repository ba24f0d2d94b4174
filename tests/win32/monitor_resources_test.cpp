// The built program as Windows reads it before it runs: the manifest the loader applies, the
// version and icon that Explorer shows, the font its dialogs ask for.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

const std::filesystem::path& MonitorExe() {
    static const std::filesystem::path exe = std::filesystem::path(OVP_MONITOR_EXE).make_preferred();
    return exe;
}

std::string_view Resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
    const HRSRC found = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    return loaded == nullptr
               ? std::string_view()
               : std::string_view(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module, found));
}

TEST(MonitorResourcesTest, TheLoaderGivesTheProgramPerMonitorDpiAndCommonControls6) {
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = MonitorExe().c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE context = ::CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no manifest the loader accepts";

    const auto setting = [context](const wchar_t* space, const wchar_t* name) {
        wchar_t value[128] = {};
        SIZE_T written = 0;
        return ::QueryActCtxSettingsW(0, context, space, name, value, std::size(value), &written) ? std::wstring(value)
                                                                                                  : std::wstring();
    };
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true/pm");

    // Within the program's context the common controls are those of the side-by-side store
    // (version 6), not of the system folder.
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(::ActivateActCtx(context, &cookie));
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(redirection);
    EXPECT_TRUE(::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                           &redirection));
    ::DeactivateActCtx(0, cookie);
    ::ReleaseActCtx(context);

    const unique_hmodule module(::LoadLibraryExW(MonitorExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    EXPECT_NE(Resource(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID).find("level=\"asInvoker\""),
              std::string_view::npos);
}

TEST(MonitorResourcesTest, VersionIconAndDialogFontAreThoseOfTheProject) {
    DWORD ignored = 0;
    std::vector<char> version(::GetFileVersionInfoSizeW(MonitorExe().c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(MonitorExe().c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                  "." + std::to_string(HIWORD(fixed->dwFileVersionLS)),
              OVP_PROJECT_VERSION);

    const unique_hmodule module(::LoadLibraryExW(MonitorExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    // The program's icon holds an image for each size of small icons from 100 % to 200 %.
    const std::string_view group = Resource(module.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_GE(group.size(), 6u);
    std::vector<int> widths;
    const int count = static_cast<unsigned char>(group[4]) | (static_cast<unsigned char>(group[5]) << 8);
    for (int i = 0; i < count && 6 + 14 * (i + 1) <= static_cast<int>(group.size()); ++i) {
        widths.push_back(static_cast<unsigned char>(group[6 + 14 * i]));
    }
    EXPECT_EQ(widths, (std::vector<int>{16, 20, 24, 32, 48}));

    // Every dialog asks for the shell's font, which follows the system's font and scaling.
    std::vector<std::uintptr_t> dialogs;
    ::EnumResourceNamesW(
        module.get(), RT_DIALOG,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
            reinterpret_cast<std::vector<std::uintptr_t>*>(found)->push_back(reinterpret_cast<std::uintptr_t>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&dialogs));
    ASSERT_FALSE(dialogs.empty());
    for (const std::uintptr_t id : dialogs) {
        const std::string_view dialog = Resource(module.get(), RT_DIALOG, MAKEINTRESOURCEW(id));
        DWORD style = 0;
        ASSERT_GE(dialog.size(), 16u);
        std::memcpy(&style, dialog.data() + 12, sizeof(style));  // DLGTEMPLATEEX: version, signature, help id, ex-style
        EXPECT_EQ(style & DS_SHELLFONT, static_cast<DWORD>(DS_SHELLFONT)) << "dialog " << id;
    }
}

}  // namespace
}  // namespace ovp::win
