#pragma once
// The schedule windows' tests: the command fixture (alice logged in, installation "Grp Backup"),
// schedule files of any user, and views that record what they are told.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "scheduler/schedule_codes.h"
#include "scheduler/schedule_file.h"
#include "schedules/schedule_manager.h"
#include "schedules/schedule_wizard.h"
#include "settings/obscure.h"
#include "support/temp_dir.h"
#include "unit/commands/command_test_env.h"

namespace ovp::test {

// A record line in file order: RecordNo, JobKind, NextRun, ..., with the fields that matter given.
inline std::string RecordLine(std::string_view recordNo,
                              std::string_view jobKind,
                              std::string_view nextRun = "03-20-2026 22:00:00",
                              std::string_view frequency = "6",
                              std::string_view mailList = "") {
    ScheduleRecord record{std::string(recordNo),
                          std::string(jobKind),
                          std::string(nextRun),
                          "03-01-2026 10:00:00",
                          "20",
                          "0",
                          std::string(mailList),
                          "0",
                          "1",
                          MakeSortKey(nextRun),
                          std::string(frequency),
                          "0111110"};
    return FormatScheduleLine(record) + "\r\n";
}

// A language file that translates the text of every id N as "<N>".
inline void WriteNumberedLanguage(const std::filesystem::path& app) {
    std::string language;
    for (int id = 1; id < 10000; ++id) {
        language += std::to_string(id) + "=<" + std::to_string(id) + ">\n";
    }
    WriteAll(app / "Lang" / "English.txt", language);
}

// Under WriteNumberedLanguage: a caption for every label up to last, in their order, each
// translated and by an id of its own.
template <class Label>
void ExpectEveryCaptionTranslated(const std::vector<Caption<Label>>& captions, Label last) {
    ASSERT_EQ(captions.size(), static_cast<std::size_t>(last) + 1);
    std::set<std::string> texts;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(captions[i].control, static_cast<Label>(i));
        EXPECT_TRUE(captions[i].text.starts_with("<")) << captions[i].text;
        texts.insert(captions[i].text);
    }
    EXPECT_EQ(texts.size(), captions.size());
}

class FakeWizardView : public IScheduleWizardView {
  public:
    void ShowCaptions(const std::vector<WizardCaption>& shownCaptions) override { captions = shownCaptions; }
    void Render(const WizardControls& controls, const WizardEnabling& enabling) override {
        shown = controls;
        enabled = enabling;
    }
    std::uintptr_t OwnerWindow() override { return 7; }
    void Close() override { closed = true; }
    std::vector<WizardCaption> captions;
    WizardControls shown;
    WizardEnabling enabled;
    bool closed = false;
};

// Shows the wizard by loading it into a fake view and handing it to `drive`.
class FakeManagerView : public IScheduleManagerView {
  public:
    void ShowCaptions(const std::vector<ManagerCaption>& shownCaptions) override { captions = shownCaptions; }
    void Render(const ScheduleManagerViewState& state) override { shown = state; }
    void ShowWizard(IScheduleWizardEvents& wizard) override {
        FakeWizardView view;
        wizard.Form_Load(view);
        ++wizards;
        if (drive) {
            drive(wizard, view);
        }
    }
    std::uintptr_t OwnerWindow() override { return 9; }
    void Close() override {}
    std::vector<ManagerCaption> captions;
    ScheduleManagerViewState shown;
    std::function<void(IScheduleWizardEvents&, FakeWizardView&)> drive;
    int wizards = 0;
};

class SchedulesFixture : public CommandFixture {
  public:
    std::filesystem::path Folder(std::string_view user) { return fx.app / ("Grp Backup" + std::string(user)); }
    std::filesystem::path Schedule(std::string_view user) { return Folder(user) / "scheduleData.txt"; }
    std::filesystem::path ProfileOf(std::string_view user) { return Folder(user) / "Grp Backup.ini"; }
    void WriteSchedule(std::string_view user, std::string_view marker, std::string_view records) {
        WriteAll(Schedule(user), std::string(marker) + "\r\n" + std::string(records));
    }
    std::string ReadSchedule(std::string_view user) { return ReadFileBytes(Schedule(user)).value_or("<none>"); }
    void UserList(std::string_view text) { WriteAll(fx.app / "userlist.ini", text); }
    void Obscured(std::string_view user, std::string_view key, std::string_view value) {
        fx.profiles.Write(ProfileOf(user), "Orvessa", Obscure(key), Obscure(value));
    }
    std::string Obscured(std::string_view user, std::string_view key) {
        return Unobscure(fx.profiles.Read(ProfileOf(user), "Orvessa", Obscure(key)));
    }
    std::string Profile(std::string_view user, std::string_view section, std::string_view key) {
        return fx.profiles.Read(ProfileOf(user), section, key);
    }
    std::string Registry(std::string_view key) { return fx.profiles.Read(Names(), "Registry", key); }
};

}  // namespace ovp::test
