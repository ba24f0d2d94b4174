#include "win32/service_manager_win.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ovp::win {
namespace {

constexpr ServiceAccess kBoth[] = {ServiceAccess::ReadOnly, ServiceAccess::Full};

TEST(ServiceManagerWinTest, AServiceThatDoesNotExistCannotBeOpened) {
    Win32ServiceManager services;
    const std::string missing = "OVPNoSuchService" + std::to_string(std::random_device{}());
    for (const ServiceAccess access : kBoth) {
        EXPECT_EQ(services.QueryState(missing, access), kServiceCannotOpen);
        EXPECT_EQ(services.QueryState("", access), kServiceCannotOpen);
        EXPECT_EQ(services.QueryState(std::string("RpcSs\0x", 7), access), kServiceCannotOpen);
    }
}

// The RPC service runs for as long as the system does (under Wine too); the installer service
// starts only on demand, so it may be in any state, but it is there.
TEST(ServiceManagerWinTest, SystemServicesAnswerTheirState) {
    Win32ServiceManager services;
    for (const ServiceAccess access : kBoth) {
        EXPECT_EQ(services.QueryState("RpcSs", access), kServiceRunning);
        EXPECT_EQ(services.QueryState("rpcss", access), kServiceRunning);
        const int installer = services.QueryState("MSIServer", access);
        EXPECT_GE(installer, kServiceStopped);
        EXPECT_LE(installer, kServicePaused);
    }
}

}  // namespace
}  // namespace ovp::win
