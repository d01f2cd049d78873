#include "engine/net/websocket_handshake.h"

#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WebSocketUrl, ReadsLoopbackAddresses) {
  struct Case {
    const char* url;
    const char* host;
    uint16_t port;
    const char* path;
  };
  const Case cases[] = {
      {"ws://127.0.0.1:9222/devtools/browser/4f1c-aa", "127.0.0.1", 9222, "/devtools/browser/4f1c-aa"},
      {"WS://127.0.0.1:9222/x", "127.0.0.1", 9222, "/x"},   // the scheme has no case
      {"ws://127.0.0.1", "127.0.0.1", 80, "/"},             // default port and path
      {"ws://127.0.0.1:65535?a=1", "127.0.0.1", 65535, "/?a=1"},
      {"ws://localhost:9222/p", "localhost", 9222, "/p"},   // kept for the Host header
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.url);
    WebSocketAddress address;
    ASSERT_TRUE(ParseWebSocketUrl(row.url, address));
    EXPECT_EQ(address.host, row.host);
    EXPECT_EQ(address.ipv4.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(address.port, row.port);
    EXPECT_EQ(address.path, row.path);
  }
}

TEST(WebSocketUrl, RefusesWhatItCannotConnectTo) {
  const char* const cases[] = {
      "http://127.0.0.1:9222/",
      "wss://127.0.0.1:9222/",        // no TLS
      "ws://browser.example:9222/",   // no name lookup
      "ws://127.0.0.1:0/",
      "ws://127.0.0.1:65536/",
      "ws://127.0.0.1:/",
      "ws://127.0.0.1:92a2/",
      "ws://user@127.0.0.1:9222/",
      "ws://127.0.0.1:9222/a b",      // would break the request line
      "ws://127.0.0.1:9222/#top",
      "ws://:9222/",
      "",
  };
  for (const char* url : cases) {
    SCOPED_TRACE(url);
    WebSocketAddress address;
    EXPECT_FALSE(ParseWebSocketUrl(url, address));
  }
}

}  // namespace
