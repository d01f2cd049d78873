// The browser's remote debugging port drives everything in it, so it must not
// be reachable from other machines or from web pages: it listens on the
// loopback only, and a WebSocket handshake that carries an Origin (which every
// browser page sends, and no local DevTools client does) is refused.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/launch/http_get.h"
#include "engine/net/socket_handle.h"
#include "engine/net/winsock_init.h"
#include "tests/engine/engine_fixture.h"

namespace {

// This machine's address on the way out (not the loopback), or 0 when it has
// none. Connecting a UDP socket sends nothing; it only picks the interface.
in_addr OutwardAddress() {
  SocketHandle probe(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(9);
  inet_pton(AF_INET, "192.0.2.1", &target.sin_addr);  // a documentation address
  sockaddr_in local{};
  int length = sizeof(local);
  if (!probe || connect(probe.Get(), reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0 ||
      getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
    return in_addr{};
  return local.sin_addr;
}

bool Connects(in_addr address, int port) {
  SocketHandle connection(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<u_short>(port));
  target.sin_addr = address;
  return connection && connect(connection.Get(), reinterpret_cast<sockaddr*>(&target), sizeof(target)) == 0;
}

// The status line of the answer to a WebSocket handshake on `path`, sent with
// the extra header lines given.
std::string HandshakeStatus(int port, const std::string& path, const std::string& extraHeaders) {
  SocketHandle connection(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<u_short>(port));
  target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (!connection || connect(connection.Get(), reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0)
    return "(no connection)";
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n" +
                              extraHeaders + "\r\n";
  send(connection.Get(), request.data(), static_cast<int>(request.size()), 0);
  DWORD timeoutMs = 5000;
  setsockopt(connection.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
  std::string answer;
  char buffer[1024];
  while (answer.find("\r\n") == std::string::npos) {
    const int got = recv(connection.Get(), buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    answer.append(buffer, static_cast<size_t>(got));
  }
  return answer.substr(0, answer.find("\r\n"));
}

class DebuggingPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EngineSession::Ready());
    port_ = EngineSession::DebuggingPort();
    const std::string url = FetchWebSocketDebuggerUrl(static_cast<uint16_t>(port_), std::chrono::seconds(5));
    const size_t path = url.find('/', url.find("//") + 2);
    ASSERT_NE(path, std::string::npos) << url;
    browserPath_ = url.substr(path);
  }

  WinsockSession winsock_;
  int port_ = 0;
  std::string browserPath_;
};

TEST_F(DebuggingPortTest, ListensOnTheLoopbackOnly) {
  in_addr loopback{};
  loopback.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_TRUE(Connects(loopback, port_));
  const in_addr outward = OutwardAddress();
  if (outward.s_addr == 0 || (ntohl(outward.s_addr) >> 24) == 127) GTEST_SKIP() << "this machine has no other address";
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &outward, text, sizeof(text));
  EXPECT_FALSE(Connects(outward, port_)) << "the debugging port answers on " << text;
}

struct OriginCase {
  const char* headers;
  bool accepted;
};

const OriginCase kOriginCases[] = {
    {"", true},                                        // a local client (the layer itself) sends no Origin
    {"Origin: http://evil.example\r\n", false},        // a page on the web
    {"Origin: http://127.0.0.1:18088\r\n", false},     // even the program's own page
    {"Origin: null\r\n", false},                       // a file or sandboxed page
};

TEST_F(DebuggingPortTest, RefusesWebSocketHandshakesThatCarryAnOrigin) {
  for (const OriginCase& c : kOriginCases) {
    const std::string status = HandshakeStatus(port_, browserPath_, c.headers);
    EXPECT_EQ(status.find(" 101 ") != std::string::npos, c.accepted) << c.headers << " -> " << status;
  }
}

}  // namespace
