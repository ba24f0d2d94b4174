#include "win32/registry_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "win32/text_win.h"

namespace ovp::win {
namespace {

constexpr auto kUser = RegistryRoot::CurrentUser;

// A key of its own under HKCU\Software for each test, deleted with everything below it.
class RegistryWinTest : public ::testing::Test {
  protected:
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key_).c_str()); }

    // Stores raw bytes, as another program might have.
    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key_).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &handle, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(handle, Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(handle);
    }

    Win32Registry registry_;
    std::string key_ = "Software\\OVPMonitorTest-" + std::to_string(std::random_device{}());
};

TEST_F(RegistryWinTest, WritesCreateNestedKeysAndValuesReadBackWithTheirType) {
    const std::string nested = key_ + "\\Connection Parameters\\Deep";
    ASSERT_TRUE(registry_.WriteString(kUser, nested, "Version", "Jörg 日本 \xF0\x9F\x98\x80"));
    ASSERT_TRUE(registry_.WriteDword(kUser, nested, "Status", 0xFFFFFFFFu));
    const RegistryValue text = registry_.Read(kUser, nested, "version");
    EXPECT_EQ(text.kind, RegistryValue::Kind::String);
    EXPECT_EQ(text.text, "Jörg 日本 \xF0\x9F\x98\x80");
    const RegistryValue number = registry_.Read(kUser, nested, "Status");
    EXPECT_EQ(number.kind, RegistryValue::Kind::Dword);
    EXPECT_EQ(number.AsText(), "4294967295");
}

TEST_F(RegistryWinTest, OtherTypesReadAsMissingAndStringsAreCutAtNulNeedNoTerminatorAndStayUnexpanded) {
    EXPECT_TRUE(registry_.Read(kUser, key_ + "\\Nowhere", "Status").IsMissing());
    ASSERT_TRUE(registry_.WriteDword(kUser, key_, "Present", 1));
    EXPECT_TRUE(registry_.Read(kUser, key_, "Absent").IsMissing());
    const BYTE binary[] = {1, 2, 3, 4};
    SetRaw("Binary", REG_BINARY, binary, sizeof(binary));
    EXPECT_TRUE(registry_.Read(kUser, key_, "Binary").IsMissing());

    const wchar_t embedded[] = L"abc\0def";
    const wchar_t unterminated[] = {L'x', L'y', L'z'};
    const wchar_t expandable[] = L"%TEMP%\\x";
    SetRaw("Embedded", REG_SZ, embedded, sizeof(embedded));
    SetRaw("Unterminated", REG_SZ, unterminated, sizeof(unterminated));
    SetRaw("Expandable", REG_EXPAND_SZ, expandable, sizeof(expandable));
    EXPECT_EQ(registry_.Read(kUser, key_, "Embedded").text, "abc");
    EXPECT_EQ(registry_.Read(kUser, key_, "Unterminated").text, "xyz");
    EXPECT_EQ(registry_.Read(kUser, key_, "Expandable").text, "%TEMP%\\x");
}

TEST_F(RegistryWinTest, LongValuesAreReadWhole) {
    for (const std::size_t length : {5000u, 70000u}) {
        std::string text;
        for (std::size_t i = 0; text.size() < length; ++i) {
            text += std::to_string(i) + "ü";  // every stretch differs, so a cut or shift shows
        }
        ASSERT_TRUE(registry_.WriteString(kUser, key_, "Long", text));
        EXPECT_EQ(registry_.Read(kUser, key_, "Long").text, text) << length;
    }
}

TEST(RegistryWinViewTest, The32BitViewOfLocalMachineIsKeptApart) {
    const std::string key = "Software\\OVPMonitorTest-" + std::to_string(std::random_device{}());
    Win32Registry view32(Win32Registry::View::Registry32);
    if (!view32.WriteString(RegistryRoot::LocalMachine, key, "OpenFileMode", "2")) {
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    }
    EXPECT_EQ(view32.Read(RegistryRoot::LocalMachine, key, "OpenFileMode").text, "2");
    EXPECT_TRUE(Win32Registry().Read(RegistryRoot::LocalMachine, key, "OpenFileMode").IsMissing());
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), KEY_WOW64_32KEY, 0);
}

}  // namespace
}  // namespace ovp::win
