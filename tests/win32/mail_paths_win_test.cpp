// The mail-paths stand-in library as built, and the adapter that loads it from the application
// folder only.
#include "win32/mail_paths_win.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/engine_contract.h"
#include "base/files.h"
#include "support/temp_dir.h"
#include "win32/mail_paths_abi.h"
#include "win32/text_win.h"
#include "win32/unique_resource.h"

namespace ovp::win {
namespace {

namespace fs = std::filesystem;

#ifdef OVP_GETMAILPATHS_DLL

// The build names the library by its Linux path under Wine, where drive Z: is the root.
fs::path BuiltLibrary() {
    std::string path = OVP_GETMAILPATHS_DLL;
    if (path.starts_with('/')) {
        path = "Z:" + path;
    }
    return PathFromUtf8(path).make_preferred();
}

std::wstring ReadKey(const fs::path& ini, std::string_view key) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(L"AUTOFILEPATHS", Wide(key).c_str(), L"<missing>", buffer, 1024, ini.c_str());
    return buffer;
}

std::vector<std::wstring> KeysOf(const fs::path& ini) {
    std::wstring buffer(8192, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(L"AUTOFILEPATHS", nullptr, L"", buffer.data(), 8192, ini.c_str());
    std::vector<std::wstring> keys;
    for (std::size_t at = 0; at < length;) {
        const std::wstring key(buffer.c_str() + at);
        keys.push_back(key);
        at += key.size() + 1;
    }
    return keys;
}

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? buffer : L"";
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t buffer[32768] = {};
        had_ = ::GetEnvironmentVariableW(name, buffer, 32768) > 0;
        old_ = buffer;
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const wchar_t* name_;
    std::wstring old_;
    bool had_ = false;
};

class StandInLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_.reset(::LoadLibraryExW(BuiltLibrary().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        ASSERT_TRUE(module_) << "cannot load " << BuiltLibrary().string();
    }
    MailPathFunction Function(std::string_view name) {
        return reinterpret_cast<MailPathFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), std::string(name).c_str())));
    }

    test::TempDir dir_;
    unique_hmodule module_;
};

TEST_F(StandInLibraryTest, EveryFunctionWritesItsOwnKeyAndNothingElse) {
    const fs::path ini = dir_ / "SimpleAutoPath.ini";
    std::vector<std::wstring> expectedKeys;
    for (const auto& entry : contract::kAutoPathEntries) {
        const MailPathFunction function = Function(entry.function);
        ASSERT_NE(function, nullptr) << entry.function;
        EXPECT_TRUE(function(ini.c_str())) << entry.function;
        expectedKeys.push_back(Wide(entry.key));
        EXPECT_EQ(KeysOf(ini), expectedKeys) << entry.function;
    }
    EXPECT_EQ(ReadKey(ini, "DesktopPath"), ShellFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(ReadKey(ini, "MyDocumentsPath"), ShellFolder(CSIDL_PERSONAL));
    EXPECT_EQ(ReadKey(ini, "MyFavouritesPath"), ShellFolder(CSIDL_FAVORITES));
    EXPECT_FALSE(ReadKey(ini, "DesktopPath").empty());

    EXPECT_FALSE(Function("GetDesktopPath")(nullptr));
    EXPECT_FALSE(Function("GetDesktopPath")(L""));
}

TEST_F(StandInLibraryTest, AMailProgramsFolderIsReportedOnlyWhenItExists) {
    const fs::path ini = dir_ / "SimpleAutoPath.ini";
    const ScopedVariable local(L"LOCALAPPDATA", dir_.Path().wstring());
    const ScopedVariable roaming(L"APPDATA", (dir_ / "Roaming").wstring());

    ASSERT_TRUE(Function("GetAutoMSOutlkPath")(ini.c_str()));
    ASSERT_TRUE(Function("GetMozillaPath")(ini.c_str()));
    EXPECT_EQ(ReadKey(ini, "MSOutlkPath"), L"");
    EXPECT_EQ(ReadKey(ini, "MozillaPath"), L"");

    const fs::path mail = dir_ / "Microsoft" / "Outlook";
    const fs::path profiles = dir_ / "Roaming" / "Thunderbird" / "Profiles";
    ASSERT_TRUE(CreateFolders(mail) && CreateFolders(profiles));
    ASSERT_TRUE(Function("GetAutoMSOutlkPath")(ini.c_str()));
    ASSERT_TRUE(Function("GetMozillaPath")(ini.c_str()));
    EXPECT_EQ(fs::path(ReadKey(ini, "MSOutlkPath")), mail.lexically_normal().make_preferred());
    EXPECT_EQ(fs::path(ReadKey(ini, "MozillaPath")), profiles.lexically_normal().make_preferred());
}

TEST(MailPathsWinTest, TheAdapterCallsTheLibraryOfTheApplicationFolderOnly) {
    test::TempDir dir;
    const fs::path ini = dir / "SimpleAutoPath.ini";

    Win32MailPaths beside(BuiltLibrary().parent_path());
    EXPECT_TRUE(beside.Detect("GetDesktopPath", ini));
    EXPECT_EQ(ReadKey(ini, "DesktopPath"), ShellFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_FALSE(beside.Detect("GetNoSuchPath", ini));

    // An application folder without the library: no path, even when the library lies in the
    // current folder, where a search would find it.
    const fs::path emptyApp = dir / "app";
    ASSERT_TRUE(CreateFolders(emptyApp));
    wchar_t previous[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(BuiltLibrary().parent_path().c_str()));
    Win32MailPaths missing(emptyApp);
    const fs::path otherIni = dir / "Other.ini";
    EXPECT_FALSE(missing.Detect("GetDesktopPath", otherIni));
    ::SetCurrentDirectoryW(previous);
    EXPECT_FALSE(FileExists(otherIni));
}

#else

TEST(MailPathsWinTest, TheStandInLibraryWasNotBuilt) {
    GTEST_SKIP() << "OVP_GETMAILPATHS_DLL is not defined";
}

#endif

}  // namespace
}  // namespace ovp::win
