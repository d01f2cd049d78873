#include "engine/net/websocket_client.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "engine/net/base64.h"
#include "engine/net/websocket_handshake.h"
#include "tests/engine_net/websocket_test_peer.h"

namespace {

using namespace test_peer;
using Messages = std::vector<std::string>;

constexpr int kConnectTimeoutMs = 10000;
// Guards against a hang when something is broken; no healthy test comes near it.
constexpr auto kGuard = std::chrono::seconds(20);

void Nothing(Connection&) {}

// Reads until `count` messages are in, the connection ends, or the guard
// runs out. Returns whether the connection is still open.
bool ReceiveMessages(WebSocketClient& client, size_t count, Messages& messages) {
  const auto giveUp = std::chrono::steady_clock::now() + kGuard;
  while (messages.size() < count && std::chrono::steady_clock::now() < giveUp) {
    if (!client.WaitForMessages(messages, 1000)) return false;
  }
  return client.IsOpen();
}

// Reads until the connection ends (true) or the guard runs out (false).
bool ReadUntilClosed(WebSocketClient& client, Messages& messages) {
  const auto giveUp = std::chrono::steady_clock::now() + kGuard;
  while (std::chrono::steady_clock::now() < giveUp) {
    if (!client.WaitForMessages(messages, 1000)) return !client.IsOpen();
  }
  return false;
}

std::string Pattern(size_t size) {
  std::string text(size, '\0');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('A' + (i * 7 + i / 251) % 26);
  return text;
}

std::string Lowercase(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(WebSocketClient, AsksForTheUpgradeWithAFreshKeyAndNoOrigin) {
  std::string keys[2];
  for (std::string& key : keys) {
    Peer peer(AcceptingReply, Nothing);
    WebSocketClient client;
    ASSERT_TRUE(client.Connect(peer.Url("/devtools/page/A1?x=1"), kConnectTimeoutMs));
    EXPECT_TRUE(client.IsOpen());
    EXPECT_NE(client.socket(), INVALID_SOCKET);
    peer.Finish();

    const std::string& request = peer.request();
    EXPECT_TRUE(request.starts_with("GET /devtools/page/A1?x=1 HTTP/1.1\r\n")) << request;
    const std::string port = peer.Url("").substr(peer.Url("").rfind(':'));
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1" + port + "\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nUpgrade: websocket\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nConnection: Upgrade\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nSec-WebSocket-Version: 13\r\n"), std::string::npos) << request;
    // The debugging port refuses any Origin it was not told to allow.
    EXPECT_EQ(Lowercase(request).find("\r\norigin:"), std::string::npos) << request;

    const std::string marker = "\r\nSec-WebSocket-Key: ";
    const size_t at = request.find(marker);
    ASSERT_NE(at, std::string::npos) << request;
    key = request.substr(at + marker.size(), request.find("\r\n", at + 2) - at - marker.size());
    std::string nonce;
    EXPECT_TRUE(Base64Decode(key, nonce)) << key;
    EXPECT_EQ(nonce.size(), 16u);
  }
  EXPECT_NE(keys[0], keys[1]);
}

TEST(WebSocketClient, ConnectsOnlyWhenTheReplyAcceptsTheUpgrade) {
  struct Case {
    const char* name;
    ReplyMaker reply;
    bool connects;
  };
  const auto withAccept = [](std::string head, std::string tail = "") {
    return [head, tail](const std::string& key) {
      return head + "Sec-WebSocket-Accept: " + WebSocketAcceptFor(key) + "\r\n" + tail + "\r\n";
    };
  };
  const std::string upgrade = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n";
  const Case cases[] = {
      {"plain", AcceptingReply, true},
      // Chromium's own spelling; header names and the Upgrade value have no case.
      {"other case", withAccept("HTTP/1.1 101 WebSocket Protocol Handshake\r\nupgrade: WebSocket\r\nCONNECTION: Upgrade\r\n"),
       true},
      {"connection list", withAccept("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: keep-alive, Upgrade\r\n"),
       true},
      {"accept for another key",
       [&](const std::string&) {
         return upgrade + "Sec-WebSocket-Accept: " + WebSocketAcceptFor("dGhlIHNhbXBsZSBub25jZQ==") + "\r\n\r\n";
       },
       false},
      {"accept missing", [&](const std::string&) { return upgrade + "\r\n"; }, false},
      {"status 200", withAccept("HTTP/1.1 200 OK\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"), false},
      {"status 1010", withAccept("HTTP/1.1 1010 Odd\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"), false},
      {"no upgrade header", withAccept("HTTP/1.1 101 Switching Protocols\r\nConnection: Upgrade\r\n"), false},
      {"connection keep-alive", withAccept("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: keep-alive\r\n"),
       false},
      {"extension nobody asked for", withAccept(upgrade, "Sec-WebSocket-Extensions: permessage-deflate\r\n"), false},
      {"server hangs up", [](const std::string&) { return std::string(); }, false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    Peer peer(row.reply, [](Connection& connection) { connection.WaitForEnd(); });
    WebSocketClient client;
    EXPECT_EQ(client.Connect(peer.Url(), kConnectTimeoutMs), row.connects);
    EXPECT_EQ(client.IsOpen(), row.connects);
    client.Close();
  }
}

TEST(WebSocketClient, GivesUpOnAReplyThatNeverEnds) {
  // Half a reply, then silence: only the time-out ends the wait.
  bool clientLeft = false;
  Peer peer([](const std::string&) { return std::string("HTTP/1.1 101 Switching Protocols\r\n"); },
            [&](Connection& connection) { clientLeft = connection.WaitForEnd(); });
  WebSocketClient client;
  EXPECT_FALSE(client.Connect(peer.Url(), 300));
  EXPECT_FALSE(client.IsOpen());
  peer.Finish();
  EXPECT_TRUE(clientLeft);
}

TEST(WebSocketClient, RefusedConnectionFails) {
  WebSocketClient client;
  EXPECT_FALSE(client.Connect("ws://127.0.0.1:" + std::to_string(UnusedPort()) + "/", kConnectTimeoutMs));
  EXPECT_FALSE(client.IsOpen());
  EXPECT_EQ(client.socket(), INVALID_SOCKET);
}

TEST(WebSocketClient, UnusableAddressFails) {
  WebSocketClient client;
  EXPECT_FALSE(client.Connect("http://127.0.0.1:9222/", kConnectTimeoutMs));
  EXPECT_FALSE(client.IsOpen());
}

// Server frames and the messages they make, for the receiving tests.
struct ReceiveCase {
  const char* name;
  std::string bytes;
  Messages messages;
};

std::vector<ReceiveCase> ReceiveCases() {
  const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80";
  return {
      {"one frame", ServerFrame(kFinal | kText, R"({"id":1,"result":{}})"), {R"({"id":1,"result":{}})"}},
      {"empty", ServerFrame(kFinal | kText, ""), {""}},
      {"UTF-8 bytes unchanged", ServerFrame(kFinal | kText, utf8), {utf8}},
      {"fragments",
       ServerFrame(kText, "Hel") + ServerFrame(kContinuation, "lo, ") + ServerFrame(kFinal | kContinuation, "world"),
       {"Hello, world"}},
      // Control frames may come between fragments.
      {"ping and pong inside a fragmented message",
       ServerFrame(kText, "ab") + ServerFrame(kFinal | kPing, "p") + ServerFrame(kContinuation, "") +
           ServerFrame(kFinal | kPong, "q") + ServerFrame(kFinal | kContinuation, "cd"),
       {"abcd"}},
      {"16-bit length", ServerFrame(kFinal | kText, Pattern(300)), {Pattern(300)}},
      {"16-bit length, largest", ServerFrame(kFinal | kText, Pattern(65535)), {Pattern(65535)}},
      {"binary messages are dropped",
       ServerFrame(kFinal | kText, "a") + ServerFrame(kBinary, "b") + ServerFrame(kFinal | kContinuation, "c") +
           ServerFrame(kFinal | kText, "d"),
       {"a", "d"}},
      {"fragmented large message",
       ServerFrame(kText, Pattern(100000)) + ServerFrame(kContinuation, Pattern(70000)) +
           ServerFrame(kFinal | kContinuation, Pattern(3)),
       {Pattern(100000) + Pattern(70000) + Pattern(3)}},
  };
}

Messages AllMessages(const std::vector<ReceiveCase>& cases) {
  Messages all;
  for (const ReceiveCase& row : cases) all.insert(all.end(), row.messages.begin(), row.messages.end());
  return all;
}

TEST(WebSocketClient, ReceivesMessagesFromFrames) {
  std::vector<ReceiveCase> cases = ReceiveCases();
  const std::string large = Pattern(5 * 1024 * 1024 + 17);
  cases.push_back({"64-bit length, 5 MB", ServerFrame(kFinal | kText, large), {large}});
  ReceiveCase together{"all in one stream", "", {}};
  for (const ReceiveCase& row : cases) together.bytes += row.bytes;
  together.messages = AllMessages(cases);
  cases.push_back(std::move(together));

  for (const ReceiveCase& row : cases) {
    SCOPED_TRACE(row.name);
    Peer peer(AcceptingReply, [&](Connection& connection) {
      connection.Send(row.bytes);
      connection.WaitForEnd();
    });
    WebSocketClient client;
    ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
    Messages messages;
    EXPECT_TRUE(ReceiveMessages(client, row.messages.size(), messages));
    EXPECT_TRUE(messages == row.messages) << messages.size() << " messages";
    client.Close();
  }
}

TEST(WebSocketClient, ReceivesFramesThatArriveAByteAtATime) {
  // The small cases only: a second per thousand bytes.
  std::vector<ReceiveCase> cases = ReceiveCases();
  std::erase_if(cases, [](const ReceiveCase& row) { return row.bytes.size() > 1000; });
  std::string bytes;
  for (const ReceiveCase& row : cases) bytes += row.bytes;
  const Messages expected = AllMessages(cases);

  Peer peer(AcceptingReply, [&](Connection& connection) {
    connection.SendDribbled(bytes);
    connection.WaitForEnd();
  });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  Messages messages;
  EXPECT_TRUE(ReceiveMessages(client, expected.size(), messages));
  EXPECT_EQ(messages, expected);
  client.Close();
}

TEST(WebSocketClient, KeepsAFrameThatCameWithTheHandshakeReply) {
  Peer peer([](const std::string& key) { return AcceptingReply(key) + ServerFrame(kFinal | kText, "early"); },
            [](Connection& connection) { connection.WaitForEnd(); });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  Messages messages;
  EXPECT_TRUE(client.ReadAvailable(messages));
  EXPECT_EQ(messages, Messages{"early"});
  client.Close();
}

TEST(WebSocketClient, AnswersAPingWithTheSamePayload) {
  std::optional<Frame> pong;
  Peer peer(AcceptingReply, [&](Connection& connection) {
    connection.Send(ServerFrame(kFinal | kPing, "are you there?"));
    pong = connection.ReadFrame();
    connection.Send(ServerFrame(kFinal | kText, "done"));
    connection.WaitForEnd();
  });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  Messages messages;
  EXPECT_TRUE(ReceiveMessages(client, 1, messages));
  EXPECT_EQ(messages, Messages{"done"});
  client.Close();
  peer.Finish();

  ASSERT_TRUE(pong.has_value());
  EXPECT_EQ(pong->firstByte, kFinal | kPong);
  EXPECT_TRUE(pong->masked);
  EXPECT_EQ(pong->payload, "are you there?");
}

TEST(WebSocketClient, AnswersTheServersCloseAndEnds) {
  std::optional<Frame> reply;
  bool clientLeft = false;
  Peer peer(AcceptingReply, [&](Connection& connection) {
    connection.Send(ServerFrame(kFinal | kText, "last") + ServerFrame(kFinal | kClose, "\x03\xE9going away"));
    reply = connection.ReadFrame();
    clientLeft = connection.WaitForEnd();
  });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  Messages messages;
  EXPECT_TRUE(ReadUntilClosed(client, messages));
  EXPECT_EQ(messages, Messages{"last"});  // what came before the close still counts
  EXPECT_FALSE(client.IsOpen());
  EXPECT_FALSE(client.SendText("too late"));
  EXPECT_FALSE(client.ReadAvailable(messages));
  peer.Finish();

  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->firstByte, kFinal | kClose);
  EXPECT_TRUE(reply->masked);
  EXPECT_EQ(reply->payload, "\x03\xE9");  // the server's status code, echoed
  EXPECT_TRUE(clientLeft);
}

TEST(WebSocketClient, EndsWhenTheServerHangsUp) {
  Peer peer(AcceptingReply, [](Connection& connection) { connection.Send(ServerFrame(kFinal | kText, "bye")); });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  Messages messages;
  EXPECT_TRUE(ReadUntilClosed(client, messages));
  EXPECT_EQ(messages, Messages{"bye"});
}

TEST(WebSocketClient, DropsAServerThatBreaksTheProtocol) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"masked frame", std::string("\x81\x82" "abcd" "\x09\x0B", 8)},
      {"reserved bit", ServerFrame(kFinal | 0x40 | kText, "x")},
      {"unknown opcode", ServerFrame(kFinal | 0x3, "x")},
      {"continuation without a start", ServerFrame(kFinal | kContinuation, "x")},
      {"new message inside a fragmented one", ServerFrame(kText, "a") + ServerFrame(kFinal | kText, "b")},
      {"fragmented ping", ServerFrame(kPing, "x")},
      {"ping over 125 bytes", ServerFrame(kFinal | kPing, Pattern(126))},
      {"length with the top bit set", std::string("\x81\x7F\x80\x00\x00\x00\x00\x00\x00\x01", 10)},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    bool clientLeft = false;
    Peer peer(AcceptingReply, [&](Connection& connection) {
      connection.Send(row.bytes);
      clientLeft = connection.WaitForEnd();
    });
    WebSocketClient client;
    ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
    Messages messages;
    EXPECT_TRUE(ReadUntilClosed(client, messages));
    EXPECT_TRUE(messages.empty());
    peer.Finish();
    EXPECT_TRUE(clientLeft);
  }
}

TEST(WebSocketClient, SendsMaskedTextFrames) {
  const std::string texts[] = {
      "",
      R"({"id":1,"method":"Browser.getVersion"})",
      Pattern(125),        // the largest 7-bit length
      Pattern(126),        // the smallest 16-bit one
      Pattern(65535),
      Pattern(65536),      // the smallest 64-bit one
      Pattern(3 * 1024 * 1024 + 5),
      "\xE4\xB8\xAD\xE6\x96\x87",
  };
  std::vector<std::optional<Frame>> frames;
  Peer peer(AcceptingReply, [&](Connection& connection) {
    for (size_t i = 0; i < std::size(texts); ++i) frames.push_back(connection.ReadFrame());
    connection.WaitForEnd();
  });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  for (const std::string& text : texts) EXPECT_TRUE(client.SendText(text));
  client.Close();
  peer.Finish();

  ASSERT_EQ(frames.size(), std::size(texts));
  for (size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(frames[i].has_value());
    EXPECT_EQ(frames[i]->firstByte, kFinal | kText);
    EXPECT_TRUE(frames[i]->masked);
    EXPECT_TRUE(frames[i]->payload == texts[i]) << frames[i]->payload.size() << " bytes";
  }
}

TEST(WebSocketClient, CloseSendsACloseFrame) {
  std::optional<Frame> frame;
  bool clientLeft = false;
  Peer peer(AcceptingReply, [&](Connection& connection) {
    frame = connection.ReadFrame();
    clientLeft = connection.WaitForEnd();
  });
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  client.Close();
  EXPECT_FALSE(client.IsOpen());
  EXPECT_EQ(client.socket(), INVALID_SOCKET);
  peer.Finish();

  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->firstByte, kFinal | kClose);
  EXPECT_TRUE(frame->masked);
  EXPECT_EQ(frame->payload, "\x03\xE8");  // 1000, normal closure
  EXPECT_TRUE(clientLeft);
}

// The message loop's way of using the client: the socket registered with
// WSAAsyncSelect on a message-only window, read when a notification comes.
class MessageOnlyWindow {
 public:
  MessageOnlyWindow() : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~MessageOnlyWindow() {
    if (window_) DestroyWindow(window_);
  }
  MessageOnlyWindow(const MessageOnlyWindow&) = delete;
  MessageOnlyWindow& operator=(const MessageOnlyWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

constexpr UINT kSocketNotification = WM_APP + 1;

// Waits for the socket notification (true) or gives up after the guard.
bool WaitForNotification(HWND window) {
  const auto giveUp = std::chrono::steady_clock::now() + kGuard;
  while (std::chrono::steady_clock::now() < giveUp) {
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
      if (message.message == kSocketNotification) return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
  }
  return false;
}

TEST(WebSocketClient, WorksWithAsyncSelect) {
  const std::string large = Pattern(4 * 1024 * 1024 + 1);
  const std::string reply = Pattern(8 * 1024 * 1024 + 3);  // more than the send buffer holds
  std::optional<Frame> received;
  Peer peer(AcceptingReply, [&](Connection& connection) {
    connection.Send(ServerFrame(kFinal | kText, "hello") + ServerFrame(kFinal | kText, large));
    received = connection.ReadFrame();
    connection.Send(ServerFrame(kFinal | kText, "after"));
    connection.WaitForEnd();
  });
  MessageOnlyWindow window;
  ASSERT_NE(window.Get(), nullptr);
  WebSocketClient client;
  ASSERT_TRUE(client.Connect(peer.Url(), kConnectTimeoutMs));
  ASSERT_EQ(WSAAsyncSelect(client.socket(), window.Get(), kSocketNotification, FD_READ | FD_CLOSE), 0);

  Messages messages;
  while (messages.size() < 2 && WaitForNotification(window.Get())) {
    ASSERT_TRUE(client.ReadAvailable(messages));
  }
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "hello");
  EXPECT_TRUE(messages[1] == large);

  EXPECT_TRUE(client.SendText(reply));
  EXPECT_TRUE(ReceiveMessages(client, 3, messages));  // select works on the registered socket too
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2], "after");
  client.Close();
  peer.Finish();

  ASSERT_TRUE(received.has_value());
  EXPECT_TRUE(received->payload == reply) << received->payload.size() << " bytes";
}

}  // namespace
