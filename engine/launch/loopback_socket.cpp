#include "engine/launch/loopback_socket.h"

#include <winsock2.h>

namespace {

// mstcpip.h's SIO_TCP_INITIAL_RTO, which MinGW's headers lack. With no SYN
// retransmissions Windows reports a refused loopback connection at once
// instead of retrying for about two seconds; Wine does not know the request
// and connects as Linux does, failing at once anyway.
constexpr DWORD kSioTcpInitialRto = 0x98000011;
struct TcpInitialRtoParameters {
  USHORT rtt;
  UCHAR maxSynRetransmissions;
};
constexpr TcpInitialRtoParameters kFailOnFirstRefusal{0xFFFF /* unspecified */, 0xFE /* none */};

SocketHandle NewTcpSocket() {
  return SocketHandle(WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT));
}

sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

bool SetBlocking(SOCKET socket, bool blocking) {
  u_long nonBlocking = blocking ? 0 : 1;
  return ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

}  // namespace

SocketHandle ConnectToLoopback(uint16_t port, std::chrono::milliseconds timeout) {
  SocketHandle socket = NewTcpSocket();
  if (!socket || !SetBlocking(socket.Get(), false)) return {};
  TcpInitialRtoParameters rto = kFailOnFirstRefusal;
  DWORD unused = 0;
  WSAIoctl(socket.Get(), kSioTcpInitialRto, &rto, sizeof(rto), nullptr, 0, &unused, nullptr, nullptr);

  const sockaddr_in address = LoopbackAddress(port);
  if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) return {};
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket.Get(), &writable);
    FD_SET(socket.Get(), &failed);
    const long long ms = timeout.count() < 0 ? 0 : timeout.count();
    timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
    if (select(0, nullptr, &writable, &failed, &wait) != 1 || !FD_ISSET(socket.Get(), &writable)) return {};
    int error = 0;
    int size = sizeof(error);
    if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 || error != 0)
      return {};
  }
  if (!SetBlocking(socket.Get(), true)) return {};
  return socket;
}

bool LoopbackPortAnswers(uint16_t port) {
  return static_cast<bool>(ConnectToLoopback(port, std::chrono::milliseconds(1000)));
}

SocketHandle ListenOnLoopback(int backlog, uint16_t* port) {
  SocketHandle socket = NewTcpSocket();
  if (!socket) return {};
  // No other socket may share the port while we hold it.
  BOOL exclusive = TRUE;
  setsockopt(socket.Get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
             sizeof(exclusive));
  sockaddr_in address = LoopbackAddress(0);
  int size = sizeof(address);
  if (bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(socket.Get(), backlog) != 0 ||
      getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
    return {};
  *port = ntohs(address.sin_port);
  return socket;
}
