#pragma once
// Ownership of one Winsock socket. INVALID_SOCKET means empty.

#include <winsock2.h>

class SocketHandle {
 public:
  SocketHandle() = default;
  explicit SocketHandle(SOCKET socket) : socket_(socket) {}
  ~SocketHandle() { Close(); }

  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  SocketHandle(SocketHandle&& other) noexcept : socket_(other.Release()) {}
  SocketHandle& operator=(SocketHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  SOCKET Get() const { return socket_; }
  explicit operator bool() const { return socket_ != INVALID_SOCKET; }

  // Closes the socket held, if any, and takes the new one.
  void Reset(SOCKET socket = INVALID_SOCKET) {
    if (socket_ != INVALID_SOCKET && socket_ != socket) closesocket(socket_);
    socket_ = socket;
  }
  void Close() { Reset(); }

  // Gives the socket up without closing it.
  SOCKET Release() {
    const SOCKET socket = socket_;
    socket_ = INVALID_SOCKET;
    return socket;
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};
