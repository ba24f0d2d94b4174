#include "win32/registry_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "support/fakes.h"
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

// The installer and the engine are 32-bit programs: what they keep under HKLM\Software is in the
// 32-bit view, and that is what the monitor reads and writes. HKCU is read without a view (the
// fixture's values above are written without one).
TEST(RegistryWinViewTest, LocalMachineValuesAreThoseOfThe32BitView) {
    const std::string key = "Software\\OVPMonitorTest-" + std::to_string(std::random_device{}());
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                          nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    }
    const wchar_t mode[] = L"2";
    ::RegSetValueExW(raw, L"OpenFileMode", 0, REG_SZ, reinterpret_cast<const BYTE*>(mode), sizeof(mode));
    ::RegCloseKey(raw);

    Win32Registry registry;
    Win32Registry native(Win32Registry::View::Native);
    EXPECT_EQ(registry.Read(RegistryRoot::LocalMachine, key, "OpenFileMode").text, "2");
    EXPECT_TRUE(native.Read(RegistryRoot::LocalMachine, key, "OpenFileMode").IsMissing());
    ASSERT_TRUE(registry.WriteString(RegistryRoot::LocalMachine, key, "BackupIdle", "1"));
    EXPECT_TRUE(native.Read(RegistryRoot::LocalMachine, key, "BackupIdle").IsMissing());
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), KEY_WOW64_32KEY, 0);
}

TEST_F(RegistryWinTest, AFailedCallIsTracedWithTheApiAndTheErrorAMissingValueIsNot) {
    HKEY handle = nullptr;
    const std::string parent = key_ + "\\Volatile";
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(parent).c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                                nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(handle);
    test::FakeTraceSink trace;
    Win32Registry registry(Win32Registry::View::Registry32, &trace);
    EXPECT_TRUE(registry.Read(kUser, key_, "Absent").IsMissing());
    EXPECT_TRUE(trace.lines.empty());
    // A key that lasts cannot be made below one that does not.
    EXPECT_FALSE(registry.WriteDword(kUser, parent + "\\Lasting", "Status", 0));
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_TRUE(trace.lines[0].starts_with("   [ERROR] RegCreateKeyExW failed for HKEY_CURRENT_USER\\" + parent +
                                           "\\Lasting: error 1021"))
        << trace.lines[0];
}

}  // namespace
}  // namespace ovp::win
