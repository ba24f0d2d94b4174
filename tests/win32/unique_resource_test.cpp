#include "win32/unique_resource.h"

#include <gtest/gtest.h>

#include <utility>

namespace ovp::win {
namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != 0;
}

TEST(UniqueResourceTest, EachHandleIsClosedExactlyOnceByWhoeverOwnsItLast) {
    const HANDLE first = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        unique_handle owner(first);
        unique_handle other(std::move(owner));
        EXPECT_FALSE(owner);
        owner = std::move(other);
        EXPECT_TRUE(IsOpen(first));
        owner.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        EXPECT_FALSE(IsOpen(first));
        const HANDLE second = owner.release();
        EXPECT_FALSE(owner);
        EXPECT_TRUE(IsOpen(second));
        owner.reset(second);
    }
    const unique_hfile missing(::CreateFileW(L"C:\\no\\such.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);  // INVALID_HANDLE_VALUE is "nothing" for files
}

}  // namespace
}  // namespace ovp::win
