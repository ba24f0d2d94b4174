#include "ui/status_presenter.h"

#include <gtest/gtest.h>

#include <cctype>

#include "base/files.h"
#include "base/text.h"
#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_record.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"
#include "support/fake_locale_format.h"
#include "ui/captions.h"
#include "ui/message_box.h"
#include "ui/schedule_status.h"
#include "ui/tooltips.h"

namespace ovp {
namespace {

class RecordingView : public IStatusView {
  public:
    void Render(const StatusViewState& state) override { renders.push_back(state); }
    void Close() override { ++closes; }
    std::vector<StatusViewState> renders;
    int closes = 0;
};

std::string Utf16File(std::string_view utf8Line) {
    return "\xFF\xFE" + Utf16LeBytes(Utf8ToUtf16(std::string(utf8Line) + "\r\n"));
}

constexpr std::string_view kQuotaMessage =
    "Your data could not be backed up as you have utilized the allocated quota. Upgrade and try again.";

// What the engine has left for the window. Now is 03-14-2026 09:30:00 (the fake clock).
struct Scene {
    std::string_view marker = "0";  // line 1 of scheduleData.txt; "-" for no file
    std::string_view nextRun = "03-20-2026 06:00:00";
    bool disabled = false;
    std::string_view statusFile = "";  // SchStatus.txt's line; "" for no file
    bool utf16 = false;                // written as the engine's Unicode file, else as ANSI bytes
    std::string_view endTime = "03-14-2026 07:30:00";
    bool failed = false;
};

class StatusPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.SetCurrentUser("alice");
        fx_.Context().traceUser.MarkKnown();  // start-up has read the user: traces go to the user folder
        CreateFolders(UserFolder());
        Arrange({});
    }

    void Arrange(const Scene& s) {
        ScheduleRecord record;
        record.JobKind = "oventbkupjob";
        record.NextRun = s.nextRun;
        record.SortKey = MakeSortKey(s.nextRun);
        DeleteFileIfExists(UserFolder() / "scheduleData.txt");
        if (s.marker != "-") {
            test::WriteAll(UserFolder() / "scheduleData.txt",
                           std::string(s.marker) + "\r\n" + FormatScheduleLine(record) + "\r\n");
        }
        fx_.Context().transfer.Trf_WriteUserProfile("ScheduleDisable", s.disabled ? "TRUE" : "FALSE");
        DeleteFileIfExists(SchStatus());
        if (!s.statusFile.empty()) {
            test::WriteAll(SchStatus(), s.utf16 ? Utf16File(s.statusFile) : std::string(s.statusFile) + "\r\n");
        }
        SetStatus("SchEndTime", s.endTime);
        DeleteFileIfExists(UserFolder() / "SchStatusError.txt");
        if (s.failed) {
            test::WriteAll(UserFolder() / "SchStatusError.txt", "");
        }
        form_.reset();
    }

    frmStatus& Form() {
        if (!form_) {
            form_ = std::make_unique<frmStatus>(fx_.Context(), locale_, view_, [this] { ++logViewerOpens_; });
        }
        return *form_;
    }
    const StatusViewState& Shown() { return view_.renders.back(); }
    const StatusViewState& Load() {
        Form().Form_Load();
        return Shown();
    }
    const StatusViewState& Refresh() {
        Form().frmStatusTimer_Timer();
        return Shown();
    }

    std::filesystem::path UserFolder() { return fx_.Context().values.UserFolder(); }
    std::filesystem::path SchStatus() { return UserFolder() / "SchStatus.txt"; }
    void SetStatus(std::string_view key, std::string_view value) {
        fx_.Context().values.WriteProfile("BackupStatus", key, value);
    }
    std::string Status(std::string_view key) { return fx_.Context().values.ReadProfile("BackupStatus", key); }
    void SetQuota(std::string_view used, std::string_view max) {
        fx_.Context().values.WriteProfile("QuotaStatus", "Used", used);
        fx_.Context().values.WriteProfile("QuotaStatus", "Max", max);
    }

    // The trace file's text since the last call.
    std::string NewTraces() {
        const std::string all = DecodeTextFile(ReadFileBytes(UserFolder() / "TrayTraceFile.txt").value_or(""));
        const std::string fresh = all.substr(std::min(tracesSeen_, all.size()));
        tracesSeen_ = all.size();
        return fresh;
    }
    bool NewTrace(std::string_view line) { return NewTraces().find(line) != std::string::npos; }

    test::AppFixture fx_;
    test::FakeLocaleFormat locale_;
    RecordingView view_;
    int logViewerOpens_ = 0;
    std::size_t tracesSeen_ = 0;
    std::unique_ptr<frmStatus> form_;
};

TEST_F(StatusPresenterTest, WithoutAUserOnlyTheLoginSentenceIsShown) {
    SetQuota("4294967297", "4294967296");
    fx_.SetCurrentUser("");
    const StatusViewState& shown = Load();
    EXPECT_EQ(shown.title, "Grp Caption - Scheduled Backup Status");
    EXPECT_EQ(shown.statusMessage, "Login to the account for which you want to see the scheduled backup status.");
    EXPECT_EQ(shown.nextBackup + shown.userName, "");
    EXPECT_FALSE(shown.quotaVisible || shown.upgradeVisible);
    EXPECT_FALSE(FileExists(SchStatus()));
}

TEST_F(StatusPresenterTest, AUserSeesTheAccountTheNextBackupAndTheQuotaInTheLocaleForms) {
    SetQuota("1610612736", "2147483648");
    locale_.shortDatePattern = "dd/MM/yyyy";
    locale_.decimalSeparator = ",";
    const StatusViewState& shown = Load();
    EXPECT_EQ(std::tuple(shown.userName, shown.nextBackup, shown.quotaText, shown.quotaVisible),
              std::tuple("Account Name: alice", "Your next backup will occur on  03/20/2026 06:00:00",
                         "1,5 GB out of 2,0 GB", true));
}

TEST_F(StatusPresenterTest, QuotaBarThresholds) {
    const struct {
        std::string_view used, max;
        int percent;
        std::uint32_t colour;
        bool upgrade;
    } cases[] = {
        {"909", "1000", 90, kQuotaGreen, false}, {"910", "1000", 91, kQuotaRed, false},
        {"1500", "1000", 100, kQuotaRed, true},  {"", "1000", 0, kQuotaGreen, false},
        {"0", "", 0, kQuotaGreen, false},        {"2147483648", "2147483648", 100, kQuotaRed, false},
    };
    for (const auto& c : cases) {
        SetQuota(c.used, c.max);
        const StatusViewState& shown = Refresh();
        EXPECT_EQ(std::tuple(shown.quotaPercent, shown.quotaColour, shown.upgradeVisible),
                  std::tuple(c.percent, c.colour, c.upgrade))
            << c.used << "/" << c.max;
        EXPECT_NE(shown.statusMessage, kQuotaMessage) << "not a plan size or not above it";
    }
}

TEST_F(StatusPresenterTest, AnExhaustedPlanWritesTheQuotaMessageOnceEvenOverARunningJob) {
    Arrange({.marker = "1"});
    SetQuota("4294967297", "4294967296");
    const StatusViewState& shown = Load();
    EXPECT_EQ(shown.statusMessage, kQuotaMessage);
    EXPECT_TRUE(shown.upgradeVisible);
    EXPECT_EQ(test::ReadAll(SchStatus()), Utf16File(kQuotaMessage));
    EXPECT_EQ(Status("StatusMessageIndicaton"), "2");
    EXPECT_TRUE(NewTrace("Form-Load: Quota Exceeded"));

    test::WriteAll(SchStatus(), "engine's own");
    EXPECT_EQ(Refresh().statusMessage, kQuotaMessage);
    EXPECT_EQ(test::ReadAll(SchStatus()), "engine's own") << "the indicator says the message stands";
}

TEST_F(StatusPresenterTest, StatusMessageOrder) {
    const std::string huge(200 * 1024, 'x');  // too large to be a message
    const std::string disabled = "You have disabled the scheduled backup from the Grp Online tray menu.";
    const std::pair<Scene, std::string> cases[] = {
        {{.marker = "2"}, "The scheduled backup job is in progress"},
        {{.marker = "-"}, "No backup has been scheduled."},
        {{.marker = "-", .disabled = true}, disabled},
        {{.nextRun = ""}, "No backup has been scheduled."},
        {{.disabled = true}, disabled},
        {{.statusFile = "Backup completed", .endTime = "03-14-2026 09:01:00"}, "Backup completed"},
        {{.statusFile = "Some files were skipped", .utf16 = true, .endTime = "03-14-2026 09:01:00", .failed = true},
         "Backup has failed"},
        {{.statusFile = huge}, ""},
    };
    for (const auto& [scene, message] : cases) {
        Arrange(scene);
        EXPECT_EQ(Load().statusMessage, message) << message;
    }
}

TEST_F(StatusPresenterTest, AConsumedMessageStaysWhileTheWindowIsOpenAndRefreshesTraceOnlyChanges) {
    Arrange({.statusFile = "Backup completed"});
    SetStatus("StatusMessageIndicaton", "1");
    EXPECT_EQ(Load().statusMessage, "Backup completed");
    EXPECT_EQ(test::ReadAll(SchStatus()), Utf16File(""));
    EXPECT_EQ(Status("StatusMessageIndicaton"), "");
    EXPECT_TRUE(NewTrace("Form-Load: Backup completed 30min ago"));

    EXPECT_EQ(Refresh().statusMessage, "Backup completed");
    EXPECT_EQ(NewTraces(), "");

    test::WriteAll(SchStatus(), Utf16File("Backup completed with warnings"));
    SetStatus("SchEndTime", "03-14-2026 09:25:00");
    EXPECT_EQ(Refresh().statusMessage, "Backup completed with warnings");
    EXPECT_TRUE(NewTrace("Form-Load: Backup completed just before 30min "));
}

TEST_F(StatusPresenterTest, ViewLogResetsTheEnginesReportAndShowsAFailure) {
    for (const auto& [before, after] : {std::pair{"3", "0"}, {"4", "0"}, {"2", "2"}}) {
        SetStatus("DLLStatus", before);
        Form().Cmd_Yes_Click();
        EXPECT_EQ(Status("DLLStatus"), after) << before;
    }
    EXPECT_EQ(logViewerOpens_, 3);

    Load();
    test::WriteAll(UserFolder() / "SchStatusError.txt", "");
    NewTraces();
    Form().imgViewLog_Click();
    EXPECT_EQ(Shown().statusMessage, "Backup has failed");
    EXPECT_TRUE(NewTrace("Viewed the Log.So, Change Status Message"));

    Arrange({.marker = "1", .failed = true});
    frmStatus withoutViewer(fx_.Context(), locale_, view_);
    withoutViewer.Form_Load();
    withoutViewer.Cmd_Yes_Click();
    EXPECT_EQ(Shown().statusMessage, "The scheduled backup job is in progress");
}

TEST_F(StatusPresenterTest, UpgradeOpensTheEncodedAccountPageOnlyForWebAddressesAndOnceMoreWhenTheShellFails) {
    const struct {
        std::string_view link, language, user;
        bool shellFails;
        std::string opened;  // "": nothing is handed to the shell
    } cases[] = {
        {"HTTPS://example.com/up?u=", "English", "a b&c#d+e", false, "HTTPS://example.com/up?u=a%20b%26c%23d%2Be"},
        {"http://example.com/up?u=", "English", "bob.smith@example.com", true,
         "http://example.com/up?u=bob.smith@example.com"},
        {"http://example.com/up?u=", "Spanish", "bob", false, "http://example.com/up?u=bob &country=ES&lang=es"},
        {"upgrade.cmd?u=", "English", "bob", false, ""},
        {"file:///C:/up?u=", "English", "bob", false, ""},
    };
    for (const auto& c : cases) {
        test::AppFixture fx;
        std::string config = test::GroupConfiguration() + "[WebLink]\r\nAccountUpgradeLink=" + std::string(c.link);
        fx.WriteConfiguration(config.replace(config.find("English"), 7, c.language));
        fx.SetCurrentUser(c.user);
        if (c.shellFails) {
            fx.shell.answer = ShellResult{2, 2, "Not found"};  // asked again even so
        }
        const fs::path traceFile = fx.app / "Grp Backup" / "TrayTraceFile.txt";
        CreateFolders(traceFile.parent_path());
        frmStatus(fx.Context(), locale_, view_).imgUpgrade_Click();
        EXPECT_EQ(fx.shell.requests.size(), c.opened.empty() ? 0u : c.shellFails ? 2u : 1u) << c.link;
        for (const ShellRequest& request : fx.shell.requests) {
            EXPECT_EQ(request.verb + " " + Utf8FromPath(request.file), "open " + c.opened);
        }
        EXPECT_EQ(DecodeTextFile(test::ReadAll(traceFile))
                          .find("[ERROR] Not a web address, not opened: " + std::string(c.link)) != std::string::npos,
                  c.opened.empty())
            << c.link;
    }
}

TEST_F(StatusPresenterTest, CheckboxFollowsAndWritesDesktopNotification) {
    SetStatus("DesktopNotification", "yes");
    EXPECT_EQ(Load().notifyChecked, std::nullopt);
    Form().chkDesNotify1_Click(true);
    EXPECT_EQ(Status("DesktopNotification"), "1");
    EXPECT_EQ(Refresh().notifyChecked, true);
    Form().chkDesNotify1_Click(false);
    EXPECT_EQ(Status("DesktopNotification"), "0");
    Form().Cmd_No_Click();
    EXPECT_EQ(view_.closes, 1);
}

TEST_F(StatusPresenterTest, LocalisedTextsAreFittedToTheEnglishRoom) {
    CreateFolders(fx_.app / "Lang");
    test::WriteAll(fx_.app / "Lang" / "English.txt", "984=Ihre nächste Sicherung erfolgt am \n988=Nichts geplant.\n");
    // 31 characters of room: 28 of the text and "..."; "ä" counts as one.
    EXPECT_EQ(Load().nextBackup, "Ihre nächste Sicherung erfol... 03-20-2026 06:00:00");
    Arrange({.marker = "-"});
    EXPECT_EQ(Load().statusMessage, "Nichts geplant.");
}

// What is left of a text once translations ("<id>"), numbers, punctuation and the names that are
// no words of any language are taken out: any letters left are untranslated English.
std::string Untranslated(std::string text, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
            text.erase(at, name.size());
        }
    }
    std::string left;
    bool inTranslation = false;
    for (const char c : text) {
        inTranslation = c == '<' || (inTranslation && c != '>');
        if (!inTranslation && std::isalpha(static_cast<unsigned char>(c))) {
            left += c;
        }
    }
    return left;
}

TEST_F(StatusPresenterTest, AFullTranslationLeavesNoEnglishInTheWindowTheTooltipsOrTheMessageBox) {
    CreateFolders(fx_.app / "Lang");
    std::string language;
    for (int id = 1; id < 10000; ++id) {
        language += std::to_string(id) + "=<" + std::to_string(id) + ">\n";
    }
    test::WriteAll(fx_.app / "Lang" / "English.txt", language);
    ILocaleText& texts = fx_.Context().texts;
    const std::initializer_list<std::string_view> names = {"Grp Caption", "Grp Online", "alice", "GB", "MB", "KB"};
    const auto expectTranslated = [&](const StatusViewState& state) {
        for (const std::string* text : {&state.title, &state.statusMessage, &state.nextBackup, &state.userName,
                                        &state.quotaText, &state.spaceUsedCaption, &state.checkboxCaption,
                                        &state.viewLogCaption, &state.closeCaption, &state.upgradeTip}) {
            EXPECT_EQ(Untranslated(*text, names), "") << *text;
        }
    };
    SetQuota("1610612736", "2147483648");
    expectTranslated(Load());
    Arrange({.failed = true});
    expectTranslated(Load());
    SetQuota("4294967297", "4294967296");
    expectTranslated(Load());
    fx_.SetCurrentUser("");
    expectTranslated(Load());

    const DateTime now{2026, 3, 14, 9, 30, 0};
    const TimeWords words = LocalisedTimeWords(texts, "Grp Online");
    for (const std::string_view end : {"", "03-14-2026 09:00:00", "03-13-2026 09:00:00", "03-10-2026 09:00:00"}) {
        SetStatus("SchEndTime", end);
        for (const std::string_view next : {"03-14-2026 09:40:00", "03-14-2026 19:00:00", "03-20-2026 06:00:00"}) {
            const std::string sentence = GetTimeDifference(next, fx_.Context().values, now, words).sentence;
            EXPECT_EQ(Untranslated(sentence, names), "") << sentence;
        }
    }
    for (const ToolTipEntry& entry : ToolTipTable()) {
        EXPECT_EQ(Untranslated(ToolTipText(texts, entry.key, "Grp Online"), names), "") << entry.key;
    }
    test::ScriptedMessageBox shown;
    LocalisedMessageBox box(shown);
    box.UseTexts(texts, "Grp Online");
    Notice(box, "<1>", 0);
    Question(box, "<2>", 0);
    Question(box, "<3>", "Yes", "Cancel", 0);
    Question(box, "<4>", "Proceed", "Cancel", 0);
    for (const MessageBoxRequest& request : shown.shown) {
        EXPECT_EQ(Untranslated(request.firstCaption + request.secondCaption, names), "") << request.message;
    }
}

TEST(Captions, LongerTranslationsAreCutInCharactersAndUnitsGetAFullStop) {
    const struct {
        std::string_view localised, english;
        std::string fitted;
    } cases[] = {
        {"Schließen", "Close", "Sc..."},
        {"Cerrar", "Close Window", "Cerrar"},
        {"Ändern", "Change", "Ändern"},
        {"ÄÖÜÄÖÜÄ", "Change", "ÄÖÜ..."},
        {"Okay", "OK", "Ok"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitCaption(c.localised, c.english), c.fitted) << c.localised;
    }
    test::FakeLocaleText texts;
    texts.texts = {{1, "Tallux Fenster"}, {2, " Tag(e)"}};
    EXPECT_EQ(WindowCaption(texts, 1, "Tallux window", "Grp"), "Grp Fenster");
    EXPECT_EQ(WindowCaption(texts, 3, "English", "Grp"), "English");
    EXPECT_EQ(LocalisedUnit(texts, 2, " day(s).", "Grp"), " Tag(e).");
    EXPECT_EQ(LocalisedUnit(texts, 3, " day(s).", "Grp"), " day(s).");
}

}  // namespace
}  // namespace ovp
