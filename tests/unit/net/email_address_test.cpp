#include "net/email_address.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(EmailAddressTest, AcceptsOrdinaryAddressesAndRefusesWhatWouldCorruptTheStores) {
    for (const std::string_view good : {"a@b.co", "first.last@example.com", "x_y-z+1@mail.example.com"}) {
        EXPECT_TRUE(IsValidEmail(good)) << good;
    }
    for (const std::string_view bad : {
             "", "alice", "alice@example", "alice.example.com", "@example.com", "alice@example.com.", "alice@.com",
             "a@b@example.com", "al(ce@example.com", "alice,bob@example.com", "alice@example.com;bob@example.com",
             "alice smith@example.com", "alice@example.com\b\b", "alice@example.com\r\nbcc@example.com",
             "a.b@c",  // the last "." must follow the "@"
         }) {
        EXPECT_FALSE(IsValidEmail(bad)) << bad;
    }
}

}  // namespace
}  // namespace ovp
