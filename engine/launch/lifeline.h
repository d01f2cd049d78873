#pragma once
// The browser's lifeline under Wine. A Unix program that Wine starts cannot be
// ended from the Windows side (Wine returns no process handle for it, and a job
// object does not reach it), so Tarnwick holds a listening loopback socket for
// as long as it lives and never accepts on it. The project's wrapper script
// (tools/browser/chromium-under-wine) connects to it and ends Chromium as soon
// as that connection is reset, which the kernel does when the listener closes:
// when this object goes, or when Tarnwick's process ends in any way at all.
// On Windows nothing connects and the socket costs nothing.

#include <cstdint>

#include "engine/net/socket_handle.h"

// Name of the environment variable that hands the port to the wrapper.
inline constexpr wchar_t kLifelinePortVariable[] = L"TARNWICK_LIFELINE_PORT";

class Lifeline {
 public:
  // False when no listening socket can be made (Winsock must be started).
  bool Open();
  void Close();

  bool IsOpen() const { return static_cast<bool>(listener_); }
  uint16_t port() const { return port_; }

 private:
  SocketHandle listener_;
  uint16_t port_ = 0;
};
