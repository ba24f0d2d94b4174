// The engine simulator as the monitor meets it: what OVPEngineSim.exe leaves in the user's files
// and values, read back through the Windows API and the files themselves.

#include <gtest/gtest.h>

#include "base/datetime.h"
#include "base/files.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

constexpr DWORD kUsageError = 2;

class SimulatorTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        LayOut();
    }

    // The simulator's exit code; nullopt when it did not end in time.
    std::optional<DWORD> Simulate(std::wstring_view arguments) {
        ChildProcess simulator = ChildProcess::Start(app_ / PathFromUtf8(standin::kSimulatorProgram), app_, arguments);
        if (!simulator || !simulator.WaitForExit(30s)) {
            return std::nullopt;
        }
        return simulator.ExitCode();
    }

    std::filesystem::path UserFile(std::string_view name) const { return UserFolder() / PathFromUtf8(name); }
    std::string Status(std::string_view key) { return Profile(c::kBackupStatusSection, key); }
    std::string Schedule() { return ReadFileBytes(UserFile(c::kScheduleFile)).value_or("<missing>"); }

    std::vector<std::filesystem::path> SessionLogs() const {
        std::vector<std::filesystem::path> logs;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(UserFolder() / PathFromUtf8(c::kSessionFolder), error)) {
            logs.push_back(entry.path());
        }
        return logs;
    }
};

// Two records the monitor did not write: a code-page byte and a thirteenth separator, which a
// rewrite through the record table could change.
constexpr std::string_view kRecords =
    "1\b\boventbkupjob\b\b03-07-2026 06:00:00\b\b03-01-2026 10:00:00\b\b3\b\b1\b\bm\xE9@example.com;\b\b2\b\b0"
    "\b\b202603070600\b\b6\b\b1111111\r\n"
    "3\b\bSYSTEMSTATEBACKUP\b\b03-08-2026 07:00:00\b\b03-01-2026 10:00:00\b\b3\b\b0\b\b\b\b1\b\b0"
    "\b\b202603080700\b\b6\b\b0000011\b\bextra\r\n";

TEST_F(SimulatorTest, AScheduledRunMarksTheScheduleAndEndsWithItsResultFiles) {
    ASSERT_TRUE(CreateFolders(UserFolder()));
    ASSERT_TRUE(ReplaceFileBytes(UserFile(c::kScheduleFile), "0\r\n" + std::string(kRecords)));
    ASSERT_TRUE(ReplaceFileBytes(UserFile(c::kSchStatusErrorFile), "from the last run"));
    SetProfile(c::kBackupStatusSection, c::kRetValue, "1");

    ASSERT_EQ(Simulate(L"start 3"), 0u);
    EXPECT_EQ(Schedule(), "3\r\n" + std::string(kRecords));
    EXPECT_EQ(Status(c::kStatus), "1");
    EXPECT_EQ(Status(c::kDllStatus), "1");
    EXPECT_EQ(Status(c::kRetValue), "");
    EXPECT_FALSE(FileExists(UserFile(c::kSchStatusErrorFile)));

    ASSERT_EQ(Simulate(L"finish success"), 0u);
    EXPECT_EQ(Schedule(), "0\r\n" + std::string(kRecords));
    EXPECT_EQ(Status(c::kStatus), "0");
    EXPECT_EQ(Status(c::kDllStatus), "4");
    EXPECT_EQ(Status(c::kRetValue), "0");
    EXPECT_EQ(Status(c::kStatusWindow), "1");
    EXPECT_TRUE(ParseStamp(Status(c::kSchEndTime)).has_value()) << Status(c::kSchEndTime);
    const std::optional<Utf16Text> status = ReadUtf16Text(UserFile(c::kSchStatusFile));
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(status->hasBom);
    EXPECT_TRUE(status->crLfLinesOnly);
    EXPECT_EQ(status->lines, (std::vector<std::string>{"Backup completed successfully."}));
    EXPECT_FALSE(FileExists(UserFile(c::kSchStatusErrorFile)));
    const auto logs = SessionLogs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(Utf8FromPath(logs[0].filename()).starts_with("Scheduled "));
    EXPECT_NE(ReadFileBytes(logs[0]).value_or("").find("[Backed up Files : "), std::string::npos);
    EXPECT_NE(StandInEvents().find("simulator: finish success\r\n"), std::string::npos) << StandInEvents();
}

TEST_F(SimulatorTest, AFailedRunWithoutScheduleGetsTheDefaultOneAndLeavesEveryLog) {
    ASSERT_EQ(Simulate(L"start"), 0u);
    const std::string started = Schedule();
    ASSERT_TRUE(started.starts_with("1\r\n")) << started;
    EXPECT_NE(started.find(std::string(c::kJobKindBackupSet)), std::string::npos) << started;

    // Two failures within a second: the second log does not replace the first.
    ASSERT_EQ(Simulate(L"finish failure --no-window"), 0u);
    ASSERT_EQ(Simulate(L"finish failure --no-window"), 0u);
    std::string ended = started;
    ended.front() = '0';
    EXPECT_EQ(Schedule(), ended);
    EXPECT_EQ(Status(c::kDllStatus), "3");
    EXPECT_EQ(Status(c::kRetValue), "1");
    EXPECT_NE(Status(c::kStatusWindow), "1");
    EXPECT_TRUE(FileExists(UserFile(c::kSchStatusErrorFile)));
    const std::optional<Utf16Text> status = ReadUtf16Text(UserFile(c::kSchStatusFile));
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->lines, (std::vector<std::string>{"Backup failed."}));
    const auto logs = SessionLogs();
    ASSERT_EQ(logs.size(), 2u);
    for (const auto& log : logs) {
        EXPECT_NE(ReadFileBytes(log).value_or("").find("Unable to perform scheduled backup. Possible reasons include:"),
                  std::string::npos);
    }
}

TEST_F(SimulatorTest, EngineStateCommandsAndResetReachTheValuesTheMonitorReads) {
    ASSERT_EQ(Simulate(L"cdp 6"), 0u);
    ASSERT_EQ(Simulate(L"quota 4294967297 4294967296"), 0u);
    ASSERT_EQ(Simulate(L"quota-marker on"), 0u);
    ASSERT_EQ(Simulate(L"connection-status 2"), 0u);
    ASSERT_EQ(Simulate(L"start 2"), 0u);
    EXPECT_EQ(UserNameIni(c::kOrvessaSection, c::kRTBackup), "6");
    EXPECT_EQ(Profile(c::kQuotaStatusSection, c::kUsed), "4294967297");
    EXPECT_EQ(Profile(c::kQuotaStatusSection, c::kMax), "4294967296");
    EXPECT_TRUE(FileExists(UserFile(c::kQuotaExceededFile)));
    EXPECT_EQ(RegDword(HKEY_CURRENT_USER, ConnectionParametersKey(), win::Wide(c::kRegStatus)), 2u);

    ASSERT_EQ(Simulate(L"reset"), 0u);
    EXPECT_EQ(UserNameIni(c::kOrvessaSection, c::kRTBackup), "0");
    EXPECT_FALSE(FileExists(UserFile(c::kQuotaExceededFile)));
    EXPECT_TRUE(Schedule().starts_with("0\r\n"));
    EXPECT_EQ(Status(c::kStatus), "0");
    EXPECT_EQ(Status(c::kDllStatus), "0");
    EXPECT_EQ(Status(c::kRetValue), "");
}

TEST_F(SimulatorTest, AWrongCommandLineChangesNothing) {
    for (const std::wstring_view arguments :
         {L"", L"start 0", L"start x", L"finish", L"finish maybe", L"finish success --window", L"play success 99999",
          L"cdp 11", L"cdp -1", L"quota 1", L"quota 1 2x", L"quota-marker yes", L"connection-status 4294967296",
          L"reset now"}) {
        EXPECT_EQ(Simulate(arguments), kUsageError) << win::Narrow(arguments);
    }
    EXPECT_FALSE(FolderExists(UserFolder()));
    EXPECT_EQ(UserNameIni(c::kOrvessaSection, c::kRTBackup), "");
    EXPECT_EQ(StandInEvents(), "");
}

// The brand layout as the monitor's own start-up read takes it: the named icon is there to load.
TEST_F(SimulatorTest, TheBrandLayoutNamesAnIconThatIsInTheImagesFolder) {
    EXPECT_FALSE(standin::WriteBrandFile(app_, "..\\elsewhere.ico"));
    ASSERT_TRUE(standin::WriteBrandFile(app_, "Acme Logo.ico", "Acme Backup"));
    const std::optional<standin::Product> product = standin::LoadProduct(app_);
    ASSERT_TRUE(product.has_value());
    EXPECT_TRUE(product->settings.brandFileApplied);
    EXPECT_EQ(product->settings.productName, "Acme Backup");
    EXPECT_EQ(product->settings.customIconFile, "Acme Logo.ico");
    EXPECT_TRUE(FileExists(folders_.ImagesFolder() / L"Acme Logo.ico"));
}

}  // namespace
}  // namespace ovp::e2e
