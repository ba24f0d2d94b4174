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

using test::FakeCodePage;
using test::FakeProfileStore;
using test::FakeRegistry;
using test::FakeTraceSink;
using test::TempDir;
using test::WriteAll;

class JobOptionsTest : public ::testing::Test {
  protected:
    TempDir dir_;
    Folders folders_{dir_.Path(), "Orvessa Professional"};
    FakeRegistry registry_;
    FakeProfileStore store_;
    FakeTraceSink trace_;
    FakeCodePage codePage_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, trace_};
    clsTransfer transfer_{store_, folders_, "Tallux", users_, trace_};
    ScheduleJobOptionsStore options_{values_, transfer_, codePage_};

    void SetUp() override { users_.WriteCurrentUserName("alice"); }
    std::filesystem::path ScheduleFile() { return ScheduleFilePath(folders_.UserFolder("alice")); }
    std::string BackupStatus(std::string_view key) { return values_.ReadProfile("BackupStatus", key); }
};

TEST_F(JobOptionsTest, EachOptionLandsWhereTheEngineReadsIt) {
    ScheduleJobOptions options;
    options.stopAtCutOff = true;
    options.cutOffTime = "03-14-2026 18:00:00";
    options.startMissed = true;
    options.pauseOnActivity = true;
    options.desktopNotification = true;
    options.recommended = true;
    options.type = ScheduleType::Monthly;
    ASSERT_TRUE(options_.WriteAll(options));

    const auto userNameIni = folders_.UserNameFile();
    EXPECT_EQ(store_.Read(userNameIni, "Registry", "StopSchedule"), "1");
    EXPECT_EQ(store_.Read(userNameIni, "Registry", "StopScheduleTime"), "03-14-2026 18:00:00");
    EXPECT_EQ(store_.Read(userNameIni, "Registry", "STARTMISSEDSCH"), "1");
    EXPECT_EQ(store_.Read(userNameIni, "Registry", "BackupIdle"), "1");
    EXPECT_EQ(store_.Read(dir_.Path() / "TalluxSearch.ini", "Orvessa", "StartMissedJob"), "1");
    const auto profile = folders_.ProfileFile("alice");
    EXPECT_EQ(store_.Read(profile, "BackupStatus", "DesktopNotification"), "1");
    EXPECT_EQ(store_.Read(profile, "Orvessa", "Recomended"), "1");
    // Key and value obscured, as the engine reads "Schedule Type".
    EXPECT_EQ(store_.Read(profile, "Orvessa", Obscure("Schedule Type")), Obscure("2"));

    const ScheduleJobOptions read = options_.Read();
    EXPECT_TRUE(read.stopAtCutOff && read.startMissed && read.pauseOnActivity && read.desktopNotification &&
                read.recommended);
    EXPECT_EQ(read.cutOffTime, "03-14-2026 18:00:00");
    EXPECT_EQ(read.type, ScheduleType::Monthly);
}

TEST_F(JobOptionsTest, NoCutOffClearsTheStoredTime) {
    ASSERT_TRUE(options_.WriteStopSchedule(true, "03-14-2026 18:00:00"));
    ASSERT_TRUE(options_.WriteStopSchedule(false, "03-14-2026 18:00:00"));
    EXPECT_EQ(store_.Read(folders_.UserNameFile(), "Registry", "StopSchedule"), "0");
    EXPECT_EQ(store_.Read(folders_.UserNameFile(), "Registry", "StopScheduleTime"), "");
    EXPECT_FALSE(options_.Read().stopAtCutOff);
}

TEST_F(JobOptionsTest, StopIsRequestedOnlyWhileTheRunMarkerSaysAJobRuns) {
    EXPECT_EQ(options_.mnuStop_Click(), StopRequest::NoScheduleFile);
    EXPECT_EQ(BackupStatus("Status"), "");

    WriteAll(ScheduleFile(), "0\r\n");
    EXPECT_EQ(options_.mnuStop_Click(), StopRequest::NotRunning);
    WriteAll(ScheduleFile(), "\r\n");
    EXPECT_EQ(options_.mnuStop_Click(), StopRequest::NotRunning);
    EXPECT_EQ(BackupStatus("Status"), "");

    WriteAll(ScheduleFile(), "2\r\n");
    EXPECT_EQ(options_.mnuStop_Click(), StopRequest::Requested);
    EXPECT_EQ(BackupStatus("Status"), "5");
    EXPECT_EQ(BackupStatus("DLLStatus"), "3");
}

TEST_F(JobOptionsTest, TheStopFollowsTheCurrentUser) {
    WriteAll(ScheduleFile(), "1\r\n");
    users_.WriteCurrentUserName("bob");
    EXPECT_EQ(options_.mnuStop_Click(), StopRequest::NoScheduleFile);
    EXPECT_EQ(store_.Read(folders_.ProfileFile("alice"), "BackupStatus", "Status"), "");
}

}  // namespace
}  // namespace ovp
