#include "sessionlog/session_log_presenter.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/files.h"
#include "base/text.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"

namespace ovp {
namespace {

class RecordingView : public ISessionLogView {
  public:
    void Render(const SessionLogViewState& state) override { renders.push_back(state); }
    void CheckAllRows(bool checked) override { allChecked.push_back(checked); }
    void Close() override { ++closes; }
    std::uintptr_t OwnerWindow() override { return 77; }
    std::vector<SessionLogViewState> renders;
    std::vector<bool> allChecked;
    int closes = 0;
};

// Log number n of a folder: a later n is a later second of the same day.
std::string LogName(int n) {
    std::array<char, 64> name{};
    std::snprintf(name.data(), name.size(), "Backup 12-01-2026 %02d-%02d-%02d.txt", n / 3600, n / 60 % 60, n % 60);
    return name.data();
}

class SessionLogPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fx_.WriteConfiguration();
        fx_.SetCurrentUser("alice");
        fx_.Context().traceUser.MarkKnown();
        session_ = fx_.Context().values.UserFolder() / "Session";
        CreateFolders(session_);
    }

    void WriteLogs(int count) {
        for (int n = 1; n <= count; ++n) {
            test::WriteAll(session_ / LogName(n), "[Backed up Files : " + std::to_string(n) + "]\r\n");
        }
    }
    const SessionLogViewState& Shown() { return view_.renders.back(); }
    std::vector<std::string> ShownNames() {
        std::vector<std::string> names;
        for (const SessionLogRow& row : Shown().rows) {
            names.push_back(row.fileName);
        }
        return names;
    }
    std::string Traces() {
        return DecodeTextFile(ReadFileBytes(fx_.Context().values.UserFolder() / "TrayTraceFile.txt").value_or(""));
    }

    test::AppFixture fx_;
    test::ScriptedMessageBox box_;
    RecordingView view_;
    frmSessionLog form_{fx_.Context(), box_, view_};
    std::filesystem::path session_;
};

TEST_F(SessionLogPresenterTest, LoadShowsTheNewestFiftyAndReadsOnlyThem) {
    WriteLogs(120);
    form_.Form_Load();
    EXPECT_EQ(Shown().title, "Session Log");
    EXPECT_EQ(Shown().pageLabel, "1 - 50 of 120");
    ASSERT_EQ(Shown().rows.size(), 50u);
    EXPECT_EQ(Shown().rows.front().fileName, LogName(120));
    EXPECT_EQ(Shown().rows.front().description, "Interactive Backup( 120 Files )");
    EXPECT_EQ(form_.FilesOpened(), 50u);
    EXPECT_TRUE(Shown().nextEnabled && Shown().viewEnabled && Shown().deleteEnabled && Shown().selectAllEnabled);
    EXPECT_FALSE(Shown().previousEnabled);
    const std::string traces = Traces();
    EXPECT_NE(traces.find("Opening Session log " + Utf8FromPath(session_)), std::string::npos);
    EXPECT_NE(traces.find("Total session logs : 120"), std::string::npos);
    EXPECT_NE(traces.find("Total session logs Per Page : 50"), std::string::npos);

    form_.NextImg_Click();
    form_.NextImg_Click();
    EXPECT_EQ(Shown().pageLabel, "101 - 120 of 120");
    EXPECT_EQ(Shown().rows.back().fileName, LogName(1));
    EXPECT_FALSE(Shown().nextEnabled);
    EXPECT_EQ(form_.FilesOpened(), 120u);
    form_.PrevImg_Click();
    EXPECT_EQ(Shown().pageLabel, "51 - 100 of 120");
}

TEST_F(SessionLogPresenterTest, AnEmptyFolderDisablesTheButtons) {
    std::filesystem::remove(session_);
    form_.Form_Load();
    EXPECT_EQ(Shown().pageLabel, "");
    EXPECT_FALSE(Shown().viewEnabled || Shown().deleteEnabled || Shown().selectAllEnabled || Shown().nextEnabled ||
                 Shown().previousEnabled);
}

TEST_F(SessionLogPresenterTest, DeleteRemovesFilesAndRowsWithoutAQuestion) {
    WriteLogs(52);
    form_.Form_Load();
    form_.cmdDelete_Click({});
    ASSERT_EQ(box_.shown.size(), 1u);
    EXPECT_EQ(box_.shown[0].message, "Select the items that you want to delete");
    EXPECT_EQ(box_.shown[0].owner, 77u);

    form_.cmdDelete_Click({LogName(52), LogName(50)});
    EXPECT_EQ(box_.shown.size(), 1u);
    EXPECT_FALSE(FileExists(session_ / LogName(52)) || FileExists(session_ / LogName(50)));
    EXPECT_EQ(Shown().pageLabel, "1 - 50 of 50");
    EXPECT_EQ(Shown().rows.front().fileName, LogName(51));
    EXPECT_FALSE(Shown().nextEnabled || Shown().selectAllChecked);

    // Emptying the last page shows the one before; a name not on the page is left alone.
    WriteLogs(52);
    form_.Form_Load();
    form_.NextImg_Click();
    form_.cmdDelete_Click({LogName(2), LogName(1), LogName(40), "../TrayTraceFile.txt"});
    EXPECT_EQ(Shown().pageLabel, "1 - 50 of 50");
    EXPECT_TRUE(FileExists(session_ / LogName(40)) && FileExists(session_ / ".." / "TrayTraceFile.txt"));
    EXPECT_FALSE(FileExists(session_ / LogName(1)));
}

TEST_F(SessionLogPresenterTest, ViewOpensTheChosenLogsThatExistAndHelpTheGuide) {
    WriteLogs(3);
    test::WriteAll(session_ / "Backup 12-01-2026 00-00-09.exe", "MZ");
    form_.Form_Load();
    form_.cmdView_Click({});
    std::filesystem::remove(session_ / LogName(2));
    form_.cmdView_Click({LogName(2)});
    EXPECT_EQ(box_.shown.size(), 2u);
    EXPECT_EQ(box_.shown[1].message, "Select the job(s) for which you want to view the log(s).");

    form_.LstSessionLogView_DblClick({LogName(3), LogName(2), "Backup 12-01-2026 00-00-09.exe"});
    EXPECT_EQ(box_.shown.size(), 2u);
    auto& requests = fx_.shell.requests;
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].verb, "open");
    EXPECT_EQ(requests[0].file, session_ / LogName(3));
    EXPECT_EQ(requests[1].verb, "open with");
    const std::string traces = Traces();
    EXPECT_LT(traces.find("Enter LstSessionLogView_DblClick()of frmSessionLog form"),
              traces.find("Exit LstSessionLogView_DblClick()of frmSessionLog form"));
    form_.Image6_Click();
    EXPECT_EQ(requests.at(2).file, fx_.app / "GrpHelp.chm");
}

TEST_F(SessionLogPresenterTest, OnlyTheStartTimeColumnSortsAndSelectAllTicksThePage) {
    WriteLogs(3);
    form_.Form_Load();
    form_.LstSessionLogView_ColumnClick(2);
    EXPECT_EQ(view_.renders.size(), 1u);
    form_.LstSessionLogView_ColumnClick(kStartTimeColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{LogName(1), LogName(2), LogName(3)}));
    form_.LstSessionLogView_ColumnClick(kStartTimeColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{LogName(3), LogName(2), LogName(1)}));

    form_.chkSelectAll_Click(true);
    form_.chkSelectAll_Click(false);
    EXPECT_EQ(view_.allChecked, (std::vector<bool>{true, false}));
    form_.cmdCloseSessionLog_Click();
    EXPECT_EQ(view_.closes, 1);
}

// The language file words every caption, each cut to its English text's room, the page label,
// the rows and the messages; the tests above show the English ones.
TEST_F(SessionLogPresenterTest, TheLanguageFileWordsTheWindowAndItsRows) {
    using S = SessionLogViewState;
    const struct {
        std::string S::*caption;
        const char* line;
        const char* shown;
    } captions[] = {
        {&S::title, "5300=Registros", "Registros"},
        {&S::subtitle, "5301=Copias, restauraciones", "Copias, restauraciones"},
        {&S::backupLegend, "5302=Copia", "Copia"},
        {&S::restoreLegend, "5303=Restauración", "Restauración"},
        {&S::deleteLegend, "5304=Eliminación", "Eliminación"},
        {&S::operationColumn, "5305=Operación", "Operación"},
        {&S::startTimeColumn, "5306=Inicio", "Inicio"},
        {&S::descriptionColumn, "5307=Descripción", "Descripción"},
        {&S::viewCaption, "5308=Ver detalles", "Ver detalles"},
        {&S::deleteCaption, "5309=Eliminar", "Eliminar"},
        {&S::selectAllCaption, "5310=&Seleccionar todo", "&Selecci..."},
        {&S::closeCaption, "5311=Salir", "Salir"},
        {&S::previousCaption, "5312=Anterior", "Anterior"},
        {&S::nextCaption, "5313=Siguiente", "S..."},
    };
    std::string file = "5314= de \n5316=Nada marcado\n5321=Copia interactiva\n5328=archivos\n5329= - con errores\n";
    for (const auto& c : captions) {
        file += std::string(c.line) + "\n";
    }
    CreateFolders(fx_.app / "Lang");
    test::WriteAll(fx_.app / "Lang" / "English.txt", file);
    WriteLogs(50);
    test::WriteAll(session_ / "Backup 12-02-2026 00-00-00.txt", "Backup is in progress. Try later\r\n");
    form_.Form_Load();
    for (const auto& c : captions) {
        EXPECT_EQ(Shown().*c.caption, c.shown) << c.line;
    }
    EXPECT_EQ(Shown().pageLabel, "1 - 50 de 51");
    EXPECT_EQ(Shown().rows[0].description, "Copia interactiva - con errores");
    EXPECT_EQ(Shown().rows[1].description, "Copia interactiva( 50 archivos )");
    form_.cmdDelete_Click({});
    ASSERT_EQ(box_.shown.size(), 1u);
    EXPECT_EQ(box_.shown[0].message, "Nada marcado");
}

}  // namespace
}  // namespace ovp
