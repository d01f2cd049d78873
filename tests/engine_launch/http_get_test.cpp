#include "engine/launch/http_get.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "engine/launch/loopback_socket.h"
#include "engine/net/winsock_init.h"
#include "tests/engine_launch/launch_test_support.h"

namespace {

using std::chrono::milliseconds;

constexpr char kUrl[] = "ws://127.0.0.1:9222/devtools/browser/5b0c4a7e";
constexpr char kVersionBody[] =
    "{\"Browser\": \"HeadlessChrome/120\", \"webSocketDebuggerUrl\": \"ws://127.0.0.1:9222/devtools/browser/5b0c4a7e\"}";

// Serves one connection on 127.0.0.1: reads the request head, writes the
// reply in the pieces given (pausing between them, so the client meets
// partial reads), then closes.
class OneReplyServer {
 public:
  explicit OneReplyServer(std::vector<std::string> pieces) {
    listener_ = ListenOnLoopback(1, &port_);
    thread_ = std::thread([this, pieces = std::move(pieces)] {
      SocketHandle client(accept(listener_.Get(), nullptr, nullptr));
      char buffer[1024];
      int n;
      while (request_.find("\r\n\r\n") == std::string::npos &&
             (n = recv(client.Get(), buffer, sizeof(buffer), 0)) > 0)
        request_.append(buffer, static_cast<size_t>(n));
      for (const std::string& piece : pieces) {
        send(client.Get(), piece.data(), static_cast<int>(piece.size()), 0);
        Sleep(20);
      }
    });
  }
  ~OneReplyServer() { Finish(); }

  uint16_t port() const { return port_; }

  // What the client sent, once the exchange is over.
  const std::string& Finish() {
    if (thread_.joinable()) thread_.join();
    return request_;
  }

 private:
  WinsockSession winsock_;
  SocketHandle listener_;
  uint16_t port_ = 0;
  std::string request_;
  std::thread thread_;
};

std::string Reply(const std::string& statusLine, const std::string& body, bool withLength = true) {
  std::string head = statusLine + "\r\nContent-Type: application/json; charset=UTF-8\r\n";
  if (withLength) head += "Content-Length:" + std::to_string(body.size()) + "\r\n";
  return head + "\r\n" + body;
}

struct ReplyCase {
  const char* what;
  std::vector<std::string> pieces;
  std::string expectedUrl;
};

TEST(FetchWebSocketDebuggerUrl, ReadsTheAddressOnlyFromACompleteVersionReply) {
  const std::string whole = Reply("HTTP/1.1 200 OK", kVersionBody);
  const ReplyCase cases[] = {
      {"whole reply in one write", {whole}, kUrl},
      {"split inside the head and the body", {whole.substr(0, 10), whole.substr(10, 60), whole.substr(70)}, kUrl},
      {"no Content-Length: the body ends with the connection", {Reply("HTTP/1.1 200 OK", kVersionBody, false)}, kUrl},
      {"not found", {Reply("HTTP/1.1 404 Not Found", kVersionBody)}, ""},
      {"not JSON", {Reply("HTTP/1.1 200 OK", "<html>starting</html>")}, ""},
      {"no address in it", {Reply("HTTP/1.1 200 OK", "{\"Browser\": \"HeadlessChrome/120\"}")}, ""},
      {"address not a string", {Reply("HTTP/1.1 200 OK", "{\"webSocketDebuggerUrl\": 7}")}, ""},
      {"connection closed inside the body", {whole.substr(0, whole.size() - 5)}, ""},
      {"not HTTP", {"SSH-2.0-OpenSSH_9.2\r\n\r\n"}, ""},
      {"chunked body, which the browser never sends",
       {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n{}  \r\n0\r\n\r\n"},
       ""},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.what);
    OneReplyServer server(c.pieces);
    EXPECT_EQ(FetchWebSocketDebuggerUrl(server.port(), milliseconds(5000)), c.expectedUrl);
  }
}

TEST(FetchWebSocketDebuggerUrl, AsksForTheVersionOfTheLoopbackHost) {
  OneReplyServer server({Reply("HTTP/1.1 200 OK", kVersionBody)});
  FetchWebSocketDebuggerUrl(server.port(), milliseconds(5000));
  const std::string request = server.Finish();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /json/version HTTP/1.1");
  EXPECT_NE(request.find("\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"), std::string::npos);
}

TEST(FetchWebSocketDebuggerUrl, NothingListeningGivesNothing) {
  WinsockSession winsock;
  EXPECT_EQ(FetchWebSocketDebuggerUrl(launch_testing::UnusedLoopbackPort(), milliseconds(2000)), "");
}

}  // namespace
