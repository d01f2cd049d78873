#include "engine/net/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Base64, EncodesAndDecodesTheStandardVectors) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\xFB\xEF\xFF\x00", 4), "++//AA=="},  // the two last alphabet characters, a zero byte
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Base64Encode(row.bytes), row.text);
    std::string decoded = "stale";
    ASSERT_TRUE(Base64Decode(row.text, decoded));
    EXPECT_EQ(decoded, row.bytes);
  }
}

TEST(Base64, EveryByteValueSurvivesARoundTrip) {
  std::string bytes;
  for (int round = 0; round < 3; ++round) {
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
    bytes += static_cast<char>(round);  // ends at every offset within a group
    std::string decoded;
    ASSERT_TRUE(Base64Decode(Base64Encode(bytes), decoded));
    EXPECT_EQ(decoded, bytes);
  }
}

TEST(Base64, RefusesMalformedText) {
  const char* const cases[] = {
      "Zg",          // missing padding
      "Zg=",         // length not a multiple of four
      "Zm9v!A==",    // outside the alphabet
      "Zm9v\nYmFy",  // line breaks are not skipped
      "Zm 9v",       // nor spaces
      "Zm-_",        // the URL-safe alphabet is another encoding
      "Zg==Zg==",    // padding before the end
      "Z===",        // too much padding
      "====",
      "Zm=v",        // padding inside the last group
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    std::string decoded;
    EXPECT_FALSE(Base64Decode(text, decoded));
  }
}

}  // namespace
