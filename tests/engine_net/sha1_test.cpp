#include "engine/net/sha1.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/net/websocket_handshake.h"

namespace {

std::string Hex(const std::array<uint8_t, 20>& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

TEST(Sha1, MatchesThePublishedDigests) {
  struct Case {
    std::string input;
    const char* digest;
  };
  const Case cases[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      // 448 bits: the length no longer fits the first block's tail.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
       "a49b2446a02c645bf419f995b67091253a04a259"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.input.substr(0, 20));
    EXPECT_EQ(Hex(Sha1(row.input)), row.digest);
  }
}

TEST(WebSocketAccept, MatchesTheProtocolsWorkedExample) {
  EXPECT_EQ(WebSocketAcceptFor("dGhlIHNhbXBsZSBub25jZQ=="), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
}

}  // namespace
