#include "settings/profile_snapshot.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace ovp {
namespace {

// The fake store, able to give a file whole; counts how often it is asked.
class WholeFileStore final : public test::FakeProfileStore {
  public:
    std::string Read(const std::filesystem::path& file, std::string_view section, std::string_view key) override {
        ++keyReads;
        return FakeProfileStore::Read(file, section, key);
    }
    std::optional<IniText> ReadAll(const std::filesystem::path& file) override {
        ++fileReads;
        if (unreadable) {
            return std::nullopt;
        }
        std::string text;
        std::string section;
        for (const auto& [id, value] : Dump(file)) {
            const auto slash = id.find('/');
            if (id.substr(0, slash) != section) {
                section = id.substr(0, slash);
                text += "[" + section + "]\n";
            }
            text += id.substr(slash + 1) + "=" + value + "\n";
        }
        return IniText::Parse(text);
    }
    int keyReads = 0;
    int fileReads = 0;
    bool unreadable = false;
};

TEST(ProfileSnapshotTest, AnOpenSnapshotReadsEachFileOnceSeesItsOwnWritesAndTheEngineOnlyAtTheNextOpening) {
    const std::filesystem::path profile = "user/Profile.ini";
    const std::filesystem::path userName = "UserName.ini";
    for (const bool whole : {true, false}) {
        SCOPED_TRACE(whole ? "read whole" : "read key by key");
        WholeFileStore store;
        store.unreadable = !whole;
        store.Write(profile, "BackupStatus", "DLLStatus", "1");
        store.Write(profile, "BackupStatus", "RetValue", "0");
        store.Write(userName, "Orvessa", "RTBackup", "0");
        ProfileSnapshot snapshot(store);

        snapshot.Open();
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_EQ(snapshot.Read(profile, "backupstatus", "DLLSTATUS"), "1");
            EXPECT_EQ(snapshot.Read(profile, "BackupStatus", "RetValue"), "0");
            EXPECT_EQ(snapshot.Read(userName, "Orvessa", "RTBackup"), "0");
            EXPECT_EQ(snapshot.Read(profile, "BackupStatus", "Missing"), "");
        }
        EXPECT_EQ(store.fileReads, 2);
        EXPECT_EQ(store.keyReads, whole ? 0 : 4);

        // The engine writes meanwhile: this opening keeps the state it began with...
        store.Write(profile, "BackupStatus", "DLLStatus", "3");
        EXPECT_EQ(snapshot.Read(profile, "BackupStatus", "DLLStatus"), "1");
        // ...except for a file it writes itself, which is read afresh.
        EXPECT_TRUE(snapshot.Write(userName, "Orvessa", "RTBackup", "4"));
        EXPECT_EQ(store.Read(userName, "Orvessa", "RTBackup"), "4");
        EXPECT_EQ(snapshot.Read(userName, "Orvessa", "RTBackup"), "4");
        EXPECT_EQ(store.fileReads, 3);

        snapshot.Open();
        EXPECT_EQ(snapshot.Read(profile, "BackupStatus", "DLLStatus"), "3");

        snapshot.Close();
        const int before = store.keyReads;
        store.Write(profile, "BackupStatus", "DLLStatus", "2");
        EXPECT_EQ(snapshot.Read(profile, "BackupStatus", "DLLStatus"), "2");
        EXPECT_EQ(store.keyReads, before + 1);
    }
}

}  // namespace
}  // namespace ovp
