#include "contract/trace.h"
#include "settings/current_user.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/files.h"
#include "base/text.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

// What a trace file holds for these lines: BOM, then UTF-16LE lines ended by CR LF.
std::string Utf16File(std::initializer_list<std::string_view> lines) {
    std::string bytes = "\xFF\xFE";
    for (std::string_view line : lines) {
        bytes += Utf16LeBytes(Utf8ToUtf16(line) + u"\r\n");
    }
    return bytes;
}

class TraceTest : public ::testing::Test {
  protected:
    TempDir dir_;
    Folders folders_{dir_.Path(), "Orvessa Professional"};
    test::FakeProfileStore store_;
    test::FakeClock clock_{DateTime{2026, 3, 14, 9, 30, 5}};
    CurrentUser users_{store_, folders_};
    Trace trace_{folders_, users_, clock_};

    void SetUp() override {
        CreateFolders(folders_.StartFolder());
        CreateFolders(folders_.UserFolder("alice"));
    }
    fs::path StartTrace() const { return folders_.StartFolder() / "TrayTraceFile.txt"; }
    fs::path UserTrace() const { return folders_.UserFolder("alice") / "TrayTraceFile.txt"; }
    fs::path DatedTrace() const { return dir_ / "TrayTraceFile.txt"; }
};

TEST_F(TraceTest, LinesBeforeTheUserIsKnownGoToTheStartFolderLaterOnesToTheUserFolder) {
    clsOptions options{folders_, users_};
    trace_.Info("Started Tray...");
    options.WriteTrace("before login");
    users_.WriteCurrentUserName("alice");
    trace_.Error("Service is not installed");
    trace_.WriteTrace("Jörg 日本");
    options.WriteTrace("after login");

    EXPECT_EQ(ReadAll(StartTrace()), Utf16File({"03-14-2026 09:30:05  [INFORMATION] Started Tray..."}));
    EXPECT_EQ(ReadAll(UserTrace()), Utf16File({"03-14-2026 09:30:05   [ERROR] Service is not installed", "Jörg 日本"}));
    EXPECT_EQ(ReadAll(folders_.StartFolder() / "SerTraceFile.txt"), Utf16File({"before login"}));
    EXPECT_EQ(ReadAll(folders_.UserFolder("alice") / "SerTraceFile.txt"), Utf16File({"after login"}));
}

TEST_F(TraceTest, DatedTraceBeyondTheLimitIsDeletedAndExactlyAtTheLimitKept) {
    // "03-14-2026 09:30:05 : x" + CR LF is 25 UTF-16 units, 50 bytes.
    const std::uintmax_t lineBytes = 50;
    WriteAll(DatedTrace(), "\xFF\xFE" + std::string(kDatedTraceLimitBytes - lineBytes - 2, 'a'));
    trace_.WriteDatedTrace("x");
    EXPECT_EQ(FileSize(DatedTrace()), kDatedTraceLimitBytes);

    WriteAll(DatedTrace(), "\xFF\xFE" + std::string(kDatedTraceLimitBytes - lineBytes, 'a'));
    trace_.WriteDatedTrace("x");
    EXPECT_FALSE(FileExists(DatedTrace()));

    trace_.WriteDatedTrace("x");  // the next line starts a new file
    EXPECT_EQ(ReadAll(DatedTrace()), Utf16File({"03-14-2026 09:30:05 : x"}));
}

TEST_F(TraceTest, AnUnwritableTraceLosesTheLineAndNothingElse) {
    // A user folder that is really a file: no trace can be written there.
    WriteAll(folders_.UserFolder("bob"), "not a folder");
    users_.WriteCurrentUserName("bob");
    EXPECT_NO_THROW(trace_.Info("lost"));
    EXPECT_NO_THROW(clsOptions(folders_, users_).WriteTrace("lost"));

    // A read-only trace file.
    users_.WriteCurrentUserName("alice");
    trace_.WriteTrace("first");
    fs::permissions(UserTrace(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (std::ofstream(UserTrace(), std::ios::app)) {
        GTEST_SKIP() << "read-only files are writable here (root, or a file system that ignores the flag)";
    }
    EXPECT_NO_THROW(trace_.WriteTrace("second"));
    EXPECT_EQ(ReadAll(UserTrace()), Utf16File({"first"}));
    trace_.Info("after");  // the caller goes on
}

}  // namespace
}  // namespace ovp
