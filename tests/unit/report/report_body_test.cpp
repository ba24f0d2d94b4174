#include "report/report_body.h"

#include <gtest/gtest.h>

#include "../commands/command_test_env.h"
#include "report/log_attachment.h"
#include "report/report_encoding.h"
#include "support/fake_locale_format.h"
#include "support/fake_report_system.h"

namespace ovp {
namespace {

TEST(ReportEncodingTest, LinesAreEncodedAsUtf8BytesKeepingSlashesDigitsAndLetters) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a b", "a%20b"},     {"caf\xC3\xA9", "caf%C3%A9"},  {"\t/x/9Z", "%09/x/9Z"}, {"  ", ""},
        {" lead", "%20lead"}, {"\xE2\x82\xAC", "%E2%82%AC"}, {"a&b=c", "a%26b%3Dc"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(URLEncodeWebd(text), encoded) << text;
    }
    EXPECT_EQ(EncodeMessageLines("one\r\n  \ntwo three\rx"), "one\n\ntwo%20three\nx");
    EXPECT_EQ(FormSafe("C:\\Grp & Co\\a+b=100%\r\n"), "C:\\Grp %26 Co\\a%2Bb%3D100%25%0D%0A");
}

class ReportBodyTest : public ::testing::Test {
  protected:
    ReportBodyTest() {
        const std::string app = "Software\\Harrowlane\\Grp Backup\\Application";
        Registry().WriteString(RegistryRoot::CurrentUser, app, "Version", "5.1");
        Registry().WriteString(RegistryRoot::CurrentUser, app, "Release Date", "01-02-2026");
        const std::string os = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\|";
        system_.systemValues = {{os + "ProductName", "Windows XP"},
                                {os + "CurrentVersion", "5.1"},
                                {"SOFTWARE\\Microsoft\\Internet Explorer\\|Version", "8.0"}};
        Quota();
    }
    void Quota() {
        fx_.Context().values.WriteProfile("QuotaStatus", "Used", "1181116007");  // 1.1 GB
        fx_.Context().values.WriteProfile("QuotaStatus", "Max", "32212254720");  // 30 GB
    }
    test::FakeRegistry& Registry() { return fx_.fx.registry; }
    std::filesystem::path User(std::string_view name) { return fx_.UserFile(name); }

    test::CommandFixture fx_;
    test::FakeReportSystem system_;
    test::FakeLocaleFormat locale_;
    ErrorReportBody body_{fx_.Context(), system_, locale_};
};

TEST_F(ReportBodyTest, TheSystemBlockAndMessageComeInOrderWithTheirLabels) {
    locale_.decimalSeparator = ",";
    fx_.fx.SetCurrentUser("al&ice");
    Quota();
    const ReportForm form{"me@example.com", "(555) 12-34", "It fails.\nTwice & more"};
    EXPECT_EQ(body_.Build(form, false),
              "<<< USER FEEDBACK FROM Grp Caption version >>>5.1 01-02-2026\n"
              "User's Operating System:  Windows XP 64 Bit\r\n"
              "OS Version: 5.1\n"
              "User's Browser: Internet Explorer version  8.0\n"
              "Does the user connect through a proxy server? Connected via Proxy server\n"
              "Username: al%26ice\n"
              "User's e-mail address: me@example.com\n"
              "User's Contact Phone Number:(555) 12-34\n"
              "Used : 1,1 GB\n"
              "Max : Unlimited\n"
              "\n"
              "User 's technical issues/comments/suggestions:\r\n"
              "It%20fails%2E\nTwice%20%26%20more");
}

TEST_F(ReportBodyTest, OnlyThirtyGigabytesReadsAsUnlimited) {
    EXPECT_TRUE(IsUnlimitedQuota(32212254720.0));
    EXPECT_TRUE(IsUnlimitedQuota(32212254720.0 + 100000000.0));  // 30.09 GB still reads 30.0
    EXPECT_FALSE(IsUnlimitedQuota(32212254720.0 - 1.0));
    EXPECT_FALSE(IsUnlimitedQuota(32212254720.0 * 2));
}

TEST_F(ReportBodyTest, TheAttachmentListsVersionsSettingsAndEveryExistingFileInOrder) {
    system_.versions = {{"GrpBackground.exe", "5.1.0.7"}, {"Grp BackupView.dll", "2.0"}};
    test::WriteAll(User("TrayTraceFile.txt"), Utf16LeBytes(u"\uFEFF03-01-2026  [INFORMATION] Started Tray...\r\n"));
    test::WriteAll(User("TraceFile.txt"), "first line\r\n\r\n   \r\n  second\tline  \n");
    test::WriteAll(User("scheduleData.txt"), "0\r\n");
    fx_.Context().values.WriteProfile("Orvessa", "Proxy set", "0");
    const std::string body = body_.Build(ReportForm{"me@example.com", "", "hi"}, true);

    const std::string expectedInOrder[] = {
        "Direct (No Proxy Server)",
        "\r\nhi\r\n\r\nLog starts here,\r\n\r\n Version Information: \nRelease Date : 01-02-2026\n",
        "GrpBackground.exe : 5.1.0.7\nGrpClassic.exe : N/A\nGrp BackupView.dll : 2.0\nGrpClsClient.exe : N/A\n",
        "Grp Online Explorer Plugin is not installed\nBackup when idle : \nHibernation Mode Backup :  \n",
        "Scheduler Status : ",
        "\nTraceFile Contents *\n\nfirst%20line\nsecond%09line",
        "\nTray TraceFile Contents\n\n03%2D01%2D2026%20%20%5BINFORMATION%5D%20Started%20Tray%2E%2E%2E",
        "\nscheduleData contents\n\n0",
        "\nUsed : 1.1 GB\nMax : Unlimited\nSystem language details:\nStandards and format details:\nLocale ID: 1033\r\n"
        "Country: United States  (USA)\r\n",
        "Language for non-Unicode programs:\nLocale ID: 1031",
        "EXE Status \nGrp Service.exe is not running\nGrpBackground.exe is not running\n",
        "IP Address : \nPort : \nAuto Pause : \nAuto Pause Value : \nBandwidth : ",
    };
    std::size_t at = 0;
    for (const std::string& part : expectedInOrder) {
        const std::size_t found = body.find(part, at);
        ASSERT_NE(found, std::string::npos) << part << "\n---\n" << body;
        at = found + part.size();
    }
    EXPECT_EQ(body.find("COMPLETE LOG"), std::string::npos);  // missing files are left out
}

TEST_F(ReportBodyTest, TheBrandEditionHasNoVersionsAndNoQuota) {
    test::CommandFixture brand(
        "[ProductInfo]\r\nProductNumber=1\r\nProductName=Orvessa Professional\r\n"
        "ProductInstallationName=Grp Backup\r\nProductTreeViewName=T\r\nProductCaption=C\r\n");
    ErrorReportBody body(brand.Context(), system_, locale_);
    test::WriteAll(brand.fx.app / "Orvessa Professional" / "OVWIN" / "SQLTraceFile.txt", "sql\r\n");
    const std::string text = body.Attachment();
    EXPECT_TRUE(text.starts_with("Backup when idle : \n")) << text;
    EXPECT_NE(text.find("Application path : "), std::string::npos);
    EXPECT_NE(text.find("\nSQLTraceFile contents\n\nsql\nSystem language details:"), std::string::npos) << text;
    for (const std::string_view absent : {"Version Information", "Scheduler Status", "Used : ", "Bandwidth"}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
}

TEST_F(ReportBodyTest, ABigLogIsReadOnlyAsFarAsItsBudget) {
    std::string ansi;
    std::u16string wide = u"\uFEFF";
    for (int i = 0; ansi.size() < 1024 * 1024; ++i) {
        ansi += "line " + std::to_string(i) + " of the engine's log\r\n";
        wide += u"Tray line of the monitor\r\n";
    }
    test::WriteAll(User("ansi.txt"), ansi);
    test::WriteAll(User("wide.txt"), Utf16LeBytes(wide));
    test::WriteAll(User("oneline.txt"), std::string(1024 * 1024, '%'));
    for (const std::string_view name : {"ansi.txt", "wide.txt", "oneline.txt"}) {
        std::uint64_t read = 0;
        const auto text = ReadLogForReport(User(name), fx_.fx.codePage, fx_.fx.clock, &read);
        ASSERT_TRUE(text) << name;
        EXPECT_GE(text->size(), kAttachmentBudgetBytes - 100) << name;
        EXPECT_LE(text->size(), kAttachmentBudgetBytes) << name;
        EXPECT_EQ(text->find("%00"), std::string::npos) << name;
        EXPECT_LE(read, 2 * kAttachmentBudgetBytes + 4096) << name;
    }
    EXPECT_FALSE(ReadLogForReport(User("missing.txt"), fx_.fx.codePage, fx_.fx.clock));
}

}  // namespace
}  // namespace ovp
