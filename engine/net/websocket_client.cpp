#include "engine/net/websocket_client.h"

#include <windows.h>
#include <bcrypt.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

#include "engine/net/base64.h"
#include "engine/net/websocket_handshake.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReceiveBufferBytes = 256 * 1024;
// Below this much free space the waiting bytes move to the buffer's start.
constexpr size_t kMinReceiveRoom = 16 * 1024;
// A payload still missing at least this much is received straight into the
// message instead of going through the buffer.
constexpr uint64_t kDirectReceiveBytes = 64 * 1024;
// The reply to the upgrade request is a few hundred bytes.
constexpr size_t kMaxHandshakeReplyBytes = 16 * 1024;
// A larger message is taken for a broken stream rather than allocated.
constexpr uint64_t kMaxMessageBytes = 512ull * 1024 * 1024;
// How long a send may wait for the peer to take data before giving up.
constexpr auto kSendStallLimit = std::chrono::seconds(30);
// One ReadAvailable call reads at most about this much, so a stream that
// never pauses still lets the caller's loop run. Stopping early loses
// nothing: the recv calls made re-arm WSAAsyncSelect's FD_READ, and select
// reports the socket readable.
constexpr size_t kMaxBytesPerRead = 32 * 1024 * 1024;
// recv and send take an int length.
constexpr size_t kMaxTransferBytes = 1u << 30;

timeval TimeLeft(Clock::time_point deadline) {
  const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
  const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
  timeval time{};
  time.tv_sec = static_cast<long>(micro / 1000000);
  time.tv_usec = static_cast<long>(micro % 1000000);
  return time;
}

// select() on one socket until deadline: >0 ready, 0 time ran out, <0 failure.
int WaitForSocket(SOCKET socket, bool forWrite, Clock::time_point deadline) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  timeval time = TimeLeft(deadline);
  return select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &time);
}

// A non-blocking connect ends as writable (connected) or, on Windows, in the
// exception set (refused, unreachable).
bool WaitForConnected(SOCKET socket, Clock::time_point deadline) {
  fd_set writable;
  fd_set failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(socket, &writable);
  FD_SET(socket, &failed);
  timeval time = TimeLeft(deadline);
  if (select(0, nullptr, &writable, &failed, &time) <= 0 || FD_ISSET(socket, &failed)) return false;
  int error = 0;
  int errorSize = sizeof error;
  return getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &errorSize) == 0 && error == 0;
}

bool FillRandom(void* target, size_t size) {
  return BCRYPT_SUCCESS(BCryptGenRandom(nullptr, static_cast<PUCHAR>(target), static_cast<ULONG>(size),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

}  // namespace

WebSocketClient::WebSocketClient() = default;

WebSocketClient::~WebSocketClient() { Close(); }

bool WebSocketClient::Connect(const std::string& url, int timeoutMs) {
  Close();
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  WebSocketAddress address;
  if (!winsock_.started() || !ParseWebSocketUrl(url, address)) return false;

  uint8_t keyBytes[16];
  if (!FillRandom(keyBytes, sizeof keyBytes) || !FillRandom(&maskState_, sizeof maskState_)) return false;
  const std::string key = Base64Encode(std::string_view(reinterpret_cast<const char*>(keyBytes), sizeof keyBytes));

  SocketHandle socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!socket) return false;
  // Non-blocking from here on: the connect waits under our own time-out, and
  // reads must never block whether or not the caller uses WSAAsyncSelect.
  u_long nonBlocking = 1;
  if (ioctlsocket(socket.Get(), FIONBIO, &nonBlocking) != 0) return false;
  // Requests are small and each waits for its answer: send them at once.
  BOOL noDelay = TRUE;
  setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_addr = address.ipv4;
  peer.sin_port = htons(address.port);
  if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0 &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    return false;
  }
  if (!WaitForConnected(socket.Get(), deadline)) return false;

  socket_ = std::move(socket);
  receiveBuffer_.resize(kReceiveBufferBytes);
  if (!SendAll(BuildUpgradeRequest(address, key)) || !ReceiveHandshakeReply(key, deadline)) {
    Drop();
    return false;
  }
  return true;
}

bool WebSocketClient::ReceiveHandshakeReply(std::string_view key, Clock::time_point deadline) {
  constexpr std::string_view kHeadEnd = "\r\n\r\n";
  for (;;) {
    const std::string_view received(receiveBuffer_.data(), receiveEnd_);
    const size_t headEnd = received.find(kHeadEnd);
    if (headEnd != std::string_view::npos) {
      // Anything after the blank line is already the server's first frame.
      receiveBegin_ = headEnd + kHeadEnd.size();
      return IsUpgradeAccepted(received.substr(0, receiveBegin_), key);
    }
    if (receiveEnd_ >= kMaxHandshakeReplyBytes) return false;
    if (WaitForSocket(socket_.Get(), false, deadline) <= 0) return false;
    const int got = recv(socket_.Get(), receiveBuffer_.data() + receiveEnd_,
                         static_cast<int>(kMaxHandshakeReplyBytes - receiveEnd_), 0);
    if (got > 0) {
      receiveEnd_ += static_cast<size_t>(got);
    } else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
      return false;
    }
  }
}

bool WebSocketClient::SendText(std::string_view text) { return SendFrame(WebSocketOpcode::kText, text); }

bool WebSocketClient::SendFrame(WebSocketOpcode opcode, std::string_view payload) {
  if (!socket_) return false;
  sendBuffer_.clear();
  AppendMaskedFrame(sendBuffer_, opcode, payload, NextMaskKey());
  return SendAll(sendBuffer_);
}

bool WebSocketClient::SendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(socket_.Get(), bytes.data(), static_cast<int>(std::min(bytes.size(), kMaxTransferBytes)), 0);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
      continue;
    }
    // The socket is non-blocking: a full send buffer means waiting for the
    // peer to read, not failure.
    if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK &&
        WaitForSocket(socket_.Get(), true, Clock::now() + kSendStallLimit) > 0) {
      continue;
    }
    Drop();
    return false;
  }
  return true;
}

WebSocketMaskKey WebSocketClient::NextMaskKey() {
  // splitmix64. Masking only keeps client bytes from looking like requests
  // to intermediaries; on the loopback a fast generator seeded from the
  // system's random source is plenty.
  maskState_ += 0x9E3779B97F4A7C15ull;
  uint64_t mixed = maskState_;
  mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
  mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
  mixed ^= mixed >> 31;
  WebSocketMaskKey key;
  for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<uint8_t>(mixed >> (8 * i));
  return key;
}

bool WebSocketClient::ReadAvailable(std::vector<std::string>& messages) {
  if (!socket_) return false;
  size_t bytesRead = 0;
  for (;;) {
    if (!ParseBuffered(messages)) return false;
    if (bytesRead >= kMaxBytesPerRead) return true;

    char* target;
    size_t room;
    const bool direct = inPayload_ && payloadLeft_ >= kDirectReceiveBytes;
    if (direct) {
      // ParseBuffered left the buffer empty: the payload's next bytes come
      // straight from the socket into their place in the message.
      target = message_.data() + (message_.size() - payloadLeft_);
      room = static_cast<size_t>(std::min<uint64_t>(payloadLeft_, kMaxTransferBytes));
    } else {
      if (receiveBuffer_.size() - receiveEnd_ < kMinReceiveRoom) {
        std::memmove(receiveBuffer_.data(), receiveBuffer_.data() + receiveBegin_, receiveEnd_ - receiveBegin_);
        receiveEnd_ -= receiveBegin_;
        receiveBegin_ = 0;
      }
      target = receiveBuffer_.data() + receiveEnd_;
      room = receiveBuffer_.size() - receiveEnd_;
    }

    const int got = recv(socket_.Get(), target, static_cast<int>(room), 0);
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return true;
    if (got <= 0) {  // the server went away, or the connection broke
      Drop();
      return false;
    }
    bytesRead += static_cast<size_t>(got);
    if (direct) {
      payloadLeft_ -= static_cast<uint64_t>(got);
      if (payloadLeft_ == 0) FinishDataFrame(messages);
    } else {
      receiveEnd_ += static_cast<size_t>(got);
    }
    // recv hands over all it holds up to room: less than room means the
    // socket is drained for now, and one more call would only say so.
    if (static_cast<size_t>(got) < room) return ParseBuffered(messages);
  }
}

bool WebSocketClient::WaitForMessages(std::vector<std::string>& messages, int timeoutMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const size_t countBefore = messages.size();
  if (!ReadAvailable(messages)) return false;
  while (messages.size() == countBefore) {
    const int ready = WaitForSocket(socket_.Get(), false, deadline);
    if (ready == 0) return true;
    if (ready < 0) {
      Drop();
      return false;
    }
    if (!ReadAvailable(messages)) return false;
  }
  return true;
}

bool WebSocketClient::ParseBuffered(std::vector<std::string>& messages) {
  for (;;) {
    const char* data = receiveBuffer_.data() + receiveBegin_;
    const size_t available = receiveEnd_ - receiveBegin_;
    if (inPayload_) {
      const size_t take = static_cast<size_t>(std::min<uint64_t>(available, payloadLeft_));
      std::memcpy(message_.data() + (message_.size() - payloadLeft_), data, take);
      receiveBegin_ += take;
      payloadLeft_ -= take;
      if (payloadLeft_ != 0) break;
      FinishDataFrame(messages);
      continue;
    }

    WebSocketFrameHeader header;
    if (!ReadFrameHeader(data, available, header)) break;
    if (!IsAcceptable(header)) {
      Drop();
      return false;
    }
    if (IsControlOpcode(header.opcode)) {
      const size_t frameSize = header.headerSize + static_cast<size_t>(header.payloadSize);
      if (available < frameSize) break;
      receiveBegin_ += frameSize;
      const std::string_view payload(data + header.headerSize, static_cast<size_t>(header.payloadSize));
      if (!HandleControlFrame(header.opcode, payload)) return false;
      continue;
    }

    if (header.opcode != static_cast<uint8_t>(WebSocketOpcode::kContinuation)) {
      messageStarted_ = true;
      messageIsText_ = header.opcode == static_cast<uint8_t>(WebSocketOpcode::kText);
      message_.clear();
    }
    receiveBegin_ += header.headerSize;
    message_.resize(message_.size() + static_cast<size_t>(header.payloadSize));
    payloadLeft_ = header.payloadSize;
    frameFinal_ = header.final;
    inPayload_ = true;
  }
  if (receiveBegin_ == receiveEnd_) receiveBegin_ = receiveEnd_ = 0;
  return true;
}

bool WebSocketClient::IsAcceptable(const WebSocketFrameHeader& header) const {
  // Servers never mask, and no extension was agreed that would give the
  // reserved bits a meaning.
  if (header.masked || header.reservedBits != 0) return false;
  switch (static_cast<WebSocketOpcode>(header.opcode)) {
    case WebSocketOpcode::kClose:
    case WebSocketOpcode::kPing:
    case WebSocketOpcode::kPong:
      return header.final && header.payloadSize <= 125;
    case WebSocketOpcode::kContinuation:
      return messageStarted_ && header.payloadSize <= kMaxMessageBytes - message_.size();
    case WebSocketOpcode::kText:
    case WebSocketOpcode::kBinary:
      return !messageStarted_ && header.payloadSize <= kMaxMessageBytes;
  }
  return false;
}

bool WebSocketClient::HandleControlFrame(uint8_t opcode, std::string_view payload) {
  switch (static_cast<WebSocketOpcode>(opcode)) {
    case WebSocketOpcode::kPing:
      return SendFrame(WebSocketOpcode::kPong, payload);
    case WebSocketOpcode::kClose:
      // Answer with the server's status code, then we are done.
      SendFrame(WebSocketOpcode::kClose, payload.substr(0, payload.size() >= 2 ? 2 : 0));
      Drop();
      return false;
    default:  // pong: nothing asked for one, nothing to do
      return true;
  }
}

void WebSocketClient::FinishDataFrame(std::vector<std::string>& messages) {
  inPayload_ = false;
  if (!frameFinal_) return;
  messageStarted_ = false;
  if (messageIsText_) messages.push_back(std::move(message_));
  message_.clear();
}

void WebSocketClient::Close() {
  if (socket_) SendFrame(WebSocketOpcode::kClose, std::string_view("\x03\xE8", 2));  // 1000: normal closure
  Drop();
}

void WebSocketClient::Drop() {
  socket_.Close();
  receiveBegin_ = receiveEnd_ = 0;
  message_.clear();
  messageStarted_ = false;
  inPayload_ = false;
  payloadLeft_ = 0;
}
