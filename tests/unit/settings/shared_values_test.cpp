#include "settings/shared_values.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "contract/engine_contract.h"
#include "settings/obscure.h"
#include "support/fakes.h"

namespace ovp {
namespace {

using test::FakeProfileStore;
using test::FakeRegistry;
using test::FakeTraceSink;

class SharedValuesTest : public ::testing::Test {
  protected:
    Folders folders_{"C:/App", "Orvessa Professional"};
    FakeRegistry registry_;
    FakeProfileStore store_;
    FakeTraceSink trace_;
    CurrentUser users_{store_, folders_};
    SharedValues values_{registry_, store_, folders_, users_, trace_};
};

TEST_F(SharedValuesTest, CurrentUserIsStoredObscuredAndAnUnsafeNameCountsAsNoUser) {
    users_.WriteCurrentUserName("Jörg");
    EXPECT_EQ(store_.Read(folders_.UserNameFile(), "Registry", "Default User name"), Obscure("Jörg"));
    EXPECT_EQ(values_.CurrentUserName(), "Jörg");

    for (const char* unsafe : {"..\\..\\Windows", "trailing "}) {
        users_.WriteCurrentUserName(unsafe);
        EXPECT_EQ(values_.CurrentUserName(), "") << unsafe;
        EXPECT_EQ(values_.ProfileFile(), folders_.ProfileFile("")) << unsafe;
    }
}

TEST_F(SharedValuesTest, UserRegistryFallsBackFromTheVendorKeyToTheProductKeyBothUnderCurrentUser) {
    const auto set = [this](RegistryRoot root, std::string_view key, std::string_view value) {
        registry_.WriteString(root, key, "InstalledFirst", value);
        return values_.ReadUserRegistry("InstalledFirst");
    };
    EXPECT_EQ(set(RegistryRoot::LocalMachine, "Software\\Orvessa Professional", "hklm"), "");
    EXPECT_EQ(set(RegistryRoot::CurrentUser, "Software\\Orvessa Professional", "product"), "product");
    // An empty vendor value still falls back; a filled one wins.
    EXPECT_EQ(set(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Orvessa Professional", ""), "product");
    EXPECT_EQ(set(RegistryRoot::CurrentUser, "Software\\Harrowlane\\Orvessa Professional", "vendor"), "vendor");
}

TEST_F(SharedValuesTest, QuotaIsMinusOneAndZeroUnlessStoredAsPlainDecimals) {
    const auto quota = [this](std::string_view used, std::string_view max) {
        values_.WriteProfile("QuotaStatus", "Used", used);
        values_.WriteProfile("QuotaStatus", "Max", max);
        const Quota read = values_.ReadQuota();
        return std::pair(read.used, read.max);
    };
    EXPECT_EQ(quota("", "  "), std::pair(-1.0, 0.0));
    EXPECT_EQ(quota(" 1073741824 ", "5368709120.5"), std::pair(1073741824.0, 5368709120.5));
    EXPECT_EQ(quota("+12", "-3.25"), std::pair(12.0, -3.25));
    const std::string huge = "1" + std::string(400, '0');  // beyond the range of a double
    for (const std::string_view bad : {"12abc", "1e3", "inf", "++1", "1,000", "0x10", huge.c_str()}) {
        EXPECT_EQ(quota(bad, bad), std::pair(-1.0, 0.0)) << bad;
    }
}

TEST_F(SharedValuesTest, FailedRegistryWriteIsTracedAndReported) {
    EXPECT_TRUE(values_.WriteRegistryString(RegistryRoot::CurrentUser, values_.VendorKey(), "FirstTimeUser", "TRUE"));
    registry_.failWrites = true;
    EXPECT_FALSE(values_.WriteRegistryDword(RegistryRoot::CurrentUser, values_.ConnectionParametersKey(), "Status", 0));
    EXPECT_FALSE(values_.WriteRegistryString(RegistryRoot::LocalMachine, values_.ProductKey(), "OpenFileMode", "0"));
    EXPECT_EQ(trace_.lines, (std::vector<std::string>{"   [ERROR] Error in registry set value of Status",
                                                      "   [ERROR] Error in registry set value of OpenFileMode"}));
}

class ThrowingRegistry : public IRegistry {
  public:
    RegistryValue Read(RegistryRoot, std::string_view, std::string_view) override { throw std::runtime_error("x"); }
    bool WriteString(RegistryRoot, std::string_view, std::string_view, std::string_view) override {
        throw std::runtime_error("x");
    }
    bool WriteDword(RegistryRoot, std::string_view, std::string_view, std::uint32_t) override {
        throw std::runtime_error("x");
    }
};

TEST_F(SharedValuesTest, AThrowingRegistryGivesEmptyAndFalse) {
    ThrowingRegistry registry;
    SharedValues values{registry, store_, folders_, users_, trace_};
    EXPECT_EQ(values.ReadUserRegistry("PluginFlag"), "");
    EXPECT_FALSE(values.WriteRegistryString(RegistryRoot::CurrentUser, values.VendorKey(), "FirstTimeUser", "TRUE"));
    EXPECT_EQ(trace_.lines.size(), 1u);
}

}  // namespace
}  // namespace ovp
