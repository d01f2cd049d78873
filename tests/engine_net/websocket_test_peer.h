#pragma once
// A minimal WebSocket server on the loopback for testing the client against a
// real peer: one connection, handshake answered by the test, then a script of
// blocking socket calls on a thread of its own. Frames are written and read
// here by the simplest possible means, independently of the client's code.
//
// Scripts run on the peer's thread, where GoogleTest assertions must not be
// made (this build's GoogleTest is not thread-safe): they record what they
// saw in variables of the test, read after Finish().

#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "engine/net/socket_handle.h"
#include "engine/net/winsock_init.h"

namespace test_peer {

// First frame byte: FIN plus opcode.
constexpr uint8_t kFinal = 0x80;
constexpr uint8_t kContinuation = 0x0;
constexpr uint8_t kText = 0x1;
constexpr uint8_t kBinary = 0x2;
constexpr uint8_t kClose = 0x8;
constexpr uint8_t kPing = 0x9;
constexpr uint8_t kPong = 0xA;

// An unmasked frame as a server writes it; the length in the shortest form.
std::string ServerFrame(uint8_t firstByte, std::string_view payload);

struct Frame {
  uint8_t firstByte = 0;
  bool masked = false;
  std::string payload;  // unmasked
};

class Connection {
 public:
  explicit Connection(SOCKET socket) : socket_(socket) {}
  void Send(std::string_view bytes);
  // One byte per send, with a pause between, so the client sees the bytes
  // arrive a few at a time.
  void SendDribbled(std::string_view bytes);
  // The next frame from the client; nullopt when the connection ended first.
  std::optional<Frame> ReadFrame();
  // Reads and drops whatever the client sends until it closes the connection
  // (true) or the read times out or fails (false).
  bool WaitForEnd();

 private:
  bool ReadExactly(char* target, size_t size);
  SOCKET socket_;
};

// Returns the whole reply to send for the client's Sec-WebSocket-Key. An
// empty reply makes the server hang up without answering (no script runs).
using ReplyMaker = std::function<std::string(const std::string& key)>;
using Script = std::function<void(Connection&)>;

// The reply of a server that accepts the upgrade.
std::string AcceptingReply(const std::string& key);

class Peer {
 public:
  // Listens on an ephemeral loopback port and serves one connection.
  Peer(ReplyMaker reply, Script script);
  ~Peer() { Finish(); }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  std::string Url(const std::string& path = "/devtools/browser/test") const;
  // Waits for the script to end and closes the connection.
  void Finish();
  // The client's upgrade request head; read after Finish().
  const std::string& request() const { return request_; }

 private:
  void Serve(ReplyMaker reply, Script script);

  WinsockSession winsock_;
  SocketHandle listener_;
  uint16_t port_ = 0;
  std::string request_;
  std::thread thread_;
};

// A loopback port nobody listens on (bound for a moment, then released).
uint16_t UnusedPort();

}  // namespace test_peer
