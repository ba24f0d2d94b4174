#include "ui/date_time_format.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(DateTimeFormatTest, DatesTakeTheStoredSeparatorAndRefuseNonNumbers) {
    EXPECT_EQ(ValidateTalluxDateFormat("03/15/2026"), "03-15-2026");
    EXPECT_EQ(ValidateTalluxDateFormat(" 15.03.2026 ", "."), "15-03-2026");
    EXPECT_EQ(ValidateTalluxDateFormat("2026年03年15", "年"), "2026-03-15");
    for (const char* bad : {"", "03//2026", "03/1a/2026", "-1/02/2026", "03/15/2026 10:00"}) {
        EXPECT_EQ(ValidateTalluxDateFormat(bad), std::nullopt) << bad;
    }
}

TEST(DateTimeFormatTest, TimesMoveToTheTwentyFourHourForm) {
    EXPECT_EQ(ValidateTalluxTimeFormat("2:05:09 pm"), "14:05:09");
    EXPECT_EQ(ValidateTalluxTimeFormat("09:05AM"), "09:05");
    EXPECT_EQ(ValidateTalluxTimeFormat("12:30 PM"), "12:30");  // noon, not 24:30
    EXPECT_EQ(ValidateTalluxTimeFormat("12:30 AM"), "00:30");  // half past midnight
    EXPECT_EQ(ValidateTalluxTimeFormat("23:59:59"), "23:59:59");
    for (const char* bad : {"", "PM", "13:00 PM", "0:10 AM", "10:x0", "10::00"}) {
        EXPECT_EQ(ValidateTalluxTimeFormat(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace ovp
