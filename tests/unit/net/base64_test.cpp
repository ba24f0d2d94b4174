#include "net/base64.h"

#include <gtest/gtest.h>

namespace ovp {
namespace {

TEST(Base64Test, Rfc4648VectorsWithEveryPaddingCaseAndEveryByteValueRoundTrip) {
    const std::pair<std::string_view, std::string_view> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
    };
    cBase64 codec;
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(codec.encode(plain), encoded);
        EXPECT_EQ(codec.EncodedMessage(), encoded);
        EXPECT_EQ(codec.Decode(encoded), plain);
        EXPECT_EQ(codec.DecodedMessage(), plain);
    }
    std::string bytes;
    for (int value = 0; value < 256; ++value) {
        bytes += static_cast<char>(value);
    }
    EXPECT_EQ(codec.Decode(codec.encode(bytes)), bytes);
    EXPECT_EQ(codec.encode("\xFB\xFF"), "+/8=");  // the last two letters of the alphabet
}

// Foreign characters are skipped, padding ends the text, and a character with the high bit set
// reads as its seven-bit self (padding included).
TEST(Base64Test, DecodeSkipsForeignCharactersStopsAtPaddingAndIgnoresTheHighBit) {
    cBase64 codec;
    EXPECT_EQ(codec.Decode(" Zm 9v*\r\nY!g"), "foob");
    EXPECT_EQ(codec.Decode("Zg==Zm9v"), "f");
    std::string aliased;
    for (const char c : std::string_view("Zm9vYg==")) {
        aliased += static_cast<char>(static_cast<unsigned char>(c) | 0x80);
    }
    EXPECT_EQ(codec.Decode(aliased + "Zm9v"), "foob");
    // Unpadded last groups still give their bytes; a lone sixth of a group gives none.
    EXPECT_EQ(codec.Decode("Zm8"), "fo");
    EXPECT_EQ(codec.Decode("Zm9vY"), "foo");
    EXPECT_EQ(codec.Decode("===="), "");
}

}  // namespace
}  // namespace ovp
