// The stand-ins the tray commands meet, checked where only Windows can show it: a link opened
// through the shell reaches the URL recorder whole, the client answers scripted requests, and the
// companion libraries export what the monitor looks up.

#include <gtest/gtest.h>

#include "monitor_fixture.h"
#include "win32/companions_abi.h"

namespace ovp::e2e {
namespace {

namespace c = contract;

using StandInTest = MonitorTest;

TEST_F(StandInTest, ALinkOpenedThroughTheShellReachesTheRecorderWhole) {
    // A blank and "&" in the query, as the Spanish suffix of the account pages has them.
    const std::wstring link = L"https://www.example.com/upgrade?accName=alice &country=ES&lang=es";
    const auto instance =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    ASSERT_GT(instance, 32);
    EXPECT_TRUE(WaitUntil([&] { return !OpenedUrls().empty(); }, 10s));
    EXPECT_EQ(OpenedUrls(), std::vector<std::string>{win::Narrow(link)});
}

TEST_F(StandInTest, TheClientAnswersEachRequestWithTheNextScriptEntry) {
    LayOut();
    ScriptClientAnswers("-40 move 700 backup2.example.com\r\n\r\n402\r\n");
    const std::filesystem::path client = app_ / PathFromUtf8(names_.client);
    const std::filesystem::path profile = folders_.ProfileFile(user_);
    const auto retValue = [&] {
        wchar_t value[64] = {};
        ::GetPrivateProfileStringW(win::Wide(c::kBackupStatusSection).c_str(), win::Wide(c::kRetValue).c_str(), L"",
                                   value, 64, profile.wstring().c_str());
        return win::Narrow(value);
    };

    ASSERT_EQ(Start(client, app_, L"< > 23").Exit(10s), 0u);
    EXPECT_EQ(retValue(), "-40");
    EXPECT_EQ(ReadFileBytes(folders_.UserFolder(user_) / PathFromUtf8(c::kClientOutputFile)),
              "700\r\nbackup2.example.com\r\n");
    ASSERT_EQ(Start(client, app_, L"< > 9").Exit(10s), 0u);
    EXPECT_EQ(retValue(), "402");
    // The script is spent: the next request is not answered.
    ASSERT_EQ(Start(client, app_, L"< > 5").Exit(10s), 0u);
    EXPECT_EQ(retValue(), "402");

    const std::string run = "client: run \"" + Utf8FromPath(client) + "\" < > ";
    EXPECT_EQ(StandInEvents(), run + "23\r\nclient: answered -40\r\n" + run + "9\r\nclient: answered 402\r\n" + run +
                                   "5\r\nclient: no answer\r\n");
}

TEST_F(StandInTest, TheCompanionLibrariesRecordTheCallsTheMonitorMakes) {
    LayOut();
    const win::unique_hmodule realTime(::LoadLibraryW((app_ / PathFromUtf8(names_.realTimeLibrary)).c_str()));
    const win::unique_hmodule shellHelper(::LoadLibraryW((app_ / PathFromUtf8(c::kShellHelperLibrary)).c_str()));
    ASSERT_TRUE(realTime && shellHelper);
    const auto post = reinterpret_cast<win::PostCdpStatusMsgFunction>(
        reinterpret_cast<void*>(::GetProcAddress(realTime.get(), win::kPostCdpStatusMsgExport)));
    const auto send = reinterpret_cast<win::SendMsgToAppFunction>(
        reinterpret_cast<void*>(::GetProcAddress(shellHelper.get(), win::kSendMsgToAppExport)));
    ASSERT_TRUE(post != nullptr && send != nullptr);
    post(win::kCdpStatusOn);
    send(c::kUserChangeMessage);
    post(win::kCdpStatusOff);
    EXPECT_EQ(StandInEvents(),
              "realtime: PostCDPStatusMsg 1\r\nshellhlpr: SendMsgToApp 1034\r\nrealtime: PostCDPStatusMsg 0\r\n");
}

}  // namespace
}  // namespace ovp::e2e
