#include "scheduler/job_options.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "scheduler/schedule_file.h"
#include "settings/obscure.h"
#include "support/fake_code_page.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

class JobOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override { users_.WriteCurrentUserName("alice"); }
    std::string UserName(std::string_view key) { return store_.Read(folders_.UserNameFile(), "Registry", key); }
    std::string Profile(std::string_view section, std::string_view key, std::string_view user = "alice") {
        return store_.Read(folders_.ProfileFile(user), section, key);
    }
    void WriteMarker(std::string_view marker, std::string_view user = "alice") {
        test::WriteAll(ScheduleFilePath(folders_.UserFolder(user)), std::string(marker) + "\r\n");
    }

    test::TempDir dir_;
    Folders folders_{dir_.Path(), "Orvessa Professional"};
    test::FakeRegistry registry_;
    test::FakeProfileStore store_;
    test::FakeTraceSink trace_;
    test::FakeCodePage codePage_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, trace_};
    clsTransfer transfer_{store_, folders_, "Tallux", users_, trace_};
    ScheduleJobOptionsStore options_{values_, transfer_, codePage_};
};

TEST_F(JobOptionsTest, EachOptionLandsWhereTheEngineReadsIt) {
    ScheduleJobOptions options{true, "03-14-2026 18:00:00", true, true, true, true, ScheduleType::Monthly};
    CreateFolders(folders_.ImagesFolder());
    test::WriteAll(folders_.ImagesFolder() / "Config.txt", "Brand\r\n");
    ASSERT_TRUE(options_.WriteAll(options));
    EXPECT_EQ(store_.Read(dir_.Path() / "Orvessa ProfessionalSearch.ini", "Orvessa", "StartMissedJob"), "1");

    EXPECT_EQ(std::tuple(UserName("StopSchedule"), UserName("StopScheduleTime"), UserName("STARTMISSEDSCH"),
                         UserName("BackupIdle")),
              std::tuple("1", "03-14-2026 18:00:00", "1", "1"));
    EXPECT_EQ(store_.Read(dir_.Path() / "TalluxSearch.ini", "Orvessa", "StartMissedJob"), "1");
    EXPECT_EQ(Profile("BackupStatus", "DesktopNotification"), "1");
    EXPECT_EQ(Profile("Orvessa", "Recomended"), "1");
    // Key and value obscured, as the engine reads "Schedule Type".
    EXPECT_EQ(Profile("Orvessa", Obscure("Schedule Type")), Obscure("2"));

    const ScheduleJobOptions read = options_.Read();
    EXPECT_TRUE(read.stopAtCutOff && read.startMissed && read.pauseOnActivity && read.desktopNotification &&
                read.recommended);
    EXPECT_EQ(read.cutOffTime, "03-14-2026 18:00:00");
    EXPECT_EQ(read.type, ScheduleType::Monthly);

    // No cut-off clears the stored time.
    ASSERT_TRUE(options_.WriteStopSchedule(false, "03-14-2026 18:00:00"));
    EXPECT_EQ(std::tuple(UserName("StopSchedule"), UserName("StopScheduleTime")), std::tuple("0", ""));
    EXPECT_FALSE(options_.Read().stopAtCutOff);
}

TEST_F(JobOptionsTest, ABoxReadsTickedUnlessItsValueIsZeroOrEmpty) {
    for (const auto& [stored, ticked] :
         {std::pair{"1", true}, {"TRUE", true}, {" 2 ", true}, {"0", false}, {" 0 ", false}, {"", false}}) {
        store_.Write(folders_.UserNameFile(), "Registry", "BackupIdle", stored);
        store_.Write(folders_.UserNameFile(), "Registry", "STARTMISSEDSCH", stored);
        store_.Write(folders_.ProfileFile("alice"), "BackupStatus", "DesktopNotification", stored);
        const ScheduleJobOptions read = options_.Read();
        EXPECT_EQ(std::tuple(read.pauseOnActivity, read.startMissed, read.desktopNotification),
                  std::tuple(ticked, ticked, ticked))
            << stored;
    }
}

TEST_F(JobOptionsTest, StopIsRequestedOnlyWhileTheNamedUsersRunMarkerSaysAJobRuns) {
    EXPECT_EQ(options_.RequestStop("alice"), StopRequest::NoScheduleFile);
    EXPECT_EQ(options_.RequestStop(""), StopRequest::NoScheduleFile);
    for (const std::string_view idle : {"0", ""}) {
        WriteMarker(idle);
        EXPECT_EQ(options_.RequestStop("alice"), StopRequest::NotRunning) << idle;
    }
    EXPECT_EQ(Profile("BackupStatus", "Status"), "");

    // bob is logged in; alice's job is stopped in alice's file, and bob's file is never touched.
    users_.WriteCurrentUserName("bob");
    WriteMarker("2");
    EXPECT_EQ(options_.RequestStop("bob"), StopRequest::NoScheduleFile);
    EXPECT_EQ(options_.RequestStop("alice"), StopRequest::Requested);
    EXPECT_EQ(Profile("BackupStatus", "Status", "bob"), "");
    EXPECT_EQ(std::tuple(Profile("BackupStatus", "Status"), Profile("BackupStatus", "DLLStatus")),
              std::tuple("5", "3"));

    store_.failWrites = true;
    EXPECT_EQ(options_.RequestStop("alice"), StopRequest::WriteFailed);
}

}  // namespace
}  // namespace ovp
