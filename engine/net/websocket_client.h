#pragma once
// A WebSocket client for the browser's DevTools endpoint on the loopback:
// plain ws://, text messages, no extensions. All calls are made from one
// thread (the UI thread).
//
// After Connect the socket is in non-blocking mode and stays so; the caller
// may register it with WSAAsyncSelect to be woken by incoming traffic. Bytes
// that came along with the handshake reply are already held by the client, so
// call ReadAvailable once after registering rather than waiting for FD_READ.
//
// Messages are UTF-8 text and are handed over as received (no validation).
// Binary messages are read and dropped: the DevTools protocol sends none.

#include <winsock2.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/net/socket_handle.h"
#include "engine/net/websocket_frame.h"
#include "engine/net/winsock_init.h"

class WebSocketClient {
 public:
  WebSocketClient();
  ~WebSocketClient();

  WebSocketClient(const WebSocketClient&) = delete;
  WebSocketClient& operator=(const WebSocketClient&) = delete;

  // Connects to ws://host:port/path (see ParseWebSocketUrl) and completes the
  // upgrade handshake, all within timeoutMs. Closes any earlier connection
  // first. False on any failure, the connection closed.
  bool Connect(const std::string& url, int timeoutMs);

  // INVALID_SOCKET when not connected.
  SOCKET socket() const { return socket_.Get(); }

  // Sends one text message as a single frame. Blocks until it is handed to
  // the system (waiting out a full send buffer). False, and the connection
  // closed, when it cannot be sent.
  bool SendText(std::string_view text);

  // Reads what has arrived without waiting, answers pings, and appends every
  // message completed by it to messages. A close from the server is answered
  // and ends the connection. Returns false once the connection is closed or
  // broken (messages completed before that are still appended).
  bool ReadAvailable(std::vector<std::string>& messages);

  // Like ReadAvailable, but first waits up to timeoutMs for at least one more
  // message to be completed. True with nothing appended means the time ran out.
  bool WaitForMessages(std::vector<std::string>& messages, int timeoutMs);

  bool IsOpen() const { return static_cast<bool>(socket_); }

  // Sends a close frame (status 1000) if open, then closes the socket
  // without waiting for the server's answer.
  void Close();

 private:
  bool SendFrame(WebSocketOpcode opcode, std::string_view payload);
  bool SendAll(std::string_view bytes);
  bool ReceiveHandshakeReply(std::string_view key, std::chrono::steady_clock::time_point deadline);
  bool ParseBuffered(std::vector<std::string>& messages);
  bool IsAcceptable(const WebSocketFrameHeader& header) const;
  bool HandleControlFrame(uint8_t opcode, std::string_view payload);
  void FinishDataFrame(std::vector<std::string>& messages);
  WebSocketMaskKey NextMaskKey();
  // Closes the socket without a close frame and forgets any partial message.
  void Drop();

  WinsockSession winsock_;
  SocketHandle socket_;
  uint64_t maskState_ = 0;  // seeds the mask keys

  std::string sendBuffer_;  // reused: one allocation for the connection's life

  // Received bytes not yet parsed are receiveBuffer_[receiveBegin_, receiveEnd_).
  // Payload bytes go on into message_ at once, so what waits here is at most
  // a partial frame header or a small control frame.
  std::vector<char> receiveBuffer_;
  size_t receiveBegin_ = 0;
  size_t receiveEnd_ = 0;

  // The data message being received. The current frame's payload takes the
  // last payloadLeft_ bytes of message_ as it arrives; large payloads are
  // received straight into it.
  std::string message_;
  bool messageStarted_ = false;
  bool messageIsText_ = false;
  bool inPayload_ = false;
  bool frameFinal_ = false;
  uint64_t payloadLeft_ = 0;
};
