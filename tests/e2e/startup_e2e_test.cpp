// Start-up as the user and the engine see it: what the monitor leaves in files and registry
// values, and when it refuses to run.

#include <gtest/gtest.h>

#include "base/files.h"
#include "contract/engine_contract.h"
#include "monitor_fixture.h"
#include "settings/obscure.h"
#include "win32/text_win.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

using StartupTest = MonitorTest;

TEST_F(StartupTest, MissingOrIncompleteConfigurationEndsAtOnceAndCreatesNothing) {
    standin::LayoutParts parts = NoServiceParts();
    parts.configuration = false;
    LayOut(parts);

    struct Case {
        std::string name;
        std::optional<ProductSettings> settings;  // nullopt: no Configuration.ini at all
    };
    std::vector<Case> cases{{"no file", std::nullopt}};
    const auto with = [&](std::string name, auto change) {
        ProductSettings settings = settings_;
        change(settings);
        cases.push_back({std::move(name), settings});
    };
    with("no ProductName", [](ProductSettings& s) { s.productName.clear(); });
    with("ProductNumber 0", [](ProductSettings& s) { s.productNumber = 0; });
    with("no ProductInstallationName", [](ProductSettings& s) { s.installationName.clear(); });
    with("no ProductTreeViewName", [](ProductSettings& s) { s.treeViewName.clear(); });
    with("no ProductCaption", [](ProductSettings& s) { s.caption.clear(); });
    // Names that would lead the start folder, which start-up empties, out of the application folder.
    with("installation name ..", [](ProductSettings& s) { s.installationName = ".."; });
    with("installation name with a separator", [](ProductSettings& s) { s.installationName = "..\\..\\Escaped"; });
    with("installation name with a drive", [](ProductSettings& s) { s.installationName = "C:Escaped"; });

    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path configuration = app_ / PathFromUtf8(c::kConfigurationFile);
        if (test.settings) {
            ASSERT_TRUE(standin::WriteConfiguration(app_, *test.settings));
        } else {
            ASSERT_TRUE(DeleteFileIfExists(configuration));
        }
        const std::vector<std::string> before = TreeListing(root_);

        ChildProcess monitor = StartMonitor();
        ASSERT_TRUE(monitor.WaitForExit(kPromptExit)) << "the monitor kept running";

        EXPECT_EQ(TreeListing(root_), before);
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, VendorKey()));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / L"Escaped"));
        EXPECT_FALSE(std::filesystem::exists(root_ / L"Escaped"));
    }
}

TEST_F(StartupTest, SecondStartEndsAtOnceAndLeavesTheFirstUntouched) {
    LayOut();
    ChildProcess first = StartMonitor();
    ASSERT_TRUE(WaitForStartup(first));
    const HWND window = WaitForMainWindow(first);
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> traceBefore = UserTraceTexts();
    ASSERT_FALSE(traceBefore.empty());

    ChildProcess second = StartMonitor();
    ASSERT_TRUE(second.WaitForExit(kPromptExit)) << "the second monitor kept running";

    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(TrayIconPresent(window, 0));
    // The first monitor's trace was neither restarted nor replaced by the second start.
    const std::vector<std::string> traceAfter = UserTraceTexts();
    ASSERT_GE(traceAfter.size(), traceBefore.size());
    EXPECT_TRUE(std::equal(traceBefore.begin(), traceBefore.end(), traceAfter.begin()));
    EXPECT_EQ(FindLine(traceAfter, "  [INFORMATION] Started Tray...", 1), std::string::npos)
        << "the second start wrote its own start-up trace";
}

TEST_F(StartupTest, TraceLinesOfTheStartMoveIntoTheUsersRestartedTraceInOrder) {
    user_ = "J\xC3\xB6rg";  // a name outside ASCII must reach the trace unchanged
    LayOut();
    // What earlier runs left: the user's old trace, and the start folder's trace and files.
    ASSERT_TRUE(CreateFolders(UserFolder()));
    ASSERT_TRUE(CreateFolders(StartFolder()));
    ASSERT_TRUE(AppendUtf16Line(UserFolder() / PathFromUtf8(c::kTrayTraceFile), "old line of the last run"));
    ASSERT_TRUE(AppendUtf16Line(StartFolder() / PathFromUtf8(c::kTrayTraceFile), "stale start folder line"));
    ASSERT_TRUE(ReplaceFileBytes(StartFolder() / L"leftover.txt", "x"));
    ASSERT_TRUE(ReplaceFileBytes(UserFolder() / L"keep.txt", "x"));

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));

    const std::optional<Utf16Text> trace = UserTrace();
    ASSERT_TRUE(trace.has_value());
    EXPECT_TRUE(trace->hasBom);
    EXPECT_TRUE(trace->crLfLinesOnly);
    for (const std::string& line : trace->lines) {
        EXPECT_TRUE(StartsWithTraceDate(line)) << line;
    }
    const std::vector<std::string> texts = UserTraceTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "  [INFORMATION] Started Tray...") << "the trace was not restarted";
    const std::vector<std::string> expected = {
        "  [INFORMATION] Started Tray...",
        "  [INFORMATION] checking if " + names_.background + " is running",
        "  [INFORMATION] After creating default files...",
        "  [INFORMATION] Default user: " + user_,
        "  [INFORMATION] Default user" + user_,
        "  [INFORMATION] before Setappdir",
        "  [INFORMATION] after setappdir",
        "  [INFORMATION] after create appmutex",
    };
    std::size_t at = 0;
    for (const std::string& line : expected) {
        at = FindLine(texts, line, at);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: \"" << line << "\"";
    }
    EXPECT_EQ(FindLine(texts, "old line of the last run"), std::string::npos);
    EXPECT_EQ(FindLine(texts, "stale start folder line"), std::string::npos);

    // The start folder was emptied; the user folder and the application folder were not.
    EXPECT_FALSE(FileExists(StartFolder() / L"leftover.txt"));
    EXPECT_TRUE(FileExists(UserFolder() / L"keep.txt"));
    EXPECT_TRUE(FileExists(app_ / PathFromUtf8(c::kConfigurationFile)));
}

TEST_F(StartupTest, UserNameThatIsAPathCountsAsNoUser) {
    LayOut();
    LogIn("..\\..\\Escaped");
    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));

    // Every line went to the start folder; nothing was created beside the application folder.
    const std::optional<Utf16Text> trace = ReadUtf16Text(StartFolder() / PathFromUtf8(c::kTrayTraceFile));
    ASSERT_TRUE(trace.has_value());
    bool found = false;
    for (const std::string& line : trace->lines) {
        found = found || line.ends_with("  [INFORMATION] Default user: ");
    }
    EXPECT_TRUE(found) << "the name was not treated as no user";
    for (const std::string& entry : TreeListing(root_)) {
        EXPECT_EQ(entry.rfind("Orvessa App", 0), 0u) << entry;
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / L"Escaped"));
    EXPECT_TRUE(monitor.IsRunning());
}

TEST_F(StartupTest, MarksFirstTimeUserAndResetsOpenFileModeTwoOnly) {
    LayOut();
    const std::wstring machineKey = ProductKey();
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegOpenFileMode), L"2"))
        << "this Wine prefix does not let a normal process write HKEY_LOCAL_MACHINE";
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegBackupIdle), L"1"));
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegPluginFlag), L"2"));

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));

    EXPECT_EQ(RegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser)), L"TRUE");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegOpenFileMode)), L"0");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegBackupIdle)), L"1");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegPluginFlag)), L"2");

    // Any other value is the engine's business and stays.
    EXPECT_TRUE(ExitMonitor(monitor));
    DeleteRegValue(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegOpenFileMode), L"1"));
    ChildProcess again = StartMonitor();
    ASSERT_TRUE(WaitForStartup(again));
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, machineKey, win::Wide(c::kRegOpenFileMode)), L"1");
}

TEST_F(StartupTest, EmptyScheduleDisableBecomesFalseInTheObscuredFormAndTrueStays) {
    LayOut();
    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    EXPECT_EQ(StoredUnderObscuredKey(c::kScheduleDisable), Obscure("FALSE"));
    EXPECT_EQ(Profile(c::kOrvessaSection, c::kScheduleDisable), "") << "written under the plain key";

    EXPECT_TRUE(ExitMonitor(monitor));
    DeleteRegValue(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser));
    SetObscuredProfile(c::kScheduleDisable, "TRUE");
    ChildProcess again = StartMonitor();
    ASSERT_TRUE(WaitForStartup(again));
    EXPECT_EQ(StoredUnderObscuredKey(c::kScheduleDisable), Obscure("TRUE"));
}

TEST_F(StartupTest, NetworkShareEntriesAreConvertedOnce) {
    LayOut();
    const std::vector<std::vector<std::string>> entries = {
        {"\\\\files.example.com\\docs", "1", "0", "backup", "J\xC3\xB6rg", "x"},
        {"\\\\127.0.0.1\\share", "0", "1", "", "", ""},
    };
    SetUserNameIni(c::kRegistrySection, c::kUncCount, std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string plain;
        for (std::size_t field = 0; field < entries[i].size(); ++field) {
            plain += (field == 0 ? "" : ";") + entries[i][field];
        }
        SetUserNameIni(c::kRegistrySection, "UNC" + std::to_string(i + 1), plain);
    }

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));
    EXPECT_TRUE(ExitMonitor(monitor));

    std::vector<std::string> converted;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string expected;
        for (const std::string& field : entries[i]) {
            expected += Obscure(field) + ";";
        }
        EXPECT_EQ(UserNameIni(c::kRegistrySection, "UNC" + std::to_string(i + 1)), expected) << "entry " << i + 1;
        converted.push_back(UserNameIni(c::kRegistrySection, "UNC" + std::to_string(i + 1)));
    }
    EXPECT_EQ(UserNameIni(c::kRegistrySection, c::kUncEncrypted), "1");

    // The next start finds them converted and leaves them alone.
    DeleteRegValue(HKEY_CURRENT_USER, VendorKey(), win::Wide(c::kRegFirstTimeUser));
    ChildProcess again = StartMonitor();
    ASSERT_TRUE(WaitForStartup(again));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(UserNameIni(c::kRegistrySection, "UNC" + std::to_string(i + 1)), converted[i]);
    }
}

TEST_F(StartupTest, FirstRunOfAUserPreparesTheDefaultFilesForTheEngine) {
    LayOut();
    SetUserNameIni(c::kOrvessaSection, c::kInteractive, user_);
    SetObscuredProfile(c::kFirstUser, "TRUE");

    ChildProcess monitor = StartMonitor();
    ASSERT_TRUE(WaitForStartup(monitor));

    const std::string schedule = ReadFileBytes(UserFolder() / PathFromUtf8(c::kScheduleFile)).value_or("");
    EXPECT_EQ(schedule.substr(0, 3), "0\r\n") << "no idle run marker above the default job";
    EXPECT_NE(schedule.find(c::kJobKindBackupSet), std::string::npos);
    EXPECT_EQ(ReadFileBytes(UserFolder() / PathFromUtf8(c::kAutoFileSelectionFile)),
              std::optional<std::string>("0;0;0;0;0;1;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0\r\n"));
    // The mail-paths library stand-in in the application folder was asked for the user's folders.
    const std::string desktop =
        store_.Read(UserFolder() / PathFromUtf8(c::kAutoPathFile), c::kAutoFilePathsSection, c::kDesktopPath);
    EXPECT_FALSE(desktop.empty());
    EXPECT_TRUE(desktop.ends_with("\\")) << desktop;
}

}  // namespace
}  // namespace ovp::e2e
