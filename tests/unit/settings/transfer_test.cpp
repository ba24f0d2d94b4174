#include "settings/transfer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/files.h"
#include "base/text.h"
#include "settings/obscure.h"
#include "settings/shared_values.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace ovp {
namespace {

using test::FakeProfileStore;
using test::FakeTraceSink;
using test::TempDir;

class TransferTest : public ::testing::Test {
  protected:
    TempDir dir_;
    Folders folders_{dir_.Path(), "Orvessa Professional"};
    FakeProfileStore store_;
    FakeTraceSink trace_;
    CurrentUser users_{store_, folders_};
    clsTransfer transfer_{store_, folders_, "Tallux", users_, trace_};

    void SetUp() override { users_.WriteCurrentUserName("alice"); }
    std::map<std::string, std::string> Profile(std::string_view user) {
        return store_.Dump(folders_.ProfileFile(user));
    }
};

// Values the engine reads as they are still sit under obscured keys; the date format has its own
// section.
TEST_F(TransferTest, PlainValuesAndTheDateFormatKeepTheEnginesKeys) {
    ASSERT_TRUE(transfer_.Trf_WriteUserProfileWithoutEncrypt("random", "42"));
    EXPECT_EQ(store_.Read(folders_.ProfileFile("alice"), "Orvessa", Obscure("random")), "42");
    ASSERT_TRUE(transfer_.Trf_WriteDateFormatProfile("Format", "mm-dd-yyyy"));
    EXPECT_EQ(transfer_.Trf_ReadDateFormatProfile("Format"), "mm-dd-yyyy");
}

// The store drops blanks and one pair of quotes around a value when it reads it; "$" raised by
// the obscuring offset is a quote.
TEST_F(TransferTest, QuotedPaddedAndObscuredValuesReadBackAsWritten) {
    test::FakeRegistry registry;
    SharedValues values{registry, store_, folders_, users_, trace_};
    for (const std::string_view value : {"$ab$", "\"quoted\"", "'q'", " padded\t", "\""}) {
        ASSERT_TRUE(transfer_.Trf_WriteUserProfile("password", value));
        EXPECT_EQ(transfer_.Trf_ReadUserProfile("password"), value);
        ASSERT_TRUE(transfer_.Trf_WriteUserNameProfile("Interactive", value));
        EXPECT_EQ(transfer_.Trf_ReadUserNameProfile("Interactive"), value);
        ASSERT_TRUE(values.WriteProfile("OLWA", "ErrVal", value));
        EXPECT_EQ(values.ReadProfile("OLWA", "ErrVal"), value);
    }
    users_.WriteCurrentUserName("$bob$");
    EXPECT_EQ(users_.CurrentUserName(), "$bob$");
}

TEST_F(TransferTest, UserNameFileAndSearchFilesUseTheApplicationFolder) {
    ASSERT_TRUE(transfer_.Trf_WriteUserNameProfile("RTBPausedBySch", "1"));
    EXPECT_EQ(store_.Read(folders_.UserNameFile(), "Orvessa", "RTBPausedBySch"), "1");
    EXPECT_EQ(transfer_.Trf_ReadUserNameProfile("RTBPausedBySch"), "1");

    const auto productSearch = dir_ / "TalluxSearch.ini";
    const auto brandSearch = dir_ / "Orvessa ProfessionalSearch.ini";
    ASSERT_TRUE(transfer_.Trf_WriteSearchUserNameProfile("User1", "alice"));
    EXPECT_EQ(store_.Read(productSearch, "Orvessa", "User1"), "alice");
    EXPECT_TRUE(store_.Dump(brandSearch).empty());

    test::WriteAll(dir_ / "Images" / "Config.txt", "Brand\r\n");
    ASSERT_TRUE(transfer_.Trf_WriteSearchUserNameProfile("User2", "bob"));
    EXPECT_EQ(store_.Read(productSearch, "Orvessa", "User2"), "bob");
    EXPECT_EQ(store_.Read(brandSearch, "Orvessa", "User2"), "bob");
}

TEST_F(TransferTest, CreateLocalDirCreatesNestedFoldersAndRefusesFiles) {
    EXPECT_TRUE(transfer_.Trf_CreateLocalDir(Utf8FromPath(dir_ / "a" / "b")));
    EXPECT_TRUE(FolderExists(dir_ / "a" / "b"));
    test::WriteAll(dir_ / "file", "x");
    EXPECT_FALSE(transfer_.Trf_CreateLocalDir(Utf8FromPath(dir_ / "file")));
    EXPECT_FALSE(transfer_.Trf_CreateLocalDir(""));
}

class ThrowingStore : public IProfileStore {
  public:
    std::string Read(const std::filesystem::path&, std::string_view, std::string_view) override {
        throw std::runtime_error("locked");
    }
    bool Write(const std::filesystem::path&, std::string_view, std::string_view, std::string_view) override {
        throw std::runtime_error("locked");
    }
};

TEST_F(TransferTest, StoreFailuresGiveEmptyOrFalseAndTraceTheirLines) {
    store_.failWrites = true;
    EXPECT_FALSE(transfer_.Trf_WriteUserProfile("password", "x"));
    ThrowingStore failing;
    clsTransfer transfer{failing, folders_, "Tallux", users_, trace_};
    EXPECT_EQ(transfer.Trf_ReadUserProfile("password"), "");
    EXPECT_FALSE(transfer.Trf_WriteUserProfile("password", "x"));
    EXPECT_FALSE(transfer.Trf_WriteSearchUserNameProfile("User1", "x"));
    EXPECT_EQ(trace_.lines, (std::vector<std::string>{"   [ERROR] Error in Trf_ReadUserProfile of monitor",
                                                      "   [ERROR] Error encrypting of monitor"}));
}

}  // namespace
}  // namespace ovp
