#pragma once
// TCP sockets on 127.0.0.1: connections to the browser's debugging port and
// the lifeline's listener. No socket made here is inherited by child
// processes: a copy held by a child would keep it open past Tarnwick's end.

#include <chrono>
#include <cstdint>

#include "engine/net/socket_handle.h"

// A blocking connection to 127.0.0.1:port, or an empty handle when nothing
// accepts it within the time-out. Needs a WinsockSession.
SocketHandle ConnectToLoopback(uint16_t port, std::chrono::milliseconds timeout);

// Whether something accepts connections on 127.0.0.1:port right now.
bool LoopbackPortAnswers(uint16_t port);

// A socket listening on 127.0.0.1 at a port the system picks, stored in *port;
// an empty handle when none can be made.
SocketHandle ListenOnLoopback(int backlog, uint16_t* port);
