#include "tests/engine_net/websocket_test_peer.h"

#include <ws2tcpip.h>

#include <chrono>

#include "engine/net/websocket_handshake.h"

namespace test_peer {

namespace {

// Long enough for any healthy exchange; only a broken client waits it out.
constexpr DWORD kPeerTimeoutMs = 20000;

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
  const std::string marker = "\r\n" + name + ":";
  const size_t at = head.find(marker);
  if (at == std::string::npos) return "";
  const size_t start = head.find_first_not_of(' ', at + marker.size());
  return head.substr(start, head.find("\r\n", start) - start);
}

}  // namespace

std::string ServerFrame(uint8_t firstByte, std::string_view payload) {
  std::string frame(1, static_cast<char>(firstByte));
  const uint64_t size = payload.size();
  if (size < 126) {
    frame += static_cast<char>(size);
  } else if (size <= 0xFFFF) {
    frame += static_cast<char>(126);
    frame += static_cast<char>(size >> 8);
    frame += static_cast<char>(size & 0xFF);
  } else {
    frame += static_cast<char>(127);
    for (int shift = 56; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
  }
  frame.append(payload);
  return frame;
}

std::string AcceptingReply(const std::string& key) {
  return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
         "Sec-WebSocket-Accept: " + WebSocketAcceptFor(key) + "\r\n\r\n";
}

void Connection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
}

void Connection::SendDribbled(std::string_view bytes) {
  for (char byte : bytes) {
    if (send(socket_, &byte, 1, 0) != 1) return;
    Sleep(1);
  }
}

bool Connection::ReadExactly(char* target, size_t size) {
  while (size != 0) {
    const int got = recv(socket_, target, static_cast<int>(size), 0);
    if (got <= 0) return false;
    target += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

std::optional<Frame> Connection::ReadFrame() {
  unsigned char head[2];
  if (!ReadExactly(reinterpret_cast<char*>(head), 2)) return std::nullopt;
  Frame frame;
  frame.firstByte = head[0];
  frame.masked = (head[1] & 0x80) != 0;
  uint64_t size = head[1] & 0x7F;
  const int sizeBytes = size == 127 ? 8 : size == 126 ? 2 : 0;
  if (sizeBytes != 0) {
    unsigned char extended[8];
    if (!ReadExactly(reinterpret_cast<char*>(extended), static_cast<size_t>(sizeBytes))) return std::nullopt;
    size = 0;
    for (int i = 0; i < sizeBytes; ++i) size = (size << 8) | extended[i];
  }
  unsigned char mask[4] = {};
  if (frame.masked && !ReadExactly(reinterpret_cast<char*>(mask), 4)) return std::nullopt;
  frame.payload.resize(static_cast<size_t>(size));
  if (!ReadExactly(frame.payload.data(), frame.payload.size())) return std::nullopt;
  for (size_t i = 0; i < frame.payload.size(); ++i) frame.payload[i] = static_cast<char>(frame.payload[i] ^ mask[i % 4]);
  return frame;
}

bool Connection::WaitForEnd() {
  // Everything is read: closing a socket with unread data resets the
  // connection, and the client would lose what it had not read yet.
  char sink[4096];
  for (;;) {
    const int got = recv(socket_, sink, sizeof sink, 0);
    if (got <= 0) return got == 0;
  }
}

Peer::Peer(ReplyMaker reply, Script script) {
  listener_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address = Loopback(0);
  int size = sizeof address;
  if (bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_.Get(), 1) != 0 ||
      getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return;  // port_ stays 0: the client's Connect fails, and the test with it
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread(&Peer::Serve, this, std::move(reply), std::move(script));
}

std::string Peer::Url(const std::string& path) const {
  return "ws://127.0.0.1:" + std::to_string(port_) + path;
}

void Peer::Finish() {
  if (thread_.joinable()) thread_.join();
}

void Peer::Serve(ReplyMaker reply, Script script) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(listener_.Get(), &readable);
  timeval wait{kPeerTimeoutMs / 1000, 0};
  if (select(0, &readable, nullptr, nullptr, &wait) != 1) return;
  SocketHandle accepted(accept(listener_.Get(), nullptr, nullptr));
  if (!accepted) return;
  const DWORD timeout = kPeerTimeoutMs;
  setsockopt(accepted.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  BOOL noDelay = TRUE;
  setsockopt(accepted.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

  // The request head, byte by byte so nothing after it is taken.
  std::string head;
  char byte;
  while (!head.ends_with("\r\n\r\n") && head.size() < 16384 && recv(accepted.Get(), &byte, 1, 0) == 1) head += byte;
  request_ = head;

  const std::string answer = reply(HeaderValue(head, "Sec-WebSocket-Key"));
  if (answer.empty()) return;  // hanging up instead
  Connection connection(accepted.Get());
  connection.Send(answer);
  script(connection);
}

uint16_t UnusedPort() {
  WinsockSession winsock;
  SocketHandle probe(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address = Loopback(0);
  int size = sizeof address;
  if (bind(probe.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

}  // namespace test_peer
